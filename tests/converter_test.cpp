// The catalogue converter ("+/-" of window 1): the sample catalogue against its expected
// Dov file, the minutes-to-seconds arithmetic with its rounding, seconds of 60 and more,
// the carry from 100 s on, and the files on failure.
#include <gtest/gtest.h>

#include <fstream>

#include "app/application.h"
#include "common/textfile.h"
#include "import/catalogue_converter.h"
#include "import/source_import.h"
#include "test_support.h"

namespace planova {
namespace {

using test::RecordingPlatform;
namespace fs = std::filesystem;

// A catalogue data line with the given minutes and seconds of time (columns 23-26,
// 28-31) and of declination (58-61, 64-68); the other fields are those of the sample's
// first record.
std::string CatalogueLine(const std::string& tm, const std::string& ts, const std::string& dm, const std::string& ds,
                          const std::string& degrees = "-18") {
  return "      1866 05 04   09 " + tm + " " + ts + "    18  12  39.35    " + degrees + "  " + dm + "  " + ds + "   000001";
}
// The Dov line the converter should make of it.
std::string DovLine(const std::string& tm, const std::string& ts, const std::string& dm, const std::string& ds,
                    const std::string& degrees = "-18") {
  return "      1866 05 04   09 " + tm + " " + ts + "    18  12  39.35    " + degrees + "  " + dm + "  " + ds + "   000001";
}

std::string Converted(const std::string& line) {
  std::string out;
  EXPECT_TRUE(ConvertCatalogueLine(line, out)) << line;
  return out;
}

TEST(CatalogueConverter, MinutesFractionMovesIntoTheSeconds) {
  // 0.5 min = 30 s, 0.3' = 18".
  EXPECT_EQ(Converted(CatalogueLine("34.5", "12.0", "16.3", "24.22")), DovLine("34", "42.0", "16", "42.22"));
  // Seconds that reach 60 stay as they are, up to 99.9 s and 99.99".
  EXPECT_EQ(Converted(CatalogueLine("05.9", "14.5", "16.9", "45.99")), DovLine("05", "68.5", "16", "99.99"));
  // Rounding to one decimal (time) and two (declination).
  EXPECT_EQ(Converted(CatalogueLine("05.1", "0.04", "10.1", "0.004")), DovLine("05", "06.0", "10", "06.00"));
  EXPECT_EQ(Converted(CatalogueLine("05.1", "0.06", "10.1", "0.006")), DovLine("05", "06.1", "10", "06.01"));
}

TEST(CatalogueConverter, FromHundredSecondsWholeMinutesAreCarried) {
  // 34.9 min + 59.9 s = 34 min 113.9 s: written as 35 min 53.9 s, the point stays at 28.
  // 16.9' + 50.22" = 16' 104.22": written as 17' 44.22", the point stays at 62.
  EXPECT_EQ(Converted(CatalogueLine("34.9", "59.9", "16.9", "50.22")), DovLine("35", "53.9", "17", "44.22"));
  // 0.99 min + 40.6 s = 100.0 s: carried as well.
  EXPECT_EQ(Converted(CatalogueLine("0.99", "40.6", "16.3", "24.22")), DovLine("01", "40.0", "16", "42.22"));

  // Fields that cannot be written in their columns, or are no numbers, do not convert.
  std::string out;
  EXPECT_FALSE(ConvertCatalogueLine(CatalogueLine("99.9", "59.9", "16.3", "24.22"), out)) << "100 minutes";
  EXPECT_FALSE(ConvertCatalogueLine(CatalogueLine("34.0", "-1.0", "16.3", "24.22"), out)) << "negative seconds";
  EXPECT_FALSE(ConvertCatalogueLine(CatalogueLine("3x.5", "12.0", "16.3", "24.22"), out));
  EXPECT_FALSE(ConvertCatalogueLine(CatalogueLine("34.5", "12.0", "16.3", "24,2x"), out));
  EXPECT_FALSE(ConvertCatalogueLine("      1866 05 04   09 34.5 12.0", out)) << "a line cut short";
  EXPECT_FALSE(ConvertCatalogueLine("", out));
}

TEST(CatalogueConverter, SecondsNoCarryCanFitAreRefusedAtOnce) {
  // 6039 s carry 99 minutes and leave 99.0 s; from 6040 s on even 99 minutes leave 100 s.
  EXPECT_EQ(Converted(CatalogueLine("00.0", "6039", "16.3", "24.22")), DovLine("99", "99.0", "16", "42.22"));
  struct Case {
    const char* ts;
    const char* ds;
  };
  // Exponents (a value no subtraction of 60 changes) and plain values beyond any carry.
  for (const Case& c : {Case{"9E20", "24.22"}, Case{"34.5", "9E300"}, Case{" 1E9", "24.22"}, Case{"6040", "24.22"},
                        Case{"9999", "24.22"}, Case{"12.0", "99999"}, Case{"inf ", "24.22"}}) {
    std::string out;
    EXPECT_FALSE(ConvertCatalogueLine(CatalogueLine("34.5", c.ts, "16.3", c.ds), out)) << c.ts << " " << c.ds;
  }
}

TEST(CatalogueConverter, SouthernDeclinationOfZeroDegreesStaysSouthern) {
  // "-00 16.3 24.22" is the Dov "-00 16 42.22", which the import reads as south.
  const std::string dov = Converted(CatalogueLine("34.5", "12.0", "16.3", "24.22", "-00"));
  EXPECT_EQ(dov, DovLine("34", "42.0", "16", "42.22", "-00"));
  FieldTexts field;
  RecordValues v = ConvertDovLine(dov, false, false, CalendarRule::kGregorianFrom1582, field);
  ASSERT_TRUE(v.Accepted);
  EXPECT_NEAR(v.LatDeg, -(16 / 60.0 + 42.22 / 3600), 1e-12);
}

struct ConverterWindow : ::testing::Test {
  fs::path folder = test::FolderForThisTest("", true);
  RecordingPlatform ui{folder};
  Application app{ui};
  fs::path input = folder / "FileDov" / "USNO_1866_1891.txt";
  fs::path output = folder / "FileDov" / "USNO11_G_2.txt";

  void Press() {
    app.window1.FindButton("+/-")->Press();
    EXPECT_FALSE(ui.busy);
  }
  void WriteInput(const std::vector<std::string>& lines) {
    std::ofstream f(input, std::ios::binary | std::ios::trunc);
    for (const auto& l : lines) f << l << "\r\n";
  }
};

TEST_F(ConverterWindow, SampleCatalogueGivesTheExpectedDovFile) {
  Press();
  EXPECT_TRUE(ui.messages.empty()) << ui.messages[0];
  const std::string got = test::ReadBytes(output);
  EXPECT_EQ(got, test::ReadBytes(fs::path(PLANOVA_TEST_DATA) / "truth" / "USNO11_G_2.expected.txt"));
  // Every data line keeps the Dov layout: 73 columns, the points at 28 and 62.
  TextInputFile in;
  ASSERT_TRUE(in.Open(output));
  std::string line;
  for (int n = 1; in.ReadLine(line); ++n) {
    if (n <= 2) continue;
    ASSERT_EQ(line.size(), 73u) << n;
    EXPECT_EQ(line[27], '.') << n;
    EXPECT_EQ(line[61], '.') << n;
  }
}

TEST_F(ConverterWindow, HeadingsOnlyAndFailures) {
  // Only the two heading lines: they are the output.
  WriteInput({"USNO heading", "      yyyy mo dd"});
  Press();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(test::ReadBytes(output), "USNO heading\r\n      yyyy mo dd\r\n");

  // A line that does not convert: a message naming the file and the line, then that the
  // Dov file was not written; it keeps what it held.
  WriteInput({"h1", "h2", CatalogueLine("34.5", "12.0", "16.3", "24.22"), CatalogueLine("34.5", "1x.0", "16.3", "24.22")});
  Press();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], "Ошибка чтения данных из файла\r\n" + PathText(input) + "\r\nстрока 4");
  EXPECT_EQ(ui.messages[1], "Ошибка записи в файл\r\n" + PathText(output));
  EXPECT_EQ(test::ReadBytes(output), "USNO heading\r\n      yyyy mo dd\r\n");
  // Seconds that no carry can fit end the conversion at once, with the same messages.
  WriteInput({"h1", "h2", CatalogueLine("34.5", "9E20", "16.3", "24.22")});
  Press();
  ASSERT_EQ(ui.messages.size(), 4u);
  EXPECT_EQ(ui.messages[2], "Ошибка чтения данных из файла\r\n" + PathText(input) + "\r\nстрока 3");
  ui.messages.resize(2);
  ui.titles.resize(2);

  // No input: the message with the path, and no output file is made.
  fs::remove(input);
  fs::remove(output);
  Press();
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[2], "Не найден файл  \r\n" + PathText(input));
  EXPECT_EQ(ui.titles[2], "Planova");
  EXPECT_FALSE(fs::exists(output));
}

}  // namespace
}  // namespace planova
