// Fuzz target: window 2's BDL load path.  The first byte chooses the rejection of negative
// times; the rest is the file.  What loads must be an observation (finite date, right
// ascension in 0..360, declination within 90 degrees); written again as BDL it must load
// again whole, with the same places to the writer's last digit, and written a second
// time it must repeat the right ascension and declination bytes of the first writing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bdl/bdl_file.h"
#include "common/obs_store.h"
#include "common/textfile.h"
#include "file_fuzz_support.h"

namespace {

using namespace planova;
namespace fs = std::filesystem;

constexpr int32_t kRows = 64;
constexpr double kRaPlace = 1e-5 * 15 / 3600;  // 1e-5 s of time, in degrees
constexpr double kDecPlace = 1e-4 / 3600;      // 1e-4", in degrees
constexpr double kTimePlace = 2e-4 / 86400;    // 1e-4 s and the Julian date's own 4e-5 s, in days

// Rows 1..rows of data set 3 as a BDL file; false when a date is beyond the calendar.
bool Write(const fs::path& path, const ObservationStore& store, int32_t rows, CalendarRule rule) {
  BdlState b;
  BdlWriteOptions o;
  o.ObservatoryCode = "PARI";
  const BdlWriteResult w = WriteBdlFile(path, store, 1, rows, b, rule, o);
  if (w.End != BdlWriteEnd::kWritten && w.End != BdlWriteEnd::kCalendarFailed) std::abort();
  return w.End == BdlWriteEnd::kWritten;
}

// Columns 44-82 (right ascension and declination) of every observation line of a file.
std::string Coordinates(const fs::path& path) {
  std::string all, line;
  TextInputFile in;
  if (!in.Open(path)) std::abort();
  for (int k = 0; in.ReadLine(line); ++k) {
    if (k >= kBdlHeadingLines) all += line.substr(43, 39) + "\n";
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const fs::path& folder = fuzz::FuzzFolder();
  fuzz::WriteBytes(folder / "load.txt", data + 1, size - 1);
  ObservationStore store;
  store.Recreate(kRows);
  const CalendarRule a = CalendarRule::kGregorianFrom1582;
  BdlState b;
  BdlLoadOptions options;
  options.RejectNegativeTimes = (data[0] & 1) != 0;
  const BdlLoadResult first = LoadBdlFile(folder / "load.txt", store, 1, b, a, options);
  if (first.Rows < 0 || first.Rows > kRows - 1 || first.Shown.size() != static_cast<size_t>(first.Rows)) std::abort();
  for (int32_t i = 1; i <= first.Rows; ++i) {
    const double jd = store.ObsJd(i, kSet1), lon = store.ObsLon(i, kSet1), lat = store.ObsLat(i, kSet1);
    if (!std::isfinite(jd) || !(lon >= 0 && lon < 360) || !(std::fabs(lat) <= 90)) std::abort();
    if (first.Shown[static_cast<size_t>(i - 1)].size() != static_cast<size_t>(kBdlLineLength)) std::abort();
  }
  if (first.Rows == 0 || !Write(folder / "again.txt", store, first.Rows, a)) return 0;

  ObservationStore again;
  again.Recreate(kRows);
  BdlState b2;
  const BdlLoadResult second = LoadBdlFile(folder / "again.txt", again, 1, b2, a, {});
  if (second.End != BdlLoadEnd::kEndOfFile || second.Rows != first.Rows) std::abort();
  for (int32_t i = 1; i <= first.Rows; ++i) {
    const double dLon = std::fabs(again.ObsLon(i, kSet1) - store.ObsLon(i, kSet1));
    if (!(dLon <= kRaPlace || dLon >= 360 - kRaPlace)) std::abort();
    if (!(std::fabs(again.ObsLat(i, kSet1) - store.ObsLat(i, kSet1)) <= kDecPlace)) std::abort();
    if (!(std::fabs(again.ObsJd(i, kSet1) - store.ObsJd(i, kSet1)) <= kTimePlace)) std::abort();
  }
  if (!Write(folder / "third.txt", again, second.Rows, a)) std::abort();
  if (Coordinates(folder / "again.txt") != Coordinates(folder / "third.txt")) std::abort();
  return 0;
}
