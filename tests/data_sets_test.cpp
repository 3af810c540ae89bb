// Window 2's whole-set operations: cleaning, sorting, time changes, merging and the
// report of changes.  The fast clean and sort are checked against a direct row-shifting
// transcription of the window's procedure on random sets with ties and near-ties.
#include <gtest/gtest.h>

#include <random>

#include "app/application.h"
#include "astro/time.h"
#include "test_support.h"
#include "window2/data_sets.h"

namespace planova {
namespace {

using test::RecordingPlatform;

struct Rec {
  double jd, lon, lat;
  std::string note;
  bool operator==(const Rec& o) const { return jd == o.jd && lon == o.lon && lat == o.lat && note == o.note; }
};

// The clean as the window describes it, shifting rows one by one: a removal moves every
// later record up one row (whole records), the scan then goes on with the next row, and
// only rows of the current set are compared.
std::vector<Rec> TranscribedClean(std::vector<Rec> rows, double tau, std::vector<CleanRemoval>& log) {
  rows.insert(rows.begin(), Rec{});  // 1-based
  int count = static_cast<int>(rows.size()) - 1;
  const int passes = count;
  for (int i = 1; i <= passes; ++i) {
    for (int j = i + 1; j <= count; ++j) {
      if (std::fabs(rows[i].jd - rows[j].jd) < tau) {
        --count;
        for (int m = j; m <= count; ++m) rows[m] = rows[m + 1];
        log.push_back({i, rows[i].jd});
      }
    }
  }
  return std::vector<Rec>(rows.begin() + 1, rows.begin() + 1 + count);
}

// The sort as the window describes it: repeatedly pick the earliest (or latest) time left
// in the pool, the first one found among equals, and find its record by equal time.
std::vector<Rec> TranscribedSort(const std::vector<Rec>& rows, bool ascending) {
  std::vector<double> pool;
  for (const auto& r : rows) pool.push_back(r.jd);
  std::vector<Rec> out;
  while (!pool.empty()) {
    size_t pick = 0;
    for (size_t i = 0; i < pool.size(); ++i) {
      if (ascending ? pool[i] < pool[pick] : pool[i] > pool[pick]) pick = i;
    }
    size_t row = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
      if (rows[r].jd == pool[pick]) row = r;
    }
    out.push_back(rows[row]);
    pool.erase(pool.begin() + static_cast<long>(pick));
  }
  return out;
}

// Whether Fill marks a record's time as its source's: by its note, so that the mark can
// be checked wherever the record goes.
uint8_t ExactOf(const std::string& note) { return !note.empty() && note.back() % 2 == 1; }

void Fill(ObservationStore& s, const std::vector<Rec>& recs) {
  s.Recreate(static_cast<int32_t>(recs.size()) + 5);
  for (size_t k = 0; k < recs.size(); ++k) {
    int32_t r = static_cast<int32_t>(k) + 1;
    for (int col : {1, 3}) {
      s.ObsJd(r, col) = recs[k].jd;
      s.ObsLon(r, col) = recs[k].lon;
      s.ObsLat(r, col) = recs[k].lat;
      s.ObsNote(r, col) = recs[k].note;
      s.ObsStation(r, col) = StationCode(recs[k].note);
      s.ObsExactTime(r, col) = ExactOf(recs[k].note);
    }
  }
}

std::vector<Rec> Column(const ObservationStore& s, int col, int32_t n) {
  std::vector<Rec> out;
  for (int32_t r = 1; r <= n; ++r) {
    out.push_back({s.ObsJd(r, col), s.ObsLon(r, col), s.ObsLat(r, col), s.ObsNote(r, col)});
    // The station and the exactness Fill gave the record (from its note) moved with it.
    EXPECT_EQ(s.ObsStation(r, col), StationCode(out.back().note)) << "row " << r << " of column " << col;
    EXPECT_EQ(s.ObsExactTime(r, col), ExactOf(out.back().note)) << "row " << r << " of column " << col;
  }
  return out;
}

// Random sets whose dates cluster, so that many pairs fall just inside or just outside
// the tolerance, and some are exactly equal.
std::vector<Rec> RandomSet(std::mt19937& rng, int n, double tau) {
  std::uniform_int_distribution<int> base(0, n / 3 + 1), kind(0, 5);
  std::uniform_real_distribution<double> frac(-2.0, 2.0);
  std::vector<Rec> recs;
  for (int k = 0; k < n; ++k) {
    double jd = 2451545.0 + base(rng) * 3 * tau;
    switch (kind(rng)) {
      case 0: break;                                  // exact tie with its cluster
      case 1: jd += tau; break;                       // exactly one tolerance away
      case 2: jd += tau * (1 - 1e-9); break;          // just inside
      default: jd += frac(rng) * tau; break;
    }
    recs.push_back({jd, k * 1.0, -k * 0.5, "n" + std::to_string(k)});
  }
  return recs;
}

TEST(DataSets, CleanMatchesTheRowShiftingProcedure) {
  std::mt19937 rng(20261208);
  const double tau = 1.5 / 86400;
  for (int trial = 0; trial < 300; ++trial) {
    int n = 1 + trial % 40;
    auto recs = RandomSet(rng, n, tau);
    std::vector<CleanRemoval> wantLog, gotLog;
    auto want = TranscribedClean(recs, tau, wantLog);
    ObservationStore s;
    Fill(s, recs);
    int32_t left = CleanDuplicateDates(s, n, tau, gotLog);
    ASSERT_EQ(left, static_cast<int32_t>(want.size())) << "trial " << trial;
    EXPECT_EQ(Column(s, 1, left), want) << "trial " << trial;
    EXPECT_EQ(Column(s, 3, left), want) << "trial " << trial;
    ASSERT_EQ(gotLog.size(), wantLog.size());
    for (size_t k = 0; k < gotLog.size(); ++k) {
      EXPECT_EQ(gotLog[k].keptRow, wantLog[k].keptRow);
      EXPECT_EQ(gotLog[k].keptJd, wantLog[k].keptJd);
    }
  }
}

TEST(DataSets, CleanKeepsCoordinatesWithTheirDates) {
  // 0, 0.5, 100 and 200 s with a tolerance of 1.5 s: only the 0.5 s record goes, and a
  // later sort still finds 30 degrees at 100 s.
  const double s = 1.0 / 86400;
  std::vector<Rec> recs = {{2451545.0, 10, 1, "a"}, {2451545.0 + 0.5 * s, 20, 2, "b"},
                           {2451545.0 + 100 * s, 30, 3, "c"}, {2451545.0 + 200 * s, 40, 4, "d"}};
  ObservationStore st;
  Fill(st, recs);
  std::vector<CleanRemoval> log;
  ASSERT_EQ(CleanDuplicateDates(st, 4, 1.5 * s, log), 3);
  SortByDate(st, 3, true);
  EXPECT_EQ(st.ObsLon(2, kSet1), 30.0);
  EXPECT_EQ(st.ObsJd(2, kSet1), recs[2].jd);

  // 0, 0.5, 100, 0.9 s: the 100 s record duplicates nothing and stays.
  recs[3] = {2451545.0 + 0.9 * s, 40, 4, "d"};
  Fill(st, recs);
  ASSERT_EQ(CleanDuplicateDates(st, 4, 1.5 * s, log), 2);
  EXPECT_EQ(st.ObsLon(1, kSet1), 10.0);
  EXPECT_EQ(st.ObsLon(2, kSet1), 30.0);
}

TEST(DataSets, CleanAtExactlyTheTolerance) {
  const double tau = 1.5 / 86400;
  std::vector<Rec> recs = {{2451545.0, 1, 1, ""}, {2451545.0 + tau, 2, 2, ""}, {2451545.0 + tau / 1.5 * 4, 3, 3, ""}};
  ObservationStore st;
  Fill(st, recs);
  std::vector<CleanRemoval> log;
  EXPECT_EQ(CleanDuplicateDates(st, 3, tau, log), 3);  // strictly less than tau removes
}

TEST(DataSets, CleanHandlesLargeSets) {
  std::mt19937 rng(7);
  const double tau = 1.5 / 86400;
  std::vector<Rec> recs;
  std::uniform_real_distribution<double> day(0, 2000);
  for (int k = 0; k < 40000; ++k) recs.push_back({2440000.0 + day(rng), 1, 1, ""});
  recs.push_back(recs[123]);  // one exact repeat beyond row 32 767
  ObservationStore st;
  Fill(st, recs);
  std::vector<CleanRemoval> log;
  int32_t left = CleanDuplicateDates(st, static_cast<int32_t>(recs.size()), tau, log);
  EXPECT_LE(left, 40000);
  EXPECT_GE(log.size(), 1u);
}

// Each column is a block of its own, mapped from the system when large: a column never
// written reads as zero (or an empty note), a copy is whole and independent, and
// "Создать массивы с N=" gives zeroed columns again.
TEST(DataSets, StoreColumnsAreIndependentAndCopyWhole) {
  ObservationStore st;
  ASSERT_TRUE(st.RecreateFromText("300000"));  // 2.4 MB a column of dates: a mapped block
  const int32_t last = st.ObsJd.Rows();
  for (const int32_t i : {0, 1, last}) {
    st.ObsJd(i, kSet1) = 2451545.0 + i;
    st.ObsNote(i, kSet1) = "заметка";
    st.ObsStation(i, kSet1) = StationCode("C51");
  }
  const ObservationStore& view = st;
  EXPECT_EQ(view.ObsJd(last, kSet2), 0.0);
  EXPECT_TRUE(view.ObsNote(last, kSet2).empty());
  EXPECT_TRUE(view.ObsStation(last, kSet3).empty());
  ObservationStore copy = st;
  st.ObsJd(last, kSet1) = 0;
  st.ObsNote(1, kSet1) = "";
  EXPECT_EQ(copy.ObsJd(last, kSet1), 2451545.0 + last);
  EXPECT_EQ(copy.ObsNote(1, kSet1).str(), "заметка");
  EXPECT_EQ(copy.ObsStation(last, kSet1).view(), "C51");
  ObservationStore moved = std::move(copy);
  EXPECT_EQ(moved.ObsJd(0, kSet1), 2451545.0);
  ASSERT_TRUE(moved.RecreateFromText("10"));
  EXPECT_EQ(moved.ObsJd(1, kSet1), 0.0);
  EXPECT_TRUE(moved.ObsNote(1, kSet1).empty());
}

TEST(DataSets, SortMatchesTheSelectionProcedureAndKeepsTies) {
  std::mt19937 rng(42);
  for (int trial = 0; trial < 200; ++trial) {
    int n = 1 + trial % 30;
    std::uniform_real_distribution<double> day(0, 10);
    std::vector<Rec> recs;
    for (int k = 0; k < n; ++k) recs.push_back({2451545.0 + day(rng), k * 1.0, k * 2.0, std::to_string(k)});
    for (bool ascending : {true, false}) {
      ObservationStore s;
      Fill(s, recs);
      SortByDate(s, n, ascending);
      EXPECT_EQ(Column(s, 1, n), TranscribedSort(recs, ascending));
      EXPECT_EQ(Column(s, 3, n), TranscribedSort(recs, ascending));
    }
  }
  // Equal times: every record stands once, in the order it was loaded.
  std::vector<Rec> ties = {{3, 1, 0, "a"}, {1, 2, 0, "b"}, {3, 3, 0, "c"}, {2, 4, 0, "d"}, {3, 5, 0, "e"}};
  ObservationStore s;
  Fill(s, ties);
  SortByDate(s, 5, true);
  std::vector<std::string> order;
  for (const auto& r : Column(s, 1, 5)) order.push_back(r.note);
  EXPECT_EQ(order, (std::vector<std::string>{"b", "d", "a", "c", "e"}));
  SortByDate(s, 5, false);
  order.clear();
  for (const auto& r : Column(s, 3, 5)) order.push_back(r.note);
  EXPECT_EQ(order, (std::vector<std::string>{"a", "c", "e", "d", "b"}));
}

struct Window2Sets : ::testing::Test {
  RecordingPlatform ui;
  Application app{ui};
  Window2Model& f = app.window2;
  void SetUp() override {
    app.ShowForm("Form2");
    f.arraySize.Text = "20";
    Press("Создать массивы с N=");
  }
  void Press(const std::string& caption) {
    test::PressButton(f, caption, ui);
  }
  void LoadSet(int col, const std::vector<double>& jds) {
    for (size_t k = 0; k < jds.size(); ++k) {
      int32_t r = static_cast<int32_t>(k) + 1;
      app.Store.ObsJd(r, col) = jds[k];
      app.Store.ObsLon(r, col) = 10.0 * col + static_cast<double>(k);
      app.Store.ObsLat(r, col) = -1.0 * col;
      if (col == 1) {
        app.Store.ObsJd(r, kSet3) = jds[k];
        app.Store.ObsLon(r, kSet3) = app.Store.ObsLon(r, kSet1);
        app.Store.ObsLat(r, kSet3) = app.Store.ObsLat(r, kSet1);
      }
    }
    (col == 1 ? f.Count1 : f.Count2) = static_cast<int32_t>(jds.size());
    if (col == 1) f.Count3 = f.Count1;
  }
};

TEST_F(Window2Sets, CleanReportsAndSetsTheCounts) {
  const double s = 1.0 / 86400;
  LoadSet(1, {2451545.0, 2451545.0 + 1 * s, 2451545.0 + 10 * s, 2451545.0 + 11 * s, 2451545.0 + 12 * s});
  Press("Почистить");
  EXPECT_EQ(f.Count1, 3);
  EXPECT_EQ(f.Count3, 3);
  EXPECT_EQ(f.lastRow.Text, "3");
  EXPECT_EQ(f.reportPane.Text.rfind("удалено  2  записей с этими датами\r\n\r\n1  1,5 . 1 . 2000\r\n2  ", 0), 0u)
      << f.reportPane.Text;
}

TEST_F(Window2Sets, SortAndTimeChanges) {
  LoadSet(1, {2451547.0, 2451545.0, 2451546.0});
  Press("Упорядочить данные");
  EXPECT_EQ(app.Store.ObsJd(1, kSet1), 2451545.0);
  EXPECT_EQ(app.Store.ObsJd(3, kSet3), 2451547.0);
  EXPECT_EQ(app.Store.ObsLon(1, kSet1), 11.0);  // the record's own longitude came along
  EXPECT_EQ(f.reportPane.Text, "упорядочена  3  запись");
  f.ChooseOption(f.sortDescending);
  Press("Упорядочить данные");
  EXPECT_EQ(app.Store.ObsJd(1, kSet3), 2451547.0);

  f.ChooseOption(f.shiftHalfDay);  // "12"
  f.ChooseOption(f.shiftPlus);  // "+"
  Press("Изменить время");
  EXPECT_EQ(app.Store.ObsJd(1, kSet1), 2451547.5);
  EXPECT_EQ(app.Store.ObsJd(1, kSet2), 2451547.0);
  EXPECT_EQ(app.Store.ObsJd(1, kSet3), 2451547.5);
  EXPECT_EQ(f.reportPane.Text, "изменено время в  3  записях");

  f.ChooseOption(f.shiftLtMinusUt);  // "LT- UT" at the USNO longitude
  f.observatoryLonDeg.Text = "-75,527";
  Press("Изменить время");
  EXPECT_NEAR(app.Store.ObsJd(1, kSet1) - 2451547.5, 75.527 / 360, 1e-9);
  EXPECT_EQ(f.etMinusUtSeconds.Text.substr(0, 7), "5,03513");

  f.ChooseOption(f.shiftEtMinusUt);  // "ET- UT", piecewise, subtracted
  f.ChooseOption(f.shiftMinus);
  double before = app.Store.ObsJd(2, kSet1);
  double dt = DeltaTPiecewiseAt(before);
  Press("Изменить время");
  EXPECT_NEAR((before - app.Store.ObsJd(2, kSet1)) * 86400, dt, 1e-4);
}

TEST_F(Window2Sets, MergeByTime) {
  const double s = 1.0 / 86400;
  double t0 = 2451545.0;
  LoadSet(1, {t0 + 10 * s, t0 + 20 * s});
  LoadSet(2, {t0 + 15 * s, t0 + 20.5 * s});
  f.showLines.Value = false;
  Press("Объединить данные 1 и данные 2");
  EXPECT_EQ(f.Count3, 3);
  EXPECT_EQ(f.lastRow.Text, "3");
  EXPECT_EQ(f.Count1, 0);
  EXPECT_EQ(f.Count2, 0);
  EXPECT_EQ(app.Store.ObsJd(1, kSet3), t0 + 10 * s);
  EXPECT_EQ(app.Store.ObsJd(2, kSet3), t0 + 15 * s);
  EXPECT_DOUBLE_EQ(app.Store.ObsJd(3, kSet3), ((t0 + 20 * s) + (t0 + 20.5 * s)) / 2);
  EXPECT_EQ(app.Store.ObsLon(3, kSet3), (11.0 + 21.0) / 2);
  EXPECT_NE(f.reportPane.Text.find("совпадений в датах 1"), std::string::npos);
  EXPECT_EQ(f.reportPane.Text.rfind("РЕЗУЛЬТАТ КОМПИЛЯЦИИ", 0), 0u);
  // The merged set is not written: "Выход" asks, and No keeps the windows open.
  ui.answer = false;
  Press("Выход");
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], "Есть незаписанные данные (объединённые данные окна 2). Выйти без записи?");
  EXPECT_TRUE(app.IsOpen("Form2"));
  ui.answer = true;
  // Both sets are used up: row 1 carries the exhausted mark.
  EXPECT_EQ(app.Store.ObsJd(1, kSet1), 3222111.0);
  EXPECT_EQ(app.Store.ObsJd(1, kSet2), 3222111.0);

  // With data set 2 used up, a second merge copies data set 1 in order.
  LoadSet(1, {t0 + 3 * s, t0 + 1 * s});
  f.Count2 = 0;
  Press("Объединить данные 1 и данные 2");
  EXPECT_EQ(f.Count3, 2);
  EXPECT_EQ(app.Store.ObsJd(1, kSet3), t0 + 3 * s);
  EXPECT_EQ(app.Store.ObsJd(2, kSet3), t0 + 1 * s);
}

// A set that is used up is never taken from again: a tolerance that covers every date,
// a date past the used-up mark (year 5000) and an empty set 1 merge within the sets.
TEST_F(Window2Sets, MergeNeverStepsPastASet) {
  const double t0 = 2451545.0, year5000 = 3547731.5;
  struct Case {
    const char* tolerance;
    std::vector<double> set1, set2;
    int32_t merged;
    std::vector<double> dates;  // of data set 3
  };
  const Case cases[] = {
      {"1e300", {t0, t0 + 1, t0 + 2}, {t0 + 0.5, t0 + 3}, 3, {t0 + 0.25, t0 + 2, t0 + 2}},
      {"1,5", {t0, year5000}, {t0 + 1, t0 + 2}, 4, {t0, t0 + 1, t0 + 2, year5000}},
      {"1e300", {}, {t0, t0 + 1}, 2, {t0, t0 + 1}},
  };
  for (const Case& c : cases) {
    f.toleranceSeconds.Text = c.tolerance;
    LoadSet(1, c.set1);
    LoadSet(2, c.set2);
    Press("Объединить данные 1 и данные 2");
    EXPECT_EQ(f.Count3, c.merged) << c.tolerance;
    EXPECT_EQ(f.Count1, 0);
    EXPECT_EQ(f.Count2, 0);
    for (size_t k = 0; k < c.dates.size(); ++k) EXPECT_EQ(app.Store.ObsJd(static_cast<int32_t>(k) + 1, kSet3), c.dates[k]);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Window2Sets, MergeCompletesRightAscensionsWithDeclinations) {
  double t0 = 2451545.0;
  LoadSet(1, {t0});
  LoadSet(2, {t0});
  app.Store.ObsLat(1, kSet1) = 0;   // a file of right ascensions only
  app.Store.ObsLon(1, kSet2) = 0;   // and one of declinations only
  app.Store.ObsLat(1, kSet2) = -7;
  Press("Объединить данные 1 и данные 2");
  EXPECT_EQ(f.Count3, 1);
  EXPECT_EQ(app.Store.ObsLon(1, kSet3), 10.0);
  EXPECT_EQ(app.Store.ObsLat(1, kSet3), -7.0);
  // Both sets went whole into the merge: the report shows the merged record, not the
  // used-up sets' exhausted date.
  Press("Показать изменения");
  const std::string& t = f.reportPane.Text;
  EXPECT_NE(t.find("целиком вошли в объединение данные 1\r\n"), std::string::npos) << t;
  EXPECT_EQ(t.find("JD1="), std::string::npos) << t;
  EXPECT_NE(t.find("0001     JD3=  2451545,0000"), std::string::npos) << t;
}

TEST_F(Window2Sets, MergeMessages) {
  Press("Объединить данные 1 и данные 2");
  EXPECT_EQ(ui.messages.back(), "Надо загрузить данные");
  LoadSet(1, {2451545.0});
  f.toleranceSeconds.Text = "x";
  Press("Объединить данные 1 и данные 2");
  EXPECT_EQ(ui.messages.back(), "Задайте правильно данные: при dT, сек=");
  // More merged rows than the arrays hold: the message, and data set 3 is what fits.
  f.toleranceSeconds.Text = "1,5";
  std::vector<double> many, others;
  for (int k = 0; k < 15; ++k) many.push_back(2451545.0 + k);
  for (int k = 0; k < 15; ++k) others.push_back(2451545.5 + k);
  LoadSet(1, many);
  LoadSet(2, others);
  Press("Объединить данные 1 и данные 2");
  EXPECT_EQ(ui.messages.back(), "Увеличьте массивы данных");
  EXPECT_EQ(f.Count3, 20);
  EXPECT_EQ(f.Count1 + f.Count2, 10);
}

TEST_F(Window2Sets, ReportOfChanges) {
  LoadSet(1, {2451545.25});
  app.Store.ObsLon(1, kSet1) = app.Store.ObsLon(1, kSet3) = 5.5;
  app.Store.ObsLat(1, kSet1) = app.Store.ObsLat(1, kSet3) = -3.25;
  f.EpochLabel1 = "App";
  Press("Показать изменения");
  const std::string& t = f.reportPane.Text;
  EXPECT_NE(t.find("0001     JD1=  2451545,2500   L1=  005,50000   B1=  -03,25000    E= App\r\n"), std::string::npos) << t;
  EXPECT_NE(t.find("0001     JD2=  0000000,0000   L2=  000,00000   B2=  00,00000    E= \r\n"), std::string::npos);
  EXPECT_EQ(t.rfind("2 - исходные данные   1 и 3 - преобразованные  \r\n", 0), 0u);
}

TEST_F(Window2Sets, OperationsBeforeTheArraysExist) {
  RecordingPlatform ui2;
  Application fresh(ui2);
  fresh.ShowForm("Form2");
  fresh.window2.Count1 = 3;
  for (const char* b : {"Почистить", "Упорядочить данные", "Изменить время"}) {
    fresh.window2.FindButton(b)->Press();
    EXPECT_FALSE(ui2.messages.empty()) << b;
  }
}

}  // namespace
}  // namespace planova
