// Window 3: loading a BDL file written by window 1, the comparison with theory against the
// theoretical places behind the sample observations, the linear correction, the
// perturbations of "+dL", picking records on the plot, and writing the result back.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include <cmath>
#include <iomanip>
#include <numbers>

#include "app/application.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;
using test::RecordingPlatform;

// Window 1 imports the Dov sample (300 Moon observations 1990-1999, apparent places of
// date) and writes it as ObsPARI\PARI11_G_40.txt; window 3 is then opened on it.
struct Window3 : ::testing::Test {
  fs::path folder = test::FolderForThisTest("window3_", true);
  RecordingPlatform ui{folder};
  Application app{ui};
  Window3Model& f = app.window3;

  void SetUp() override {
    app.Astro.SetJplFolder(test::De405BlockFolder());
    Press(app.window1, "Создать массивы с N=");
    Press(app.window1, "Загрузить исходные данные из");
    app.window1.bdlNamePart.Text = "G_40";
    Press(app.window1, "Сохранить данные в формате BDL");
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
    app.ShowForm("Form4");
  }
  void Press(FormModel& form, const std::string& caption) {
    test::PressButton(form, caption, ui);
  }
  void Press(const std::string& caption) { Press(f, caption); }
  void LoadFile() {
    Press("Создать массивы с N=");
    Press("Загрузить в формате BDL");
  }
};

TEST_F(Window3, LoadShowsEveryRecordAndCopiesItToDataSet3) {
  EXPECT_EQ(f.arraySize.Text, "4000");
  EXPECT_EQ(app.Astro.Calendar(), CalendarRule::kGregorianFrom1582);
  LoadFile();
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(f.Count1, 300);
  EXPECT_EQ(f.Count3, 300);
  EXPECT_EQ(f.lastRecord.Text, "300");
  // №1's date boxes follow the load (not the start-up 1861 1 1,5).
  EXPECT_EQ(f.firstRecordYear.Text, std::to_string(app.Astro.CalendarDateOf(app.Store.ObsJd(1, kSet1)).Date.Year));
  EXPECT_EQ(f.lastRecordYear.Text, std::to_string(app.Astro.CalendarDateOf(app.Store.ObsJd(300, kSet1)).Date.Year));
  EXPECT_EQ(f.EpochLabel1, "App");
  EXPECT_EQ(f.progress.Value, 100);
  EXPECT_EQ(f.reportPane.Text.rfind("всего прочитано  300  записей\r\nPARI\r\nPARI\r\nPARI\r\nPARI\r\nPARI\r\n", 0), 0u)
      << f.reportPane.Text.substr(0, 200);
  for (int32_t r = 1; r <= 300; ++r) {
    ASSERT_EQ(app.Store.ObsJd(r, kSet3), app.Store.ObsJd(r, kSet1));
    ASSERT_EQ(app.Store.ObsLon(r, kSet3), app.Store.ObsLon(r, kSet1));
    ASSERT_EQ(app.Store.ObsLat(r, kSet3), app.Store.ObsLat(r, kSet1));
  }
  // The loaded places are the imported ones to the BDL file's last digit.
  auto truth = test::ReadTruth("PARI11_G_1.dov.csv");
  int32_t row = 0;
  for (const auto& t : truth) {
    if (t.status != "ok") continue;
    ++row;
    EXPECT_NEAR_WHAT(app.Store.ObsJd(row, kSet1), t.jd, 1e-6, "JD");
    EXPECT_NEAR_WHAT(app.Store.ObsLon(row, kSet1), t.ra, 0.0015 * test::kArcsec, "RA");
    EXPECT_NEAR_WHAT(app.Store.ObsLat(row, kSet1), t.dec, 0.0015 * test::kArcsec, "Dec");
  }
}

TEST_F(Window3, SmallArraysAndMissingFiles) {
  f.arraySize.Text = "3";
  Press("Создать массивы с N=");
  Press("Загрузить в формате BDL");  // 300 lines of 160 bytes for 3 rows
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Желательно увеличить размер массива");
  EXPECT_EQ(f.Count1, 0);

  // Rows that fit stay loaded when the estimate passes but the file is longer: the lines
  // of this copy end after the latitude (98 columns), so 250 rows pass the estimate.
  {
    TextInputFile in;
    TextOutputFile out;
    ASSERT_TRUE(in.Open(folder / "ObsPARI" / "PARI11_G_40.txt"));
    ASSERT_TRUE(out.Create(folder / "ObsPARI" / "PARI11_G_8.txt"));
    for (std::string line; in.ReadLine(line);) out.WriteLine(line.substr(0, 98));
    ASSERT_TRUE(out.Commit());
  }
  f.fileNumber.Text = "8";
  f.arraySize.Text = "250";
  Press("Создать массивы с N=");
  Press("Загрузить в формате BDL");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1], "увеличьте массивы данных");
  EXPECT_EQ(f.Count1, 249);
  EXPECT_EQ(app.Store.ObsJd(249, kSet3), app.Store.ObsJd(249, kSet1));
  EXPECT_EQ(f.lastRecord.Text, "249");

  f.fileNumber.Text = "99";
  Press("Загрузить в формате BDL");
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[2], "Ошибка открытия файла\r\n" + PathText(folder / "ObsPARI" / "PARI11_G_99.txt"));

  // A file of its five heading lines alone loads no record.
  TextOutputFile out;
  ASSERT_TRUE(out.Create(folder / "ObsPARI" / "PARI11_G_7.txt"));
  for (int k = 0; k < 5; ++k) out.WriteLine("PARI");
  ASSERT_TRUE(out.Commit());
  f.fileNumber.Text = "7";
  Press("Загрузить в формате BDL");
  EXPECT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(f.Count1, 0);
  EXPECT_EQ(f.reportPane.Text.rfind("всего прочитано  0  записей\r\n", 0), 0u);
}

// A load that stops early keeps exactly the records read before the stop, never the 300
// of the file loaded before: a bad line after record 10, then a store that takes 15 of
// 20 records (lines cut to 98 columns pass the size rule).
TEST_F(Window3, AStoppedLoadKeepsExactlyTheRecordsRead) {
  LoadFile();
  std::vector<double> jd;
  for (int32_t r = 1; r <= 20; ++r) jd.push_back(app.Store.ObsJd(r, kSet1));
  auto copy = [&](const std::string& number, auto&& edit) {
    TextInputFile in;
    TextOutputFile out;
    ASSERT_TRUE(in.Open(folder / "ObsPARI" / "PARI11_G_40.txt"));
    ASSERT_TRUE(out.Create(folder / "ObsPARI" / ("PARI11_G_" + number + ".txt")));
    int k = 0;
    for (std::string line; in.ReadLine(line); ++k) edit(out, k - 5, line);
    ASSERT_TRUE(out.Commit());
  };
  copy("9", [](TextOutputFile& out, int record, const std::string& line) {
    if (record == 10) out.WriteLine("not a BDL line");
    out.WriteLine(line);
  });
  copy("8", [](TextOutputFile& out, int record, const std::string& line) {
    if (record < 20) out.WriteLine(line.substr(0, 98));
  });
  const struct {
    const char* number;  // "№ файла"
    const char* arrays;  // N of new arrays, or none: the 300 records stand before the load
    size_t kept;
    std::string message;
  } cases[] = {
      {"9", nullptr, 10, "Ошибка чтения данных из файла\r\n" + PathText(folder / "ObsPARI" / "PARI11_G_9.txt")},
      {"8", "16", 15, "увеличьте массивы данных"},
  };
  for (const auto& c : cases) {
    f.fileNumber.Text = c.number;
    if (c.arrays) {
      f.arraySize.Text = c.arrays;
      Press("Создать массивы с N=");
    }
    Press("Загрузить в формате BDL");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back(), c.message);
    test::ExpectDataSet1(app.Store, std::vector<double>(jd.begin(), jd.begin() + static_cast<long>(c.kept)));
    EXPECT_EQ(f.lastRecord.Text, std::to_string(c.kept));
    EXPECT_EQ(f.reportPane.Text.rfind("всего прочитано  " + std::to_string(c.kept) + "  записей\r\n", 0), 0u);
  }
  EXPECT_EQ(ui.messages.size(), 2u);
}

// The sample's observations are the theoretical places of DE405 with aberration and
// nutation plus known noise; the run with "JPL2" must recover the noise record by record.
TEST_F(Window3, De405RunRecoversTheSampleNoise) {
  LoadFile();
  f.theoryJpl2.Value = true;  // "JPL2"
  f.theoryTwoBody.Value = false;
  f.stepByStep.Value = true;      // "По шагам"
  f.lastRecord.Text = "300";
  auto truth = test::ReadTruth("PARI11_G_1.dov.csv");
  std::vector<test::TruthRow> ok;
  for (const auto& t : truth) {
    if (t.status == "ok") ok.push_back(t);
  }
  ASSERT_EQ(ok.size(), 300u);
  Press("Сравнить данные наблюдений с");
  double worst = 0;
  for (int32_t r = 1; r <= 300; ++r) {
    if (r > 1) Press("сделать 1 шаг");
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
    ASSERT_EQ(f.CurrentRow, r + 1);
    // A paused run keeps its bar where it stopped; the step past №2 fills it.
    if (r < 300) {
      ASSERT_LT(f.progress.Value, 100);
    }
    const auto& t = ok[static_cast<size_t>(r - 1)];
    // Observation minus theory: the file's value less the noise-free place.  The sample's
    // generator reduces in its own order of operations; both agree to 0.0003".
    double wantL = (app.Store.ObsLon(r, kSet1) - t.raTheory) * 3600;
    double wantB = (app.Store.ObsLat(r, kSet1) - t.decTheory) * 3600;
    EXPECT_NEAR_WHAT(f.DevLDeg * 3600, wantL, 3e-4, "dL of row " + std::to_string(r));
    EXPECT_NEAR_WHAT(f.DevBDeg * 3600, wantB, 3e-4, "dB of row " + std::to_string(r));
    worst = std::max({worst, std::fabs(f.DevLDeg * 3600 - wantL), std::fabs(f.DevBDeg * 3600 - wantB)});
  }
  RecordProperty("worst_arcsec", std::to_string(worst));
  EXPECT_EQ(f.recordsCompared.Text, "300");
  EXPECT_EQ(f.progress.Value, 100);  // the run has passed №2
  // Means of the noise: 0.3" per record in declination, 0.3"/cos(dec) in right ascension.
  double meanB = 0;
  ASSERT_TRUE(TryParseReal(f.meanBArcsec.Text, meanB));
  EXPECT_LT(std::fabs(meanB), 0.1);
  // The last row's date in the "now" boxes.
  EXPECT_EQ(f.currentRecordYear.Text, "1999");
  // The deviations' CSV: a header and a line a record, the last with the last deviations.
  std::ifstream csv(folder / "Dat" / "Dev_data_PARI11.csv");
  std::vector<std::string> lines;
  for (std::string line; std::getline(csv, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 301u);
  EXPECT_EQ(lines[0].rfind("record,date_utc,jd,body,theory,epoch,dev_ra_arcsec,", 0), 0u);
  EXPECT_EQ(lines[300].rfind("300,1999-", 0), 0u) << lines[300];
  EXPECT_NE(lines[300].find(",11,JPL2 DE405,App," + CsvNumber(f.DevLDeg * 3600, 6) + ","), std::string::npos) << lines[300];
  Press("сделать 1 шаг");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Сравнение закончено: следующей записи нет");
}

TEST_F(Window3, LinearCorrectionBetweenTheTwoRecords) {
  LoadFile();
  const int32_t first = 11, last = 31;
  f.firstRecord.Text = std::to_string(first);
  f.lastRecord.Text = std::to_string(last);
  f.corrLFirstArcsec.Text = "10";  // dLn
  f.corrLLastArcsec.Text = "20";  // dLk
  f.corrBFirstArcsec.Text = "-4";  // dBn
  f.corrBLastArcsec.Text = "-4";  // dBk
  f.correctData.Value = true;
  Press("Сравнить данные наблюдений с");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  const ObservationStore& s = app.Store;
  const double jd1 = s.ObsJd(first, kSet1), jd2 = s.ObsJd(last, kSet1);
  for (int32_t r = 1; r <= 300; ++r) {
    double dL = (s.ObsLon(r, kSet3) - s.ObsLon(r, kSet1)) * 3600, dB = (s.ObsLat(r, kSet3) - s.ObsLat(r, kSet1)) * 3600;
    if (r < first || r > last) {
      EXPECT_EQ(dL, 0) << r;
      EXPECT_EQ(dB, 0) << r;
      continue;
    }
    double want = 10 + 10 * (s.ObsJd(r, kSet1) - jd1) / (jd2 - jd1);
    EXPECT_NEAR(dL, want, 1e-7) << r;
    EXPECT_NEAR(dB, -4, 1e-7) << r;
  }
  EXPECT_NEAR((s.ObsLon(first, kSet3) - s.ObsLon(first, kSet1)) * 3600, 10, 1e-7);
  EXPECT_NEAR((s.ObsLon(last, kSet3) - s.ObsLon(last, kSet1)) * 3600, 20, 1e-7);
  EXPECT_EQ(f.recordsCompared.Text, "21");

  // Zero corrections with the box ticked: data set 3 is data set 1 again and the
  // deviations are those of a run without the box.
  f.corrLFirstArcsec.Text = f.corrLLastArcsec.Text = f.corrBFirstArcsec.Text = f.corrBLastArcsec.Text = "0";
  Press("Сравнить данные наблюдений с");
  double withBox = f.DevLDeg;
  for (int32_t r = first; r <= last; ++r) EXPECT_EQ(s.ObsLon(r, kSet3), s.ObsLon(r, kSet1));
  f.correctData.Value = false;
  Press("Сравнить данные наблюдений с");
  EXPECT_EQ(f.DevLDeg, withBox);

  // The written file holds rows №1..№2 of data set 3 under the loaded headings; loaded
  // again it gives the corrected places.
  f.correctData.Value = true;
  f.corrLFirstArcsec.Text = "10";
  f.corrLLastArcsec.Text = "20";
  Press("Сравнить данные наблюдений с");
  // Corrected data not written: leaving asks, and "No" keeps the program open.
  ui.answer = false;
  Press(app.window1, "Выход");
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], "Есть незаписанные данные (исправленные данные окна 3). Выйти без записи?");
  EXPECT_TRUE(app.IsOpen("Form1"));
  ui.answer = true;
  ui.questions.clear();
  Press("Записать результат в файл");
  EXPECT_TRUE(app.Store.Unsaved.empty());
  EXPECT_EQ(f.reportPane.Text.rfind("записано  " + std::to_string(last - first + 1) +
                                        "  записей в ObsPARI/PARI11_G_41.txt\r\nвсего прочитано  ",
                                    0),
            0u);
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  std::string written = test::ReadBytes(folder / "ObsPARI" / "PARI11_G_41.txt");
  EXPECT_EQ(written.rfind("PARI\r\nPARI\r\nPARI\r\nPARI\r\nPARI\r\n", 0), 0u);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 5 + (last - first + 1));
  std::vector<double> corrected;
  for (int32_t r = first; r <= last; ++r) corrected.push_back(s.ObsLon(r, kSet3));
  f.fileNumber.Text = "41";
  Press("Загрузить в формате BDL");
  ASSERT_EQ(f.Count1, last - first + 1);
  for (int32_t r = 1; r <= f.Count1; ++r) {
    EXPECT_NEAR((s.ObsLon(r, kSet1) - corrected[static_cast<size_t>(r - 1)]) * 3600, 0, 0.0015) << r;
  }
  EXPECT_EQ(f.EpochLabel1, "App");

  // №1 > №2 is refused and leaves the file as it was.
  f.firstRecord.Text = "5";
  f.lastRecord.Text = "4";
  f.resultFileNumber.Text = "41";
  Press("Записать результат в файл");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Задайте правильно номера записей: №1 больше №2");
  EXPECT_EQ(test::ReadBytes(folder / "ObsPARI" / "PARI11_G_41.txt"), written);
  // Replacing the file asks first: "No" leaves it byte for byte, "Yes" replaces it.
  ui.messages.clear();
  f.lastRecord.Text = "6";
  ui.answer = false;
  Press("Записать результат в файл");
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], "Файл ObsPARI/PARI11_G_41.txt уже есть (" + std::to_string(last - first + 1) +
                                 " записей). Заменить его 2 записями?");
  EXPECT_EQ(test::ReadBytes(folder / "ObsPARI" / "PARI11_G_41.txt"), written);
  ui.answer = true;
  Press("Записать результат в файл");
  EXPECT_EQ(ui.questions.size(), 2u);
  const std::string replaced = test::ReadBytes(folder / "ObsPARI" / "PARI11_G_41.txt");
  EXPECT_EQ(std::count(replaced.begin(), replaced.end(), '\n'), 5 + 2);
  EXPECT_TRUE(ui.messages.empty());

  // A range past the loaded records, or a missing folder: a message, nothing written.
  f.firstRecord.Text = "1";
  f.lastRecord.Text = std::to_string(f.Count3 + 1);
  f.resultFileNumber.Text = "43";
  Press("Записать результат в файл");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("Задайте правильно номера записей"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder / "ObsPARI" / "PARI11_G_43.txt"));
  f.lastRecord.Text = "2";
  fs::remove_all(folder / "ObsPARI");
  Press("Записать результат в файл");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1], "Ошибка записи в файл\r\n" + PathText(folder / "ObsPARI" / "PARI11_G_43.txt"));
}

// "Подобрать поправку (МНК)" after a JPL2 run of the sample (DE405 places plus 0,3" of
// noise) with a planted offset and drift: the fitted line holds them within its
// uncertainty, the correction boxes get minus the line at №1 and №2, a corrected run then
// has O-C means near zero, and a fit after it finds the same correction.  With the
// records' sigmas the fit is weighted and chi^2 per degree of freedom near 1.  Before a
// run, or with fewer than two records of a coordinate, nothing changes.
TEST_F(Window3, FittedCorrectionRemovesAPlantedTrend) {
  LoadFile();
  Press("Подобрать поправку (МНК)");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("Поправку не подобрать", 0), 0u) << ui.messages[0];
  EXPECT_EQ(f.corrLFirstArcsec.Text, "0");
  ui.messages.clear();

  f.ChooseOption(f.theoryJpl2);
  ObservationStore& s = app.Store;
  const auto years = [](double jd) { return 2000 + (jd - 2451545) / 365.25; };
  // ", "/year from 1995: right ascension (the O-C the run shows, not times cos(dec)), declination.
  constexpr double kOffset[2] = {2, -1}, kDrift[2] = {0.5, -0.3};
  for (int32_t r = 1; r <= 300; ++r) {
    const double t = years(s.ObsJd(r, kSet1)) - 1995;
    s.ObsLon(r, kSet1) = s.ObsLon(r, kSet3) = s.ObsLon(r, kSet1) + (kOffset[0] + kDrift[0] * t) / 3600;
    s.ObsLat(r, kSet1) = s.ObsLat(r, kSet3) = s.ObsLat(r, kSet1) + (kOffset[1] + kDrift[1] * t) / 3600;
  }
  f.firstRecord.Text = "11";
  Press("Сравнить данные наблюдений с");
  Press("Подобрать поправку (МНК)");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  const double t1 = years(s.ObsJd(11, kSet1)), t2 = years(s.ObsJd(300, kSet1));
  TextBox* boxes[2][2] = {{&f.corrLFirstArcsec, &f.corrLLastArcsec}, {&f.corrBFirstArcsec, &f.corrBLastArcsec}};
  std::array<double, 4> fitted{};
  for (size_t k = 0; k < 2; ++k) {
    const LinearFitResult& fit = f.ShownFit[k];
    ASSERT_TRUE(fit.Ok()) << k;
    EXPECT_EQ(fit.Count, 290);
    EXPECT_FALSE(fit.Weighted);
    EXPECT_NEAR(fit.Drift, kDrift[k], 3 * fit.DriftSigma) << k;
    EXPECT_NEAR(fit.Offset, kOffset[k] + kDrift[k] * (fit.ReferenceT - 1995), 3 * fit.OffsetSigma) << k;
    for (size_t e = 0; e < 2; ++e) {
      const double t = e == 0 ? t1 : t2, dt = t - fit.ReferenceT;
      const double sigma =
          std::sqrt(fit.OffsetSigma * fit.OffsetSigma + 2 * dt * fit.Covariance + dt * dt * fit.DriftSigma * fit.DriftSigma);
      ASSERT_TRUE(TryParseReal(boxes[k][e]->Text, fitted[2 * k + e]));
      EXPECT_NEAR(fitted[2 * k + e], -fit.At(t), 1e-12) << k << e;
      EXPECT_NEAR(fitted[2 * k + e], -(kOffset[k] + kDrift[k] * (t - 1995)), 3 * sigma) << k << e;
    }
  }
  EXPECT_EQ(f.reportPane.Text.rfind("Поправка по МНК, записи №11 - №300: O-C = a + b·(t - t0), t в годах\r\nRA: a = ", 0), 0u)
      << f.reportPane.Text.substr(0, 300);

  f.correctData.Value = true;
  Press("Сравнить данные наблюдений с");
  double mean = 1;
  for (TextBox* box : {&f.meanLArcsec, &f.meanBArcsec}) {
    ASSERT_TRUE(TryParseReal(box->Text, mean));
    EXPECT_NEAR(mean, 0, 1e-5) << box->Text;  // equal weights: the residuals sum to zero
  }
  Press("Подобрать поправку (МНК)");
  for (size_t k = 0; k < 2; ++k) {
    EXPECT_NEAR(f.ShownFit[k].Offset, 0, 1e-9);
    EXPECT_NEAR(f.ShownFit[k].Drift, 0, 1e-9);
    for (size_t e = 0; e < 2; ++e) {
      double again = 0;
      ASSERT_TRUE(TryParseReal(boxes[k][e]->Text, again));
      EXPECT_NEAR(again, fitted[2 * k + e], 1e-9);
    }
  }

  // The sample's noise is 0,3" in declination and 0,3" / cos(dec) in right ascension:
  // as the records' sigmas (right ascension times cos(dec)) they weigh the fit.
  s.EnsureSigmas();
  for (int32_t r = 1; r <= 300; ++r) s.ObsSigmaRa(r, kSet1) = s.ObsSigmaDec(r, kSet1) = 0.3f;
  Press("Сравнить данные наблюдений с");
  Press("Подобрать поправку (МНК)");
  for (size_t k = 0; k < 2; ++k) {
    EXPECT_TRUE(f.ShownFit[k].Weighted);
    EXPECT_NEAR(f.ShownFit[k].ChiSquarePerDof, 1, 0.25) << k;
    EXPECT_NEAR(f.CorrectionFit[k].Drift, kDrift[k], 3 * f.CorrectionFit[k].DriftSigma) << k;
  }

  // Two records, one of them without its declination: right ascension only.
  f.correctData.Value = false;
  for (TextBox* box : {&f.corrLFirstArcsec, &f.corrLLastArcsec, &f.corrBFirstArcsec, &f.corrBLastArcsec}) box->Text = "0";
  s.ObsLat(2, kSet1) = s.ObsLat(2, kSet3) = 0;
  f.firstRecord.Text = "1";
  f.lastRecord.Text = "2";
  Press("Сравнить данные наблюдений с");
  Press("Подобрать поправку (МНК)");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(f.ShownFit[0].Count, 2);
  EXPECT_EQ(f.ShownFit[1].Status, LinearFitStatus::kTooFewPoints);
  EXPECT_NE(f.corrLFirstArcsec.Text, "0");
  EXPECT_EQ(f.corrBFirstArcsec.Text, "0");
  EXPECT_EQ(f.corrBLastArcsec.Text, "0");
  EXPECT_NE(f.reportPane.Text.find("Dec: не подобрана"), std::string::npos);
}

// "отбраковка k·σ" after a JPL2 run of the sample (DE405 places plus 0,3" of noise) with
// +5" planted on a few records: at k = 3 exactly those records are flagged 'D' (the
// CSV's sel column, a cross on the plot, the pane's summary), separately and jointly.
// With a drift planted as well, the fit after the clipped run leaves them out and
// recovers the drift.  A k the clipping cannot use refuses the run naming the box; the
// run without the clipping accepts all.
TEST_F(Window3, KSigmaClippingRejectsPlantedOutliersAndTheFitIgnoresThem) {
  LoadFile();
  f.ChooseOption(f.theoryJpl2);
  f.lastRecord.Text = "300";
  f.clipOutliers.Value = true;
  for (const char* k : {"0", "-3", "3x"}) {
    ui.messages.clear();
    ui.focused.clear();
    f.clipK.Text = k;
    Press("Сравнить данные наблюдений с");
    ASSERT_EQ(ui.messages.size(), 1u) << k;
    EXPECT_EQ(ui.messages[0], "Введите правильно данные: отбраковка k·σ");
    EXPECT_EQ(ui.focused, std::vector<std::string>{"Form4.Text45"});
  }
  EXPECT_EQ(f.ComparedCount, 0);
  ui.messages.clear();

  ObservationStore& s = app.Store;
  const auto years = [](double jd) { return 2000 + (jd - 2451545) / 365.25; };
  // In arcseconds: 5 in RA·cos δ or in declination on the outliers; a drift of
  // `drift`"/year from 1995 in right ascension (as the run's O-C and the fit take it) and
  // in declination.
  const std::set<int32_t> raOutliers = {37, 250}, decOutliers = {120, 250, 299};
  const auto plant = [&](double drift, bool outliers) {
    for (int32_t r = 1; r <= 300; ++r) {
      const double t = years(s.ObsJd(r, kSet1)) - 1995, cosDec = std::cos(s.ObsLat(r, kSet1) * std::numbers::pi / 180);
      const double dRa = drift * t + (outliers && raOutliers.contains(r) ? 5 / cosDec : 0);
      const double dDec = drift * t + (outliers && decOutliers.contains(r) ? 5 : 0);
      s.ObsLon(r, kSet1) = s.ObsLon(r, kSet3) = s.ObsLon(r, kSet1) + dRa / 3600;
      s.ObsLat(r, kSet1) = s.ObsLat(r, kSet3) = s.ObsLat(r, kSet1) + dDec / 3600;
    }
  };
  const std::set<int32_t> planted = {37, 120, 250, 299};
  const auto rejected = [&] {
    std::set<int32_t> numbers;
    for (const ResidualRecord& rec : f.FitData.Residuals) {
      if (rec.Flag == 'D') numbers.insert(rec.Number);
    }
    return numbers;
  };
  // A cross of two lines on each point of a rejected record (both coordinates).
  const auto crosses = [&] {
    return std::count_if(f.plot.Items.begin(), f.plot.Items.end(), [](const PictureItem& item) {
      return item.kind == PictureItem::Kind::kLine && item.rgb == 0xC800C8;
    });
  };
  // The sample's own noise has a few records in the tails beyond 3σ (more of them with
  // the joint test, which takes both coordinates' tails): those are rejected before the
  // outliers are planted, and exactly the outliers join them after.
  std::array<std::set<int32_t>, 2> natural;
  for (bool plantedYet : {false, true}) {
    if (plantedYet) plant(0, true);
    for (bool jointly : {false, true}) {
      Press("Очистить рисунок");
      f.clipK.Text = "3,0";
      f.clipJointly.Value = jointly;
      Press("Сравнить данные наблюдений с");
      ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
      std::set<int32_t> want = natural[jointly];
      if (!plantedYet) {
        natural[jointly] = rejected();
        EXPECT_LE(natural[jointly].size(), jointly ? 8u : 4u);
        continue;
      }
      want.insert(planted.begin(), planted.end());
      EXPECT_EQ(rejected(), want) << jointly;
      EXPECT_EQ(crosses(), 4 * static_cast<std::ptrdiff_t>(want.size()));
      EXPECT_EQ(f.reportPane.Text.rfind("сводка O-C: PARI11\r\nотбраковка k*сигма, k = 3, по RA и Dec " +
                                            std::string(jointly ? "совместно" : "раздельно"), 0), 0u)
          << f.reportPane.Text.substr(0, 200);
    }
  }
  std::ifstream csv(folder / "Dat" / "Dev_data_PARI11.csv");
  std::vector<std::string> lines;
  for (std::string line; std::getline(csv, line);) lines.push_back(line.substr(0, line.find('\r')));
  ASSERT_EQ(lines.size(), 301u);
  EXPECT_TRUE(lines[0].ends_with(",sel"));
  const std::set<int32_t> lastRun = rejected();
  for (int32_t r = 1; r <= 300; ++r) {
    const std::string& line = lines[static_cast<size_t>(r)];
    EXPECT_TRUE(line.ends_with(lastRun.contains(r) ? ",D" : ",A")) << line;
  }

  // The drift: with the outliers left out, the fit finds it within its uncertainty.  The
  // drift's spread of the O-C (±0,5") may push a tail record of the noise past 3σ too.
  constexpr double kDrift = 0.1;
  plant(kDrift, false);
  f.clipJointly.Value = false;
  Press("Сравнить данные наблюдений с");
  Press("Подобрать поправку (МНК)");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  const std::set<int32_t> lost = rejected();
  EXPECT_TRUE(std::includes(lost.begin(), lost.end(), planted.begin(), planted.end()));
  EXPECT_LE(lost.size(), planted.size() + 3);
  for (size_t k = 0; k < 2; ++k) {
    EXPECT_EQ(f.ShownFit[k].Count, 300 - static_cast<int32_t>(lost.size())) << k;
    EXPECT_NEAR(f.CorrectionFit[k].Drift, kDrift, 3 * f.CorrectionFit[k].DriftSigma) << k;
  }

  // Without the clipping every record is accepted, whatever the k box holds.
  f.clipOutliers.Value = false;
  f.clipK.Text = "x";
  Press("Очистить рисунок");
  Press("Сравнить данные наблюдений с");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_TRUE(rejected().empty());
  EXPECT_EQ(crosses(), 0);
  EXPECT_EQ(f.reportPane.Text.rfind("сводка O-C: PARI11\r\nMAD", 0), 0u) << f.reportPane.Text.substr(0, 100);
  Press("Подобрать поправку (МНК)");
  EXPECT_EQ(f.ShownFit[1].Count, 300);
}

TEST_F(Window3, LimitsDecideWhatEntersTheMeans) {
  LoadFile();
  f.firstRecord.Text = "1";
  f.lastRecord.Text = "40";
  f.meansWithinLimits.Value = true;
  // Two-body theory of the Moon is the short series: deviations of tens of arcseconds.
  f.limitLHighArcsec.Text = "0";
  f.limitLLowArcsec.Text = "0";
  Press("Сравнить данные наблюдений с");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(f.CountL, 0);  // only a deviation of exactly 0 would pass
  f.limitLHighArcsec.Text = "100000";
  f.limitLLowArcsec.Text = "-100000";
  Press("Сравнить данные наблюдений с");
  EXPECT_EQ(f.CountL, 40);
  // Four limit lines, the zero line, the heading, points for dL, dB, dLsr, dBsr: the
  // second run has started on a clean picture, so the first run's limit lines are gone.
  int greens = 0;
  for (const auto& item : f.plot.Items) {
    if (item.kind == PictureItem::Kind::kLine && (item.rgb == 0x00C800 || item.rgb == 0x006400)) ++greens;
  }
  EXPECT_EQ(greens, 4);
}

TEST_F(Window3, PickingOnThePlot) {
  LoadFile();
  f.firstRecord.Text = "1";
  f.lastRecord.Text = "2";
  Press("Сравнить данные наблюдений с");  // sets the time origin to row 1
  const ObservationStore& s = app.Store;
  const double origin = s.ObsJd(1, kSet1);
  EXPECT_EQ(f.PlotTimeOriginJd, origin);
  auto xOf = [&](int32_t r) { return (s.ObsJd(r, kSet1) - origin) / 365.25 / 1; };  // "MT" 1 year a unit
  f.PickPoint(xOf(50) + 1e-9, true);
  EXPECT_EQ(f.PickedRow, 50);
  EXPECT_EQ(f.firstRecord.Text, "50");
  const CalendarDateResult picked = app.Astro.CalendarDateOf(s.ObsJd(50, kSet1));
  ASSERT_TRUE(picked.Ok);
  EXPECT_EQ(f.firstRecordYear.Text, std::to_string(picked.Date.Year));
  // The day to a millionth (an 80-column date's digits), not the double's 14 decimals.
  const std::string& day = f.firstRecordDay.Text;
  EXPECT_LE(day.size() - day.find(','), 7u) << day;
  EXPECT_NEAR(std::stod(std::string(day).replace(day.find(','), 1, ".")), picked.Date.Day, 5e-7);
  f.PickPoint(24.9, false);  // right of the last observation: the last row
  EXPECT_EQ(f.PickedRow, 300);
  EXPECT_EQ(f.lastRecord.Text, "300");
  ASSERT_TRUE(ui.messages.empty());
  f.PickPoint(-0.5, true);  // left of the first observation
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Не могу найти эту точку");
  EXPECT_EQ(ui.titles[0], "Planova3");
  EXPECT_EQ(f.firstRecord.Text, "50");
  ui.messages.clear();
  // A new pick replaces the line of the one before on its side: one red line a side.
  f.PickPoint(xOf(60) + 1e-9, true);
  EXPECT_EQ(std::count_if(f.plot.Items.begin(), f.plot.Items.end(),
                          [](const PictureItem& item) { return item.rgb == 0xFF0000; }),
            2);

  // "по данным": the run's points and running means all lie on a grid fitted to them, the
  // sample's ten years over most of its width, and a pick reads the fitted time axis.
  f.fitPlotToData.Value = true;
  f.firstRecord.Text = "1";
  f.lastRecord.Text = "300";
  Press("Сравнить данные наблюдений с");
  const PlotAxes& a = f.plot.Axes;
  ASSERT_TRUE(a.Fitted);
  size_t points = 0;
  for (const auto& item : f.plot.Items) {
    if (item.kind != PictureItem::Kind::kPoint) continue;
    ++points;
    EXPECT_FALSE(f.plot.PlaceOfMark(item.x1, item.y1).OffGrid) << item.x1 << " " << item.y1;
  }
  EXPECT_EQ(points, 4u * 300);
  EXPECT_GT(a.X(s.ObsJd(300, kSet1)) - a.X(s.ObsJd(1, kSet1)), 0.8 * (f.plot.Right - f.plot.Left));
  f.PickPoint(a.X(s.ObsJd(50, kSet1)) + 1e-9, true);
  EXPECT_EQ(f.PickedRow, 50);
  EXPECT_TRUE(ui.messages.empty());
}

// A box the run cannot use is named by its caption in the message and gets the focus;
// a decimal point is read as the decimal comma.
TEST_F(Window3, BadRunParametersAreRefusedNamingTheBox) {
  LoadFile();
  const struct {
    TextBox Window3Model::*box;
    const char* text;
    const char* control;
    const char* caption;
  } cases[] = {
      {&Window3Model::lastRecord, "7", "Text17", "по №2"},    // №1 = №2 = 7: the correction's slope is undefined
      {&Window3Model::lastRecord, "301", "Text17", "по №2"},  // past the loaded rows
      {&Window3Model::corrLFirstArcsec, "1,5x", "Text30", "dLn="},
      {&Window3Model::plotScaleYearsPerCm, "0", "Text19", "MT, лет/см"},  // a zero scale
      {&Window3Model::plotScaleArcsecPerCm, "two", "Text20", "MdP,  угл. сек / см"},
  };
  for (const auto& c : cases) {
    f.firstRecord.Text = "7";
    f.lastRecord.Text = "8";
    f.corrLFirstArcsec.Text = "0";
    f.plotScaleYearsPerCm.Text = "10";
    f.plotScaleArcsecPerCm.Text = "20";
    ui.messages.clear();
    ui.focused.clear();
    (f.*c.box).Text = c.text;
    Press("Сравнить данные наблюдений с");
    ASSERT_EQ(ui.messages.size(), 1u) << c.text;
    EXPECT_EQ(ui.messages[0], std::string("Введите правильно данные: ") + c.caption);
    EXPECT_EQ(ui.focused, std::vector<std::string>{std::string("Form4.") + c.control});
  }
  EXPECT_EQ(f.ComparedCount, 0);

  f.lastRecord.Text = "8";
  f.plotScaleArcsecPerCm.Text = "20";
  f.corrLFirstArcsec.Text = "1.5";
  f.plotScaleYearsPerCm.Text = "0.5";
  ui.messages.clear();
  Press("Сравнить данные наблюдений с");
  EXPECT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(f.CorrL1Deg, 1.5 / 3600);
  EXPECT_EQ(f.PlotYearsPerCm, 0.5);
}

// A step run whose rows or body changed under it (smaller arrays made, a body number
// typed before a load that failed) ends with a message instead of reading past them.
TEST_F(Window3, StepAfterTheDataChangedEndsTheRun) {
  for (int change = 0; change < 2; ++change) {
    LoadFile();
    f.firstRecord.Text = "1";
    f.lastRecord.Text = "300";
    f.stepByStep.Value = true;  // "По шагам"
    Press("Сравнить данные наблюдений с");
    ASSERT_EQ(f.ComparedCount, 1);
    if (change == 0) {
      f.arraySize.Text = "10";
      Press("Создать массивы с N=");
    } else {
      f.objectNumber.Text = "99";
      f.fileNumber.Text = "missing";
      Press("Загрузить в формате BDL");
      ui.messages.clear();
    }
    Press("сделать 1 шаг");
    ASSERT_EQ(ui.messages.size(), 1u) << change;
    EXPECT_EQ(ui.messages[0], "Данные сравнения изменились: начните сравнение заново");
    Press("сделать 1 шаг");
    EXPECT_EQ(ui.messages.back(), "Сравнение закончено: следующей записи нет");
    EXPECT_EQ(f.ComparedCount, 1);
    ui.messages.clear();
    f.arraySize.Text = "4000";
    f.objectNumber.Text = "11";
    f.fileNumber.Text = "40";
  }
}

}  // namespace
}  // namespace planova
