// The comparison run of window 2 with the two-body theory: a set generated from "JPL0"
// compared with "JPL0" gives zero differences, and the statistics and record files keep
// their layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "app/application.h"
#include "common/textfile.h"
#include "compare/comparison_run.h"
#include "compare/linear_fit.h"
#include "test_support.h"

namespace planova {
namespace {

using test::RecordingPlatform;

struct CompareTest : ::testing::Test {
  std::filesystem::path folder = test::FolderForThisTest("", true);
  RecordingPlatform ui{folder};
  Application app{ui};
  Window2Model& f = app.window2;

  void SetUp() override {
    app.ShowForm("Form2");
    f.arraySize.Text = "10";
    Press("Создать массивы с N=");
  }
  void Press(const std::string& caption) {
    test::PressButton(f, caption, ui);
  }
};

TEST_F(CompareTest, GeneratedTwoBodySetAgainstItsTheoryHasZeroDifferences) {
  f.ChooseOption(f.generateSet1);  // data 1: JPL0 (generated, 1861 to 2000)
  f.ChooseOption(f.theoryJpl0);    // data 2: JPL0
  f.showLines.Value = true;        // "+Текст"
  f.writeParamFile.Value = true;   // "+File"
  Press("Сравнить данные 1 с данными 2");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(f.Count1, 10);
  EXPECT_EQ(f.ComparedCount, 10);
  EXPECT_EQ(f.EpochLabel1, "J2000");
  EXPECT_TRUE(f.theoryJpl0.Value);  // the data-2 source chosen before the run is back
  EXPECT_EQ(f.SumAbsDLDeg, 0.0);
  EXPECT_EQ(f.SumAbsDBDeg, 0.0);
  EXPECT_EQ(f.progress.Value, 100);  // a finished run shows the bar whole

  std::string stat = test::ReadBytes(folder / "Dat" / "StatPARI11.txt");
  EXPECT_EQ(stat, test::ReadBytes(std::filesystem::path(PLANOVA_TEST_DATA) / "window2" / "Stat_zero_differences.txt"));

  std::string param = Cp1251ToUtf8(test::ReadBytes(folder / "Dat" / "Param_data_PARI11.txt"));
  const std::string head =
      "планета  № 11   обсерватория PARI\r\n\r\n\r\n"
      "№ п/п, дата наблюдения (день с часами, месяц, год, JD), разность по долготе, широте и времени\r\n\r\n";
  ASSERT_EQ(param.substr(0, head.size()), head);
  // Row 1: 1861 January 1.5, JD 2400777.0 (MJD 776.5).
  EXPECT_EQ(param.substr(head.size(), 47), " 1  1500  1000  1861000  2400777000  0  0  0 \r\n");

  // One comparison line per row, the first for 1861.
  EXPECT_EQ(f.reportPane.Text.rfind("0001   year= 1861   T1-T2 (sec)= 00000,000   L1-L2 (sec)= 00000,000   "
                                      "B1-B2 (sec)= 00000,000  JD= 2400777,000000  J2000\r\n",
                                      0),
            0u)
      << f.reportPane.Text;
  // The theory log of the last row has its seven stages.
  EXPECT_EQ(std::count(f.set2Pane.Text.begin(), f.set2Pane.Text.end(), '\n'), 7);
}

TEST_F(CompareTest, StepModeAndRefusals) {
  f.ChooseOption(f.generateSet1);
  f.ChooseOption(f.theoryJpl0);
  f.stepMode.Value = true;  // "По шагам"
  Press("Сравнить данные 1 с данными 2");
  EXPECT_EQ(f.ComparedCount, 1);
  EXPECT_EQ(f.CurrentIndex, 2);
  for (int k = 2; k <= 10; ++k) Press("сделать 1 шаг");
  EXPECT_EQ(f.ComparedCount, 10);
  EXPECT_TRUE(ui.messages.empty());
  Press("сделать 1 шаг");  // beyond the last row
  ASSERT_EQ(ui.messages.size(), 1u);

  f.colourDiffL.Text = "14";  // no such colour
  Press("Сравнить данные 1 с данными 2");
  EXPECT_EQ(ui.messages.back(), "Введите правильно данные: цвет dL");
  f.colourDiffL.Text = "2";
  f.plotScaleYearsPerCm.Text = "abc";
  Press("Сравнить данные 1 с данными 2");
  EXPECT_EQ(ui.messages.back(), "Введите правильно данные: MT, лет/см");
  EXPECT_EQ(ui.focused.back(), "Form2.Text19");
}

TEST_F(CompareTest, UnwritableParamFileIsNamedInTheMessage) {
  std::filesystem::remove_all(folder / "Dat");
  f.ChooseOption(f.generateSet1);
  f.ChooseOption(f.theoryJpl0);
  f.writeParamFile.Value = true;  // "+File"
  Press("Сравнить данные 1 с данными 2");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Ошибка записи в файл\r\n" + PathText(folder / "Dat" / "Param_data_PARI11.txt"));
  EXPECT_EQ(f.ComparedCount, 0);
}

// A generated set over absurd dates: one message for the run's dates, and a later time
// change stops at the first date it cannot take, with a message.
TEST_F(CompareTest, AbsurdDatesGiveOneMessage) {
  f.ChooseOption(f.generateSet1);
  f.ChooseOption(f.theoryJpl0);
  f.dateDay.Text = "-1e300";  // day of the first and last generated dates
  Press("Сравнить данные 1 с данными 2");
  EXPECT_EQ(std::count(ui.messages.begin(), ui.messages.end(), "Введите правильно юлианскую дату"), 1) << ui.messages.size();
  ui.messages.clear();
  f.ChooseOption(f.shiftEtMinusUt);  // "ET- UT"
  f.ChooseOption(f.shiftPlus);  // "+"
  Press("Изменить время");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Ошибка в расчетах");
}

// Both generation dates refused (a month beyond its 16-bit cell): a message for each, the
// run's files given up before a record is written, the data-2 choice back.
TEST_F(CompareTest, RefusedGenerationDatesEndTheRun) {
  f.ChooseOption(f.generateSet1);
  f.ChooseOption(f.theoryJpl2);
  f.writeParamFile.Value = true;  // "+File"
  f.dateMonth.Text = "40000";
  Press("Сравнить данные 1 с данными 2");
  EXPECT_EQ(ui.messages, std::vector<std::string>(2, "Введите правильно дату"));
  for (const auto& entry : std::filesystem::directory_iterator(folder / "Dat")) {
    EXPECT_NE(entry.path().filename().string().rfind("Param_data_", 0), 0u) << entry.path();  // nor its temporary file
  }
  EXPECT_EQ(f.ComparedCount, 0);
  EXPECT_TRUE(f.theoryJpl2.Value);
}

TEST_F(CompareTest, UnknownEpochLabelIsRefused) {
  f.plotScaleYearsPerCm.Text = "1";
  f.Count1 = 1;
  app.Store.ObsJd(1, kSet1) = 2451545.0;
  f.EpochLabel1 = "B1900";
  f.ChooseOption(f.theoryJpl0);
  Press("Сравнить данные 1 с данными 2");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("B1900"), std::string::npos);
  EXPECT_EQ(f.ComparedCount, 0);
  // With no data, that comes first.
  f.Count1 = 0;
  Press("Сравнить данные 1 с данными 2");
  EXPECT_EQ(ui.messages.back(), "Надо загрузить данные");
}

// A text of the user's (an epoch label typed with a comma or a quote) keeps the CSV
// record's field count: RFC 4180 quoting.
TEST(CsvFieldTest, TextFieldsAreQuotedWhereTheyWouldSplitTheRecord) {
  EXPECT_EQ(CsvField("App"), "App");
  EXPECT_EQ(CsvField("эпоха 1950"), "эпоха 1950");
  EXPECT_EQ(CsvField("J2000,0"), "\"J2000,0\"");
  EXPECT_EQ(CsvField("5\" пл"), "\"5\"\" пл\"");
  EXPECT_EQ(CsvField(" B1950"), "\" B1950\"");
  EXPECT_EQ(CsvFixedFieldsOf(11, "JPL2 DE405", "a,\"b"), "11,JPL2 DE405,\"a,\"\"b\"");
}

}  // namespace
}  // namespace planova

namespace planova {
namespace {

// The date index gives the record the plain scan of data set 2 gives: the last one, in
// the set's order, with |jd1 - jd2| <= tolerance; with repeated dates, a tolerance of 0,
// dates a tolerance apart exactly, NaN dates and tolerances that match nothing or all.
TEST(TimeMatchIndexTest, AgreesWithThePlainScan) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> day(0, 40);
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<double> jds(1 + trial % 37);
    for (size_t j = 1; j < jds.size(); ++j) jds[j] = 2451545.0 + day(rng) * 0.25;
    if (trial % 5 == 0 && jds.size() > 2) jds[1] = std::nan("");
    TimeMatchIndex index;
    index.Build(jds);
    for (double tolerance : {0.0, 0.25, 0.5, 3.0, -1.0, 1e300, std::nan("")}) {
      for (int k = -2; k <= 42; ++k) {
        double jd = 2451545.0 + k * 0.25;
        int32_t want = 0;
        for (size_t j = 1; j < jds.size(); ++j) {
          if (std::fabs(jd - jds[j]) <= tolerance) want = static_cast<int32_t>(j);
        }
        ASSERT_EQ(index.LastWithin(jd, tolerance), want) << trial << " " << tolerance << " " << jd;
      }
    }
  }
}

// The Stat file's interval of an absolute O-C is the one whose open span between two
// edges holds it, as a scan of the edges finds it: at every edge and on either side of
// it, at zero, NaN and beyond the last edge, and at random values; each compared record
// counts in that interval alone.
TEST(OcStatisticsTest, IntervalsAgreeWithTheScanOfTheEdges) {
  OcStatistics stats;
  stats.Reset();
  const auto& e = stats.IntervalEdgesDeg;
  std::vector<double> values = {0.0, -0.0, std::nan(""), 1e6, 1e300, INFINITY};
  for (size_t k = 0; k < 40; ++k) {
    for (double v : {e[k], std::nextafter(e[k], 0.0), std::nextafter(e[k], INFINITY)}) values.push_back(v);
  }
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> arcsec(0, 25);
  for (int i = 0; i < 20000; ++i) values.push_back(arcsec(rng) / 3600);
  for (bool latitude : {false, true}) {
    const size_t from = latitude ? 21 : 1, to = latitude ? 39 : 19;
    for (double d : values) {
      int32_t want = 0;
      for (size_t k = from; k <= to; ++k) {
        if (d > e[k - 1] && d < e[k]) want = static_cast<int32_t>(k);
      }
      ASSERT_EQ(stats.IntervalOf(d, latitude), want) << d << " " << latitude;
      OcStatistics one;
      one.Reset();
      one.Add(!latitude, latitude, d, d);
      double counted = 0;
      for (double c : one.IntervalCounts) counted += c;
      ASSERT_EQ(counted, want > 0 ? 1 : 0) << d;
      if (want > 0) {
        ASSERT_EQ(one.IntervalCounts[static_cast<size_t>(want)], 1) << d;
      }
    }
  }
}

// CSV numbers are printf's "%.*f" digits (correctly rounded, exact halves to even), with
// no minus before a value that rounds to zero and "+" before the others when asked:
// boundary cases a double holds exactly, decimals just off a half (1.005 is
// 1.00499999999999989...), and random values over the range of the whole
// numbers the digits are made from and beyond (those that round to zero are the table's).
TEST(CsvNumberTest, DigitsArePrintfsCorrectlyRounded) {
  const struct {
    double Value;
    int Decimals;
    const char* Text;
  } cases[] = {{0.5, 0, "0"},        {1.5, 0, "2"},         {2.5, 0, "2"},           {-2.5, 0, "-2"},
               {0.125, 2, "0.12"},   {0.375, 2, "0.38"},    {-0.0, 3, "0.000"},      {-0.0004, 3, "0.000"},
               {-0.0006, 3, "-0.001"}, {1.005, 2, "1.00"}, {2.675, 2, "2.67"}, {-0.0005, 3, "-0.001"},
               {4294967295.5, 0, "4294967296"}, {4294967296.0, 1, "4294967296.0"},
               {9007199254740993.0, 0, "9007199254740992"}, {1e-9, 9, "0.000000001"}, {123.456, -1, ""}};
  for (const auto& c : cases) EXPECT_EQ(CsvNumber(c.Value, c.Decimals), c.Text) << c.Value << " " << c.Decimals;
  char plus[kCsvNumberMax];
  EXPECT_EQ(std::string(plus, CsvNumberInto(plus, 0.25, 3, true)), "+0.250");
  EXPECT_EQ(std::string(plus, CsvNumberInto(plus, -0.0001, 3, true)), "+0.000");
  EXPECT_EQ(std::string(plus, CsvNumberInto(plus, -0.25, 3, true)), "-0.250");
  EXPECT_EQ(std::string(plus, CsvNumberInto(plus, 1e20, 1, true)), "+100000000000000000000.0");
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> decimals(0, 9), exponent(-6, 9);
  for (int i = 0; i < 200000; ++i) {
    const int d = decimals(rng);
    double v = unit(rng) * std::pow(10.0, exponent(rng) - (i % 2) * d);
    if (i % 3 == 0) v = std::ldexp(std::round(v * 1e6), -20);  // dyadic: exact halves among them
    char ref[400];
    std::snprintf(ref, sizeof ref, "%.*f", d, v);
    if (std::string_view(ref).find_first_not_of("-0.") == std::string_view::npos) continue;  // zero: the table's
    ASSERT_EQ(CsvNumber(v, d), ref) << v << " " << d;
  }
}

// A line of known offset and drift under Gaussian noise of known sigma, fitted in many
// seeded trials: the offset and the drift fall within their stated uncertainties as often
// as a normal error does (68 %), their errors correlate as the stated correlation says
// (the reference epoch at the first date makes them strongly correlated), and chi^2 per
// degree of freedom of the weighted fit is near 1.  Both with equal weights (the
// uncertainties scaled by the scatter) and with 1/sigma^2 weights of unequal sigmas.
TEST(LinearFitTest, RecoversAPlantedTrendWithinItsUncertainty) {
  constexpr double kOffset = 1.5, kDrift = -0.2, kT0 = 1980;  // ", "/year, year
  constexpr int kTrials = 400, kPoints = 40;
  for (bool withSigmas : {false, true}) {
    SCOPED_TRACE(withSigmas ? "1/sigma^2 weights" : "equal weights");
    std::mt19937 rng(withSigmas ? 11 : 5);
    std::uniform_real_distribution<double> date(1980, 2000), sigma(0.1, 1.0);
    int offsetWithin = 0, driftWithin = 0;
    double sumEaEb = 0, sumEa2 = 0, sumEb2 = 0, correlation = 0, chi2 = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
      LinearFitRequest request;
      request.ReferenceT = kT0;
      for (int k = 0; k < kPoints; ++k) {
        const double t = date(rng), s = withSigmas ? sigma(rng) : 0.3;
        request.Points.push_back({t, kOffset + kDrift * (t - kT0) + std::normal_distribution<double>(0, s)(rng),
                                  withSigmas ? s : 0.0});
      }
      const LinearFitResult fit = FitLinearTrend(request);
      ASSERT_TRUE(fit.Ok());
      ASSERT_EQ(fit.Weighted, withSigmas);
      ASSERT_EQ(fit.ReferenceT, kT0);
      const double ea = (fit.Offset - kOffset) / fit.OffsetSigma, eb = (fit.Drift - kDrift) / fit.DriftSigma;
      offsetWithin += std::fabs(ea) < 1;
      driftWithin += std::fabs(eb) < 1;
      sumEaEb += ea * eb;
      sumEa2 += ea * ea;
      sumEb2 += eb * eb;
      correlation += fit.Correlation / kTrials;
      EXPECT_NEAR(fit.Covariance, fit.Correlation * fit.OffsetSigma * fit.DriftSigma, 1e-12);
      if (withSigmas) chi2 += fit.ChiSquarePerDof / kTrials;
    }
    // 68 % of 400 trials, give or take three binomial sigmas (28).
    EXPECT_NEAR(offsetWithin, 273, 28);
    EXPECT_NEAR(driftWithin, 273, 28);
    EXPECT_LT(correlation, -0.7);  // the offset at the first date is anticorrelated with the drift
    EXPECT_NEAR(sumEaEb / std::sqrt(sumEa2 * sumEb2), correlation, 0.1);
    if (withSigmas) {
      EXPECT_NEAR(chi2, 1, 0.05);
    }
  }
}

// Values a double holds exactly: three points on a line give it with no scatter; two
// unweighted points give the line with unknown uncertainties; one point, or points all at
// one date, give none.
TEST(LinearFitTest, ExactLinesAndTooFewPoints) {
  LinearFitResult fit = FitLinearTrend({{{1, 1, 0}, {2, 3, 0}, {3, 5, 0}}});
  ASSERT_TRUE(fit.Ok());
  EXPECT_EQ(fit.ReferenceT, 2);  // the mean date
  EXPECT_EQ(fit.Offset, 3);
  EXPECT_EQ(fit.Drift, 2);
  EXPECT_EQ(fit.Rms, 0);
  EXPECT_EQ(fit.OffsetSigma, 0);
  EXPECT_EQ(fit.Correlation, 0);
  EXPECT_EQ(fit.At(4), 7);
  fit = FitLinearTrend({{{0, 1, 1}, {0, 1, 1}, {2, 5, 1}, {2, 5, 1}}});  // weighted: formal uncertainties
  ASSERT_TRUE(fit.Ok());
  EXPECT_TRUE(fit.Weighted);
  EXPECT_EQ(fit.OffsetSigma, 0.5);  // 1 / sqrt(4 points)
  EXPECT_EQ(fit.DriftSigma, 0.5);   // 1 / sqrt(sum (t - t0)^2 = 4)
  EXPECT_EQ(fit.ChiSquarePerDof, 0);
  fit = FitLinearTrend({{{1, 1, 0}, {3, 5, 0.5}}});  // one sigma missing: equal weights, no scatter to scale by
  ASSERT_TRUE(fit.Ok());
  EXPECT_FALSE(fit.Weighted);
  EXPECT_EQ(fit.Drift, 2);
  EXPECT_TRUE(std::isnan(fit.OffsetSigma));
  EXPECT_TRUE(std::isnan(fit.Correlation));
  EXPECT_EQ(FitLinearTrend({{{1, 1, 0}}}).Status, LinearFitStatus::kTooFewPoints);
  EXPECT_EQ(FitLinearTrend({}).Status, LinearFitStatus::kTooFewPoints);
  EXPECT_EQ(FitLinearTrend({{{2, 1, 0}, {2, 3, 0}}}).Status, LinearFitStatus::kOneEpoch);
}

}  // namespace
}  // namespace planova
