// Window 2's DE405 calculator against JPL's own test positions (testpo.405): the
// heliocentric and geocentric equatorial J2000 places it prints agree with JPL's values
// to the last printed digit (1 km, 0.0001 km/s), the Moon's block shows the geocentric
// Moon twice, and the text keeps its layout.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "app/application.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;


// One value of JPL's test file: target, centre, coordinate (1..3 position in AU,
// 4..6 velocity in AU/day) at the ephemeris date jed.
struct TestPosition {
  double jed;
  int target, centre, coordinate;
  double value;
};

std::vector<TestPosition> ReadTestpo() {
  std::ifstream in(fs::path(PLANOVA_TEST_DATA) / "testpo-1960-1987.405");
  std::vector<TestPosition> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    std::string de, date;
    TestPosition t{};
    if (s >> de >> date >> t.jed >> t.target >> t.centre >> t.coordinate >> t.value && de == "405") rows.push_back(t);
  }
  return rows;
}

// The number after `label` in the line of `text` that follows the line starting with
// `heading` (offset 0) or in that line itself, with the decimal comma.
double ValueAfter(const std::string& text, const std::string& heading, int lineOffset, const std::string& label) {
  size_t at = text.find(heading);
  EXPECT_NE(at, std::string::npos) << heading;
  for (int k = 0; k < lineOffset; ++k) at = text.find("\r\n", at) + 2;
  size_t end = text.find("\r\n", at);
  std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
  size_t p = line.find(label);
  EXPECT_NE(p, std::string::npos) << label << " in " << line;
  std::istringstream s(line.substr(p + label.size()));
  std::string number;
  s >> number;
  double v = 0;
  EXPECT_TRUE(TryParseReal(number, v)) << number;
  return v;
}

struct De405Calculator : ::testing::Test {
  fs::path folder = test::FreshFolder("de405_calculator");
  test::RecordingPlatform ui{folder};
  Application app{ui};
  Window2Model& f = app.window2;

  void SetUp() override {
    app.Astro.SetJplFolder(test::De405BlockFolder());
    app.ShowForm("Form2");
  }
  // Types the UT calendar date whose ET is `jed` and the body, and presses "DE405".
  void Calculate(int body, double jed) {
    double ut = jed;
    for (int k = 0; k < 3; ++k) ut = jed - app.Astro.DeltaTSeconds(ut, DeltaTModel::kParabola) / 86400;
    const CalendarDateResult c = app.Astro.CalendarDateOf(ut);
    ASSERT_TRUE(c.Ok);
    f.objectNumber.Text = std::to_string(body);
    f.dateYear.Text = std::to_string(c.Date.Year);
    f.dateMonth.Text = std::to_string(c.Date.Month);
    f.dateDay.Text = RealText(c.Date.Day);
    f.FindButton("DE405")->Press();
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
    ASSERT_NEAR(f.ShiftedJdEt, jed, 1e-8);
  }
};

TEST_F(De405Calculator, PlacesAgreeWithJplsTestPositions) {
  const char* kHelio = "ГЕЛИО ЭКВ   J2000";
  const char* kGeo = "ГЕО   ЭКВ   J2000";
  const char* kAxes[] = {"X=", "Y=", "Z=", "VX=", "VY=", "VZ="};
  int checked = 0;
  for (const TestPosition& t : ReadTestpo()) {
    // JPL's numbers: 1..9 planets, 10 Moon, 11 Sun, 3 Earth, 13 Earth-Moon barycentre.
    // The calculator's Moon is 11; its heliocentric "Earth" (3) is the barycentre.
    const bool helio = t.centre == 11 && ((t.target >= 1 && t.target <= 9 && t.target != 3) || t.target == 13);
    const bool geo = t.centre == 3 && t.target >= 1 && t.target <= 10 && t.target != 3 && t.coordinate <= 3;
    const bool moon = t.centre == 3 && t.target == 10;
    if (!helio && !geo) continue;
    const int body = t.target == 10 ? 11 : t.target == 13 ? 3 : t.target;
    Calculate(body, t.jed);
    const std::string& text = f.set2Pane.Text;
    const std::string what = "target " + std::to_string(t.target) + " centre " + std::to_string(t.centre) +
                             " coordinate " + std::to_string(t.coordinate) + " at " + std::to_string(t.jed);
    const char* block = helio || moon ? kHelio : kGeo;
    if (t.coordinate <= 3) {
      double got = ValueAfter(text, block, 1, kAxes[t.coordinate - 1]);
      EXPECT_NEAR_WHAT(got, t.value * test::kDe405AuKm / 1000, 0.0011, what + " (thousand km)");
      if (moon) EXPECT_NEAR_WHAT(ValueAfter(text, kGeo, 1, kAxes[t.coordinate - 1]), got, 0, what + " twice");
    } else {
      double got = ValueAfter(text, block, 2, kAxes[t.coordinate - 1]);
      EXPECT_NEAR_WHAT(got, t.value * test::kDe405AuKm / 86400, 0.00011, what + " (km/s)");
    }
    ++checked;
  }
  EXPECT_GE(checked, 20);
}

TEST_F(De405Calculator, TextLayoutAndDates) {
  Calculate(4, 2451545.0);  // Mars at J2000.0 (ET)
  const std::string& text = f.set2Pane.Text;
  EXPECT_EQ(text.rfind("JDut=  " + Format(f.ObservationJdUt, "0000000.00000") + "         JDet=  2451545,00000\r\n\r\n"
                       "ГЕЛИО ЭКВ   J2000         L=  ",
                       0),
            0u)
      << text;
  // Block lines: heading, coordinates with "тыс.км", velocity with "км/с", then the two
  // geocentric blocks; the last line has no line end.
  EXPECT_NE(text.find("    тыс.км\r\nVX=  "), std::string::npos);
  EXPECT_NE(text.find("     км/с\r\n\r\nГЕО   ЭКВ   J2000           L=  "), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\nГЕО   ЭКВ    JD               L=  "), std::string::npos);
  EXPECT_NE(text.back(), '\n');
  EXPECT_EQ(app.Store.ObjectNumber, 4);
  // ET-UT of the parabola in the box, the date of the ephemeris shifted by it.
  EXPECT_NEAR((f.ShiftedJdEt - f.ObservationJdUt) * 86400, f.DeltaTSeconds, 1e-4);
  EXPECT_EQ(f.etMinusUtSeconds.Text, RealText(f.DeltaTSeconds));
  // The equator of date at J2000.0 is the J2000 equator: the last two blocks agree to
  // the precession over ET-UT (about a minute of time, far below the printed digits).
  EXPECT_NEAR(ValueAfter(text, "ГЕО   ЭКВ    JD", 0, "L="), ValueAfter(text, "ГЕО   ЭКВ   J2000", 0, "L="), 2e-6);
}

TEST_F(De405Calculator, RefusalsShowNothingStale) {
  Calculate(5, 2440000.5);
  ASSERT_FALSE(f.set2Pane.Text.empty());
  for (const char* body : {"0", "10", "12"}) {
    f.objectNumber.Text = body;
    f.FindButton("DE405")->Press();
    ASSERT_EQ(ui.messages.size(), 1u) << body;
    EXPECT_EQ(ui.messages[0], "Номер планеты должен быть от 1 до 9 или 11");
    ui.messages.clear();
  }
  // A date outside DE405: the blocks DE405 has, their folder, the years the files present
  // cover, and an empty text.
  f.objectNumber.Text = "5";
  f.dateYear.Text = "2300";
  f.FindButton("DE405")->Press();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "В файлах DE405 нет такой даты\r\nDE405 охватывает годы 1600–2059: файлы ascp1600.405 … "
                            "ascp2040.405 в папке " + PathText(test::De405BlockFolder()) +
                            "\r\nфайлы DE405 охватывают годы 1960–2059");
  EXPECT_TRUE(f.set2Pane.Text.empty());
  ui.messages.clear();
  // A block file missing from the folder: the file is named.
  const std::filesystem::path folder = test::FreshFolder("de405_calculator_missing");
  std::filesystem::copy_file(test::De405BlockFolder() / "ascp1960.405", folder / "ascp1960.405");
  app.Astro.SetJplFolder(folder);
  f.dateYear.Text = "1990";
  f.FindButton("DE405")->Press();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Ошибка чтения файлов JPL DE405\r\n" + PathText(folder / "ascp1980.405") +
                                " — файла нет\r\nфайлы DE405 охватывают годы 1960–1979");
  ui.messages.clear();
  f.dateYear.Text = "19x";
  f.FindButton("DE405")->Press();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Введите правильно данные: год");
}

}  // namespace
}  // namespace planova
