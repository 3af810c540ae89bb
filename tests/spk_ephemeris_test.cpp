// The SPK reader on de405.bsp, which scripts/make_de405_spk.py writes from the DE405 block
// files of the build tree's de405 folder: JPL's own test positions, agreement with the
// ASCII reader on the same data, a big-endian copy read bit for bit the same, type-3
// segments, and the kernels it refuses.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "astro/jpl.h"
#include "astro/spk_ephemeris.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

constexpr double kTestpoTolAu = 1e-13;   // JPL's own check tolerance, AU and AU/day
constexpr double kAsciiTolAu = 1e-12;    // the two readers of the same coefficients, AU and AU/day
constexpr double kFirstJd = 2436912.5;   // the start of ascp1960, the first block file
constexpr double kEndJd = 2458864.5;     // the end of ascp2000's last record (later files go further)
constexpr double kAsciiEndJd = 2458832.5;  // the end of the ASCII reader's ascp2000

fs::path Kernel() { return test::De405BlockFolder() / "de405.bsp"; }

std::unique_ptr<JplEphemeris> OpenOrFail(const fs::path& path) {
  std::string refusal;
  auto e = OpenSpkEphemeris(path, &refusal);
  EXPECT_TRUE(e) << refusal << " (scripts/make_de405_spk.py makes " << path << ")";
  return e;
}

// Position (km) and velocity (km/day) of a JplBody.
std::array<double, 6> StateOf(JplEphemeris& e, int body, double jd) {
  ChebyshevState s;
  EXPECT_EQ(e.State(body, jd, s, nullptr), EphemerisFailure::kNone) << body << " " << jd;
  const double perDay = 2 / s.IntervalDays;
  return {s.Pos[0], s.Pos[1], s.Pos[2], s.Der[0] * perDay, s.Der[1] * perDay, s.Der[2] * perDay};
}

// The same from the ASCII block files through the ASCII reader (JplBody numbering).
std::array<double, 6> AsciiStateOf(int body, double jd) {
  static const std::shared_ptr<JplEphemeris> ascii = [] {
    std::string refusal;
    auto e = OpenEphemeris(test::De405BlockFolder(), "DE405", &refusal);
    EXPECT_TRUE(e) << refusal;
    return e;
  }();
  return StateOf(*ascii, body, jd);
}

// JPL's PLEPH: state of a testpo body (1..13) relative to another, AU and AU/day.
std::array<double, 6> Pleph(JplEphemeris& e, int target, int center, double jd) {
  auto barycentric = [&](int b) -> std::array<double, 6> {
    if (b == 12) return {};
    if (b == 13) return StateOf(e, kJplEarthMoonBarycentre, jd);
    if (b == 3 || b == 10) {
      std::array<double, 6> emb = StateOf(e, kJplEarthMoonBarycentre, jd), moon = StateOf(e, kJplMoon, jd), r{};
      for (size_t i = 0; i < 6; ++i) {
        const double earth = emb[i] - moon[i] / (1 + test::kDe405Emrat);
        r[i] = b == 3 ? earth : earth + moon[i];
      }
      return r;
    }
    return StateOf(e, b, jd);
  };
  std::array<double, 6> r{};
  if ((target == 10 && center == 3) || (target == 3 && center == 10)) {
    r = StateOf(e, kJplMoon, jd);
    if (target == 3)
      for (double& x : r) x = -x;
  } else {
    std::array<double, 6> t = barycentric(target), c = barycentric(center);
    for (size_t i = 0; i < 6; ++i) r[i] = t[i] - c[i];
  }
  for (double& x : r) x /= test::kDe405AuKm;
  return r;
}

TEST(SpkEphemeris, JplTestPositionsAndTheAsciiReader) {
  auto e = OpenOrFail(Kernel());
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Name(), "de405.bsp");
  EXPECT_EQ(e->DeNumber(), 405);
  EXPECT_EQ(e->Constants().AuKm, test::kDe405AuKm);
  EXPECT_EQ(e->Constants().Emrat, test::kDe405Emrat);
  EXPECT_EQ(e->Coverage().FirstJd, kFirstJd);
  EXPECT_GE(e->Coverage().EndJd, kEndJd);
  EXPECT_EQ(std::fmod(e->Coverage().EndJd - kFirstJd, 32.0), 0.0);
  EXPECT_EQ(e->Files(), std::vector<fs::path>{Kernel()});

  // testpo: "405 date JED target center coordinate value".
  std::ifstream in(fs::path(PLANOVA_TEST_DATA) / "testpo-1960-1987.405");
  std::string line;
  int checked = 0;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    std::string de, date;
    double jd, value;
    int target, center, coordinate;
    if (!(s >> de >> date >> jd >> target >> center >> coordinate >> value) || de != "405") continue;
    if (target < 1 || target > 13 || center < 1 || center > 13) continue;  // nutations, librations
    EXPECT_NEAR_WHAT(Pleph(*e, target, center, jd)[static_cast<size_t>(coordinate - 1)], value, kTestpoTolAu, line);
    ++checked;
  }
  EXPECT_GE(checked, 290);

  // Every body at dates over the whole span (multiples of 1/16 day) and at the start of their
  // 32-day records.
  for (double jd = kFirstJd; jd < kAsciiEndJd - 32; jd += 1000.0625) {
    for (double d : {jd, kFirstJd + 32 * std::floor((jd - kFirstJd) / 32)}) {
      for (int body = kJplMercury; body <= kJplSun; ++body) {
        std::array<double, 6> spk = StateOf(*e, body, d), ascii = AsciiStateOf(body, d);
        for (size_t i = 0; i < 6; ++i)
          EXPECT_NEAR_WHAT(spk[i] / test::kDe405AuKm, ascii[i] / test::kDe405AuKm, kAsciiTolAu, "body " + std::to_string(body) + " JD " + std::to_string(d));
      }
    }
  }

  // Outside the span, and bodies it does not hold.
  ChebyshevState s;
  fs::path failed;
  EXPECT_EQ(e->State(kJplSun, kFirstJd - 0.5, s, &failed), EphemerisFailure::kNoSuchDate);
  EXPECT_EQ(e->State(kJplSun, e->Coverage().EndJd, s, &failed), EphemerisFailure::kNoSuchDate);
  EXPECT_EQ(e->State(kJplSun, std::nan(""), s, &failed), EphemerisFailure::kNoSuchDate);
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(e->State(0, 2451545.0, s, &failed), EphemerisFailure::kReadError);
  EXPECT_EQ(failed, Kernel());
  EXPECT_EQ(e->State(12, 2451545.0, s, nullptr), EphemerisFailure::kReadError);
}

// --- Copies of the kernel, changed ---

uint32_t Load32(const std::string& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
void Swap(std::string& b, size_t at, size_t n) {
  for (size_t i = 0; i < n / 2; ++i) std::swap(b[at + i], b[at + n - 1 - i]);
}

// The kernel with every number in the other byte order and LOCFMT "BIG-IEEE": the file
// record's integers, the summary record (three control words, then per summary two doubles
// and six integers), the name record untouched, every double of the arrays.
std::string BigEndianCopy(std::string b) {
  static_assert(std::endian::native == std::endian::little);
  for (size_t at : {8, 12, 76, 80, 84}) Swap(b, at, 4);
  b.replace(88, 8, "BIG-IEEE");
  double count;
  std::memcpy(&count, b.data() + 1024 + 16, 8);
  for (size_t w = 0; w < 3; ++w) Swap(b, 1024 + 8 * w, 8);
  for (size_t k = 0; k < static_cast<size_t>(count); ++k) {
    const size_t at = 1024 + 24 + 40 * k;
    Swap(b, at, 8);
    Swap(b, at + 8, 8);
    for (size_t i = 0; i < 6; ++i) Swap(b, at + 16 + 4 * i, 4);
  }
  for (size_t at = 3 * 1024; at + 8 <= b.size(); at += 8) Swap(b, at, 8);
  return b;
}

// The offset of the summary of `target` in the kernel's one summary record.
size_t SummaryOf(const std::string& b, int target) {
  for (size_t at = 1024 + 24; at + 40 <= 2048; at += 40)
    if (Load32(b, at + 16) == static_cast<uint32_t>(target)) return at;
  ADD_FAILURE() << "no segment of " << target;
  return 0;
}

TEST(SpkEphemeris, BigEndianKernelGivesTheSameBits) {
  const std::string bytes = test::ReadBytes(Kernel());
  ASSERT_GT(bytes.size(), 3 * 1024u);
  const fs::path big = test::FreshFolder("spk_big") / "de405_big.bsp";
  test::WriteBytes(big, BigEndianCopy(bytes));
  auto little = OpenOrFail(Kernel()), other = OpenOrFail(big);
  ASSERT_TRUE(little && other);
  EXPECT_EQ(other->Coverage().FirstJd, kFirstJd);
  for (double jd : {kFirstJd, 2444208.5, 2451545.0, 2458864.25}) {
    for (int body = kJplMercury; body <= kJplSun; ++body) {
      ChebyshevState a, b;
      ASSERT_EQ(little->State(body, jd, a, nullptr), EphemerisFailure::kNone);
      ASSERT_EQ(other->State(body, jd, b, nullptr), EphemerisFailure::kNone);
      EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << body << " " << jd;
    }
  }
}

double LoadDouble(const std::string& b, size_t word) {
  double v;
  std::memcpy(&v, b.data() + word * 8, 8);
  return v;
}

// The kernel with the Sun's segment also written as type 3 (Chebyshev series of position
// and of velocity) at the file's end, its summary pointing there: the velocity series are
// the derivatives of the position series (c'_{k-1} = c'_{k+1} + 2k c_k, c'_0 halved),
// divided by the record's half-length.
std::string SunAsType3(std::string b) {
  const size_t sun = SummaryOf(b, 10);
  const size_t first = Load32(b, sun + 32) - 1, last = Load32(b, sun + 36) - 1;
  const double init = LoadDouble(b, last - 3), interval = LoadDouble(b, last - 2);
  const size_t rsize = static_cast<size_t>(LoadDouble(b, last - 1)), records = static_cast<size_t>(LoadDouble(b, last));
  const size_t n = (rsize - 2) / 3;
  std::vector<double> out;
  for (size_t r = 0; r < records; ++r) {
    const size_t at = first + r * rsize;
    const double radius = LoadDouble(b, at + 1);
    for (size_t w = 0; w < rsize; ++w) out.push_back(LoadDouble(b, at + w));
    for (size_t c = 0; c < 3; ++c) {
      std::vector<double> d(n + 1, 0.0);
      for (size_t k = n - 1; k >= 1; --k) d[k - 1] = d[k + 1] + 2.0 * static_cast<double>(k) * LoadDouble(b, at + 2 + c * n + k);
      d[0] /= 2;
      for (size_t k = 0; k < n; ++k) out.push_back(d[k] / radius);
    }
  }
  for (double v : {init, interval, static_cast<double>(2 + 6 * n), static_cast<double>(records)}) out.push_back(v);
  const uint32_t newFirst = static_cast<uint32_t>(b.size() / 8 + 1), newLast = newFirst + static_cast<uint32_t>(out.size()) - 1;
  b.append(reinterpret_cast<const char*>(out.data()), out.size() * 8);
  const uint32_t type3 = 3;
  std::memcpy(b.data() + sun + 28, &type3, 4);
  std::memcpy(b.data() + sun + 32, &newFirst, 4);
  std::memcpy(b.data() + sun + 36, &newLast, 4);
  return b;
}

TEST(SpkEphemeris, Type3SegmentsGiveTheirOwnVelocity) {
  const fs::path path = test::FreshFolder("spk_type3") / "de405_type3.bsp";
  test::WriteBytes(path, SunAsType3(test::ReadBytes(Kernel())));
  auto two = OpenOrFail(Kernel()), three = OpenOrFail(path);
  ASSERT_TRUE(two && three);
  for (double jd = kFirstJd; jd < kAsciiEndJd; jd += 777.03125) {
    std::array<double, 6> a = StateOf(*two, kJplSun, jd), b = StateOf(*three, kJplSun, jd);
    for (size_t i = 0; i < 6; ++i) EXPECT_NEAR_WHAT(b[i] / test::kDe405AuKm, a[i] / test::kDe405AuKm, kAsciiTolAu, "JD " + std::to_string(jd));
  }
}

TEST(SpkEphemeris, RefusesOtherFilesNamingThemAndMissingBodies) {
  const std::string bytes = test::ReadBytes(Kernel());
  ASSERT_GT(bytes.size(), 3 * 1024u);
  const fs::path dir = test::FreshFolder("spk_refused");
  auto refusal = [&](const std::string& name, const std::string& content) {
    test::WriteBytes(dir / name, content);
    std::string why;
    EXPECT_FALSE(OpenSpkEphemeris(dir / name, &why)) << name;
    return why;
  };
  // Cut short: inside the file record, and inside the arrays (the addresses pass the end).
  EXPECT_EQ(refusal("cut.bsp", bytes.substr(0, 700)), "Файл cut.bsp повреждён");
  EXPECT_EQ(refusal("cut2.bsp", bytes.substr(0, bytes.size() / 2)), "Файл cut2.bsp повреждён");
  // Another kind of file.
  std::string pck = bytes;
  pck.replace(0, 8, "DAF/PCK ");
  EXPECT_EQ(refusal("pck.bpc", pck), "Файл pck.bpc не является ядром SPK");
  EXPECT_EQ(refusal("frames.tf", "KPL/FK\n\\begindata\nFRAME_X = 1\n"), "Файл frames.tf не является ядром SPK");
  // A summary chain that loops, and a segment whose directory does not fit its array.
  std::string loop = bytes;
  const double self = 2;
  std::memcpy(loop.data() + 1024, &self, 8);
  EXPECT_EQ(refusal("loop.bsp", loop), "Файл loop.bsp повреждён");
  std::string dir2 = bytes;
  const size_t sun = SummaryOf(bytes, 10);
  const uint32_t shorter = Load32(bytes, sun + 36) - 1;
  std::memcpy(dir2.data() + sun + 36, &shorter, 4);
  EXPECT_EQ(refusal("directory.bsp", dir2), "Файл directory.bsp повреждён");
  // Without the Moon's segment (301 -> 3 made 302 -> 3), and without Pluto's as well.
  std::string noMoon = bytes;
  const uint32_t other = 302;
  std::memcpy(noMoon.data() + SummaryOf(bytes, 301) + 16, &other, 4);
  EXPECT_EQ(refusal("de405_no_moon.bsp", noMoon), "В файле de405_no_moon.bsp нет сегментов тела: Луна");
  const uint32_t type1 = 1;
  std::memcpy(noMoon.data() + SummaryOf(bytes, 9) + 28, &type1, 4);
  EXPECT_EQ(refusal("de405_no_pluto.bsp", noMoon), "В файле de405_no_pluto.bsp нет сегментов тел: Плутон, Луна");
  std::string why;
  EXPECT_FALSE(OpenSpkEphemeris(dir / "absent.bsp", &why));
  EXPECT_EQ(why, "Не открывается файл absent.bsp");
}

// The DE440-layout set that scripts/make_de440_layout_fixture.py makes from DE405's blocks
// (header.440: 15 columns of GROUP 1050, 420 constants; ascp01960.440, ascp01980.440 with
// 5-digit years): read through its header, it gives DE405's states to the last bit.
TEST(JplEphemerides, De440LayoutSetGivesDe405sStatesExactly) {
  std::string refusal;
  const fs::path folder = fs::path(PLANOVA_BINARY_DIR) / "de440_layout";
  std::shared_ptr<JplEphemeris> de440 = OpenEphemeris(folder, "DE440", &refusal);
  ASSERT_TRUE(de440) << refusal;
  EXPECT_EQ(de440->DeNumber(), 440);
  EXPECT_GT(de440->Constants().Named.size(), 400u);
  EXPECT_DOUBLE_EQ(de440->Constants().Emrat, 81.30056);
  for (double jd = 2436934.25; jd < 2451500; jd += 997.125) {
    for (int body = kJplMercury; body <= kJplSun; ++body) {
      EXPECT_EQ(StateOf(*de440, body, jd), AsciiStateOf(body, jd)) << body << " " << jd;
    }
  }
}

}  // namespace
}  // namespace planova
