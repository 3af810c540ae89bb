// BDL lines: the layout character for character, the split of coordinates, truncation
// without carry, parsing back, and window 1's writer with its messages.
#include <gtest/gtest.h>

#include "app/application.h"
#include "astro/time.h"
#include "bdl/bdl_line.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

using test::RecordingPlatform;

// The example observation: JD 2451545, longitude 15 deg, latitude -0.5 deg, the Moon,
// with window 1's default descriptive texts.
const std::string kExample =
    "Moon      2000 01 Jan  12 00 00.0000  UT   01 00 00.00000  1.11111  -00 30 00.0000  1.1111   PARI      USNO Transit 6 "
    "198.0  Trans    App   C  E              ";

struct Writer : ::testing::Test {
  std::filesystem::path folder = test::FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name(), true);
  RecordingPlatform ui{folder};
  Application app{ui};
  Form1& f = app.form1;

  void Store(std::initializer_list<std::array<double, 3>> rows) {
    f.Text10.Text = "10";
    f.FindButton("Создать массивы с N=")->Press();
    int32_t i = 0;
    for (const auto& r : rows) {
      ++i;
      app.Store.ObsJd(i, 3) = r[0];
      app.Store.ObsLon(i, 3) = r[1];
      app.Store.ObsLat(i, 3) = r[2];
    }
    app.Store.GoodCount = i;
    app.Store.ObservatoryCode = "PARI";
    app.Store.ObjectNumber = 11;
  }
  std::vector<std::string> Lines() {
    std::string bytes = test::ReadBytes(folder / "ObsPARI" / "PARI11_RDGT_0.txt");
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t p; (p = bytes.find("\r\n", start)) != std::string::npos; start = p + 2) out.push_back(bytes.substr(start, p - start));
    EXPECT_EQ(start, bytes.size()) << "every line ends with CR LF";
    return out;
  }
};

TEST_F(Writer, ExampleLineCharacterForCharacter) {
  ASSERT_EQ(kExample.size(), 158u);
  Store({{2451545.0, 15.0, -0.5}});
  f.FindButton("Сохранить данные в формате BDL")->Press();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(ui.busy);
  auto lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(lines[static_cast<size_t>(k)], "PARI");
  EXPECT_EQ(lines[5], kExample);
  // The pane shows the line with the descriptive block replaced by the record number.
  std::string shown = kExample.substr(0, 98) + std::string(11, ' ') + "1" + std::string(48, ' ');
  EXPECT_EQ(f.RichTextBox3.Text, shown + "\r\n");
}

TEST_F(Writer, EmptySetWritesTheHeadingsOnly) {
  Store({});
  f.FindButton("Сохранить данные в формате BDL")->Press();
  EXPECT_EQ(Lines().size(), 5u);
}

TEST_F(Writer, FailuresSayErrorWritingFile) {
  Store({{2451545.0, 15.0, -0.5}});
  f.Text5.Text = std::string(30, 'X');  // an instrument longer than its field
  f.FindButton("Сохранить данные в формате BDL")->Press();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Ошибка записи в файл");
  EXPECT_EQ(Lines().size(), 5u) << "the lines before the failing one stay";

  f.Text5.Text = "USNO Transit 6";
  std::filesystem::remove_all(folder / "ObsPARI");
  f.FindButton("Сохранить данные в формате BDL")->Press();
  EXPECT_EQ(ui.messages.back(), "Ошибка записи в файл");
  EXPECT_FALSE(ui.busy);

  RecordingPlatform ui2{folder};
  Application fresh(ui2);
  fresh.form1.FindButton("Сохранить данные в формате BDL")->Press();  // no store yet
  EXPECT_EQ(ui2.messages.back(), "Ошибка записи в файл");
}

TEST_F(Writer, CyrillicTextsGoOutInTheFilesCodePage) {
  Store({{2451545.0, 15.0, -0.5}});
  f.Text7.Text = "Фото";
  f.FindButton("Сохранить данные в формате BDL")->Press();
  auto lines = Lines();
  ASSERT_EQ(lines[5].size(), 158u);
  EXPECT_EQ(Cp1251ToUtf8(lines[5].substr(126, 4)), "Фото");
}

TEST(BdlLine, SplitGivesTheSignToTheFirstNonZeroPart) {
  BdlState b;
  SplitLonLat(b, 15, -0.5);
  EXPECT_EQ(b.LonHours, 1);
  EXPECT_EQ(b.LonMinutes, 0);
  EXPECT_NEAR(b.LonSeconds, 0, 1e-9);
  EXPECT_EQ(b.LatDegrees, 0);
  EXPECT_EQ(b.LatMinutes, -30);
  EXPECT_NEAR(b.LatSeconds, 0, 1e-9);
  SplitLonLat(b, 0, -0.004);
  EXPECT_EQ(b.LatDegrees, 0);
  EXPECT_EQ(b.LatMinutes, 0);
  EXPECT_NEAR(b.LatSeconds, -14.4, 1e-9);
  SplitLonLat(b, 359.9, -12.5);
  EXPECT_EQ(b.LonHours, 23);
  EXPECT_EQ(b.LatDegrees, -12);
  EXPECT_EQ(b.LatMinutes, 30);
}

TEST(BdlLine, SecondsAreTruncatedWithoutCarry) {
  BdlState b;
  b.BodyName = "Moon";
  b.BdlLine.assign(kBdlLineLength, ' ');
  WriteBdlFields(b, 2000, "Jan", 1, 12, 59, 59.99999, 1, 59, 59.999999, -5, 59, 59.99999);
  EXPECT_EQ(b.BdlLine.substr(23, 13), "12 59 59.9999");
  EXPECT_EQ(b.BdlLine.substr(43, 14), "01 59 59.99999");
  EXPECT_EQ(b.BdlLine.substr(68, 14), "-05 59 59.9999");
  EXPECT_EQ(b.BdlLine.size(), 158u);
  // A five-character year runs into column 15.
  b.BdlLine.assign(kBdlLineLength, ' ');
  WriteBdlFields(b, -1000, "Jan", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(b.BdlLine.substr(10, 5), "-1000");
}

TEST(BdlLine, MonthsAndBodies) {
  BdlState b;
  MonthAbbreviation(b, 12);
  EXPECT_EQ(b.MonthText, "Dec");
  MonthAbbreviation(b, 13);
  EXPECT_EQ(b.MonthText, "Dec");
  b.MonthText = "Feb";
  MonthNumber(b);
  EXPECT_EQ(b.Month, 2);
  b.MonthText = "feb";
  MonthNumber(b);
  EXPECT_EQ(b.Month, 2);
  EXPECT_EQ(BodyNameOf(11), "Moon");
  EXPECT_EQ(BodyNameOf(10), "Kometa");
  EXPECT_EQ(BodyNameOf(3), "Sun");
  EXPECT_EQ(BodyNameOf(0), "Sun");
}

TEST(BdlLine, ParseBackTheFormattedLine) {
  RecordingPlatform ui;
  AstroState a;
  ObservationStore s;
  s.Recreate(3);
  s.ObsJd(1, 3) = 2447893.337461;  // 1990-01-27 20:05:56.63
  s.ObsLon(1, 3) = 123.456789;
  s.ObsLat(1, 3) = -23.456789;
  BdlState b;
  b.BodyName = "Moon";
  ASSERT_TRUE(FormatBdlLine(b, a, s, 1));
  b.InputLine = b.BdlLine;
  ASSERT_TRUE(ParseBdlLine(b, a));
  EXPECT_EQ(b.Year, 1990);
  EXPECT_EQ(b.Month, 1);
  EXPECT_EQ(b.BodyName, "Moon    ");
  // The line keeps 1e-4 s: the date comes back within that (and the JD's own rounding).
  EXPECT_NEAR((a.CurrentJd - s.ObsJd(1, 3)) * 86400, 0, 1.1e-4);

  for (const char* bad : {"", "Moon      2000 01 Jan", "Moon      2x00 01 Jan  12 00 00.0000",
                          "Moon      2000 01 Jan  1a 00 00.0000  UT"}) {
    b.InputLine = bad;
    EXPECT_FALSE(ParseBdlLine(b, a)) << bad;
  }
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace planova
