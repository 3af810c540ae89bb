// "Сравнить данные 1 с данными 2": every observation of data set 1 against the matching
// record of data set 2 or against theory, with the O-C in longitude, latitude and time,
// their interval statistics and mean absolute values, the comparison log, the plot and
// the Param_data_ and Stat files in Dat.  Also "сделать 1 шаг".
#include <cmath>

#include "astro/frames.h"
#include "astro/reductions.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "window2/form2.h"
#include "window2/theory.h"

namespace planova {

namespace {

constexpr double kBig = 1000000;
const char* const kCrLf = "\r\n";

double ReadReal(const TextBox& box) {
  double v = 0;
  if (!TryParseReal(box.Text, v)) throw InputError{};
  return v;
}

int ReadColour(const TextBox& box) {
  int16_t v = 0;
  if (!TryParseInt16(box.Text, v) || v < 0 || v > 13) throw InputError{};
  return v;
}


}  // namespace

void Form2::Compare() {
  try {
    Plot.ScaleT = ReadReal(Text19);
    Plot.ScaleD = ReadReal(Text20);
    TimeTolerance = ReadReal(Text5) / 3600 / 24;
    Plot.Offset = ReadReal(Text6);
    if (Plot.ScaleT == 0 || Plot.ScaleD == 0) throw InputError{};
    if (Check13.Value && Check14.Value) DrawPlotFrame(Picture1);
    Plot.ColourL = ReadColour(Text24);
    Plot.ColourB = ReadColour(Text25);
    Plot.ColourT = ReadColour(Text26);
    Plot.ShowL = Check4.Value;
    Plot.ShowB = Check5.Value;
    Plot.ShowT = Check10.Value;
    if (!Store.Exists()) {
      Ui().ShowMessage("Сначала создайте массивы данных (кнопка \"Создать массивы с N=\")");
      return;
    }

    ComparisonLog.clear();
    RichTextBox3.Text.clear();
    ComparedCount = 0;
    CurrentIndex = 1;
    SumAbsDL = SumAbsDB = 0;
    AcceptedL = AcceptedB = 0;
    Astro.StopRequested = 0;
    Astro.EphemerisError = 0;
    ComparisonLabel = EpochLabel1;

    // Classification of the absolute differences: whole arcseconds of longitude, quarter
    // arcseconds of latitude, and a distance group that is not filled.
    IntervalEdges.fill(0);
    IntervalCounts.fill(0);
    for (int k = 0; k <= 18; ++k) IntervalEdges[static_cast<size_t>(k)] = k / 3600.0;
    IntervalEdges[19] = kBig;
    for (int k = 20; k <= 38; ++k) IntervalEdges[static_cast<size_t>(k)] = (k - 20) / 14400.0;
    IntervalEdges[39] = kBig;
    IntervalEdges[59] = kBig * kBig;

    bool generate = !Option5.Value;
    if (generate) {
      int32_t n = 0;
      if (!TryParseInt32(Text8.Text, n)) throw InputError{};
      Store.ObjectNumber = n;
      Store.ObservatoryCode = Text3.Text;
    }
    const int p = Store.ObjectNumber;
    if (p < 0 || p > 11) throw InputError{};

    std::filesystem::path paramPath = AppPath(Ui().AppFolder(), "Dat/Param_data_" + Store.ObservatoryCode +
                                                                    std::to_string(Store.ObjectNumber) + ".txt");
    if (Check11.Value) {
      TextOutputFile f;
      if (!f.Create(paramPath)) throw InputError{};
      f.Write(Utf8ToCp1251("планета  № " + std::to_string(Store.ObjectNumber) + "   обсерватория " +
                           Store.ObservatoryCode + kCrLf));
      f.Write(kCrLf);
      f.Write(Utf8ToCp1251(std::string(kCrLf) +
                           "№ п/п, дата наблюдения (день с часами, месяц, год, JD), разность по долготе, широте и времени" +
                           kCrLf));
      f.Write(kCrLf);
      if (!f.Close()) throw InputError{};
    }

    if (generate) {
      // Data set 1 from the two-body theory, evenly spread between two dates.
      RecordsText1.clear();
      ComparisonLabel = EpochLabel1 = EpochLabel3 = "J2000";
      ComparisonState = Option3.Value ? 3 : Option4.Value ? 4 : 7;
      ChooseOption("Option4");
      int32_t month = 0, year0 = 0, year1 = 0;
      double day = ReadReal(Text21);
      if (!TryParseInt32(Text22.Text, month) || !TryParseInt32(Text23.Text, year0) || !TryParseInt32(Text27.Text, year1)) {
        throw InputError{};
      }
      bool failed0 = false, failed1 = false;
      double jd0 = JulianDateFromCalendar(Astro, day, month, year0, &failed0);
      double jd1 = JulianDateFromCalendar(Astro, day, month, year1, &failed1);
      const int32_t n = Store.ObsCapacity;
      const size_t ps = static_cast<size_t>(p);
      for (int32_t i = 1; i <= n && !failed0 && !failed1; ++i) {
        Store.ObsJd(i, 1) = (jd1 - jd0) * (i - 1) / n + jd0;
        ObservationJd = Store.ObsJd(i, 1);
        Astro.CurrentJd = ObservationJd;
        ShiftedJd = ObservationJd;
        Store.ObsJd(i, 3) = ObservationJd;
        ComputeBodyPositions(Astro, TheorySource::kJpl0, ObservationJd, p);
        Astro.PosX[ps] = Astro.PosX[ps] - Astro.PosX[3];
        Astro.PosY[ps] = Astro.PosY[ps] - Astro.PosY[3];
        Astro.PosZ[ps] = Astro.PosZ[ps] - Astro.PosZ[3];
        Astro.PosX[0] = -Astro.PosX[3];
        Astro.PosY[0] = -Astro.PosY[3];
        Astro.PosZ[0] = -Astro.PosZ[3];
        Astro.PosX[3] = Astro.PosY[3] = Astro.PosZ[3] = 0;
        Astro.CurrentSlot = p;
        EclipticToEquatorial(Astro, (ObservationJd - 2451545.0) / 36525);
        RelativeSpherical(Astro, 3, p);
        Store.ObsLon(i, 1) = Astro.RelLon[ps];
        Store.ObsLat(i, 1) = Astro.RelLat;
      }
      CurrentIndex = 1;
      Count1 = n;
      Count3 = n;
      ChooseOption(ComparisonState == 3 ? "Option3" : ComparisonState == 4 ? "Option4" : "Option7");
      if (failed0 || failed1) return;
    }

    if (!Option3.Value && ComparisonLabel != "App" && ComparisonLabel != "B1950" && ComparisonLabel != "J2000") {
      Ui().ShowMessage("Эпоха данных 1 \"" + ComparisonLabel +
                       "\" не известна: для сравнения с теорией нужна эпоха App, B1950 или J2000");
      return;
    }
    if (Count1 < 1) {
      Ui().ShowMessage("Надо загрузить данные");
      return;
    }

    PlotOrigin = Store.ObsJd(1, 1);
    ProcessObservations();
    RichTextBox2.Text = TheoryLog;
    RichTextBox3.Text = ComparisonLog;

    if (Check11.Value && ComparedCount > 0) {
      if (AcceptedL == 0) AcceptedL = 1;
      if (AcceptedB == 0) AcceptedB = 1;
      const auto& e = IntervalEdges;
      const auto& c = IntervalCounts;
      std::string t = "статистика данных  " + Store.ObservatoryCode + "  по планете " + std::to_string(Store.ObjectNumber) +
                      kCrLf + "интервалы dL и dB в угловых секундах dR в тыс.км.)" + kCrLf + kCrLf;
      for (size_t k = 1; k <= 18; ++k) {
        t += Format(e[k - 1] * 3600, "00") + "..." + Format(e[k] * 3600, "00") + "   " + Format(c[k], "0000") + "        " +
             Format(e[k + 19] * 3600, "0.00") + "..." + Format(e[k + 20] * 3600, "0.00") + "   " + Format(c[k + 20], "0000") +
             "        " + Format(e[k + 39], "000.00") + "..." + Format(e[k + 40], "000.00") + "   " +
             Format(c[k + 40], "0000") + kCrLf;
      }
      t += Format(e[18] * 3600, "00") + "...     " + Format(c[19], "0000") + "        " + Format(e[38] * 3600, "0.00") +
           "...       " + Format(c[39], "0000") + "        " + Format(e[58], "000.00") + "...         " +
           Format(c[59], "0000") + kCrLf;
      t += std::string(kCrLf) + "                 общее количество точек  " + std::to_string(ComparedCount) + kCrLf;
      t += "dLsr= " + RealText(Fix(kBig * 3600 * SumAbsDL / AcceptedL) / kBig) + " секунд по " + std::to_string(AcceptedL) +
           " учтенным наблюдениям долготы" + kCrLf;
      t += "dBsr= " + RealText(Fix(kBig * 3600 * SumAbsDB / AcceptedB) / kBig) + " секунд по " + std::to_string(AcceptedB) +
           " учтенным наблюдениям широты";
      StatText = t;
      TextOutputFile f;
      std::filesystem::path statPath = AppPath(Ui().AppFolder(), "Dat/Stat" + Store.ObservatoryCode +
                                                                     std::to_string(Store.ObjectNumber) + ".txt");
      if (!f.Create(statPath) || !f.WriteLine(Utf8ToCp1251(StatText)) || !f.Close()) throw InputError{};
    }
  } catch (const InputError&) {
    Ui().ShowMessage("Введите правильно данные");
  }
}

bool Form2::ProcessObservations() {
  SetPlotBoxGeometry(Picture1, Check13.Value);
  const int p = Store.ObjectNumber;
  if (p < 0 || p > 11) throw InputError{};
  const size_t ps = static_cast<size_t>(p);
  const int32_t rows = Store.ObsJd.Rows();
  std::filesystem::path paramPath =
      AppPath(Ui().AppFolder(), "Dat/Param_data_" + Store.ObservatoryCode + std::to_string(Store.ObjectNumber) + ".txt");
  while (true) {
    const int32_t i = CurrentIndex;
    if (i < 1 || i > rows) throw InputError{};
    if (Option3.Value) {
      ComparisonState = 0;
      int32_t n2 = std::min(Count2, rows);
      for (int32_t j = 1; j <= n2; ++j) {
        if (std::fabs(Store.ObsJd(i, 1) - Store.ObsJd(j, 2)) <= TimeTolerance) {
          Astro.BodyLon[ps] = Store.ObsLon(j, 2);
          Astro.BodyLat[ps] = Store.ObsLat(j, 2);
          Store.ObsJd(i, 3) = Store.ObsJd(j, 2);
          ObservationJd = Store.ObsJd(j, 2);
          ComparisonState = 1;
        }
      }
    } else {
      ComparisonState = 1;
      if (!ComputeObservationTheory(i)) return false;
    }

    if (ComparisonState != 0) {
      DiffL = Store.ObsLon(i, 1) - Astro.BodyLon[ps];
      DiffB = Store.ObsLat(i, 1) - Astro.BodyLat[ps];
      ComparedCount += 1;
      const auto& e = IntervalEdges;
      if (Store.ObsLon(i, 1) != 0) {
        double d = std::fabs(DiffL);
        for (size_t k = 1; k <= 19; ++k) {
          if (d > e[k - 1] && d < e[k]) IntervalCounts[k] += 1;
        }
        if (d < e[18]) {
          SumAbsDL += d;
          AcceptedL += 1;
        }
      }
      if (Store.ObsLat(i, 1) != 0 && Store.ObsLat(i, 1) != 90) {
        double d = std::fabs(DiffB);
        for (size_t k = 21; k <= 39; ++k) {
          if (d > e[k - 1] && d < e[k]) IntervalCounts[k] += 1;
        }
        if (d < e[38]) {
          SumAbsDB += d;
          AcceptedB += 1;
        }
      }
      CalendarFromJulianDate(Astro, Store.ObsJd(i, 1));
      int32_t year = Astro.CalYear, month = Astro.CalMonth;
      double day = Astro.CalDay;
      Text23.Text = std::to_string(year);
      Text22.Text = std::to_string(month);
      Text21.Text = RealText(day);
      if (Check1.Value) {
        ComparisonLog += Format(i, "0000") + "   year= " + Format(year, "0000") + "   T1-T2 (sec)= " +
                         Format((Store.ObsJd(i, 1) - Store.ObsJd(i, 3)) * 24 * 3600, "00000.000") + "   L1-L2 (sec)= " +
                         Format(DiffL * 3600, "00000.000") + "   B1-B2 (sec)= " + Format(DiffB * 3600, "00000.000") +
                         "  JD= " + Format(ObservationJd, "0000000.000000") + "  " + EpochLabel1 + kCrLf;
      }
      if (Check13.Value) {
        PlotRow(Picture1, PlotColours, Plot, PlotOrigin, {Store.ObsJd(i, 1), Store.ObsJd(i, 3), DiffL, DiffB, Option3.Value});
      }
      if (Check11.Value && i <= Count1) {
        TextOutputFile f;
        if (!f.Append(paramPath)) throw InputError{};
        std::string rec = PrintForm(i) + PrintForm(Fix(day * 1000)) + PrintForm(month * 1000.0) + PrintForm(year * 1000.0) +
                          PrintForm(Fix(Store.ObsJd(i, 1) * 1000)) + PrintForm(Fix(DiffL * 3600 * 1000)) +
                          PrintForm(Fix(DiffB * 3600 * 1000)) +
                          PrintForm(Fix((Store.ObsJd(i, 1) - Store.ObsJd(i, 3)) * 1000 * 24 * 3600));
        if (!f.WriteLine(rec) || !f.Close()) throw InputError{};
      }
    }

    CurrentIndex = i + 1;
    ProgressBar1.Value = static_cast<int>(static_cast<float>(CurrentIndex * 100.0) / static_cast<float>(Store.ObsCapacity + 100));
    if (CurrentIndex > Count1) return true;
    if (Check2.Value) {
      RichTextBox2.Text = TheoryLog;
      RichTextBox3.Text = ComparisonLog;
    }
    if (Astro.StopRequested == 1 || Check2.Value) return true;
    Ui().ProcessEvents();
  }
}

void Form2::Step() {
  if (CurrentIndex < 1 || CurrentIndex > Count1 || !Store.Exists()) {
    Ui().ShowMessage("Сравнение закончено: следующей записи нет");
    return;
  }
  try {
    ProcessObservations();
    RichTextBox2.Text = TheoryLog;
    RichTextBox3.Text = ComparisonLog;
  } catch (const InputError&) {
    Ui().ShowMessage("Введите правильно данные");
  }
}

}  // namespace planova
