// Fuzz target: the SPK (DAF) reader.  The first byte chooses the file:
//   even: the rest of the input is the file, as it stands;
//   odd:  a small valid kernel made here (every body's segment, type 2 and the Sun's of
//         type 3, two records each; bit 1 big-endian), changed by the rest of the input
//         taken as edits of three bytes: a 16-bit offset into the file and the byte put there.
// The reader must refuse with a text naming the file or give a coverage and, at dates
// inside it, either a finite state or a failure; never crash or read outside the file.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "astro/spk_ephemeris.h"
#include "file_fuzz_support.h"

namespace {

using namespace planova;

constexpr double kDaySec = 86400;

struct Writer {
  std::string bytes;
  bool big;
  void Put(size_t at, const void* v, size_t n) {
    if (bytes.size() < at + n) bytes.resize(at + n, '\0');
    std::memcpy(bytes.data() + at, v, n);
    if (big) {
      for (size_t i = 0; i < n / 2; ++i) std::swap(bytes[at + i], bytes[at + n - 1 - i]);
    }
  }
  void Int(size_t at, int32_t v) { Put(at, &v, 4); }
  void Double(size_t at, double v) { Put(at, &v, 8); }
};

// The kernel: file record, summary record, name record, then the arrays.
std::string SmallKernel(bool big) {
  Writer w{std::string(3 * 1024, '\0'), big};
  std::memcpy(w.bytes.data(), "DAF/SPK ", 8);
  w.Int(8, 2);
  w.Int(12, 6);
  std::memcpy(w.bytes.data() + 16, "DE-0405 FUZZ", 12);
  w.Int(76, 2);
  w.Int(80, 2);
  std::memcpy(w.bytes.data() + 88, big ? "BIG-IEEE" : "LTL-IEEE", 8);
  const int pairs[][2] = {{10, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {301, 3}, {399, 3}};
  const size_t count = sizeof pairs / sizeof pairs[0];
  w.Double(1024 + 16, static_cast<double>(count));
  size_t word = 3 * 128 + 1;  // the first free double word, counted from 1
  for (size_t k = 0; k < count; ++k) {
    const int type = k == 0 ? 3 : 2;
    const size_t n = 3, rsize = 2 + (type == 2 ? 3 : 6) * n, records = 2;
    const double interval = 16 * kDaySec;
    const size_t first = word, last = word + records * rsize + 4 - 1;
    for (size_t r = 0; r < records; ++r) {
      const size_t at = (first - 1 + r * rsize) * 8;
      w.Double(at, (static_cast<double>(r) + 0.5) * interval);
      w.Double(at + 8, interval / 2);
      for (size_t c = 0; c < rsize - 2; ++c) w.Double(at + 16 + 8 * c, 1e6 * static_cast<double>(k + 1) / static_cast<double>(c + 1));
    }
    const size_t dir = (last - 4) * 8;
    w.Double(dir, 0);
    w.Double(dir + 8, interval);
    w.Double(dir + 16, static_cast<double>(rsize));
    w.Double(dir + 24, static_cast<double>(records));
    const size_t s = 1024 + 24 + 40 * k;
    w.Double(s, 0);
    w.Double(s + 8, records * interval);
    const int32_t ints[6] = {pairs[k][0], pairs[k][1], 1, type, static_cast<int32_t>(first), static_cast<int32_t>(last)};
    for (size_t i = 0; i < 6; ++i) w.Int(s + 16 + 4 * i, ints[i]);
    word = last + 1;
  }
  w.Int(84, static_cast<int32_t>(word));
  std::memset(w.bytes.data() + 2048, ' ', 1024);
  return w.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::string file;
  if (data[0] % 2 == 0) {
    file.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  } else {
    static const std::string little = SmallKernel(false), big = SmallKernel(true);
    file = data[0] & 2 ? big : little;
    for (size_t i = 1; i + 3 <= size; i += 3) {
      const size_t at = (static_cast<size_t>(data[i]) << 8 | data[i + 1]) % file.size();
      file[at] = static_cast<char>(data[i + 2]);
    }
  }
  const std::filesystem::path path = fuzz::FuzzFolder() / "kernel.bsp";
  fuzz::WriteBytes(path, reinterpret_cast<const uint8_t*>(file.data()), file.size());

  std::string refusal;
  std::unique_ptr<JplEphemeris> e = OpenSpkEphemeris(path, &refusal);
  if (!e) {
    if (refusal.find("kernel.bsp") == std::string::npos) std::abort();
    return 0;
  }
  const JplCoverage c = e->Coverage();
  if (!(c.FirstJd < c.EndJd)) std::abort();
  for (double f : {0.0, 0.25, 0.5, 0.999999}) {
    const double jd = c.FirstJd + f * (c.EndJd - c.FirstJd);
    for (int body = 0; body <= 12; ++body) {
      ChebyshevState s;
      if (e->State(body, jd, s, nullptr) != EphemerisFailure::kNone) continue;
      for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(s.Pos[i]) || !std::isfinite(s.Der[i])) std::abort();
      }
      if (!(s.IntervalDays > 0)) std::abort();
    }
  }
  return 0;
}
