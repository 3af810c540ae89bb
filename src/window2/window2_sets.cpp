// Window 2's whole-set buttons: "Почистить", "Упорядочить данные", "Изменить время",
// "Объединить данные 1 и данные 2" and "Показать изменения".
#include <algorithm>
#include <cmath>

#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "window2/data_sets.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

// JD written into row 1 of a data set that the merge has used up, so that the other
// set always comes first.
constexpr double kExhaustedJd = 3222111.0;


// Row `out` of data set 3 from row h1 of set 1, from row h2 of set 2, or from both: one
// record seen in both sets gives the mean, where a zero coordinate means "not observed"
// (a right-ascension file and a declination file merge into whole records), with the note
// of set 1 and its station (set 2's when set 1's names none).  The uncertainties go with
// their coordinates: those of the set that gave it, and for a mean of two the mean's,
// sqrt(s1^2 + s2^2) / 2.
void WriteMergedRow(ObservationStore& s, int32_t out, int32_t h1, bool from1, int32_t h2, bool from2) {
  if (from1 != from2) {  // a record of one set only: the whole record as it is
    s.CopyRecord(from1 ? h1 : h2, from1 ? kSet1 : kSet2, out, kSet3);
    return;
  }
  if (s.HasSigmas()) {
    const auto merged = [](double lon1, double lon2, float s1, float s2) {
      if (lon1 == 0) return s2;
      if (lon2 == 0) return s1;
      return s1 > 0 && s2 > 0 ? static_cast<float>(std::sqrt(double{s1} * s1 + double{s2} * s2) / 2) : 0.0f;
    };
    s.ObsSigmaRa(out, kSet3) = merged(s.ObsLon(h1, kSet1), s.ObsLon(h2, kSet2), s.ObsSigmaRa(h1, kSet1), s.ObsSigmaRa(h2, kSet2));
    s.ObsSigmaDec(out, kSet3) =
        merged(s.ObsLat(h1, kSet1), s.ObsLat(h2, kSet2), s.ObsSigmaDec(h1, kSet1), s.ObsSigmaDec(h2, kSet2));
  }
  double lon1 = s.ObsLon(h1, kSet1), lon2 = s.ObsLon(h2, kSet2);
  double lat1 = s.ObsLat(h1, kSet1), lat2 = s.ObsLat(h2, kSet2);
  s.ObsNote(out, kSet3) = s.ObsNote(h1, kSet1);
  const StationCode& station1 = s.ObsStation(h1, kSet1);
  s.ObsStation(out, kSet3) = station1.empty() ? s.ObsStation(h2, kSet2) : station1;
  const double jd1 = s.ObsJd(h1, kSet1), jd2 = s.ObsJd(h2, kSet2);
  s.ObsJd(out, kSet3) = (jd1 + jd2) / 2;
  // The mean of two dates is a computed date, unless both are one source time.
  s.ObsExactTime(out, kSet3) = jd1 == jd2 && s.ObsExactTime(h1, kSet1) != 0 && s.ObsExactTime(h2, kSet2) != 0;
  s.ObsLon(out, kSet3) = (lon1 + lon2) / 2;
  s.ObsLat(out, kSet3) = (lat1 + lat2) / 2;
  if (lon1 == 0) s.ObsLon(out, kSet3) = lon2;
  if (lon2 == 0) s.ObsLon(out, kSet3) = lon1;
  if (lat1 == 0) s.ObsLat(out, kSet3) = lat2;
  if (lat2 == 0) s.ObsLat(out, kSet3) = lat1;
}

// Column `col` (n rows, `taken` of them merged) is left as taking records from its
// head leaves it: the records not taken move up to row 1, the rows behind them repeat
// the last record, and a set used up shows the exhausted date in row 1.
void SettleAfterMerge(ObservationStore& s, int col, int32_t n, int32_t taken) {
  if (taken <= 0 || n <= 0) return;
  for (int32_t r = 1; r <= n - taken; ++r) s.CopyRecord(r + taken, col, r, col);
  for (int32_t r = n - taken + 1; r < n; ++r) s.CopyRecord(n, col, r, col);
  if (taken >= n) {
    s.ObsJd(1, col) = kExhaustedJd;
    s.ObsExactTime(1, col) = 0;
  }
}

}  // namespace

void Window2Model::Clean() {
  RequireArrays();
  // The time tolerance of "при dT, сек= ", in days.
  double tau = 0;
  if (!TryBoxReal(toleranceSeconds, tau)) Refuse(toleranceSeconds, kSetDataRightMessage);
  tau = tau / 3600 / 24;
  int32_t count = std::min(Count1, Store.ObsJd.Rows());
  std::vector<CleanRemoval> removals;
  int32_t left = CleanDuplicateDates(Store, count, tau, removals);
  ProcessLog.clear();
  for (const auto& r : removals) {
    const CalendarDateResult c = Astro.CalendarDateOf(r.keptJd);
    if (!c.Ok) Ui().ShowMessage(kWrongJdMessage);
    ProcessLog += kCrLf + std::to_string(r.keptRow) + "  " + RealText(c.Date.Day) + " . " +
                  std::to_string(c.Date.Month) + " . " + std::to_string(c.Date.Year);
  }
  progress.Value = 100;
  // The cleaned set is what every later operation works on.
  Count1 = left;
  Count3 = left;
  lastRow.Text = std::to_string(left);
  reportPane.Text = "удалено  " + std::to_string(removals.size()) + "  записей с этими датами" + kCrLf + ProcessLog;
}

void Window2Model::Sort() {
  RequireArrays();
  int32_t count = std::min(Count1, Store.ObsJd.Rows());
  SortByDate(Store, count, !sortDescending.Value);
  progress.Value = 100;
  reportPane.Text = "упорядочена  " + std::to_string(std::max(count, 0)) + "  запись";
}

void Window2Model::ChangeTime() {
  RequireArrays();
  double lonDeg = 0;
  if (shiftLtMinusUt.Value && !TryBoxReal(observatoryLonDeg, lonDeg)) {
    Refuse(observatoryLonDeg, kSetDataRightMessage);
  }
  int32_t count = std::min(Count1, Store.ObsJd.Rows());
  for (int32_t i = 1; i <= count; ++i) {
    const double jd = Store.ObsJd(i, kSet1);
    Store.ObsJd(i, kSet2) = Store.ObsJd(i, kSet1);
    Store.ObsExactTime(i, kSet2) = Store.ObsExactTime(i, kSet1);
    if (shiftHalfDay.Value) {
      if (shiftPlus.Value) Store.ObsJd(i, kSet1) = Store.ObsJd(i, kSet1) + 0.5;
      if (shiftMinus.Value) Store.ObsJd(i, kSet1) = Store.ObsJd(i, kSet1) - 0.5;
    }
    if (shiftEtMinusUt.Value) {
      double dtSeconds = Astro.DeltaTSeconds(jd, DeltaTModel::kPiecewise);
      etMinusUtSeconds.Text = RealText(dtSeconds);
      if (shiftPlus.Value) Store.ObsJd(i, kSet1) = Store.ObsJd(i, kSet1) + dtSeconds / 24 / 3600;
      if (shiftMinus.Value) Store.ObsJd(i, kSet1) = Store.ObsJd(i, kSet1) - dtSeconds / 24 / 3600;
    }
    if (shiftLtMinusUt.Value) {
      double shiftDays = std::fabs(lonDeg) / 15 / 24;
      if (shiftMinus.Value) shiftDays = -shiftDays;
      Store.ObsJd(i, kSet1) = Store.ObsJd(i, kSet1) + shiftDays;
      etMinusUtSeconds.Text = RealText(shiftDays * 24);
    }
    if (!std::isfinite(Store.ObsJd(i, kSet1))) {
      // A date the time scales cannot take (a generated set over absurd years): the
      // record keeps its date and the change stops here.
      Store.ObsJd(i, kSet1) = Store.ObsJd(i, kSet2);
      Ui().ShowMessage("Ошибка в расчетах");
      count = i - 1;
      break;
    }
    // A shifted date is a computed one: it is written truncated, as before the change.
    if (Store.ObsJd(i, kSet1) != jd) Store.ObsExactTime(i, kSet1) = 0;
    Store.ObsJd(i, kSet3) = Store.ObsJd(i, kSet1);
    Store.ObsExactTime(i, kSet3) = Store.ObsExactTime(i, kSet1);
    progress.Value = static_cast<int>(static_cast<int64_t>(i) * 100 / count);
  }
  EpochLabel2 = EpochLabel1;
  EpochLabel3 = EpochLabel1;
  reportPane.Text = "изменено время в  " + std::to_string(std::max(count, 0)) + "  записях";
}

// How far a merge took each set: h1 and h2 are the rows of sets 1 and 2 that stand
// first, `written` the rows of set 3, `matches` the dates found in both sets.
struct Window2Model::MergeHeads {
  int32_t h1 = 1, h2 = 1, written = 0, matches = 0;
  bool stopped = false;  // "Stop" was pressed
  bool full = false;     // set 3 has no row left
};

void Window2Model::Merge() {
  reportPane.Text.clear();
  StopRequested = 0;
  double tau = 0;
  if (!TryBoxReal(toleranceSeconds, tau)) Refuse(toleranceSeconds, kSetDataRightMessage);
  tau = tau / 3600 / 24;
  const int32_t rows = Store.ObsJd.Rows();
  const int32_t n1 = std::clamp(Count1, 0, std::max(rows, 0)), n2 = std::clamp(Count2, 0, std::max(rows, 0));
  if (Count1 + Count2 <= 0 || (Store.Exists() && n1 + n2 <= 0)) throw Refusal{"Надо загрузить данные", {}};
  RequireArrays();
  ProcessLog = std::string("РЕЗУЛЬТАТ КОМПИЛЯЦИИ") + kCrLf;
  Count3 = n1 + n2;
  Store.Unsaved = "объединённые данные окна 2";

  const MergeHeads m = MergeByDate(n1, n2, tau);
  SettleAfterMerge(Store, kSet1, n1, m.h1 - 1);
  SettleAfterMerge(Store, kSet2, n2, m.h2 - 1);
  Count1 = n1 - (m.h1 - 1);
  Count2 = n2 - (m.h2 - 1);

  if (m.full || m.stopped) {
    // Data set 3 is what was merged so far.
    Count3 = m.written;
    lastRow.Text = std::to_string(Count3);
    reportPane.Text = ProcessLog;
    if (m.full) Ui().ShowMessage("Увеличьте массивы данных");
    return;
  }
  // The bar counts written rows against both sets' sizes; matched dates make fewer rows.
  progress.Value = 100;
  ProcessLog += kCrLf + std::string("совпадений в датах ") + std::to_string(m.matches);
  reportPane.Text = ProcessLog;
  Count3 = Count3 - m.matches;
  lastRow.Text = std::to_string(Count3);
}

// Both sets are taken from their heads, the earlier date first and two dates within
// tauDays as one record.  A set that is used up (or was empty) is never taken from
// again, whatever the tolerance or the other set's dates: the other set comes first.
Window2Model::MergeHeads Window2Model::MergeByDate(int32_t n1, int32_t n2, double tauDays) {
  const int32_t rows = Store.ObsJd.Rows();
  MergeHeads m;
  while (true) {
    const bool have1 = m.h1 <= n1, have2 = m.h2 <= n2;
    double jd1 = have1 ? Store.ObsJd(m.h1, kSet1) : 0, jd2 = have2 ? Store.ObsJd(m.h2, kSet2) : 0;
    int takeFrom1 = have1 && !(have2 && jd2 < jd1) ? 1 : 0;
    int takeFrom2 = 1 - takeFrom1;
    if (have1 && have2 && std::fabs(jd1 - jd2) <= tauDays) {
      takeFrom1 = takeFrom2 = 1;
      ++m.matches;
    }
    int32_t out = m.written + 1;
    WriteMergedRow(Store, out, m.h1, takeFrom1, m.h2, takeFrom2);
    if (takeFrom1) ++m.h1;
    if (takeFrom2) ++m.h2;
    if (showLines.Value) ProcessLog += MergeLine(out, takeFrom1, takeFrom2) + kCrLf;
    progress.Value = static_cast<int>(static_cast<int64_t>(m.written) * 100 / Count3);
    m.written = m.written + 1;
    if (m.h1 > n1 && m.h2 > n2) break;
    if (m.written > rows - 1) {
      m.full = true;
      break;
    }
    if (StopRequested == 1) {
      m.stopped = true;
      break;
    }
    Ui().ProcessEvents();
  }
  return m;
}

void Window2Model::ShowChanges() {
  ProcessLog = std::string("2 - исходные данные   1 и 3 - преобразованные  ") + kCrLf +
               "(если показываются изменения после сравнения, " + "то 1 и 3- это 1-е данные, а 2- это 2-е данные)" +
               kCrLf + "(если показываются изменения после сравнения теорий, " +
               "то 1 - это 1-е данные, а 3- это 2-е данные)" + kCrLf +
               "(если показываются изменения после объединения, " +
               "то 1 - это 1-е данные, 2- это 2-е данные, а 3- это суммарные)" + kCrLf + kCrLf;
  reportPane.Text.clear();
  int32_t count = Store.Exists() ? std::min(Count3, Store.ObsJd.Rows()) : 0;
  const std::string* labels[] = {nullptr, &EpochLabel1, &EpochLabel2, &EpochLabel3};
  // A set that a merge used up holds no records any more (its row 1 says so by the
  // exhausted date): its rows are not shown as if they were data.
  bool usedUp[4] = {};
  for (int k = kSet1; k <= kSet2; ++k) {
    usedUp[k] = count > 0 && Store.ObsJd(1, k) == kExhaustedJd;
    if (usedUp[k]) ProcessLog += "целиком вошли в объединение данные " + std::to_string(k) + kCrLf;
  }
  if (usedUp[kSet1] || usedUp[kSet2]) ProcessLog += kCrLf;
  for (int32_t i = 1; i <= count; ++i) {
    for (int k = kSet1; k <= kSet3; ++k) {
      if (usedUp[k]) continue;
      std::string d = std::to_string(k);
      ProcessLog += Format(i, "0000") + "     JD" + d + "=  " + Format(Store.ObsJd(i, k), "0000000.0000") + "   L" + d +
                    "=  " + Format(Store.ObsLon(i, k), "000.00000") + "   B" + d + "=  " +
                    Format(Store.ObsLat(i, k), "00.00000") + "    E= " + *labels[k] + kCrLf;
    }
    ProcessLog += kCrLf;
  }
  reportPane.Text = ProcessLog;
}

}  // namespace planova
