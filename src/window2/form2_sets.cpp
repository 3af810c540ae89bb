// Window 2's whole-set buttons: "Почистить", "Упорядочить данные", "Изменить время",
// "Объединить данные 1 и данные 2" and "Показать изменения".
#include <cmath>

#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "window2/data_sets.h"
#include "window2/form2.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

// JD written into row 1 of a data set that the merge has used up, so that the other
// set always comes first.
constexpr double kExhaustedJd = 3222111.0;

// Time tolerance of "при dT, сек= " in days; false for a text that is not a number.
bool ReadTolerance(const std::string& text, double& tauDays) {
  double seconds = 0;
  if (!TryParseReal(text, seconds)) return false;
  tauDays = seconds / 3600 / 24;
  return true;
}

}  // namespace

void Form2::Clean() {
  if (ArraysMissing()) return;
  double tau = 0;
  if (!ReadTolerance(Text5.Text, tau)) {
    Ui().ShowMessage("Задайте правильно данные");
    return;
  }
  int32_t count = std::min(Count1, Store.ObsJd.Rows());
  std::vector<CleanRemoval> removals;
  int32_t left = CleanDuplicateDates(Store, count, tau, removals);
  ProcessLog.clear();
  for (const auto& r : removals) {
    if (!CalendarFromJulianDate(Astro, r.keptJd)) Ui().ShowMessage(kWrongJdMessage);
    ProcessLog += kCrLf + std::to_string(r.keptRow) + "  " + RealText(Astro.CalDay) + " . " +
                  std::to_string(Astro.CalMonth) + " . " + std::to_string(Astro.CalYear);
  }
  ProgressBar1.Value = 100;
  // The cleaned set is what every later operation works on.
  Count1 = left;
  Count3 = left;
  Text17.Text = std::to_string(left);
  RichTextBox3.Text = "удалено  " + std::to_string(removals.size()) + "  записей с этими датами" + kCrLf + ProcessLog;
}

void Form2::Sort() {
  if (ArraysMissing()) return;
  int32_t count = std::min(Count1, Store.ObsJd.Rows());
  SortByDate(Store, count, !Option19.Value);
  ProgressBar1.Value = 100;
  RichTextBox3.Text = "упорядочена  " + std::to_string(std::max(count, 0)) + "  запись";
}

void Form2::ChangeTime() {
  if (ArraysMissing()) return;
  double lon = 0;
  if (Option26.Value && !TryParseReal(Text14.Text, lon)) {
    Ui().ShowMessage("Задайте правильно данные");
    return;
  }
  int32_t count = std::min(Count1, Store.ObsJd.Rows());
  for (int32_t i = 1; i <= count; ++i) {
    Astro.CurrentJd = Store.ObsJd(i, 1);
    Store.ObsJd(i, 2) = Store.ObsJd(i, 1);
    if (Option24.Value) {
      if (Option20.Value) Store.ObsJd(i, 1) = Store.ObsJd(i, 1) + 0.5;
      if (Option21.Value) Store.ObsJd(i, 1) = Store.ObsJd(i, 1) - 0.5;
    }
    if (Option25.Value) {
      double dt = DeltaTPiecewise(Astro);
      Text18.Text = RealText(dt);
      if (Option20.Value) Store.ObsJd(i, 1) = Store.ObsJd(i, 1) + dt / 24 / 3600;
      if (Option21.Value) Store.ObsJd(i, 1) = Store.ObsJd(i, 1) - dt / 24 / 3600;
    }
    if (Option26.Value) {
      double s = std::fabs(lon) / 15 / 24;
      if (Option21.Value) s = -s;
      Store.ObsJd(i, 1) = Store.ObsJd(i, 1) + s;
      Text18.Text = RealText(s * 24);
    }
    Store.ObsJd(i, 3) = Store.ObsJd(i, 1);
    ProgressBar1.Value = static_cast<int>(static_cast<int64_t>(i) * 100 / count);
  }
  EpochLabel2 = EpochLabel1;
  EpochLabel3 = EpochLabel1;
  RichTextBox3.Text = "изменено время в  " + std::to_string(std::max(count, 0)) + "  записях";
}

void Form2::Merge() {
  RichTextBox3.Text.clear();
  Astro.StopRequested = 0;
  double tau = 0;
  if (!ReadTolerance(Text5.Text, tau)) {
    Ui().ShowMessage("Задайте правильно данные");
    return;
  }
  if (Count1 + Count2 <= 0) {
    Ui().ShowMessage("Надо загрузить данные");
    return;
  }
  if (ArraysMissing()) return;
  const int32_t rows = Store.ObsJd.Rows();
  const int32_t n1 = std::min(Count1, rows), n2 = std::min(Count2, rows);
  ProcessLog = std::string("РЕЗУЛЬТАТ КОМПИЛЯЦИИ") + kCrLf;
  Count3 = n1 + n2;

  // Both sets are taken from their heads; h1 and h2 are the rows that stand first.  A set
  // that is used up (or was empty) shows the exhausted date, so the other comes first.
  int32_t h1 = 1, h2 = 1, k = 0, matches = 0;
  auto headJd = [&](int col, int32_t h, int32_t n) { return h <= n ? Store.ObsJd(h, col) : kExhaustedJd; };
  bool stopped = false, full = false;
  while (true) {
    double jd1 = headJd(1, h1, n1), jd2 = headJd(2, h2, n2);
    int takeFrom1 = 1, takeFrom2 = 0;
    if (jd2 < jd1) {
      takeFrom1 = 0;
      takeFrom2 = 1;
    }
    if (std::fabs(jd1 - jd2) <= tau) {
      takeFrom1 = takeFrom2 = 1;
      ++matches;
    }
    int32_t out = k + 1;
    if (takeFrom1 && !takeFrom2) {
      Store.ObsJd(out, 3) = Store.ObsJd(h1, 1);
      Store.ObsNote(out, 3) = Store.ObsNote(h1, 1);
      Store.ObsLon(out, 3) = Store.ObsLon(h1, 1);
      Store.ObsLat(out, 3) = Store.ObsLat(h1, 1);
    } else if (takeFrom2 && !takeFrom1) {
      Store.ObsJd(out, 3) = Store.ObsJd(h2, 2);
      Store.ObsNote(out, 3) = Store.ObsNote(h2, 2);
      Store.ObsLon(out, 3) = Store.ObsLon(h2, 2);
      Store.ObsLat(out, 3) = Store.ObsLat(h2, 2);
    } else {
      // One record seen in both sets: the mean, where a zero coordinate means "not
      // observed" (a right-ascension file and a declination file merge into whole records).
      double lon1 = Store.ObsLon(h1, 1), lon2 = Store.ObsLon(h2, 2);
      double lat1 = Store.ObsLat(h1, 1), lat2 = Store.ObsLat(h2, 2);
      Store.ObsNote(out, 3) = Store.ObsNote(h1, 1);
      Store.ObsJd(out, 3) = (Store.ObsJd(h1, 1) + Store.ObsJd(h2, 2)) / 2;
      Store.ObsLon(out, 3) = (lon1 + lon2) / 2;
      Store.ObsLat(out, 3) = (lat1 + lat2) / 2;
      if (lon1 == 0) Store.ObsLon(out, 3) = lon2;
      if (lon2 == 0) Store.ObsLon(out, 3) = lon1;
      if (lat1 == 0) Store.ObsLat(out, 3) = lat2;
      if (lat2 == 0) Store.ObsLat(out, 3) = lat1;
    }
    if (takeFrom1) ++h1;
    if (takeFrom2) ++h2;
    if (Check1.Value) ProcessLog += MergeLine(out, takeFrom1, takeFrom2) + kCrLf;
    ProgressBar1.Value = static_cast<int>(static_cast<int64_t>(k) * 100 / Count3);
    k = k + 1;
    if (h1 > n1 && h2 > n2) break;
    if (k > rows - 1) {
      full = true;
      break;
    }
    if (Astro.StopRequested == 1) {
      stopped = true;
      break;
    }
    Ui().ProcessEvents();
  }

  // Columns 1 and 2 are left as taking records from their heads leaves them: the records
  // not taken move up to row 1, the rows behind them repeat the last record, and a set
  // used up shows the exhausted date in row 1.
  auto settle = [&](int col, int32_t n, int32_t taken) {
    if (taken <= 0 || n <= 0) return;
    for (int32_t r = 1; r <= n - taken; ++r) {
      Store.ObsJd(r, col) = Store.ObsJd(r + taken, col);
      Store.ObsLon(r, col) = Store.ObsLon(r + taken, col);
      Store.ObsLat(r, col) = Store.ObsLat(r + taken, col);
      Store.ObsNote(r, col) = Store.ObsNote(r + taken, col);
    }
    for (int32_t r = n - taken + 1; r < n; ++r) {
      Store.ObsJd(r, col) = Store.ObsJd(n, col);
      Store.ObsLon(r, col) = Store.ObsLon(n, col);
      Store.ObsLat(r, col) = Store.ObsLat(n, col);
      Store.ObsNote(r, col) = Store.ObsNote(n, col);
    }
    if (taken >= n) Store.ObsJd(1, col) = kExhaustedJd;
  };
  settle(1, n1, h1 - 1);
  settle(2, n2, h2 - 1);
  Count1 = n1 - (h1 - 1);
  Count2 = n2 - (h2 - 1);

  if (full || stopped) {
    // Data set 3 is what was merged so far.
    Count3 = k;
    Text17.Text = std::to_string(Count3);
    RichTextBox3.Text = ProcessLog;
    if (full) Ui().ShowMessage("Увеличьте массивы данных");
    return;
  }
  ProcessLog += kCrLf + std::string("совпадений в датах ") + std::to_string(matches);
  RichTextBox3.Text = ProcessLog;
  Count3 = Count3 - matches;
  Text17.Text = std::to_string(Count3);
}

void Form2::ShowChanges() {
  ProcessLog = std::string("2 - исходные данные   1 и 3 - преобразованные  ") + kCrLf +
               "(если показываются изменения после сравнения, " + "то 1 и 3- это 1-е данные, а 2- это 2-е данные)" +
               kCrLf + "(если показываются изменения после сравнения теорий, " +
               "то 1 - это 1-е данные, а 3- это 2-е данные)" + kCrLf +
               "(если показываются изменения после объединения, " +
               "то 1 - это 1-е данные, 2- это 2-е данные, а 3- это суммарные)" + kCrLf + kCrLf;
  RichTextBox3.Text.clear();
  int32_t count = Store.Exists() ? std::min(Count3, Store.ObsJd.Rows()) : 0;
  const std::string* labels[] = {nullptr, &EpochLabel1, &EpochLabel2, &EpochLabel3};
  for (int32_t i = 1; i <= count; ++i) {
    for (int k = 1; k <= 3; ++k) {
      std::string d = std::to_string(k);
      ProcessLog += Format(i, "0000") + "     JD" + d + "=  " + Format(Store.ObsJd(i, k), "0000000.0000") + "   L" + d +
                    "=  " + Format(Store.ObsLon(i, k), "000.00000") + "   B" + d + "=  " +
                    Format(Store.ObsLat(i, k), "00.00000") + "    E= " + *labels[k] + kCrLf;
    }
    ProcessLog += kCrLf;
  }
  RichTextBox3.Text = ProcessLog;
}

}  // namespace planova
