// Modern observations reduced in one run: an MPC file of exact topocentric places from two
// stations (tests/data/topocentric_places.txt, Skyfield and DE405) goes through window 1's
// import into a BDL file, and window 2 compares it with "JPL2 (DE405)", "точно (IAU 2006)",
// "астрометрическое (ICRS)", "TT-UTC по таблице" and "топоцентр.": each record is reduced
// from its own station, and the O-C is the MPC layout's rounding alone.
#include <gtest/gtest.h>

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "app/application.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

// The theory against Skyfield's exact places: 1 mas, the Moon 2 mas (the rigorous chain's
// own test shows 0.03 mas; the rest is the BDL's ten-thousandth of a time second and the
// MPC date's microday).
constexpr double kPlanetMas = 1.0;
constexpr double kMoonMas = 2.0;

struct Exact {
  int body = 0;
  std::string station, year, month, day;
  double jdUtc = 0, ra = 0, dec = 0;
};

// The MPC line of a place: "HH MM SS.sss" and "sDD MM SS.ss" rounded, the station at 78-80.
// Returned with the right ascension and declination the line holds, degrees.
std::string MpcLine(const Exact& e, double& raWritten, double& decWritten) {
  const long long ms = std::llround(e.ra / 15 * 3600 * 1000);
  const long long cas = std::llround(std::fabs(e.dec) * 3600 * 100);
  raWritten = static_cast<double>(ms) / 1000 / 3600 * 15;
  decWritten = std::copysign(static_cast<double>(cas) / 100 / 3600, e.dec);
  char text[96];
  std::snprintf(text, sizeof text, "%-12s  C%s %s %s%02lld %02lld %06.3f%c%02lld %02lld %05.2f%21s%s", "Obs",
                e.year.c_str(), e.month.c_str(), e.day.c_str(), ms / 3600000, ms / 60000 % 60, static_cast<double>(ms % 60000) / 1000,
                e.dec < 0 ? '-' : '+', cas / 360000, cas / 6000 % 60, static_cast<double>(cas % 6000) / 100, "",
                e.station.c_str());
  return text;
}

double SeparationMas(double ra1, double dec1, double ra2, double dec2) {
  return eraSeps(ra1 * ERFA_DD2R, dec1 * ERFA_DD2R, ra2 * ERFA_DD2R, dec2 * ERFA_DD2R) * ERFA_DR2AS * 1000;
}

struct MpcTopocentric : ::testing::Test {
  fs::path folder = test::FolderForThisTest("mpc_topo_", true);  // with ObsCodes.html
  test::RecordingPlatform ui{folder};
  Application app{ui};
  Window2Model& f = app.window2;
  std::string rejected;  // window 1's rejected records of the last import

  void SetUp() override {
    for (const auto& e : fs::directory_iterator(test::De405BlockFolder())) {
      fs::create_symlink(e.path(), folder / "JPL" / e.path().filename());
    }
  }
  // Window 1 imports FileMPC/PARI<body>_5.txt and writes ObsPARI/PARI<body>_G_5.txt;
  // window 2 loads it and compares it with the modern reduction.
  void ImportAndCompare(int body) {
    Window1Model& w1 = app.window1;
    app.ShowForm("Form1");
    test::PressButton(w1, "Создать массивы с N=", ui);
    w1.ChooseOption(w1.sourceMpc);
    w1.objectNumber.Text = std::to_string(body);
    w1.fileNumber.Text = "5";
    test::PressButton(w1, "Загрузить исходные данные из", ui);
    rejected = w1.rejectedOrSavedLog.Text;
    w1.bdlNamePart.Text = "G_5";
    test::PressButton(w1, "Сохранить данные в формате BDL", ui);
    app.ShowForm("Form2");
    f.objectNumber.Text = std::to_string(body);
    f.fileNumber.Text = "5";
    test::PressButton(f, "Создать массивы с N=", ui);
    test::PressButton(f, "Загрузить в формате BDL", ui);
    f.ChooseOption(f.theoryJpl2);
    f.rigorousIau2006.Value = f.astrometricPlace.Value = f.deltaTFromTable.Value = f.topocentricPlace.Value = true;
    f.writeParamFile.Value = true;
    test::PressButton(f, "Сравнить данные 1 с данными 2", ui);
  }
  void WriteMpc(int body, const std::vector<std::string>& lines) {
    std::ofstream out(folder / "FileMPC" / ("PARI" + std::to_string(body) + "_5.txt"), std::ios::binary);
    for (const std::string& l : lines) out << l << "\r\n";
  }
};

TEST_F(MpcTopocentric, MixedStationFileGivesTheRoundingAsOMinusC) {
  const std::vector<Exact> cases = test::ReadFixture<Exact>("topocentric_places.txt", [](std::istringstream& s, Exact& c) {
    double jdTt = 0, ignored = 0;
    s >> c.body >> c.station >> c.year >> c.month >> c.day >> c.jdUtc >> jdTt >> c.ra >> c.dec >> ignored >> ignored >>
        ignored >> ignored;
  });
  for (int body : {9, 4, 11}) {
    std::vector<std::string> lines;
    std::vector<std::pair<double, double>> written;
    std::vector<const Exact*> exact;
    for (const Exact& e : cases) {
      if (e.body != body) continue;
      double ra = 0, dec = 0;
      lines.push_back(MpcLine(e, ra, dec));
      written.emplace_back(ra, dec);
      exact.push_back(&e);
    }
    WriteMpc(body, lines);
    ImportAndCompare(body);
    ASSERT_TRUE(ui.messages.empty()) << body << ": " << ui.messages[0];
    const auto n = static_cast<int32_t>(lines.size());
    ASSERT_EQ(f.ComparedCount, n) << body;
    const double tolerance = body == 11 ? kMoonMas : kPlanetMas;
    for (int32_t i = 1; i <= n; ++i) {
      const Exact& e = *exact[static_cast<size_t>(i - 1)];
      EXPECT_EQ(app.Store.ObserverCode(i, kSet1), e.station);
      const double ra = app.Store.ObsLon(i, kSet3), dec = app.Store.ObsLat(i, kSet3);
      EXPECT_LE(SeparationMas(ra, dec, e.ra, e.dec), tolerance) << body << " " << e.station << " " << e.jdUtc;
      // The O-C of the run is the line's rounding.
      const auto [raWritten, decWritten] = written[static_cast<size_t>(i - 1)];
      EXPECT_NEAR((app.Store.ObsLat(i, kSet1) - dec) * 3.6e6, (decWritten - e.dec) * 3.6e6, tolerance);
      EXPECT_NEAR((app.Store.ObsLon(i, kSet1) - ra) * std::cos(dec * ERFA_DD2R) * 3.6e6,
                  (raWritten - e.ra) * std::cos(dec * ERFA_DD2R) * 3.6e6, tolerance);
    }
  }
  EXPECT_NE(f.set2Pane.Text.find("топоцентр.: станция "), std::string::npos) << f.set2Pane.Text;

  // A station the lists do not place: the import refuses its line with the reason ...
  Exact roving = cases.front(), unknown = cases.front();
  roving.station = "C51";
  unknown.station = "ZZ9";
  double ra = 0, dec = 0;
  WriteMpc(roving.body, {MpcLine(cases.front(), ra, dec), MpcLine(roving, ra, dec), MpcLine(unknown, ra, dec)});
  ImportAndCompare(roving.body);
  EXPECT_EQ(app.Store.GoodCount, 1);
  for (const char* reason : {"C51    <- у станции нет координат", "ZZ9    <- неизвестный код станции"}) {
    EXPECT_NE(rejected.find(reason), std::string::npos) << reason << "\n" << rejected;
  }
  // ... and without the MPC's list to check it at the import, the comparison names the code
  // and the record and writes no file.
  fs::remove(folder / "ObsCodes.html");
  ui.messages.clear();
  unknown.station = "   ";  // the window's observatory, PARI
  roving.station = "ZZ9";
  WriteMpc(roving.body, {MpcLine(unknown, ra, dec), MpcLine(roving, ra, dec)});
  fs::remove_all(folder / "Dat");
  fs::create_directory(folder / "Dat");
  ImportAndCompare(roving.body);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Станция \"ZZ9\" (запись 2): код не найден ни в Observatories.txt, ни в ObsCodes.html");
  EXPECT_TRUE(fs::is_empty(folder / "Dat"));
}

}  // namespace
}  // namespace planova
