// "Сравнить данные 1 с данными 2": every observation of data set 1 against the matching
// record of data set 2 or against theory, with the O-C in longitude, latitude and time,
// their interval statistics and mean absolute values, the comparison log, the plot and
// the Param_data_ and Stat files in Dat.  Also "сделать 1 шаг".  The comparison run
// holds the rows, the statistics and the open Param_data_ file; this window moves its
// results into the boxes, panes and plot.
#include <cmath>

#include "astro/time.h"
#include "astro/de405.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "models/messages.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

// A file failure of the comparison: the path goes with the message.
struct FileError {
  std::filesystem::path path;
};

}  // namespace

bool Window2Model::CalendarOrMessage(double jd) {
  if (CalendarFromJulianDate(Astro, jd)) return true;
  // One message a run, not one per record of a set over absurd dates.
  if (!CalendarWarned) Ui().ShowMessage(kWrongJdMessage);
  CalendarWarned = true;
  return false;
}

void Window2Model::ReadComparisonSettings() {
  Plot.ScaleT = BoxReal(Text19);
  Plot.ScaleD = BoxReal(Text20);
  TimeTolerance = BoxReal(Text5) / 3600 / 24;
  Plot.Offset = BoxReal(Text6);
  if (Plot.ScaleT == 0) Refuse(Text19);
  if (Plot.ScaleD == 0) Refuse(Text20);
  if (Check13.Value && Check14.Value) DrawPlotFrame(Picture1);
  // A colour number of the plot's table, 0..13.
  auto colour = [this](const TextBox& box) {
    const int16_t v = BoxInt16(box);
    if (v < 0 || v > 13) Refuse(box);
    return static_cast<int>(v);
  };
  Plot.ColourL = colour(Text24);
  Plot.ColourB = colour(Text25);
  Plot.ColourT = colour(Text26);
  Plot.ShowL = Check4.Value;
  Plot.ShowB = Check5.Value;
  Plot.ShowT = Check10.Value;
}

void Window2Model::Compare() {
  try {
    ReadComparisonSettings();
    if (ArraysMissing()) return;
    ComparisonLog.clear();
    RichTextBox3.Text.clear();
    Run.Stats.Reset();
    Run.CurrentRow = 1;
    CalendarWarned = false;
    Astro.StopRequested = 0;
    Astro.EphemerisError = 0;
    ComparisonLabel = EpochLabel1;

    bool generate = !Option5.Value;
    if (generate) {
      const int32_t n = BoxInt32(Text8);
      if (!NamePartsAllowed({Text3.Text})) return;
      Store.ObjectNumber = n;
      Store.ObservatoryCode = Text3.Text;
    }
    const int p = Store.ObjectNumber;
    if (!IsTheoryBody(p)) throw InputError{};

    // A paused run ends here: its file takes the old one's place (comparison_run.h).
    if (!Run.CloseRunFiles()) Ui().ShowMessage(WriteFailureMessage(Run.ParamPath()));
    std::filesystem::path paramPath = AppPath(Ui().AppFolder(), "Dat/Param_data_" + Store.ObservatoryCode +
                                                                    std::to_string(Store.ObjectNumber) + ".txt");
    if (Check11.Value && !Run.OpenParamFile(paramPath, Store.ObservatoryCode, Store.ObjectNumber)) {
      Run.CloseRunFiles();
      throw FileError{paramPath};
    }
    if (Check11.Value) {
      // Its twin for Python or R: the same records, in arcseconds and seconds.
      std::filesystem::path csvPath = std::filesystem::path(paramPath).replace_extension(".csv");
      if (!Run.OpenCsvFile(csvPath, "record,date_utc,jd,body,theory,epoch,oc_ra_arcsec,oc_ra_cosdec_arcsec,"
                                    "oc_dec_arcsec,oc_time_s,interval_ra,interval_dec")) {
        Run.DiscardRunFiles();
        throw FileError{csvPath};
      }
    }
    if (!RunnableComparison(generate, p)) {
      Run.DiscardRunFiles();
      return;
    }
    PlotOrigin = Store.ObsJd(1, 1);
    SetPlotAxes(Picture1, PlotColours, Plot, PlotOrigin);
    Run.Begin(1, Count1);
    ProcessObservations();
    FinishComparison();
    if (!Check11.Value || ComparedCount == 0) return;
    std::filesystem::path statPath =
        AppPath(Ui().AppFolder(), "Dat/Stat" + Store.ObservatoryCode + std::to_string(Store.ObjectNumber) + ".txt");
    if (!WriteTextFile(statPath, Utf8ToCp1251(Run.Stats.StatText(Store.ObservatoryCode, Store.ObjectNumber)))) {
      throw FileError{statPath};
    }
  } catch (const RefusedBox& refused) {
    RefuseBox(refused, kWrongDataMessage);
  } catch (const InputError&) {
    Ui().ShowMessage(kWrongDataMessage);
  } catch (const FileError& e) {
    Ui().ShowMessage(WriteFailureMessage(e.path));
  }
}

// The generated set (when data 1 is "JPL0"), the epoch and the data a run needs; false
// after the message that says what is missing.
bool Window2Model::RunnableComparison(bool generate, int p) {
  if (generate && !GenerateTwoBodySet(p)) return false;
  if (Count1 < 1) {
    Ui().ShowMessage("Надо загрузить данные");
    return false;
  }
  if (!Option3.Value && ComparisonLabel != "App" && ComparisonLabel != "B1950" && ComparisonLabel != "J2000") {
    Ui().ShowMessage("Эпоха данных 1 \"" + ComparisonLabel +
                     "\" не известна: для сравнения с теорией нужна эпоха App, B1950 или J2000");
    return false;
  }
  return true;
}

// Data set 1 from the two-body theory, evenly spread between two dates; false when a
// date is refused (after the calendar's message).
bool Window2Model::GenerateTwoBodySet(int p) {
  RecordsText1.clear();
  ComparisonLabel = EpochLabel1 = EpochLabel3 = "J2000";
  const char* source = Option3.Value ? "Option3" : Option4.Value ? "Option4" : "Option7";
  ChooseOption("Option4");
  const double day = BoxReal(Text21);
  const int32_t month = BoxInt32(Text22), year0 = BoxInt32(Text23), year1 = BoxInt32(Text27);
  bool failed0 = false, failed1 = false;
  double jd0 = JulianDateFromCalendar(Astro, day, month, year0, &failed0);
  if (failed0) Ui().ShowMessage(kWrongDateMessage);
  double jd1 = JulianDateFromCalendar(Astro, day, month, year1, &failed1);
  if (failed1) Ui().ShowMessage(kWrongDateMessage);
  const int32_t n = Store.ObsCapacity;
  for (int32_t i = 1; i <= n && !failed0 && !failed1; ++i) {
    Store.ObsJd(i, 1) = (jd1 - jd0) * (i - 1) / n + jd0;
    ObservationJd = Store.ObsJd(i, 1);
    ShiftedJd = ObservationJd;
    Store.ObsJd(i, 3) = ObservationJd;
    PlaceStage place = TwoBodyEquatorialPlace(Astro, p, ObservationJd);
    Store.ObsLon(i, 1) = place.Lon;
    Store.ObsLat(i, 1) = place.Lat;
  }
  Run.CurrentRow = 1;
  Count1 = n;
  Count3 = n;
  ChooseOption(source);
  return !failed0 && !failed1;
}

bool Window2Model::ProcessObservations() {
  SetPlotBoxGeometry(Picture1, Check13.Value);
  const int p = Store.ObjectNumber;
  if (!IsTheoryBody(p)) throw InputError{};
  Run.Last = Count1;
  if (Option3.Value) {
    std::vector<double> jds(static_cast<size_t>(std::max(0, std::min(Count2, Store.ObsJd.Rows()))) + 1);
    for (size_t j = 1; j < jds.size(); ++j) jds[j] = Store.ObsJd(static_cast<int32_t>(j), 2);
    Set2Dates.Build(jds);
  }
  if (!Option3.Value) TheoryTemplate = TheoryRequest();
  CsvFixedFields = std::to_string(p) + ',' + (Option3.Value ? "file" : TheoryName(TheoryTemplate)) + ',' + ComparisonLabel;
  EphemerisRun ephemeris(Astro);
  RunPause pause = Run.Drive(
      Check2.Value, Astro.StopRequested, [this](int32_t i) { return CompareRow(i); }, [this] { ShowCurrentRow(); },
      [this] { Ui().ProcessEvents(); });
  // The bar's scale is the store's size plus 100: a run that has passed its last row
  // shows it whole, a stopped or failed one where it stopped.
  if (pause == RunPause::kFinished) ProgressBar1.Value = 100;
  if (pause != RunPause::kFailed) return true;
  Ui().ShowMessage(EphemerisMessage(EphemerisReportOf(Astro)));
  return false;
}

// The boxes of the last compared row: its date, and with theory its ET-UT, corrections
// and stage log.
void Window2Model::ShowCurrentRow() {
  if (ShownRow > 0 && CalendarOrMessage(Store.ObsJd(ShownRow, 1))) {
    Text23.Text = std::to_string(Astro.CalYear);
    Text22.Text = std::to_string(Astro.CalMonth);
    Text21.Text = RealText(Astro.CalDay);
  }
  ShownRow = 0;
  ShowTheory();
}

// One row of data set 1: its comparison value from data set 2 (the last record, in the
// set's order, within the time tolerance) or from theory, then the differences, their statistics, the date
// boxes, the log line, the plot and the record of the Param_data_ file.
bool Window2Model::CompareRow(int32_t i) {
  if (i < 1 || i > Store.ObsJd.Rows()) throw InputError{};
  bool matched = false;
  double lon = 0, lat = 0;
  if (Option3.Value) {
    int32_t j = Set2Dates.LastWithin(Store.ObsJd(i, 1), TimeTolerance);
    if (j > 0) {
      lon = Store.ObsLon(j, 2);
      lat = Store.ObsLat(j, 2);
      Store.ObsJd(i, 3) = Store.ObsJd(j, 2);
      ObservationJd = Store.ObsJd(j, 2);
      matched = true;
    }
  } else {
    ApparentPlace place = ComputeObservationTheory(i);
    if (!place.Ok) return false;
    lon = place.Lon;
    lat = place.Lat;
    matched = true;
  }

  if (matched) {
    DiffL = Store.ObsLon(i, 1) - lon;
    DiffB = Store.ObsLat(i, 1) - lat;
    Run.Stats.Add(HasLongitude(Store.ObsLon(i, kSet1)), HasLatitude(Store.ObsLat(i, kSet1)), DiffL, DiffB);
    ShownRow = i;
    if (Check1.Value || Check11.Value) CalendarOrMessage(Store.ObsJd(i, 1));
    int32_t year = Astro.CalYear, month = Astro.CalMonth;
    double day = Astro.CalDay;
    const double diffT = Store.ObsJd(i, 1) - Store.ObsJd(i, 3);
    if (Check1.Value) {
      ComparisonLog += Format(i, "0000") + "   year= " + Format(year, "0000") + "   T1-T2 (sec)= " +
                       Format(diffT * 24 * 3600, "00000.000") + "   L1-L2 (sec)= " + Format(DiffL * 3600, "00000.000") +
                       "   B1-B2 (sec)= " + Format(DiffB * 3600, "00000.000") + "  JD= " +
                       Format(ObservationJd, "0000000.000000") + "  " + EpochLabel1 + kCrLf;
    }
    if (Check13.Value) {
      PlotRow(Picture1, PlotColours, Plot, PlotOrigin, {Store.ObsJd(i, 1), Store.ObsJd(i, 3), DiffL, DiffB, Option3.Value});
    }
    if (Check11.Value && i <= Count1 &&
        !Run.WriteParamRecord(i, day, month, year, Store.ObsJd(i, 1), DiffL, DiffB, diffT)) {
      throw FileError{Run.ParamPath()};
    }
    if (Check11.Value && i <= Count1 && !Run.WriteCsvLine(CsvRow(i, diffT))) throw FileError{Run.CsvPath()};
  }
  ProgressBar1.Value = static_cast<int>(static_cast<float>((i + 1) * 100.0) / static_cast<float>(Store.ObsCapacity + 100));
  return true;
}

// The CSV line of row i: its date (ISO 8601 and JD), body, theory and epoch, the O-C in
// right ascension (as in Param_data_ and times cos of the declination), declination and
// time, and the Stat intervals of the first two.
const std::string& Window2Model::CsvRow(int32_t i, double diffT) {
  const double jd = Store.ObsJd(i, 1);
  const double cosDec = std::cos(Store.ObsLat(i, 1) / Astro.DegPerRad);
  const double raArcsec = DiffL * 3600, decArcsec = DiffB * 3600;
  std::string& line = CsvLine;
  StartCsvRecord(line, i, CsvDate, CalendarRuleOf(Astro), jd, CsvFixedFields);
  for (double v : {raArcsec, raArcsec * cosDec, decArcsec, diffT * 86400}) {
    line += ',';
    AppendCsvNumber(line, v, 6);
  }
  line += ',';
  AppendCsvNumber(line, Run.Stats.IntervalOf(std::fabs(DiffL), false), 0);
  line += ',';
  AppendCsvNumber(line, Run.Stats.IntervalOf(std::fabs(DiffB), true), 0);
  return line;
}

// After a run or a step: the panes; when the run has passed its last row the
// Param_data_ file is closed and replaces the old one (a paused run keeps it open, the
// old file in place).
void Window2Model::FinishComparison() {
  RichTextBox2.Text = TheoryLog;
  RichTextBox3.Text = ComparisonLog;
  if (Run.Active) return;
  if (!Run.CloseRunFiles()) throw FileError{Run.ParamPath()};
}

void Window2Model::Step() {
  if (CurrentIndex < 1 || CurrentIndex > Count1 || !Store.Exists()) {
    Ui().ShowMessage("Сравнение закончено: следующей записи нет");
    return;
  }
  try {
    ProcessObservations();
    FinishComparison();
  } catch (const RefusedBox& refused) {
    RefuseBox(refused, kWrongDataMessage);
  } catch (const InputError&) {
    Ui().ShowMessage(kWrongDataMessage);
  } catch (const FileError& e) {
    Ui().ShowMessage(WriteFailureMessage(e.path));
  }
}

}  // namespace planova
