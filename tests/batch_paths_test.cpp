// Whole processing paths run as batch scripts on a copy of the sample folder: window 1
// from each kind of source to a BDL file (compared line for line with the files kept in
// tests/data/expected), window 2 loading it and comparing it with DE405 (its record and
// statistics files compared with kept files), and window 3 correcting it and writing a
// file that window 2 loads back.
#include <gtest/gtest.h>

#include <sstream>

#include "app/application.h"
#include "app/batch.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

const fs::path kExpected = fs::path(PLANOVA_TEST_DATA) / "expected";

struct BatchPath : ::testing::Test {
  fs::path folder = test::FolderForThisTest("batch_", true);
  std::string Run(const std::string& script) {
    std::ostringstream out, err;
    BatchPlatform platform(out, folder);
    Application app(platform);
    std::istringstream in(script);
    EXPECT_EQ(RunBatchScript(app, in, out, err), 0) << err.str();
    EXPECT_FALSE(platform.Busy());
    return out.str();
  }
  // Lines of two files compared one by one, so that a failure names the first line that differs.
  void ExpectSameLines(const fs::path& got, const fs::path& want) {
    std::string a = test::ReadBytes(got), b = test::ReadBytes(want);
    ASSERT_FALSE(b.empty()) << want;
    std::istringstream ga(a), wb(b);
    std::string la, lb;
    for (int n = 1; std::getline(wb, lb); ++n) {
      ASSERT_TRUE(std::getline(ga, la)) << got << " ends before line " << n;
      ASSERT_EQ(Cp1251ToUtf8(la), Cp1251ToUtf8(lb)) << got << " line " << n;
    }
    EXPECT_FALSE(std::getline(ga, la)) << got << " has more lines than " << want;
    EXPECT_EQ(a, b);
  }
};

TEST_F(BatchPath, EachSourceKindToBdlWithTheWindowsDefaults) {
  struct Case {
    const char* option;  // source kind
    const char* expected;
  };
  for (const Case& c : {Case{"Option21", "PARI11_RDGT_0.dov.txt"}, Case{"Option9", "PARI11_RDGT_0.jpl.txt"},
                        Case{"Option8", "PARI11_RDGT_0.xls.txt"}}) {
    std::string out = Run(std::string("press Form1 Создать массивы с N=\n") + "set Form1." + c.option + " 1\n" +
                          "press Form1 Загрузить исходные данные из\n"
                          "print Form1.Text12\n"
                          "press Form1 Сохранить данные в формате BDL\n");
    EXPECT_EQ(out.find("MESSAGE"), std::string::npos) << out;
    ExpectSameLines(folder / "ObsPARI" / "PARI11_RDGT_0.txt", kExpected / c.expected);
  }
}

TEST_F(BatchPath, De405ComparisonAndCorrectionOfTheDovSample) {
  fs::create_directories(folder / "JPL");
  for (const char* f : {"ascp1980.405"}) fs::create_symlink(test::De405BlockFolder() / f, folder / "JPL" / f);
  std::string out = Run(
      "press Form1 Создать массивы с N=\n"
      "press Form1 Загрузить исходные данные из\n"
      "set Form1.Text9 G_110\n"
      "press Form1 Сохранить данные в формате BDL\n"
      "press Form1 К форме 2\n"
      "press Form2 Создать массивы с N=\n"
      "press Form2 Загрузить в формате BDL\n"
      "print Form2.Text17\n"
      "set Form2.Option7 1\n"
      "set Form2.Check8 1\n"
      "set Form2.Check9 1\n"
      "set Form2.Check7 1\n"
      "set Form2.Check11 1\n"
      // Plotted "по данным": the plot has no say in the files.
      "set Form2.Check13 1\n"
      "set Form2.Check21 1\n"
      "press Form2 Сравнить данные 1 с данными 2\n"
      // Window 3: the same file, a correction of +1" to +2" in right ascension.
      "press Form2 К форме 3\n"
      "set Form4.Text1 110\n"
      "press Form4 Создать массивы с N=\n"
      "press Form4 Загрузить в формате BDL\n"
      "set Form4.Option7 1\n"
      "press Form4 Сравнить данные наблюдений с\n"
      "click Form4.Picture1 0 1 left\n"
      "click Form4.Picture1 24 1 right\n"
      "print Form4.Text16\n"
      "print Form4.Text17\n"
      "set Form4.Check1 1\n"
      "set Form4.Text30 1\n"
      "set Form4.Text31 2\n"
      "press Form4 Сравнить данные наблюдений с\n"
      "print Form4.Text5\n"
      "press Form4 Записать результат в файл\n"
      // Window 2 loads the corrected file.
      "set Form2.Text1 41\n"
      "press Form2 Загрузить в формате BDL\n"
      "print Form2.Text17\n"
      "press Form2 Выход\n");
  EXPECT_EQ(out, "300\n1\n300\n300\n300\n") << out;
  ExpectSameLines(folder / "Dat" / "Param_data_PARI11.txt", kExpected / "Param_data_PARI11.jpl2.txt");
  ExpectSameLines(folder / "Dat" / "StatPARI11.txt", kExpected / "StatPARI11.jpl2.txt");
  EXPECT_TRUE(fs::exists(folder / "ObsPARI" / "PARI11_G_41.txt"));
}

// The user guide's path for modern observations, its script read from the guide itself: the
// two-station MPC sample of the Moon compared with the rigorous topocentric astrometric
// place gives the statistics the guide quotes (the sample's 0.10" noise).
TEST_F(BatchPath, ModernMpcSampleAsTheUserGuideRunsIt) {
  const std::string guide = test::ReadBytes(fs::path(PLANOVA_SOURCE_DIR) / "docs" / "user-guide.md");
  const size_t intro = guide.find("planova3 --batch modern.txt");
  ASSERT_NE(intro, std::string::npos);
  const size_t begin = guide.find("```\n", intro) + 4;
  const std::string script = guide.substr(begin, guide.find("```", begin) - begin);
  for (const auto& e : fs::directory_iterator(test::De405BlockFolder())) {
    fs::create_symlink(e.path(), folder / "JPL" / e.path().filename());
  }
  Run(script);
  const std::string stat = Cp1251ToUtf8(test::ReadBytes(folder / "Dat" / "StatPARI11.txt"));
  for (const char* line : {"общее количество точек  120", "dLsr= 0,093", "dBsr= 0,077"}) {
    EXPECT_NE(stat.find(line), std::string::npos) << line << "\n" << stat;
  }

  // The same path over PARI11_3.txt, the file with four planted outliers, with the k-sigma
  // rejection at k = 3 (separately and jointly): exactly the planted records are set aside,
  // in the CSV, the ADES residuals and the summary.
  std::string outliers = script;
  for (const auto& [from, to] : {std::pair{"Text18 2", "Text18 3"}, {"Text9 G_2", "Text9 G_3"}, {"Text1 2", "Text1 3"}}) {
    outliers.replace(outliers.find(from), std::string(from).size(), to);
  }
  // By hand, "5; +11" sets record 5 aside ('d') and keeps record 11 ('a') whatever the
  // clipping says.
  for (const char* joint : {"0", "1", "hand"}) {
    fs::remove_all(folder / "Dat");
    fs::create_directory(folder / "Dat");
    const bool hand = std::string(joint) == "hand";
    Run(outliers + "set Form2.Check18 1\nset Form2.Check20 " + (hand ? "0" : joint) + "\nset Form2.Text29 " +
        (hand ? "5; +11" : "") + "\npress Form2 Сравнить данные 1 с данными 2\n");
    std::istringstream csv(test::ReadBytes(folder / "Dat" / "Param_data_PARI11.csv"));
    std::string line, rejected, byHand;
    std::getline(csv, line);
    ASSERT_NE(line.find(",sel,sigma_ra_arcsec,sigma_dec_arcsec"), std::string::npos) << line;
    while (std::getline(csv, line)) {
      const std::string record = line.substr(0, line.find(','));
      if (line.find(",D,") != std::string::npos) rejected += record + " ";
      if (line.find(",d,") != std::string::npos || line.find(",a,") != std::string::npos) byHand += record + " ";
    }
    EXPECT_EQ(rejected, hand ? "41 71 101 " : "11 41 71 101 ") << joint;
    EXPECT_EQ(byHand, hand ? "5 11 " : "") << joint;
    if (hand) break;
    const std::string psv = test::ReadBytes(folder / "Dat" / "Residuals_PARI11.psv");
    size_t deleted = 0;
    for (size_t at = psv.find("|D"); at != std::string::npos; at = psv.find("|D", at + 1)) {
      deleted += at + 2 < psv.size() && (psv[at + 2] == ' ' || psv[at + 2] == '|' || psv[at + 2] == '\r');
    }
    EXPECT_EQ(deleted, 4u) << psv.substr(0, 400);
    const std::string summary = Cp1251ToUtf8(test::ReadBytes(folder / "Dat" / "Summary_PARI11.txt"));
    EXPECT_NE(summary.find("отбраковано: 4"), std::string::npos) << summary;
  }

  // The ADES residuals read back as an ADES source give the same O-C, to the file's
  // 0.001" (and the 1e-7 degree of its places).
  fs::copy_file(folder / "Dat" / "Residuals_PARI11.psv", folder / "FileADES" / "PARI11_9.psv");
  std::string again = outliers.substr(0, outliers.find("press Form1 Загрузить"));
  again.replace(again.find("Option22 1"), 10, "Option23 1");
  again.replace(again.find("Text18 3"), 8, "Text18 9");
  again += outliers.substr(outliers.find("press Form1 Загрузить"));
  again.replace(again.find("Text9 G_3"), 9, "Text9 G_9");
  again.replace(again.find("Text1 3"), 7, "Text1 9");
  Run(again);
  const auto column = [](const std::string& text, char separator, size_t skip, size_t index) {
    std::vector<double> values;
    std::istringstream in(text);
    std::string line;
    for (size_t n = 0; std::getline(in, line); ++n) {
      if (n < skip) continue;
      std::istringstream fields(line);
      std::string field;
      for (size_t k = 0; k <= index && std::getline(fields, field, separator); ++k) {
      }
      values.push_back(std::stod(field));
    }
    return values;
  };
  // resDec: field 7 of the PSV records (after 5 heading lines); oc_dec_arcsec: field 8 of the CSV.
  const std::vector<double> before = column(test::ReadBytes(folder / "FileADES" / "PARI11_9.psv"), '|', 5, 7);
  const std::vector<double> after = column(test::ReadBytes(folder / "Dat" / "Residuals_PARI11.psv"), '|', 5, 7);
  const std::vector<double> ocDec = column(test::ReadBytes(folder / "Dat" / "Param_data_PARI11.csv"), ',', 1, 8);
  ASSERT_EQ(before.size(), 120u);
  ASSERT_EQ(after.size(), 120u);
  for (size_t k = 0; k < before.size(); ++k) {
    EXPECT_NEAR(after[k], before[k], 0.0011) << k;
    EXPECT_NEAR(ocDec[k], before[k], 0.0011) << k;
  }
}

}  // namespace
}  // namespace planova
