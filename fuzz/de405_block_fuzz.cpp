// Fuzz target: the DE405 block-file parse.  The first byte chooses a record length of
// 2..9 values and the second the epoch within the 1980 block; the rest is the file's
// text.  The parse must keep whole records with a rising running maximum of their end
// dates, and the cached reader must find the record the plain sequential reader finds,
// bit for bit, or fail where it fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "astro/astro_state.h"
#include "astro/de405.h"
#include "file_fuzz_support.h"

namespace {

using namespace planova;

// The 1980 block file covers JD 2444208.5 up to 2451536.5.
constexpr double kBlockStart = 2444208.5;
constexpr double kBlockDays = 7328;

void Load(AstroState& a, bool rescan, int n, double jd) {
  a.De405Folder = fuzz::FuzzFolder();
  a.De405ValuesPerRecord = n;
  a.De405Rescan = rescan;
  a.CurrentJd = jd;
  LoadDe405Record(a);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int n = 2 + data[0] % 8;
  const double jd = kBlockStart + kBlockDays * data[1] / 256.0;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

  De405BlockCache c;
  ParseDe405BlockFile(text, n, c);
  if (c.Values.size() != c.EndJdMax.size() * static_cast<size_t>(n)) std::abort();
  for (size_t k = 1; k < c.EndJdMax.size(); ++k) {
    if (c.EndJdMax[k] < c.EndJdMax[k - 1]) std::abort();
  }

  fuzz::WriteBytes(fuzz::FuzzFolder() / "ascp1980.405", data + 2, size - 2);
  static AstroState cached, plain;  // large: kept between runs, reset below
  cached = AstroState{};
  plain = AstroState{};
  Load(cached, false, n, jd);
  Load(plain, true, n, jd);
  if (cached.EphemerisError != plain.EphemerisError) std::abort();
  if (cached.EphemerisError == 0 &&
      std::memcmp(&cached.De405Record[1], &plain.De405Record[1], sizeof(double) * static_cast<size_t>(n)) != 0) {
    std::abort();
  }
  return 0;
}
