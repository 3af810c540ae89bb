// The DE405 reader: JPL's own test positions from the block files that
// scripts/install_de405.sh makes in the build tree's de405 folder, the choice of the file
// and of the record at their edges, the failures (date outside the files, missing folder
// or file, unreadable or short file, letters in a number) and the recovery after each,
// the conversions into the position table, and the cached reader against the
// plain re-scan, bit for bit.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "astro/astro_state.h"
#include "astro/astronomy.h"
#include "astro/jpl.h"
#include "astro/jpl_ascii.h"
#include "models/messages.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNoSuchDate = "В файлах DE405 нет такой даты";
constexpr const char* kReadError = "Ошибка чтения файлов JPL DE405";
constexpr double kTolAu = 1e-13;         // JPL's own check tolerance, AU and AU/day

bool SameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

// The ASCII reader behind a state (opened for its folder as a read opens it).
JplAsciiEphemeris& R(AstroState& s) {
  CurrentEphemeris(s);
  return *s.JplAscii;
}

// The first `lines` lines (with their line ends) of a text.
std::string FirstLines(const std::string& text, size_t lines) {
  size_t pos = 0;
  for (size_t i = 0; i < lines && pos < text.size(); ++i) {
    size_t nl = text.find('\n', pos);
    pos = nl == std::string::npos ? text.size() : nl + 1;
  }
  return text.substr(0, pos);
}

// One value as the block files write it, with a D exponent: "  2.43691250000000000D+06".
std::string JplValue(double v) {
  char b[40];
  std::snprintf(b, sizeof b, "%26.17E", v);
  for (char* c = b; *c; ++c)
    if (*c == 'E') *c = 'D';
  return b;
}

// A hand-made record in the block-file layout (LF line ends): value 1 = start, 2 = start
// + 32, value i >= 3 = mark + i / 1000.
std::string HandRecord(int number, double start, double mark) {
  char head[32];
  std::snprintf(head, sizeof head, "%6d%6d\n", number, 1018);
  std::string s = head;
  for (int i = 1; i <= 1020; i += 3) {
    for (int k = i; k < i + 3; ++k) {
      double v = k == 1 ? start : k == 2 ? start + 32 : mark + k / 1000.0;
      s += JplValue(v);
    }
    s += "\n";
  }
  return s;
}

class De405Test : public ::testing::Test {
 protected:
  void SetUp() override {
    a.InitConstants();
    a.JplFolder = test::De405BlockFolder();
  }

  // Loads an epoch as the callers do (flags cleared first); true when no error.
  bool Load(double jd) {
    a.StopRequested = 0;
    a.EphemerisError = 0;
    a.CurrentJd = jd;
    LoadJplRecord(a);
    return a.EphemerisError == 0;
  }

  // The failure the window reports, by its message; cleared for the next check.
  void ExpectOnlyMessage(const char* text) {
    EXPECT_EQ(a.EphemerisError, 1);
    EXPECT_EQ(EphemerisMessage(a.EphemerisFailureKind), text);
    a.EphemerisFailureKind = EphemerisFailure::kNone;
  }

  test::RecordingPlatform ui;
  AstroState a = test::AstroFor(ui);
};

// ---------------------------------------------------------------------------------------
// Coverage table

TEST_F(De405Test, FileYearsAndPaths) {
  // DE405 with no header and no file: the blocks JPL published, 1600 .. 2000, each from the
  // record that holds 1 January of its year (JPL's coverage table of the block files).
  a.JplFolder = test::FreshFolder("de405_no_files");
  JplAsciiEphemeris& e = R(a);
  EXPECT_EQ(e.Name(), "DE405");
  EXPECT_EQ(e.Constants().AuKm, test::kDe405AuKm);
  EXPECT_EQ(e.Constants().Emrat, test::kDe405Emrat);
  EXPECT_EQ(e.ValuesPerRecord, 1020);
  const std::pair<double, int> cases[] = {
      {2305424.49, 0},   {2305424.5, 1600}, {2312752.4, 1600}, {2312752.5, 1620}, {2436912.5, 1960},
      {2444208.4, 1960}, {2444208.5, 1980}, {2451536.4, 1980}, {2451536.5, 2000}, {2458832.4, 2000},
      {2458832.5, 0},    {std::nan(""), 0}};
  for (const auto& [jd, expected] : cases) {
    int year = 0;
    EXPECT_EQ(e.BlockYearOf(jd, year) ? year : 0, expected) << jd;
  }
  EXPECT_EQ(e.Coverage().FirstJd, 2305424.5);
  EXPECT_EQ(e.Coverage().EndJd, 2458832.5);
  EXPECT_EQ(e.BlockPath(1960), a.JplFolder / "ascp1960.405");
  // Without JplFolder: the application folder's JPL.
  AstroState b = test::AstroFor(ui);
  ui.SetAppFolder("/some/app");
  EXPECT_EQ(JplFolderOf(b), fs::path("/some/app") / "JPL");
  AstroState c;
  EXPECT_TRUE(JplFolderOf(c).empty());
  EXPECT_EQ(CurrentEphemeris(c), nullptr);
}

// ---------------------------------------------------------------------------------------
// JPL's test positions

struct TestPosition {
  double jd;
  int target, center, coordinate;
  double value;
  std::string line;
};

std::vector<TestPosition> ReadTestPositions() {
  std::ifstream in(std::string(PLANOVA_TEST_DATA) + "/testpo-1960-1987.405");
  std::vector<TestPosition> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    std::string de, date;
    TestPosition t{};
    if (!(s >> de >> date >> t.jd >> t.target >> t.center >> t.coordinate >> t.value) || de != "405") continue;
    t.line = line;
    rows.push_back(t);
  }
  return rows;
}

// JPL's PLEPH from the reader's raw states: position (AU) and velocity (AU/day) of an
// ephemeris body (1..13) relative to the solar-system barycentre; 10 with the Earth as
// centre (and 3 with the Moon) straight from the geocentric Moon.
class Pleph {
 public:
  explicit Pleph(AstroState& a) : a_(a) {}

  std::array<double, 6> Relative(int target, int center) {
    if (target == 10 && center == 3) return Geo();
    if (target == 3 && center == 10) return Scale(Geo(), -1);
    std::array<double, 6> t = Barycentric(target), c = Barycentric(center), r{};
    for (int i = 0; i < 6; ++i) r[i] = t[i] - c[i];
    return r;
  }

 private:
  // Raw state of an ephemeris body 1..11 in AU and AU/day.
  std::array<double, 6> Raw(int k) {
    int program = k == 11 ? 0 : k == 10 ? 11 : k;
    JplBodyState(a_, program);
    double perDay = 2 / a_.RawIntervalDays[static_cast<size_t>(k)];
    size_t kk = static_cast<size_t>(k);
    return {a_.RawX[kk] / test::kDe405AuKm,          a_.RawY[kk] / test::kDe405AuKm,          a_.RawZ[kk] / test::kDe405AuKm,
            a_.RawVX[kk] * perDay / test::kDe405AuKm, a_.RawVY[kk] * perDay / test::kDe405AuKm, a_.RawVZ[kk] * perDay / test::kDe405AuKm};
  }
  std::array<double, 6> Geo() { return Raw(10); }
  static std::array<double, 6> Scale(std::array<double, 6> v, double f) {
    for (double& x : v) x *= f;
    return v;
  }
  std::array<double, 6> Barycentric(int body) {
    if (body == 12) return {};
    if (body == 13) return Raw(3);
    if (body == 3 || body == 10) {
      std::array<double, 6> emb = Raw(3), moon = Raw(10), r{};
      for (int i = 0; i < 6; ++i) {
        double earth = emb[i] - moon[i] / (1 + test::kDe405Emrat);
        r[i] = body == 3 ? earth : earth + moon[i];
      }
      return r;
    }
    return Raw(body);
  }
  AstroState& a_;
};

// A JPL ASCII header in JPL's layout for DE405's files: KSIZE, NCOEFF, the title, the span,
// the constants (DENUM, AU, EMRAT and `extra` more, names and values over several lines,
// D exponents) and GROUP 1050 from kDe405RecordLayout (13 columns, or 15 with two more).
std::string HeaderText(int columns = 13, int ksize = 2036, int ncoeff = 1018, int extra = 0) {
  std::string h = "KSIZE= " + std::to_string(ksize) + "    NCOEFF= " + std::to_string(ncoeff) + "\n\n";
  h += "GROUP   1010\n\nJPL Planetary Ephemeris DE405/LE405\nStart Epoch: JED=  2305424.5 1599 DEC 09 00:00:00\n"
       "Final Epoch: JED=  2525008.5 2201 FEB 20 00:00:00\n\n";
  h += "GROUP   1030\n\n  2305424.50  2525008.50         32.\n\n";
  std::vector<std::pair<std::string, double>> constants = {{"DENUM", 405}, {"AU", test::kDe405AuKm}, {"EMRAT", test::kDe405Emrat}};
  for (int i = 0; i < extra; ++i) constants.push_back({"C" + std::to_string(1000 + i), i * 0.25});
  std::string names = "GROUP   1040\n\n" + std::to_string(constants.size()) + "\n";
  std::string values = "GROUP   1041\n\n" + std::to_string(constants.size()) + "\n";
  for (size_t i = 0; i < constants.size(); ++i) {
    names += "  " + constants[i].first + (i % 10 == 9 ? "\n" : "");
    values += JplValue(constants[i].second) + (i % 3 == 2 ? "\n" : "");
  }
  h += names + "\n\n" + values + "\n\n";
  std::string rows[3];
  for (const De405LayoutRow& r : kDe405RecordLayout) {
    rows[0] += " " + std::to_string(r.FirstCoefficient);
    rows[1] += " " + std::to_string(r.CoefficientsPerComponent);
    rows[2] += " " + std::to_string(static_cast<int>(kDe405RecordDays / r.SubIntervalDays));
  }
  const char* more[3][4] = {{" 819", " 899", " 1019", " 1020"}, {" 10", " 10", " 0", " 0"}, {" 4", " 4", " 0", " 0"}};
  for (int row = 0; row < 3; ++row)
    for (int c = 0; c < columns - 11; ++c) rows[row] += more[row][c];
  h += "GROUP   1050\n\n" + rows[0] + "\n" + rows[1] + "\n" + rows[2] + "\n\nGROUP   1070\n";
  return h;
}

// A folder of JPL ASCII files: the header (unless empty) and the DE405 block files
// present, as links, under names of ephemeris `de` with `digits`-digit years.
fs::path HeaderFolder(const std::string& name, const std::string& header, int de = 405, int digits = 4) {
  fs::path dir = test::FreshFolder(name);
  if (!header.empty()) test::WriteBytes(dir / ("header." + std::to_string(de)), header);
  for (int year : {1960, 1980, 2000}) {
    fs::path from = test::De405BlockFolder() / ("ascp" + std::to_string(year) + ".405");
    if (fs::exists(from)) fs::create_symlink(from, dir / JplBlockName(year, de, digits));
  }
  return dir;
}

// JPL's test positions from the block files alone (DE405's layout) and from the header.
TEST_F(De405Test, JplTestPositions1960To1987) {
  std::vector<TestPosition> rows = ReadTestPositions();
  ASSERT_GT(rows.size(), 300u) << "tests/data/testpo-1960-1987.405 not read";
  for (const fs::path& folder : {test::De405BlockFolder(), HeaderFolder("de405_header", HeaderText())}) {
    a.JplFolder = folder;
    int checked = 0;
    double worstPos = 0, worstVel = 0;
    for (const TestPosition& t : rows) {
      if (t.target < 1 || t.target > 13 || t.center < 1 || t.center > 13) continue;  // nutations, librations
      ASSERT_TRUE(Load(t.jd)) << "block files missing in " << test::De405BlockFolder() << " (scripts/install_de405.sh)";
      std::array<double, 6> pv = Pleph(a).Relative(t.target, t.center);
      ASSERT_EQ(a.EphemerisError, 0) << t.line;
      double got = pv[static_cast<size_t>(t.coordinate - 1)];
      double err = std::fabs(got - t.value);
      (t.coordinate <= 3 ? worstPos : worstVel) = std::max(t.coordinate <= 3 ? worstPos : worstVel, err);
      EXPECT_NEAR_WHAT(got, t.value, kTolAu, t.line);
      ++checked;
    }
    EXPECT_GE(checked, 290);
    EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
    std::printf("%s: checked %d JPL test values; largest difference %.2g AU (positions), %.2g AU/day (velocities)\n",
                folder.filename().string().c_str(), checked, worstPos, worstVel);
  }
  EXPECT_EQ(R(a).Constants().AuKm, test::kDe405AuKm);  // from the header's D exponents
  EXPECT_EQ(R(a).Constants().Emrat, test::kDe405Emrat);
  EXPECT_EQ(R(a).Constants().Named.at("DENUM"), 405);
}

// A DE440-like set: 15 columns, over 400 constants, 5-digit file names; the same records
// give the same bits as DE405's files, and the span is that of the files present.
TEST_F(De405Test, HeaderOfFifteenColumnsAndFiveDigitNames) {
  ASSERT_TRUE(fs::exists(test::De405BlockFolder() / "ascp1980.405"));
  ASSERT_TRUE(Load(2447000.25));
  JplBodyState(a, 11);
  const double moonX = a.RawX[10], moonVz = a.RawVZ[10];
  a.JplFolder = HeaderFolder("de440_like", HeaderText(15, 2036, 1018, 420), 440, 5);
  ASSERT_TRUE(Load(2447000.25));
  JplBodyState(a, 11);
  EXPECT_TRUE(SameBits(a.RawX[10], moonX) && SameBits(a.RawVZ[10], moonVz));
  EXPECT_EQ(R(a).Name(), "DE440");
  EXPECT_EQ(R(a).Constants().Named.size(), 423u);
  EXPECT_EQ(R(a).Constants().Named.at("C1419"), 419 * 0.25);
  EXPECT_FALSE(Load(2460000.5));  // after the last file present
  EXPECT_EQ(a.StopRequested, 1);
  EXPECT_EQ(EphemerisMessage(EphemerisReportOf(a)),
            "В файлах DE440 нет такой даты\r\nгоды эфемериды DE440: 1960–2019, файлы ascp01960.440 … ascp02000.440 в папке " +
                PathText(a.JplFolder) + "\r\nгоды в файлах DE440: 1960–2019");
  EXPECT_EQ(FindEphemerides(a.JplFolder), std::vector<std::string>{"DE440"});
}

// Damaged headers and blocks: a refusal naming the file, a read error at every epoch, no
// partial result.
TEST_F(De405Test, DamagedHeadersAndBlocksAreRefused) {
  const std::string good = HeaderText();
  struct Case {
    const char* what;
    std::string header;
    const char* reason;
  } cases[] = {
      {"truncated", good.substr(0, good.find("GROUP   1041") + 20), "GROUP 1040/1041"},
      {"NCOEFF not KSIZE/2", HeaderText(13, 2036, 1020), "NCOEFF ≠ KSIZE/2"},
      {"no GROUP 1050", good.substr(0, good.find("GROUP   1050")), "нет GROUP 1050"},
      {"14 columns", HeaderText(14), "GROUP 1050: не 13 и не 15"},
      {"layout beyond the record", HeaderText(13, 1600, 800), "не помещается в запись"},
  };
  for (const Case& c : cases) {
    a.JplFolder = HeaderFolder("de405_bad_header", c.header);
    std::string refusal;
    EXPECT_EQ(JplAsciiEphemeris::Open(a.JplFolder, 405, &refusal), nullptr) << c.what;
    EXPECT_NE(refusal.find(PathText(a.JplFolder / "header.405")), std::string::npos) << c.what << ": " << refusal;
    EXPECT_NE(refusal.find(c.reason), std::string::npos) << c.what << ": " << refusal;
    EXPECT_FALSE(Load(2444300.5)) << c.what;
    EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kReadError) << c.what;
    EXPECT_NE(EphemerisMessage(EphemerisReportOf(a)).find(refusal), std::string::npos) << c.what;
  }
  // Blocks whose second record does not follow the first: a wrong number, a gap of dates.
  const std::pair<std::string, double> seconds[] = {{HandRecord(3, 2436944.5, 2), 2436950.5},
                                                     {HandRecord(2, 2436976.5, 2), 2436980.5}};
  for (const auto& [second, epoch] : seconds) {
    fs::path dir = test::FreshFolder("de405_bad_block");
    a.JplFolder = dir;
    test::WriteBytes(dir / "ascp1960.405", HandRecord(1, 2436912.5, 1) + second);
    for (bool rescan : {false, true}) {
      a.JplRescan = rescan;
      EXPECT_TRUE(Load(2436920.5)) << rescan;
      EXPECT_FALSE(Load(epoch)) << rescan;
      ExpectOnlyMessage(kReadError);
      EXPECT_EQ(a.JplFilePathRead, dir / "ascp1960.405");
    }
  }
  // A block that begins after its year's first record: the days before are not served.
  test::WriteBytes(a.JplFolder / "ascp1960.405", HandRecord(1, 2436944.5, 1));
  EXPECT_FALSE(Load(2436920.5));
  ExpectOnlyMessage(kReadError);
  EXPECT_EQ(a.JplFilePathRead, a.JplFolder / "ascp1960.405");
}

// The ephemerides of a folder: the only one is used without asking, DE405 first when
// present, the others chosen by name; the same records give the same place.
TEST(JplEphemerides, ListedDe405FirstAndChosenByName) {
  const fs::path dir = HeaderFolder("jpl_ephemerides", HeaderText(15), 440, 5);
  ASSERT_TRUE(fs::exists(dir / "ascp01980.440"));
  Astronomy astro;
  astro.SetJplFolder(dir);
  EXPECT_EQ(astro.FindEphemerides(), std::vector<std::string>{"DE440"});
  EXPECT_EQ(astro.SelectedEphemerisName(), "DE440");
  ApparentPlaceRequest r;
  r.Body = 4;
  r.JdUt = 2447000.5;
  const ApparentPlaceResult de440 = astro.ApparentPlaceOf(r);
  ASSERT_EQ(de440.Ephemeris.Failure, EphemerisFailure::kNone);

  fs::create_symlink(test::De405BlockFolder() / "ascp1980.405", dir / "ascp1980.405");
  test::WriteBytes(dir / "de405.bsp", "");
  EXPECT_EQ(astro.FindEphemerides(), (std::vector<std::string>{"DE405", "DE440", "de405.bsp"}));
  EXPECT_EQ(astro.SelectedEphemerisName(), "DE405");
  const ApparentPlaceResult de405 = astro.ApparentPlaceOf(r);
  EXPECT_TRUE(SameBits(de405.RaDeg, de440.RaDeg) && SameBits(de405.DecDeg, de440.DecDeg));
  std::string why;
  EXPECT_FALSE(astro.SelectEphemeris("DE441", &why));
  EXPECT_NE(why.find("DE441"), std::string::npos);
  EXPECT_TRUE(astro.SelectEphemeris("DE440"));
  EXPECT_EQ(astro.SelectedEphemerisName(), "DE440");
  r.JdUt = 2460000.5;  // after its files: the message names DE440
  EXPECT_EQ(EphemerisMessage(astro.ApparentPlaceOf(r).Ephemeris.Failure, "DE440"), "В файлах DE440 нет такой даты");
  EXPECT_EQ(astro.ApparentPlaceOf(r).Ephemeris.Name, "DE440");
}

// ---------------------------------------------------------------------------------------
// Choice of file and record

TEST_F(De405Test, BlockEdgesChooseTheFileOfTheCoverageTable) {
  ASSERT_TRUE(Load(2451536.4));
  EXPECT_EQ(R(a).Record[1], 2451504.5);
  EXPECT_EQ(R(a).Record[2], 2451536.5);
  EXPECT_TRUE(R(a).Cache[1980].Loaded);   // ascp1980
  EXPECT_FALSE(R(a).Cache[2000].Loaded);  // ascp2000 not touched
  ASSERT_TRUE(Load(2451536.5));
  EXPECT_EQ(R(a).Record[1], 2451536.5);
  EXPECT_TRUE(R(a).Cache[2000].Loaded);
  EXPECT_EQ(R(a).Cache[2000].Path, test::De405BlockFolder() / "ascp2000.405");
  EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
}

TEST_F(De405Test, BlockEdgesWithHandMadeFiles) {
  // ascp1980 with its last record and the overlap record (mark 1980), ascp2000 with its
  // first record (mark 2000): 2451536.5 must come from ascp2000.
  fs::path dir = test::FreshFolder("de405_edges");
  a.JplFolder = dir;
  test::WriteBytes(dir / "ascp1980.405", HandRecord(1, 2451504.5, 1980) + HandRecord(2, 2451536.5, 1980));
  test::WriteBytes(dir / "ascp2000.405", HandRecord(1, 2451536.5, 2000));
  test::WriteBytes(dir / "ascp1600.405", HandRecord(1, 2305424.5, 1600));
  ASSERT_TRUE(Load(2451536.4));
  EXPECT_EQ(R(a).Record[1], 2451504.5);
  EXPECT_EQ(R(a).Record[3], 1980 + 0.003);
  ASSERT_TRUE(Load(2451536.5));
  EXPECT_EQ(R(a).Record[1], 2451536.5);
  EXPECT_EQ(R(a).Record[3], 2000 + 0.003);
  EXPECT_EQ(R(a).Record[1020], 2000 + 1.020);
  ASSERT_TRUE(Load(2305424.5));  // the first day of the files
  EXPECT_EQ(R(a).Record[1], 2305424.5);
  EXPECT_EQ(R(a).Record[3], 1600 + 0.003);
  EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
}

// Block files that overlap further than JPL's one record at the join refuse the epochs
// they hold, naming the file, the JDs it covers and the block it reaches into; a file off
// DE405's 20-year grid refuses the ephemeris with both files named.
TEST_F(De405Test, OverlappingBlocksAreRefusedNamingFileAndSpan) {
  struct Case {
    const char* what;
    std::string b1980, b2000;
    double epoch;
    const char* file;
    const char* text;
  } cases[] = {
      {"ascp1980 runs a record into ascp2000",
       HandRecord(1, 2451504.5, 1980) + HandRecord(2, 2451536.5, 1980) + HandRecord(3, 2451568.5, 1980),
       HandRecord(1, 2451536.5, 2000), 2451510.5, "ascp1980.405",
       "ascp1980.405 охватывает JD 2451504,5–2451600,5 и заходит в блок ascp2000.405 (с JD 2451536,5)"},
      {"ascp2000 begins a record inside ascp1980", HandRecord(1, 2451504.5, 1980) + HandRecord(2, 2451536.5, 1980),
       HandRecord(1, 2451504.5, 2000) + HandRecord(2, 2451536.5, 2000), 2451540.5, "ascp2000.405",
       "ascp2000.405 охватывает JD 2451504,5–2451568,5 и заходит в блок ascp1980.405 (до JD 2451536,5)"},
  };
  for (const Case& c : cases) {
    fs::path dir = test::FreshFolder("de405_overlap");
    a.JplFolder = dir;
    test::WriteBytes(dir / "ascp1980.405", c.b1980);
    test::WriteBytes(dir / "ascp2000.405", c.b2000);
    EXPECT_FALSE(Load(c.epoch)) << c.what;
    EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kReadError) << c.what;
    EXPECT_EQ(a.JplFilePathRead, dir / c.file) << c.what;
    const std::string message = EphemerisMessage(EphemerisReportOf(a));
    EXPECT_NE(message.find(c.text), std::string::npos) << c.what << ": " << message;
  }
  // A stray file of another block length among DE405's.
  fs::path dir = test::FreshFolder("de405_overlap_names");
  a.JplFolder = dir;
  test::WriteBytes(dir / "ascp1960.405", HandRecord(1, 2436912.5, 1960));
  test::WriteBytes(dir / "ascp1970.405", HandRecord(1, 2440584.5, 1970));
  std::string refusal;
  EXPECT_EQ(JplAsciiEphemeris::Open(dir, 405, &refusal), nullptr);
  EXPECT_EQ(refusal, "ascp1970.405 перекрывает блок ascp1960.405 (годы 1960–1979)");
  EXPECT_FALSE(Load(2436920.5));
  EXPECT_NE(EphemerisMessage(EphemerisReportOf(a)).find(refusal), std::string::npos);
}

TEST_F(De405Test, DatesOutsideTheFilesAreRejected) {
  ASSERT_TRUE(Load(2440000.5));
  const std::vector<double> before = R(a).Record;
  for (double jd : {2305424.49, 2473456.5, 2480000.5, 2200000.5}) {
    EXPECT_FALSE(Load(jd)) << jd;
    EXPECT_EQ(a.StopRequested, 1) << jd;
    EXPECT_EQ(a.EphemerisError, 1) << jd;
    ExpectOnlyMessage(kNoSuchDate);
    EXPECT_EQ(R(a).Record, before) << "the record in memory is left as it was";
  }
  EXPECT_TRUE(Load(2473456.4));  // and the next good epoch works
  EXPECT_EQ(a.StopRequested, 0);
  EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
}

TEST_F(De405Test, EpochAtARecordsEndIsServedByTheNextRecordAtTauMinusOne) {
  // Record boundaries (multiples of 32 days from 2436912.5), inside and at the edges of
  // the block files.
  for (double jd : {2436912.5, 2436944.5, 2444208.5, 2451536.5, 2451568.5}) {
    ASSERT_TRUE(Load(jd));
    EXPECT_EQ(R(a).Record[1], jd) << "the record that begins at the epoch, not the one that ends there";
    EXPECT_EQ(R(a).Record[2], jd + 32);
    // tau = -1: T_m = (-1)^m, U_m = (-1)^m (m + 1); sub-interval 1 of every body.
    for (int body : {0, 1, 3, 5, 11}) {
      JplBodyState(a, body);
      int k = body == 0 ? 11 : body == 11 ? 10 : body;
      const JplLayoutEntry& e = R(a).Layout[static_cast<size_t>(k)];
      const double raw[3] = {a.RawX[static_cast<size_t>(k)], a.RawY[static_cast<size_t>(k)],
                             a.RawZ[static_cast<size_t>(k)]};
      const double rawV[3] = {a.RawVX[static_cast<size_t>(k)], a.RawVY[static_cast<size_t>(k)],
                              a.RawVZ[static_cast<size_t>(k)]};
      for (int c = 0; c < 3; ++c) {
        double x = 0, v = 0;
        for (int j = 1; j <= e.CoefficientsPerComponent; ++j) {
          double coef = R(a).Record[static_cast<size_t>(e.FirstCoefficient + c * e.CoefficientsPerComponent + j - 1)];
          double t = (j - 1) % 2 ? -1.0 : 1.0;
          x = x + coef * t;
          if (j >= 2) {
            double u = ((j - 2) % 2 ? -1.0 : 1.0) * (j - 1);
            v = v + coef * (j - 1) * u;
          }
        }
        EXPECT_EQ(raw[c], x) << "body " << body << " component " << c << " at " << jd;
        EXPECT_EQ(rawV[c], v) << "body " << body << " component " << c << " at " << jd;
      }
    }
  }
  EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
}

TEST_F(De405Test, MoonUsesEightSubIntervalsAndTheSunTwo) {
  // 2436912.5 + 13.0: Moon sub-interval 4 (4 days each) at tau = 2*(1.0)/4 - 1 = -0.5;
  // Sun sub-interval 1 (16 days) at tau = 2*13/16 - 1.
  ASSERT_TRUE(Load(2436925.5));
  JplBodyState(a, 11);
  EXPECT_EQ(R(a).SubIntervalStart[8], 2436912.5 + 28);
  double moonDistKm = std::hypot(a.RawX[10], a.RawY[10], a.RawZ[10]);
  EXPECT_GT(moonDistKm, 356000);
  EXPECT_LT(moonDistKm, 407000);
  JplBodyState(a, 0);
  EXPECT_EQ(R(a).SubIntervalStart[2], 2436912.5 + 16);
  double sunFromSsbKm = std::hypot(a.RawX[11], a.RawY[11], a.RawZ[11]);
  EXPECT_LT(sunFromSsbKm, 2.2e6);
  EXPECT_EQ(a.EphemerisError, 0);
}

// ---------------------------------------------------------------------------------------
// Conversions into the position table

TEST_F(De405Test, StateToEclipticAndToKilometres) {
  const double eps = a.Obliquity2000;
  a.RawIntervalDays[11] = 16;  // the Sun's and the Moon's sub-intervals
  a.RawIntervalDays[10] = 4;
  a.RawX[11] = 1.5e6;
  a.RawY[11] = -2.5e5;
  a.RawZ[11] = 3.25e4;
  a.RawVX[11] = 10;
  a.RawVY[11] = -20;
  a.RawVZ[11] = 5;
  JplStateToEcliptic(a, 0);  // the Sun: ephemeris body 11, slot 0, 16-day sub-intervals
  EXPECT_EQ(a.PosX[0], 1000 * 1.5e6);
  EXPECT_EQ(a.PosY[0], 1000 * (std::cos(eps) * -2.5e5 + std::sin(eps) * 3.25e4));
  EXPECT_EQ(a.PosZ[0], 1000 * (std::cos(eps) * 3.25e4 - std::sin(eps) * -2.5e5));
  EXPECT_EQ(a.VelX[0], 10.0 * 2000 / 86400 / 16);
  EXPECT_EQ(a.VelY[0], (std::cos(eps) * -20 + std::sin(eps) * 5) * 2000 / 86400 / 16);
  EXPECT_EQ(a.VelZ[0], (std::cos(eps) * 5 - std::sin(eps) * -20) * 2000 / 86400 / 16);
  JplStateToKilometres(a, 0);
  EXPECT_EQ(a.PosX[0], 1.5e6 / 1000);
  EXPECT_EQ(a.PosY[0], -2.5e5 / 1000);
  EXPECT_EQ(a.PosZ[0], 3.25e4 / 1000);
  EXPECT_EQ(a.VelX[0], 10.0 * 2 / 16 / 86400);
  EXPECT_EQ(a.VelY[0], -20.0 * 2 / 16 / 86400);
  EXPECT_EQ(a.VelZ[0], 5.0 * 2 / 16 / 86400);

  a.RawX[10] = 4e5;
  a.RawVX[10] = 3;
  JplStateToEcliptic(a, 11);  // the Moon: ephemeris body 10, slot 11, 4-day sub-intervals
  EXPECT_EQ(a.PosX[11], 4e8);
  EXPECT_EQ(a.VelX[11], 3.0 * 2000 / 86400 / 4);
  EXPECT_EQ(a.EphemerisError, 0);
  EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
}

TEST_F(De405Test, HeliocentricEarthFromTheEphemerisIsAboutOneAu) {
  // The callers' combination: Earth = EMB - Moon/(1 + 81.300585), minus the Sun.
  ASSERT_TRUE(Load(2451545.0));
  for (int b : {0, 3, 11}) {
    JplBodyState(a, b);
    JplStateToEcliptic(a, b);
  }
  double k = 1 + a.EarthMoonMassRatio;
  double x = a.PosX[3] - a.PosX[11] / k - a.PosX[0];
  double y = a.PosY[3] - a.PosY[11] / k - a.PosY[0];
  double z = a.PosZ[3] - a.PosZ[11] / k - a.PosZ[0];
  EXPECT_NEAR(std::hypot(x, y, z) / a.AuMetres, 0.98333, 1e-4);  // perihelion season
  EXPECT_LT(std::fabs(z), 1000e3 * test::kMetre) << "the Earth stays within a few hundred km of the ecliptic";
  double speed = std::hypot(a.VelX[3] - a.VelX[0], a.VelY[3] - a.VelY[0], a.VelZ[3] - a.VelZ[0]);
  EXPECT_NEAR(speed, 30280, 100);  // m/s near perihelion
}

// ---------------------------------------------------------------------------------------
// Failures and recovery

TEST_F(De405Test, MissingFolderThenRecovery) {
  a.JplFolder = test::FreshFolder("de405_missing") / "no_such_folder";
  EXPECT_FALSE(Load(2440000.5));
  EXPECT_EQ(a.StopRequested, 0);
  ExpectOnlyMessage(kReadError);
  a.JplFolder = test::De405BlockFolder();
  EXPECT_TRUE(Load(2440000.5));
  EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
}

TEST_F(De405Test, ApplicationFolderIsUsedWhenNoFolderIsSet) {
  fs::path app = test::FreshFolder("de405_app");
  fs::create_directories(app / "JPL");
  test::WriteBytes(app / "JPL" / "ascp1960.405", HandRecord(1, 2436912.5, 7));
  ui.SetAppFolder(app);
  a.JplFolder.clear();
  ASSERT_TRUE(Load(2436913.5));
  EXPECT_EQ(R(a).Record[3], 7.003);
  // No folder at all: a read error, not a crash.
  AstroState b;
  b.CurrentJd = 2436913.5;
  LoadJplRecord(b);
  EXPECT_EQ(b.EphemerisError, 1);
}

TEST_F(De405Test, MissingAndUnreadableFilesThenRecovery) {
  for (bool rescan : {false, true}) {
    a.JplRescan = rescan;
    fs::path dir = test::FreshFolder("de405_missing_file");
    a.JplFolder = dir;
    test::WriteBytes(dir / "ascp1960.405", HandRecord(1, 2436912.5, 1));
    fs::create_directories(dir / "ascp1980.405");  // a folder where the file should be
    EXPECT_FALSE(Load(2451000.5)) << rescan;        // ascp1980: not a readable file
    ExpectOnlyMessage(kReadError);
    EXPECT_FALSE(Load(2452000.5)) << rescan;  // ascp2000: missing
    ExpectOnlyMessage(kReadError);
    EXPECT_TRUE(Load(2436912.5)) << rescan;
    EXPECT_EQ(R(a).Record[3], 1.003);
    // The missing file appears: the next epoch reads it.
    test::WriteBytes(dir / "ascp2000.405", HandRecord(1, 2451984.5, 2));
    EXPECT_TRUE(Load(2452000.5)) << rescan;
    EXPECT_EQ(R(a).Record[3], 2.003);
    EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
  }
}

TEST_F(De405Test, TruncatedFileServesOnlyItsCompleteRecords) {
  std::string real = test::ReadBytes(test::De405BlockFolder() / "ascp1960.405");
  ASSERT_FALSE(real.empty()) << "block files missing in " << test::De405BlockFolder();
  for (bool rescan : {false, true}) {
    a.JplRescan = rescan;
    fs::path dir = test::FreshFolder("de405_truncated");
    a.JplFolder = dir;
    // Two whole records and 100 lines of the third; then one cut inside a number.
    test::WriteBytes(dir / "ascp1960.405", FirstLines(real, 2 * 341 + 100));
    EXPECT_TRUE(Load(2436920.5)) << rescan;
    EXPECT_EQ(R(a).Record[1], 2436912.5);
    EXPECT_TRUE(Load(2436950.5)) << rescan;
    EXPECT_EQ(R(a).Record[1], 2436944.5);
    EXPECT_FALSE(Load(2436980.5)) << rescan;  // in the cut record
    ExpectOnlyMessage(kReadError);
    EXPECT_EQ(a.StopRequested, 0);
    EXPECT_FALSE(Load(2440000.5)) << rescan;  // beyond the end of the file
    ExpectOnlyMessage(kReadError);
    EXPECT_TRUE(Load(2436913.5)) << rescan;  // the next good epoch works
    EXPECT_EQ(R(a).Record[1], 2436912.5);
    // The file ends inside a value of record 2 whose last word, "0.243697650000D", is no number.
    std::string cut = FirstLines(real, 341 + 2);
    cut.resize(cut.size() - 40);
    cut += "D";
    test::WriteBytes(dir / "ascp1960.405", cut);
    EXPECT_FALSE(Load(2436950.5)) << rescan;
    ExpectOnlyMessage(kReadError);
    EXPECT_TRUE(Load(2436920.5)) << rescan;
    // An empty file.
    test::WriteBytes(dir / "ascp1960.405", "");
    EXPECT_FALSE(Load(2436920.5)) << rescan;
    ExpectOnlyMessage(kReadError);
    EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
  }
}

TEST_F(De405Test, LettersInANumber) {
  std::string real = test::ReadBytes(test::De405BlockFolder() / "ascp1960.405");
  ASSERT_FALSE(real.empty()) << "block files missing in " << test::De405BlockFolder();
  std::string three = FirstLines(real, 3 * 341);
  for (const char* bad : {"0.12345678901234567OD+03", "abc", "0.1234E+0X", "1.0.0", "inf", "nan", "--1"}) {
    for (bool rescan : {false, true}) {
      a.JplRescan = rescan;
      fs::path dir = test::FreshFolder("de405_letters");
      a.JplFolder = dir;
      // The 10th value of record 2 (line 4 of its values, first field) replaced.
      std::string text = three;
      size_t line = 0, pos = 0;
      for (; line < 341 + 4; ++line) pos = text.find('\n', pos) + 1;
      size_t first = text.find_first_not_of(' ', pos);
      size_t last = text.find(' ', first);
      text.replace(first, last - first, bad);
      test::WriteBytes(dir / "ascp1960.405", text);
      EXPECT_TRUE(Load(2436920.5)) << bad << rescan;  // record 1 comes before it
      EXPECT_FALSE(Load(2436950.5)) << bad << rescan;
      ExpectOnlyMessage(kReadError);
      EXPECT_FALSE(Load(2436980.5)) << bad << rescan;  // record 3: the scan stops at record 2
      ExpectOnlyMessage(kReadError);
      a.JplFolder = test::De405BlockFolder();
      EXPECT_TRUE(Load(2436980.5)) << bad << rescan;  // the next good epoch works
      EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
    }
  }
}

TEST_F(De405Test, BodyStateFailuresAreReportedNotThrown) {
  ASSERT_TRUE(Load(2440000.5));
  for (int body : {-1, 12, 27}) {
    a.EphemerisError = 0;
    JplBodyState(a, body);
    EXPECT_EQ(a.EphemerisError, 1) << body;
    ExpectOnlyMessage(kReadError);
  }
  // A record shorter than the layout needs (the Sun ends at value 818).
  R(a).ValuesPerRecord = 800;
  a.EphemerisError = 0;
  JplBodyState(a, 0);
  EXPECT_EQ(a.EphemerisError, 1);
  ExpectOnlyMessage(kReadError);
  a.EphemerisError = 0;
  JplBodyState(a, 9);  // Pluto's coefficients lie within
  EXPECT_EQ(a.EphemerisError, 0);
  R(a).ValuesPerRecord = 1020;
  // An epoch the record does not cover.
  a.CurrentJd = R(a).Record[2] + 1;
  JplBodyState(a, 5);
  EXPECT_EQ(a.EphemerisError, 1);
  ExpectOnlyMessage(kReadError);
  // A numeric fault.
  ASSERT_TRUE(Load(2440000.5));
  R(a).Record[342] = HUGE_VAL;
  JplBodyState(a, 5);
  EXPECT_EQ(a.EphemerisError, 1);
  ExpectOnlyMessage(kReadError);
  ASSERT_TRUE(Load(2440000.5));  // a good epoch after it
  JplBodyState(a, 5);
  EXPECT_EQ(a.EphemerisError, 0);
}

// ---------------------------------------------------------------------------------------
// The cache

TEST_F(De405Test, EachFileIsParsedOnceAndAgainWhenItChanges) {
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(Load(2436912.5 + i * 109.49));
  EXPECT_EQ(a.JplFilesParsed, 3);
  fs::path dir = test::FreshFolder("de405_changes");
  a.JplFolder = dir;
  test::WriteBytes(dir / "ascp1960.405", HandRecord(1, 2436912.5, 1));
  ASSERT_TRUE(Load(2436920.5));
  EXPECT_EQ(R(a).Record[3], 1.003);
  ASSERT_TRUE(Load(2436921.5));
  EXPECT_EQ(a.JplFilesParsed, 4);
  // Another size.
  test::WriteBytes(dir / "ascp1960.405", HandRecord(1, 2436912.5, 22) + HandRecord(2, 2436944.5, 23));
  ASSERT_TRUE(Load(2436920.5));
  EXPECT_EQ(R(a).Record[3], 22.003);
  EXPECT_EQ(a.JplFilesParsed, 5);
  // The same size, another modification time.
  test::WriteBytes(dir / "ascp1960.405", HandRecord(1, 2436912.5, 32) + HandRecord(2, 2436944.5, 33));
  fs::last_write_time(dir / "ascp1960.405", fs::last_write_time(dir / "ascp1960.405") + std::chrono::seconds(5));
  ASSERT_TRUE(Load(2436950.5));
  EXPECT_EQ(R(a).Record[3], 33.003);
  EXPECT_EQ(a.JplFilesParsed, 6);
  // The re-scan path does not use the cache.
  a.JplRescan = true;
  ASSERT_TRUE(Load(2436920.5));
  EXPECT_EQ(a.JplFilesParsed, 6);
}

// Cached path and re-scan give the same bits: record, raw states and both conversions.
TEST_F(De405Test, CachedAndRescanAreBitIdentical) {
  AstroState r;
  r.InitConstants();
  r.JplFolder = test::De405BlockFolder();
  r.JplRescan = true;
  std::vector<double> epochs = {2436912.5, 2436944.5, 2444208.4, 2444208.5, 2451536.4, 2451536.5, 2458832.4};
  for (int i = 0; i < 90; ++i) epochs.push_back(2436912.5 + 0.37 + i * 243.31);  // over 1960-2019
  for (double jd : epochs) {
    ASSERT_TRUE(Load(jd)) << jd;
    r.CurrentJd = jd;
    LoadJplRecord(r);
    ASSERT_EQ(r.EphemerisError, 0) << jd;
    for (size_t i = 1; i <= 1020; ++i) ASSERT_TRUE(SameBits(R(a).Record[i], R(r).Record[i])) << jd << " " << i;
    for (int b = 0; b <= 11; ++b) {
      for (AstroState* s : {&a, &r}) {
        JplBodyState(*s, b);
        JplStateToEcliptic(*s, b);
      }
      size_t k = static_cast<size_t>(b == 0 ? 11 : b == 11 ? 10 : b);
      size_t sl = static_cast<size_t>(b);
      double x[] = {a.RawX[k], a.RawY[k], a.RawZ[k], a.RawVX[k], a.RawVY[k], a.RawVZ[k],
                    a.PosX[sl], a.PosY[sl], a.PosZ[sl], a.VelX[sl], a.VelY[sl], a.VelZ[sl]};
      double y[] = {r.RawX[k], r.RawY[k], r.RawZ[k], r.RawVX[k], r.RawVY[k], r.RawVZ[k],
                    r.PosX[sl], r.PosY[sl], r.PosZ[sl], r.VelX[sl], r.VelY[sl], r.VelZ[sl]};
      for (size_t i = 0; i < std::size(x); ++i) EXPECT_TRUE(SameBits(x[i], y[i])) << jd << " body " << b << " " << i;
      JplStateToKilometres(a, b);
      JplStateToKilometres(r, b);
      EXPECT_TRUE(SameBits(a.PosZ[sl], r.PosZ[sl]) && SameBits(a.VelY[sl], r.VelY[sl])) << jd << " body " << b;
    }
  }
  EXPECT_EQ(a.EphemerisError, 0);
  EXPECT_EQ(r.EphemerisError, 0);
  EXPECT_EQ(r.JplFilesParsed, 0);
  EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNone);
}

}  // namespace
}  // namespace planova
