// Fuzz target: the JPL block-file parse.  The first byte chooses a record length of
// 2..9 values and the second the epoch within the 1980 block; the rest is the file's
// text.  The parse must keep whole records with a rising running maximum of their end
// dates, and the cached reader must find the record the plain sequential reader finds,
// bit for bit, or fail where it fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "astro/jpl_ascii.h"
#include "file_fuzz_support.h"

namespace {

using namespace planova;

// The 1980 block file covers JD 2444208.5 up to 2451536.5.
constexpr double kBlockStart = 2444208.5;
constexpr double kBlockDays = 7328;

// DE405 without a header in the fuzz folder, its records cut to n values.
std::shared_ptr<JplAsciiEphemeris> Reader(bool rescan, int n) {
  std::shared_ptr<JplAsciiEphemeris> e = JplAsciiEphemeris::Open(fuzz::FuzzFolder(), 405, nullptr);
  if (!e) std::abort();
  e->ValuesPerRecord = n;
  e->Ncoeff = n;
  e->Record.assign(static_cast<size_t>(n) + 1, 0.0);
  e->SetRescan(rescan);
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int n = 2 + data[0] % 8;
  const double jd = kBlockStart + kBlockDays * data[1] / 256.0;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

  JplBlockCache c;
  ParseJplBlockFile(text, n, n, c);
  if (c.Values.size() != c.EndJdMax.size() * static_cast<size_t>(n)) std::abort();
  for (size_t k = 1; k < c.EndJdMax.size(); ++k) {
    if (c.EndJdMax[k] < c.EndJdMax[k - 1]) std::abort();
  }

  fuzz::WriteBytes(fuzz::FuzzFolder() / "ascp1980.405", data + 2, size - 2);
  std::shared_ptr<JplAsciiEphemeris> cached = Reader(false, n), plain = Reader(true, n);
  const EphemerisFailure fc = cached->LoadRecord(jd, nullptr), fp = plain->LoadRecord(jd, nullptr);
  if (fc != fp) std::abort();
  if (fc == EphemerisFailure::kNone &&
      std::memcmp(&cached->Record[1], &plain->Record[1], sizeof(double) * static_cast<size_t>(n)) != 0) {
    std::abort();
  }
  return 0;
}
