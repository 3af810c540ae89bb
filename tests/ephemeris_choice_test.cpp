// The ephemeris the places come from, chosen in window 2's list box or by a batch script:
// DE405's block files of 1960-2060 serve 2023 (the calculator and the comparison with
// "JPL2 (DE405)"), de405.bsp made from the same data gives the same O-C, the CSV files
// of windows 2 and 3 name the ephemeris in use (Param_data_, Stat and the stage log name
// any but DE405), and the start-up check reports the ephemerides found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>

#include "app/application.h"
#include "app/batch.h"
#include "common/textfile.h"
#include "models/messages.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

constexpr int kRows = 36;                // Mars every 10 days of 2023
constexpr double kFirstJd = 2459945.75;  // 2023 Jan 1, 6h UT
// DE405 read from its ASCII blocks and from the SPK kernel made of them agree to 1e-12 AU:
// 2e-7" at Mars' least distance in 2023 (0.55 AU).
constexpr double kSameOcArcsec = 1e-6;

struct EphemerisChoice : ::testing::Test {
  fs::path folder = test::FolderForThisTest("ephemeris_choice_", true);
  test::RecordingPlatform ui{folder};
  Application app{ui};
  Window2Model& f = app.window2;

  // JPL holds DE405's block files and de405.bsp (links to the fixture's); window 1 writes
  // ObsPARI/PARI4_G_110.txt with the 2023 observations.
  void SetUp() override {
    for (const auto& e : fs::directory_iterator(test::De405BlockFolder())) {
      fs::create_symlink(e.path(), folder / "JPL" / e.path().filename());
    }
    Window1Model& w1 = app.window1;
    w1.arraySize.Text = "100";
    Press(w1, "Создать массивы с N=");
    for (int i = 1; i <= kRows; ++i) {
      app.Store.ObsJd(i, kSet3) = kFirstJd + 10 * (i - 1);
      app.Store.ObsLon(i, kSet3) = 60 + i;
      app.Store.ObsLat(i, kSet3) = 25;
    }
    app.Store.GoodCount = kRows;
    app.Store.ObservatoryCode = "PARI";
    app.Store.ObjectNumber = 4;
    w1.bdlNamePart.Text = "G_110";
    Press(w1, "Сохранить данные в формате BDL");
  }
  void Press(FormModel& form, const std::string& caption) {
    test::PressButton(form, caption, ui);
    ASSERT_TRUE(ui.messages.empty()) << caption << ": " << ui.messages[0];
  }
  // Window 2 compares the file with "JPL2 (DE405)" from the ephemeris chosen in its list
  // box; the theoretical places stay in data set 3.
  void Compare(const std::string& ephemeris) {
    app.ShowForm("Form2");
    f.objectNumber.Text = "4";
    Press(f, "Создать массивы с N=");
    Press(f, "Загрузить в формате BDL");
    ASSERT_EQ(f.Count1, kRows);
    f.ChooseOption(f.theoryJpl2);
    f.writeParamFile.Value = true;  // "+File"
    ASSERT_EQ(f.ephemeris.Items, (std::vector<std::string>{"DE405", "de405.bsp"}));
    f.ephemeris.Value = ephemeris;
    Press(f, "Сравнить данные 1 с данными 2");
    ASSERT_EQ(f.ComparedCount, kRows);
  }
  std::vector<std::pair<double, double>> TheoryPlaces() const {
    std::vector<std::pair<double, double>> places;
    for (int32_t i = 1; i <= kRows; ++i) places.emplace_back(app.Store.ObsLon(i, kSet3), app.Store.ObsLat(i, kSet3));
    return places;
  }
  // The theory column (or column `column`, from 1) of every row of
  // Dat/Param_data_PARI4.csv (window 2) or of another CSV file of Dat.
  std::vector<std::string> CsvTheories(const std::string& file = "Param_data_PARI4.csv", int column = 5) const {
    std::istringstream csv(test::ReadBytes(folder / "Dat" / file));
    std::vector<std::string> theories;
    std::string line;
    std::getline(csv, line);  // the heading
    while (std::getline(csv, line)) {
      std::istringstream fields(line);
      std::string field;
      for (int k = 0; k < column; ++k) std::getline(fields, field, ',');
      theories.push_back(field);
    }
    return theories;
  }
  // The lines of a file of Dat (CR LF between them), in UTF-8.
  std::vector<std::string> DatLines(const std::string& file) const {
    const std::string text = Cp1251ToUtf8(test::ReadBytes(folder / "Dat" / file));
    std::vector<std::string> lines;
    for (size_t from = 0;;) {
      const size_t end = text.find("\r\n", from);
      lines.push_back(text.substr(from, end - from));
      if (end == std::string::npos) return lines;
      from = end + 2;
    }
  }
};

// The words of a line (split at spaces), numbers with a decimal comma read as doubles.
std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}
double Number(std::string word) {
  std::replace(word.begin(), word.end(), ',', '.');
  return std::stod(word);
}

// A file made with the kernel against the one made with the block files: the same lines
// but for the heading line `named` (blank with DE405, naming the kernel) and the words
// that `mayDiffer(line, word)` picks, which are numbers within `tolerance`.
void ExpectSameButOc(const std::vector<std::string>& blocks, const std::vector<std::string>& kernel, size_t named,
                     const std::function<bool(size_t, size_t)>& mayDiffer, double tolerance) {
  ASSERT_EQ(kernel.size(), blocks.size());
  EXPECT_EQ(blocks[named], "");
  EXPECT_EQ(kernel[named], "эфемериды de405.bsp");
  for (size_t l = 0; l < blocks.size(); ++l) {
    if (l == named || kernel[l] == blocks[l]) continue;
    const std::vector<std::string> a = Words(blocks[l]), b = Words(kernel[l]);
    ASSERT_EQ(a.size(), b.size()) << "line " << l + 1 << ": " << kernel[l];
    for (size_t w = 0; w < a.size(); ++w) {
      if (a[w] == b[w]) continue;
      EXPECT_TRUE(mayDiffer(l, w)) << "line " << l + 1 << ", word " << w + 1 << ": " << kernel[l];
      EXPECT_NEAR(Number(b[w]), Number(a[w]), tolerance) << "line " << l + 1 << ": " << kernel[l];
    }
  }
}

TEST_F(EphemerisChoice, BlockFilesAndKernelGiveTheSameOcIn2023) {
  // The calculator ("DE405") for a 2023 date from either ephemeris.
  app.ShowForm("Form2");
  f.objectNumber.Text = "4";
  f.dateYear.Text = "2023";
  f.dateMonth.Text = "7";
  f.dateDay.Text = "1,5";
  for (const char* name : {"DE405", "de405.bsp"}) {
    f.ephemeris.Value = name;
    test::PressButton(f, "DE405", ui);
    ASSERT_TRUE(ui.messages.empty()) << name << ": " << ui.messages[0];
    EXPECT_NEAR(f.ShiftedJdEt, 2460127.0, 0.01) << name;  // 2023 Jul 1, 12h
    EXPECT_NE(f.set2Pane.Text.find("ГЕЛИО ЭКВ   J2000"), std::string::npos) << name;
  }

  Compare("DE405");
  EXPECT_EQ(app.Astro.SelectedEphemerisName(), "DE405");
  EXPECT_EQ(CsvTheories(), std::vector<std::string>(kRows, "JPL2 DE405"));
  EXPECT_EQ(f.set2Pane.Text.find("эфемериды"), std::string::npos) << f.set2Pane.Text;
  const auto blocks = TheoryPlaces();
  const auto blockParam = DatLines("Param_data_PARI4.txt"), blockStat = DatLines("StatPARI4.txt");
  Compare("de405.bsp");
  EXPECT_EQ(app.Astro.SelectedEphemerisName(), "de405.bsp");
  EXPECT_EQ(CsvTheories(), std::vector<std::string>(kRows, "JPL2 de405.bsp"));
  EXPECT_EQ(f.set2Pane.Text.substr(0, f.set2Pane.Text.find("ГЕО")), "\r\nэфемериды: de405.bsp\r\n");
  const auto kernel = TheoryPlaces();
  // Param_data_ names the kernel in its second line; of the records only the O-C in
  // longitude and latitude (words 6 and 7, thousandths of an arcsecond, truncated) may
  // differ, by the truncation of values 1e-6" apart.  Stat names it in its third line;
  // only the mean absolute differences (micro-arcseconds, truncated) may differ.
  ExpectSameButOc(
      blockParam, DatLines("Param_data_PARI4.txt"), 1,
      [](size_t line, size_t word) { return line >= 5 && (word == 5 || word == 6); }, 1);
  ExpectSameButOc(
      blockStat, DatLines("StatPARI4.txt"), 2,
      [&](size_t line, size_t word) { return line + 2 >= blockStat.size() && word == 1; }, 2e-6);
  for (size_t k = 0; k < blocks.size(); ++k) {
    const double cosDec = std::cos(blocks[k].second * 3.14159265358979 / 180);
    EXPECT_NEAR_WHAT(kernel[k].first * 3600 * cosDec, blocks[k].first * 3600 * cosDec, kSameOcArcsec,
                     "O-C in right ascension, row " + std::to_string(k + 1));
    EXPECT_NEAR_WHAT(kernel[k].second * 3600, blocks[k].second * 3600, kSameOcArcsec,
                     "O-C in declination, row " + std::to_string(k + 1));
  }
}

// Window 3's run names the ephemeris of its list box in its deviations CSV.
TEST_F(EphemerisChoice, Window3NamesItsEphemerisInTheDeviations) {
  Window3Model& w3 = app.window3;
  app.ShowForm("Form4");
  w3.objectNumber.Text = "4";
  w3.fileNumber.Text = "110";
  Press(w3, "Создать массивы с N=");
  Press(w3, "Загрузить в формате BDL");
  w3.theoryJpl2.Value = true;
  w3.theoryTwoBody.Value = false;
  ASSERT_EQ(w3.ephemeris.Items, (std::vector<std::string>{"DE405", "de405.bsp"}));
  for (const char* name : {"DE405", "de405.bsp"}) {
    w3.ephemeris.Value = name;
    Press(w3, "Сравнить данные наблюдений с");
    const std::vector<std::string> theories = CsvTheories("Dev_data_PARI4.csv");
    EXPECT_FALSE(theories.empty());
    EXPECT_EQ(theories, std::vector<std::string>(theories.size(), std::string("JPL2 ") + name));
  }
}

// A script chooses the kernel by the name the box lists; the CSV names it.
TEST_F(EphemerisChoice, BatchScriptChoosesTheKernel) {
  std::ostringstream out, err;
  BatchPlatform platform(out, folder);
  Application batchApp(platform);
  std::istringstream script(
      "press Form1 К форме 2\n"
      "set Form2.Text8 4\n"
      "print Form2.Combo1\n"
      "press Form2 Создать массивы с N=\n"
      "press Form2 Загрузить в формате BDL\n"
      "set Form2.Option7 1\n"
      "set Form2.Check11 1\n"
      "set Form2.Combo1 de405.bsp\n"
      "press Form2 Сравнить данные 1 с данными 2\n");
  ASSERT_EQ(RunBatchScript(batchApp, script, out, err), 0) << err.str();
  EXPECT_EQ(out.str().substr(0, 6), "DE405\n") << out.str();
  EXPECT_EQ(out.str().find("MESSAGE"), std::string::npos) << out.str();
  EXPECT_EQ(CsvTheories(), std::vector<std::string>(kRows, "JPL2 de405.bsp"));
  // The default parabola is some 91 s off TT-UTC (69.184 s) at the end of 2023, and the run says so.
  const std::string& report = batchApp.window2.reportPane.Text;
  EXPECT_EQ(report.rfind("внимание: ET-UT модели отличается от TT-UTC по таблице на 9", 0), 0u) << report;
  EXPECT_NE(report.find(" сек (2023-"), std::string::npos) << report;
}

// "астрометрическое (ICRS)" and "TT-UTC по таблице" set by a script in both windows: the
// places of data set 3 are the astrometric places at TT = UTC + 69.184 s (2023), the CSV
// files label their epoch "ICRS" and the stage log says which ET-UT served.
TEST_F(EphemerisChoice, BatchScriptAsksForAstrometricPlacesWithTableDeltaT) {
  std::ostringstream out, err;
  BatchPlatform platform(out, folder);
  Application batchApp(platform);
  std::istringstream script(
      "press Form1 К форме 2\n"
      "set Form2.Text8 4\n"
      "press Form2 Создать массивы с N=\n"
      "press Form2 Загрузить в формате BDL\n"
      "set Form2.Option7 1\n"
      "set Form2.Check11 1\n"
      "set Form2.Check15 1\n"
      "set Form2.Check16 1\n"
      "set Form2.Check17 1\n"
      "press Form2 Сравнить данные 1 с данными 2\n"
      "print Form2.Text18\n");
  ASSERT_EQ(RunBatchScript(batchApp, script, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "69,184\n");
  EXPECT_EQ(batchApp.window2.reportPane.Text.find("внимание"), std::string::npos);
  ApparentPlaceRequest r;
  r.Body = 4;
  r.DeltaT = DeltaTModel::kNone;
  r.Precise = r.Astrometric = true;
  r.Epoch = ComparisonEpoch::kJ2000;
  for (int32_t i = 1; i <= kRows; ++i) {
    r.JdUt = kFirstJd + 10 * (i - 1) + 69.184 / 86400;
    const ApparentPlaceResult place = app.Astro.ApparentPlaceOf(r);
    EXPECT_NEAR(batchApp.Store.ObsLon(i, kSet3), place.RaDeg, 1e-9) << i;
    EXPECT_NEAR(batchApp.Store.ObsLat(i, kSet3), place.DecDeg, 1e-9) << i;
  }
  const std::string& log = batchApp.window2.set2Pane.Text;
  for (const char* line : {"ET-UT: TT-UTC по таблице (ERFA)", "результат ICRS "}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << log;
  }
  std::istringstream window3(
      "press Form1 К форме 2\n"
      "press Form2 К форме 3\n"
      "set Form4.Text8 4\n"
      "set Form4.Text1 110\n"
      "press Form4 Создать массивы с N=\n"
      "press Form4 Загрузить в формате BDL\n"
      "set Form4.Option7 1\n"
      "set Form4.Check12 1\n"
      "set Form4.Check13 1\n"
      "set Form4.Check14 1\n"
      "press Form4 Сравнить данные наблюдений с\n");
  ASSERT_EQ(RunBatchScript(batchApp, window3, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "69,184\n") << out.str();
  EXPECT_EQ(CsvTheories("Param_data_PARI4.csv", 6), std::vector<std::string>(kRows, "ICRS"));
  EXPECT_EQ(CsvTheories("Dev_data_PARI4.csv", 6), std::vector<std::string>(kRows, "ICRS"));
}

// The start-up check lists the ephemerides after what is missing, and asks for DE405's
// files only when JPL holds no ephemeris at all.
TEST_F(EphemerisChoice, StartUpCheckReportsTheEphemeridesFound) {
  fs::remove_all(folder / "Dat");
  const AppFolderCheck check = CheckAppFolder(folder, FindEphemerides);
  EXPECT_EQ(check.Ephemerides, (std::vector<std::string>{"DE405", "de405.bsp"}));
  const std::string text = AppFolderMissingText(folder, check);
  EXPECT_NE(text.find("Dat — файлы результатов\r\nэфемериды: DE405, de405.bsp"), std::string::npos) << text;
  EXPECT_EQ(text.find("JPL/ascpГГГГ.405"), std::string::npos) << text;

  for (const char* name : {"ascp1960.405", "ascp1980.405", "ascp2000.405", "ascp2020.405", "ascp2040.405"}) {
    fs::remove(folder / "JPL" / name);
  }
  EXPECT_EQ(CheckAppFolder(folder, FindEphemerides).Ephemerides, std::vector<std::string>{"de405.bsp"});
  fs::remove(folder / "JPL" / "de405.bsp");
  const AppFolderCheck none = CheckAppFolder(folder, FindEphemerides);
  EXPECT_TRUE(none.NoEphemeris());
  const std::string noneText = AppFolderMissingText(folder, none);
  EXPECT_EQ(noneText.substr(noneText.rfind("\r\n")),
            "\r\n  JPL/ascpГГГГ.405 — файлы DE405 (их делает scripts/install_de405.sh ПАПКА/JPL)");
}

}  // namespace
}  // namespace planova
