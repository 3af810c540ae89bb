// Window 2's comparison of the sample catalogues with theory, from window 1's import to
// the statistics: the theoretical places it computes (data set 3 after the run) are the
// noise-free places behind the samples, for DE405 ("JPL2", the Dov sample of 1990-1999)
// and for the two-body theory with the short lunar series ("JPL0", the USNO catalogue of
// 1866-1891 after the "+/-" converter), and the differences are the samples' noise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>

#include "app/application.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

struct SampleComparison : ::testing::Test {
  fs::path folder = test::FolderForThisTest("window2_sample_", true);
  test::RecordingPlatform ui{folder};
  Application app{ui};
  Window2Model& f = app.window2;

  void SetUp() override { app.Astro.SetJplFolder(test::De405BlockFolder()); }
  void Press(FormModel& form, const std::string& caption) {
    test::PressButton(form, caption, ui);
    ASSERT_TRUE(ui.messages.empty()) << caption << ": " << ui.messages[0];
  }
  // Window 1: import with the settings of the sample's README, write ObsCODE\CODE11_G_110.txt.
  void ImportAndWrite(const std::string& code, const std::string& fileNumber) {
    Window1Model& w1 = app.window1;
    w1.observatoryCode.Text = code;
    w1.fileNumber.Text = fileNumber;
    Press(w1, "Создать массивы с N=");
    Press(w1, "Загрузить исходные данные из");
    w1.bdlNamePart.Text = "G_110";
    Press(w1, "Сохранить данные в формате BDL");
  }
  // Window 2: load the file as data set 1 and compare it with `theory` with aberration
  // and nutation, without refraction; every record gets its theoretical place in data set 3.
  void Compare(const std::string& code, const OptionButton& theory) {
    Load(code, theory);
    Press(f, "Сравнить данные 1 с данными 2");
  }
  void Load(const std::string& code, const OptionButton& theory) {
    app.ShowForm("Form2");
    f.observatoryCode.Text = code;
    Press(f, "Создать массивы с N=");
    Press(f, "Загрузить в формате BDL");
    f.ChooseOption(theory);
    f.addAberration.Value = f.addPlanetaryAberration.Value = f.addNutation.Value = true;
    f.addRefraction.Value = false;
    f.writeParamFile.Value = true;  // "+File"
    f.plotDifferences.Value = true;  // "+График"
    f.plotDiffL.Value = f.plotDiffB.Value = true;  // plot "dL", "dB"
  }
  // Data set 3 against the truth's theoretical places, in arcseconds on the sky.
  double WorstTheoryError(const std::string& truthFile) {
    double worst = 0;
    int32_t row = 0;
    for (const auto& t : test::ReadTruth(truthFile)) {
      if (t.status != "ok") continue;
      ++row;
      double cosDec = std::cos(t.decTheory * 3.14159265358979 / 180);
      double dRa = std::remainder(app.Store.ObsLon(row, kSet3) - t.raTheory, 360.0) * 3600 * cosDec;
      double dDec = (app.Store.ObsLat(row, kSet3) - t.decTheory) * 3600;
      worst = std::max({worst, std::fabs(dRa), std::fabs(dDec)});
    }
    EXPECT_EQ(row, f.Count1);
    return worst;
  }
  void ExpectCsvAgrees(const std::string& stem) {
    const fs::path dat = folder / "Dat";
    const std::string check = "python3 " PLANOVA_SOURCE_DIR "/tests/tools/check_oc_csv.py '" +
                              (dat / ("Param_data_" + stem + ".txt")).string() + "' '" +
                              (dat / ("Param_data_" + stem + ".csv")).string() + "' '" +
                              (dat / ("Stat" + stem + ".txt")).string() + "'";
    EXPECT_EQ(std::system(check.c_str()), 0) << check;
  }
};

TEST_F(SampleComparison, De405TheoryGivesTheSamplesPlaces) {
  ImportAndWrite("PARI", "1");
  Compare("PARI", f.theoryJpl2);  // "JPL2 (DE405)"
  ASSERT_EQ(f.Count1, 300);
  EXPECT_EQ(f.ComparedCount, 300);
  EXPECT_LT(WorstTheoryError("PARI11_G_1.dov.csv"), 3e-4);
  // The statistics and the record file are written; the plot holds a point per record
  // and coordinate.
  EXPECT_TRUE(fs::exists(folder / "Dat" / "StatPARI11.txt"));
  EXPECT_TRUE(fs::exists(folder / "Dat" / "Param_data_PARI11.txt"));
  // Its CSV twin reads in Python's csv module with the values of Param_data_ and the
  // interval counts of Stat.
  ExpectCsvAgrees("PARI11");
  int points = 0;
  for (const auto& item : f.plotPicture.Items) points += item.kind == PictureItem::Kind::kPoint;
  EXPECT_GE(points, 600);
}

TEST_F(SampleComparison, TwoBodyTheoryGivesTheConvertedCataloguesPlaces) {
  // "+/-" turns the catalogue into the Dov file USNO11_G_2.txt, which window 1 imports.
  app.window1.observatoryCode.Text = "USNO";
  Press(app.window1, "+/-");
  ImportAndWrite("USNO", "2");
  Compare("USNO", f.theoryJpl0);  // "JPL0"
  ASSERT_EQ(f.Count1, 200);
  EXPECT_LT(WorstTheoryError("USNO_1866_1891.csv"), 3e-4);
  ExpectCsvAgrees("USNO11");
  // The set against itself: every O-C is 0, which the Stat file counts in no interval, and
  // nor does the CSV; a record without its right ascension has empty O-C cells.
  app.Store.ObsLon(7, kSet1) = 0;
  f.ChooseOption(f.loadIntoSet2);
  Press(f, "Загрузить в формате BDL");
  f.ChooseOption(f.set2FromFile);
  Press(f, "Сравнить данные 1 с данными 2");
  ExpectCsvAgrees("USNO11");
  const std::string csv = test::ReadBytes(folder / "Dat" / "Param_data_USNO11.csv");
  const size_t row7 = csv.find("\n7,");
  ASSERT_NE(row7, std::string::npos);
  EXPECT_NE(csv.substr(row7, csv.find('\n', row7 + 1) - row7).find(",file,App,,,0.000000,0.000000,,"), std::string::npos)
      << csv.substr(row7, 120);
  // Against data set 2 the time is compared as well.
  EXPECT_TRUE(f.LastSummary.HasTime);
}

// The fields of a file's lines (CR LF) split at `separator`, blanks around them dropped,
// from the line that starts with `header` on.
std::vector<std::vector<std::string>> Table(const std::string& text, char separator, const std::string& header) {
  std::vector<std::vector<std::string>> rows;
  size_t at = text.find(header);
  while (at != std::string::npos && at < text.size()) {
    const size_t end = text.find("\r\n", at);
    const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? end : end + 2;
    if (line.empty()) continue;
    std::vector<std::string>& fields = rows.emplace_back();
    size_t from = 0;
    for (size_t to = 0; to != std::string::npos; from = to + 1) {
      to = line.find(separator, from);
      std::string field = line.substr(from, to == std::string::npos ? std::string::npos : to - from);
      field.erase(0, field.find_first_not_of(' '));
      field.erase(field.find_last_not_of(' ') + 1);
      fields.push_back(field);
    }
  }
  return rows;
}

// A column of a table by its heading, one value per row below it.
std::vector<std::string> Column(const std::vector<std::vector<std::string>>& table, const std::string& name) {
  std::vector<std::string> values;
  if (table.empty()) return values;
  const auto at = std::find(table[0].begin(), table[0].end(), name);
  if (at == table[0].end()) return values;
  for (size_t r = 1; r < table.size(); ++r) values.push_back(table[r].at(static_cast<size_t>(at - table[0].begin())));
  return values;
}

// The residuals as an astronomer publishes them: 5" planted in the declination of four
// records of the sample are exactly what the 4σ clipping deletes, in the CSV twin's sel
// column, the summary's list and the ADES file's selAst; a record excluded by hand is
// 'd'; a k that is no positive number refuses the run.  (The sample's Gaussian noise of
// 0,3" has two records of its 300 beyond 3σ, 248 in Dec and 252 in RA, which 3σ would
// rightly delete as well; the planted ones lie 17σ out.)
TEST_F(SampleComparison, ClippingDeletesThePlantedOutliers) {
  ImportAndWrite("PARI", "1");
  Load("PARI", f.theoryJpl2);
  const std::vector<int32_t> planted = {17, 101, 202, 288};
  for (int32_t i : planted) app.Store.ObsLat(i, kSet1) += 5.0 / 3600;
  // A line of Weights.txt that is no rule is named in the pane; the others weight the records.
  test::WriteBytes(folder / "Weights.txt", test::ReadBytes(folder / "Weights.txt") + "PARI 1990\r\n");
  f.clipResiduals.Value = true;  // "отбраковка k·σ"
  f.clipK.Text = "4";
  Press(f, "Сравнить данные 1 с данными 2");
  const fs::path dat = folder / "Dat";
  auto selection = [&] {
    const auto csv = Table(test::ReadBytes(dat / "Param_data_PARI11.csv"), ',', "record,");
    const auto psv = Table(test::ReadBytes(dat / "Residuals_PARI11.psv"), '|', "trkSub");
    EXPECT_EQ(Column(psv, "selAst"), Column(csv, "sel"));
    std::string sel;
    for (const std::string& s : Column(csv, "sel")) sel += s;
    return sel;
  };
  std::string expected(300, 'A');
  for (int32_t i : planted) expected[static_cast<size_t>(i - 1)] = 'D';
  EXPECT_EQ(selection(), expected);
  std::vector<int32_t> rejected;
  for (const RejectedResidual& r : f.LastSummary.Rejected) rejected.push_back(r.Number);
  EXPECT_EQ(rejected, planted);
  // On the plot: a grey cross of two lines over each deleted record's dL point (their dB
  // lies off the grid), and the ±4σ band of dL and of dB, two lines of 50 dashes each.
  int crossLines = 0, dashes = 0;
  for (const auto& item : f.plotPicture.Items) {
    if (item.kind != PictureItem::Kind::kLine) continue;
    crossLines += item.rgb == 0x808080;
    dashes += item.rgb == f.PlotColours[2].Rgb() || item.rgb == f.PlotColours[3].Rgb();
  }
  EXPECT_EQ(crossLines, 8);
  EXPECT_EQ(dashes, 200);
  // The summary in the pane after the log and in its files.
  EXPECT_NE(f.reportPane.Text.find("отбраковано: 4"), std::string::npos);
  EXPECT_NE(f.reportPane.Text.find(": не шесть полей"), std::string::npos);
  EXPECT_EQ(f.reportPane.Text.find("Weights.txt, строка "), 0u);
  EXPECT_NE(test::ReadBytes(dat / "Summary_PARI11.txt").find(Utf8ToCp1251("отбраковано: 4")), std::string::npos);
  const auto summary = Table(test::ReadBytes(dat / "Summary_PARI11.csv"), ',', "coordinate,");
  ASSERT_GE(summary.size(), 3u);
  EXPECT_EQ(Column(summary, "rejected")[0], "4");  // RA·cos δ over all records: a record is deleted whole
  for (const auto& row : summary) EXPECT_EQ(row.size(), summary[0].size());
  ExpectCsvAgrees("PARI11");

  f.excludedRecords.Text = "5";  // "исключить №"
  Press(f, "Сравнить данные 1 с данными 2");
  expected[4] = 'd';
  EXPECT_EQ(selection(), expected);

  for (const char* bad : {"0", "-1", "x"}) {
    f.clipK.Text = bad;
    test::PressButton(f, "Сравнить данные 1 с данными 2", ui);
    ASSERT_FALSE(ui.messages.empty()) << bad;
    EXPECT_EQ(ui.messages.back(), "Введите правильно данные: отбраковка k·σ") << bad;
  }
  f.clipK.Text = "4";
  f.excludedRecords.Text = "5-";
  test::PressButton(f, "Сравнить данные 1 с данными 2", ui);
  EXPECT_EQ(ui.messages.back(), "Введите правильно данные: исключить №");

  // A Summary file that cannot be written ends the files there: the ADES file, formed on
  // a second thread meanwhile (here without the record excluded by hand), is dropped and
  // the last one kept whole, with no temporary file left.
  const std::string psvBefore = test::ReadBytes(dat / "Residuals_PARI11.psv");
  f.excludedRecords.Text = "";
  fs::remove(dat / "Summary_PARI11.txt");
  fs::create_directory(dat / "Summary_PARI11.txt");
  const size_t said = ui.messages.size();
  test::PressButton(f, "Сравнить данные 1 с данными 2", ui);
  ASSERT_EQ(ui.messages.size(), said + 1);
  EXPECT_NE(ui.messages.back().find("Summary_PARI11.txt"), std::string::npos) << ui.messages.back();
  EXPECT_EQ(test::ReadBytes(dat / "Residuals_PARI11.psv"), psvBefore);
  EXPECT_TRUE(test::TemporaryFiles(dat).empty());
  fs::remove(dat / "Summary_PARI11.txt");
  test::PressButton(f, "Сравнить данные 1 с данными 2", ui);
  EXPECT_NE(test::ReadBytes(dat / "Residuals_PARI11.psv"), psvBefore);
}

// A run's places are computed a block ahead on a second thread.  A Stop pressed where
// the run lets events in (the end of the first block) pauses it after the next row with
// the shown place that row's, no row beyond it in data set 3; continued, it writes the
// files of a run never stopped.  A date the block files lack, inside the second block,
// ends the run at that row with the ephemeris' message.
TEST_F(SampleComparison, RunWithPlacesAheadStopsContinuesAndFailsAtItsRow) {
  ImportAndWrite("PARI", "1");
  Load("PARI", f.theoryJpl2);
  Press(f, "Сравнить данные 1 с данными 2");
  const fs::path dat = folder / "Dat";
  // (The Stat file is the button's that began the run.)
  const std::vector<std::string> names = {"Param_data_PARI11.txt", "Param_data_PARI11.csv", "Residuals_PARI11.psv"};
  std::vector<std::string> whole;
  for (const std::string& name : names) whole.push_back(test::ReadBytes(dat / name));
  ASSERT_EQ(f.Count1, 300);
  std::vector<double> theory;
  for (int32_t i = 1; i <= 300; ++i) theory.push_back(app.Store.ObsLon(i, kSet3));

  app.Store.ObsLon(258, kSet3) = 0;
  ui.onEvents = [&] { f.StopRequested = 1; };
  Press(f, "Сравнить данные 1 с данными 2");
  ui.onEvents = nullptr;
  EXPECT_EQ(f.Run.CurrentRow, 258);
  EXPECT_EQ(f.LastPlace.LonDeg, theory[256]);
  EXPECT_EQ(app.Store.ObsLon(257, kSet3), theory[256]);
  EXPECT_EQ(app.Store.ObsLon(258, kSet3), 0);  // not reached
  f.StopRequested = 0;
  Press(f, "сделать 1 шаг");
  for (size_t k = 0; k < names.size(); ++k) EXPECT_TRUE(test::ReadBytes(dat / names[k]) == whole[k]) << names[k];

  // An operation run while the events are let in (the ephemeris calculator, which asks
  // the astronomy for a place) ends the computing ahead; the run's rest computes its own.
  int calculations = 0;
  ui.onEvents = [&] {
    if (calculations++ == 0) test::PressButton(f, "DE405", ui);
  };
  Press(f, "Сравнить данные 1 с данными 2");
  ui.onEvents = nullptr;
  EXPECT_EQ(calculations, 1 + (299 - 256));  // then after each row but the last
  for (size_t k = 0; k < names.size(); ++k) EXPECT_TRUE(test::ReadBytes(dat / names[k]) == whole[k]) << names[k];

  app.Store.ObsJd(270, kSet1) = 2480000.5;  // 2077: beyond the block files
  test::PressButton(f, "Сравнить данные 1 с данными 2", ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("нет такой даты"), std::string::npos) << ui.messages[0];
  EXPECT_EQ(f.Run.CurrentRow, 270);
  EXPECT_FALSE(f.LastPlace.Ok);
  EXPECT_EQ(app.Store.ObsLon(269, kSet3), theory[268]);
}

// Window 3's reduction under "JPL2" is window 2's with aberration, planetary aberration
// and nutation on and refraction off: the deviations coincide record by record, with the
// classical reduction and with the rigorous one ("точно (IAU 2006)" in both windows).
TEST_F(SampleComparison, De405DeviationsOfWindow3AreThoseOfWindow2) {
  ImportAndWrite("PARI", "1");
  for (bool precise : {false, true}) {
    app.ShowForm("Form2");
    f.stepMode.Value = true;  // one row per step, to read each difference
    f.rigorousIau2006.Value = precise;
    Compare("PARI", f.theoryJpl2);
    std::vector<double> dL{f.DiffLDeg}, dB{f.DiffBDeg};
    for (int32_t r = 2; r <= 300; ++r) {
      Press(f, "сделать 1 шаг");
      dL.push_back(f.DiffLDeg);
      dB.push_back(f.DiffBDeg);
    }
    Window3Model& w3 = app.window3;
    app.ShowForm("Form4");
    w3.fileNumber.Text = "110";
    Press(w3, "Создать массивы с N=");
    Press(w3, "Загрузить в формате BDL");
    w3.theoryJpl2.Value = true;
    w3.theoryTwoBody.Value = false;
    w3.stepByStep.Value = true;
    w3.rigorousReduction.Value = precise;
    Press(w3, "Сравнить данные наблюдений с");
    for (int32_t r = 1; r <= 300; ++r) {
      if (r > 1) Press(w3, "сделать 1 шаг");
      const size_t k = static_cast<size_t>(r - 1);
      EXPECT_NEAR_WHAT(w3.DevLDeg * 3600, dL[k] * 3600, 1e-9, "dL of row " + std::to_string(r));
      EXPECT_NEAR_WHAT(w3.DevBDeg * 3600, dB[k] * 3600, 1e-9, "dB of row " + std::to_string(r));
    }
  }
}

// "точно (IAU 2006)": the rigorous reduction takes the observation times as UTC (TT from
// the leap-second table: 32 s + 32.184 s in 1999, where the sample ends); the window shows
// its stages and holds the switches that are part of it; the B1950 frame keeps the
// classical reduction and the log says so.
TEST_F(SampleComparison, PreciseTheoryShowsItsStages) {
  ImportAndWrite("PARI", "1");
  f.rigorousIau2006.Value = true;
  Compare("PARI", f.theoryJpl2);
  ASSERT_EQ(f.ComparedCount, 300);
  EXPECT_EQ(f.etMinusUtSeconds.Text, "64,184");
  EXPECT_NE(f.set2Pane.Text.find("TT-UT= 64,184 сек"), std::string::npos) << f.set2Pane.Text;
  for (const char* held : {"Check8", "Check9", "Check7"}) EXPECT_TRUE(f.CheckHeld(held)) << held;
  EXPECT_FALSE(f.CheckHeld("Check6"));  // refraction stays the user's choice
  EXPECT_EQ(f.set2Pane.Text.find("\r\nТОЧНО (IAU 2006/2000A)"), 0u) << f.set2Pane.Text;
  for (const char* stage : {"свет. время", "откл.", "аберр.", "смещ.+прец.", "нутация", "результат App"}) {
    EXPECT_NE(f.set2Pane.Text.find(stage), std::string::npos) << stage;
  }
  EXPECT_FALSE(f.nutationArcsec.Text.empty());

  // The DE405 calculator adds the rigorous places at the window's date.
  f.objectNumber.Text = "4";
  f.dateYear.Text = "1995";
  Press(f, "DE405");
  for (const char* line : {"ТОЧНО (IAU 2006/2000A)", "ГЕО астрометр. ICRS", "ГЕО GCRS (J2000)", "ГЕО видимое ист. JD"}) {
    EXPECT_NE(f.set2Pane.Text.find(line), std::string::npos) << line;
  }

  f.EpochLabel1 = "B1950";
  EXPECT_FALSE(f.CheckHeld("Check8"));
  Press(f, "Сравнить данные 1 с данными 2");
  EXPECT_NE(f.set2Pane.Text.find("B1950 — классическая редукция"), std::string::npos) << f.set2Pane.Text;
}

}  // namespace
}  // namespace planova
