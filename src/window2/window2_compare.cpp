// "Сравнить данные 1 с данными 2": every observation of data set 1 against the matching
// record of data set 2 or against theory, with the O-C in longitude, latitude and time,
// their interval statistics and mean absolute values, the comparison log, the plot and
// the Param_data_ and Stat files in Dat.  Also "сделать 1 шаг".  The comparison run
// holds the rows, the statistics and the open Param_data_ file; this window moves its
// results into the boxes, panes and plot.
#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "astro/constants.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "models/messages.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

}  // namespace

bool Window2Model::CalendarOrMessage(double jd) {
  const CalendarDateResult c = Astro.CalendarDateOf(jd);
  CalendarOfRow = c.Date;
  if (c.Ok) return true;
  // One message a run, not one per record of a set over absurd dates.
  if (!CalendarWarned) Ui().ShowMessage(kWrongJdMessage);
  CalendarWarned = true;
  return false;
}

void Window2Model::ReadComparisonSettings() {
  Plot.ScaleYearsPerUnit = BoxReal(plotScaleYearsPerCm);
  Plot.ScaleArcsecPerUnit = BoxReal(plotScaleArcsecPerCm);
  TimeToleranceDays = BoxReal(toleranceSeconds) / 3600 / 24;
  Plot.OffsetArcsec = BoxReal(plotOffsetArcsec);
  if (Plot.ScaleYearsPerUnit == 0) Refuse(plotScaleYearsPerCm);
  if (Plot.ScaleArcsecPerUnit == 0) Refuse(plotScaleArcsecPerCm);
  Plot.Fit = fitPlotToData.Value;
  // A fitted plot has axes of its own: it always starts on a clean picture.
  if (plotDifferences.Value && (clearPlot.Value || Plot.Fit)) DrawPlotFrame(plotPicture);
  // A colour number of the plot's table, 0..13.
  auto colour = [this](const TextBox& box) {
    const int16_t v = BoxInt16(box);
    if (v < 0 || v > 13) Refuse(box);
    return static_cast<int>(v);
  };
  Plot.ColourL = colour(colourDiffL);
  Plot.ColourB = colour(colourDiffB);
  Plot.ColourT = colour(colourDiffT);
  Plot.ShowL = plotDiffL.Value;
  Plot.ShowB = plotDiffB.Value;
  Plot.ShowT = plotDiffT.Value;
}

bool Window2Model::PlotFrameServes(double originJd) const {
  const PictureBox& b = plotPicture;
  const PlotAxes& a = b.Axes;
  const bool frame = b.Left == 0 && b.Top == 3 && b.Right == 25 && b.Bottom == -3;
  return frame && a.Known && !a.Fitted && a.OriginJd == originJd && a.YearsPerUnit == Plot.ScaleYearsPerUnit &&
         a.ArcsecPerUnit == Plot.ScaleArcsecPerUnit && a.ZeroY == Plot.OffsetArcsec / Plot.ScaleArcsecPerUnit;
}

void Window2Model::Compare() {
  ReadComparisonSettings();
  std::optional<ClipRequest> clip;
  HandSelection hand;
  ReadResidualSettings(clip, hand);
  RequireArrays();
  if (theoryJpl2.Value) Ephemerides.Use(ephemeris);
  ComparisonLog.clear();
  reportPane.Text.clear();
  Run.Stats.Reset();
  Run.CurrentRow = 1;
  CalendarWarned = false;
  StopRequested = 0;
  ComparisonLabel = EpochLabel1;
  // Every record's observer is placed before any file is opened.
  RunObservatories.reset();
  if (const std::string refused = ResolveRowObservers(); !refused.empty()) throw Refusal{refused, {}};

  bool generate = !set1FromFile.Value;
  if (generate) {
    const int32_t n = BoxInt32(objectNumber);
    RequirePlainNameParts({observatoryCode.Text});
    Store.ObjectNumber = n;
    Store.ObservatoryCode = observatoryCode.Text;
  }
  const int p = Store.ObjectNumber;
  if (!IsTheoryBody(p)) throw Refusal{};

  // A paused run ends here: its file takes the old one's place (comparison_run.h), its CSV
  // twin with the records it compared, none clipped.
  if (Run.CsvOpen()) FinishCsvRows(HandFlags());
  if (const auto unwritten = Run.CloseRunFiles(); !unwritten.empty()) Ui().ShowMessage(WriteFailureMessage(unwritten));
  BeginResiduals(clip, std::move(hand));
  std::filesystem::path paramPath = AppPath(Ui().AppFolder(), "Dat/Param_data_" + Store.ObservatoryCode +
                                                                  std::to_string(Store.ObjectNumber) + ".txt");
  // The ephemeris the headings of Param_data_ and Stat name (none for DE405: messages.h).
  const std::string ephemerisName =
      EphemerisNamedInOutput(theoryJpl2.Value && !set2FromFile.Value, Astro.SelectedEphemerisName());
  if (writeParamFile.Value &&
      !Run.OpenParamFile(paramPath, Store.ObservatoryCode, Store.ObjectNumber, ephemerisName)) {
    Run.CloseRunFiles();
    throw Refusal{WriteFailureMessage(paramPath), {}};
  }
  if (writeParamFile.Value) {
    // Its twin for Python or R: the same records, in arcseconds and seconds.
    std::filesystem::path csvPath = std::filesystem::path(paramPath).replace_extension(".csv");
    if (!Run.OpenCsvFile(csvPath, "record,date_utc,jd,body,theory,epoch,oc_ra_arcsec,oc_ra_cosdec_arcsec,"
                                  "oc_dec_arcsec,oc_time_s,interval_ra,interval_dec,sel,sigma_ra_arcsec,"
                                  "sigma_dec_arcsec")) {
      GiveUpRun(WriteFailureMessage(csvPath));
    }
  }
  if (generate) GenerateTwoBodySet(p);
  RequireRunnable();
  // The rigorous reduction takes TT-UTC from the table from 1960 on whatever the model.
  if (!set2FromFile.Value && set1FromFile.Value && !RigorousServes(ComparisonLabel)) {
    ComparisonLog += DeltaTWarning(DeltaTOfBoxes());
  }
  PlotOriginJd = Store.ObsJd(1, kSet1);
  // Drawn over the last run only on the same axes: a picture with another page, other
  // scales, fitted scales or no frame yet is started again.
  if (plotDifferences.Value && !PlotFrameServes(PlotOriginJd)) DrawPlotFrame(plotPicture);
  SetPlotAxes(plotPicture, PlotColours, Plot, PlotOriginJd);
  Run.Begin(1, Count1);
  ProcessObservations();
  std::future<PreparedAdesResiduals> psv = FinishComparison(ephemerisName);
  if (!writeParamFile.Value || ComparedCount == 0) return;
  std::filesystem::path statPath =
      AppPath(Ui().AppFolder(), "Dat/Stat" + Store.ObservatoryCode + std::to_string(Store.ObjectNumber) + ".txt");
  if (!WriteTextFile(statPath, Utf8ToCp1251(Run.Stats.StatText(Store.ObservatoryCode, Store.ObjectNumber, ephemerisName)))) {
    throw Refusal{WriteFailureMessage(statPath), {}};
  }
  if (!Run.Active) WriteResidualFiles(ephemerisName, std::move(psv));
}

// A line for the top of the comparison log when the chosen classical ET-UT strays from
// TT-UTC of the leap-second table by more than a second on the records of data set 1
// (UTC times from 1960 on): the largest departure over about a hundred records spread
// through the set, and its date.  Empty otherwise.
std::string Window2Model::DeltaTWarning(DeltaTModel model) {
  constexpr double kToleratedSeconds = 1;
  constexpr int32_t kSampledRows = 100;
  const int32_t last = std::min(Count1, Store.ObsJd.Rows());
  const int32_t step = std::max<int32_t>(1, last / kSampledRows);
  double worst = 0, worstJd = 0;
  auto look = [&](int32_t i) {
    const double jd = Store.ObsJd(i, kSet1);
    const double departure = DeltaTModelDepartureSeconds(jd, model);
    if (std::fabs(departure) > std::fabs(worst)) {
      worst = departure;
      worstJd = jd;
    }
  };
  for (int32_t i = 1; i <= last; i += step) look(i);
  if (last >= 1) look(last);
  if (!(std::fabs(worst) > kToleratedSeconds)) return {};
  const CalendarDateResult date = Astro.CalendarDateOf(worstJd);
  return "внимание: ET-UT модели отличается от TT-UTC по таблице на " + Format(worst, "0.0") + " сек (" +
         std::to_string(date.Date.Year) + "-" + Format(date.Date.Month, "00") + "-" + Format(std::floor(date.Date.Day), "00") +
         "): для времён UTC выберите \"TT-UTC по таблице\"" + kCrLf;
}

// With "топоцентр." and the rigorous reduction serving: the observer of each record of
// data set 1 from its station (import/observatories.h), the window's "ObsL"/"ObsB" standing
// for the window's own code when neither list knows it.  The lists are read once a run.
// Returns the refusal, or empty.
std::string Window2Model::ResolveRowObservers() {
  RowObservers = {};
  if (!topocentricPlace.Value || !set1FromFile.Value || set2FromFile.Value || !RigorousServes(ComparisonLabel)) {
    return {};
  }
  std::optional<ObserverSite> typed;
  double lon = 0, lat = 0;
  if (TryBoxReal(observatoryLonDeg, lon) && TryBoxReal(observatoryLatDeg, lat) && std::fabs(lat) <= 90) {
    typed = SiteFromGeodetic(lon, lat, 0);
  }
  const int32_t last = std::min(Count1, Store.ObsJd.Rows());
  if (!RunObservatories) RunObservatories = LoadObservatories(Ui().AppFolder());
  RowObservers = ResolveRecordObservers(*RunObservatories, Store, kSet1, 1, last, typed);
  if (RowObservers.Ok) return {};
  const std::string message = StationRefusalMessage(RowObservers);
  RowObservers = {};
  return message;
}

void Window2Model::GiveUpRun(const std::string& message) {
  Run.DiscardRunFiles();
  throw Refusal{message, {}};
}

// The data and the epoch a run needs, or the run is given up with the message that says
// what is missing.
void Window2Model::RequireRunnable() {
  if (Count1 < 1 || (set2FromFile.Value && Count2 < 1)) GiveUpRun("Надо загрузить данные");
  if (!set2FromFile.Value && ComparisonLabel != "App" && ComparisonLabel != "B1950" && ComparisonLabel != "J2000") {
    GiveUpRun("Эпоха данных 1 \"" + ComparisonLabel +
              "\" не известна: для сравнения с теорией нужна эпоха App, B1950 или J2000");
  }
}

// Data set 1 from the two-body theory, evenly spread between two dates.  A date that the
// calendar refuses leaves the rows as they were (the counts still become the capacity)
// and gives the run up, with one message for each refused date.
void Window2Model::GenerateTwoBodySet(int p) {
  RecordsText1.clear();
  ComparisonLabel = EpochLabel1 = EpochLabel3 = "J2000";
  OptionButton& source = set2FromFile.Value ? set2FromFile : theoryJpl0.Value ? theoryJpl0 : theoryJpl2;
  ChooseOption(theoryJpl0);
  const double day = BoxReal(dateDay);
  const int32_t month = BoxInt32(dateMonth), year0 = BoxInt32(dateYear), year1 = BoxInt32(generateToYear);
  const std::optional<double> date0 = Astro.JulianDate(day, month, year0);
  const std::optional<double> date1 = Astro.JulianDate(day, month, year1);
  const bool failed0 = !date0, failed1 = !date1;
  const double jd0 = date0.value_or(0), jd1 = date1.value_or(0);
  // The first date's message, when the last date's ends the run below as well.
  if (failed0 && failed1) Ui().ShowMessage(kWrongDateMessage);
  const int32_t n = Store.ObsCapacity;
  for (int32_t i = 1; i <= n && !failed0 && !failed1; ++i) {
    Store.ObsJd(i, kSet1) = (jd1 - jd0) * (i - 1) / n + jd0;
    ObservationJdUt = Store.ObsJd(i, kSet1);
    ShiftedJdEt = ObservationJdUt;
    Store.ObsJd(i, kSet3) = ObservationJdUt;
    Store.ObsExactTime(i, kSet1) = Store.ObsExactTime(i, kSet3) = 0;
    const TwoBodyPlace place = Astro.TwoBodyEquatorialPlaceOf(p, ObservationJdUt);
    Store.ObsLon(i, kSet1) = place.RaDeg;
    Store.ObsLat(i, kSet1) = place.DecDeg;
  }
  Run.CurrentRow = 1;
  Count1 = n;
  Count3 = n;
  ChooseOption(source);
  if (failed0 || failed1) GiveUpRun(kWrongDateMessage);
}

void Window2Model::ProcessObservations() {
  SetPlotBoxGeometry(plotPicture, plotDifferences.Value);
  const int p = Store.ObjectNumber;
  if (!IsTheoryBody(p)) throw Refusal{};
  Run.Last = Count1;
  if (set2FromFile.Value) {
    std::vector<double> jds(static_cast<size_t>(std::max(0, std::min(Count2, Store.ObsJd.Rows()))) + 1);
    for (size_t j = 1; j < jds.size(); ++j) jds[j] = Store.ObsJd(static_cast<int32_t>(j), kSet2);
    Set2Dates.Build(jds);
  }
  if (!set2FromFile.Value) TheoryTemplate = TheoryRequest();
  // The theory column names the ephemeris the places come from ("JPL2 DE405").
  const std::string theory = set2FromFile.Value ? "file" : TheoryName(TheoryTemplate, Astro.SelectedEphemerisName());
  CsvFixedFields =
      CsvFixedFieldsOf(p, theory, set2FromFile.Value ? ComparisonLabel : PlaceEpochLabel(TheoryTemplate, ComparisonLabel));
  auto ephemeris = Astro.BeginEphemerisRun();
  // A run of theory row after row has its places computed a block ahead on a second
  // thread, which ends (after its place in hand) before the ephemeris run does.  The
  // window holds it while it shows a row, and lets events in where a block ends.
  std::unique_ptr<PlacesAhead> ahead;
  if (!set2FromFile.Value && !stepMode.Value && Run.Last - Run.CurrentRow >= PlacesAhead::kFirstBlockRows) {
    ahead = std::make_unique<PlacesAhead>(
        Astro, TheoryTemplate, [rows = RowRequests()](int32_t i, ApparentPlaceRequest& r) { rows.Fill(i, r); },
        Run.CurrentRow, Run.Last);
  }
  Ahead = ahead.get();
  LastPlaceRow = 0;
  struct Forget {
    Window2Model& m;
    ~Forget() { m.Ahead = nullptr; }
  } forget{*this};
  RunPause pause = Run.Drive(
      stepMode.Value, StopRequested, [this](int32_t i) { return CompareRow(i); },
      [this] {
        if (Ahead) Ahead->Hold();
        CatchUpLastPlace();
        ShowCurrentRow();
        if (Ahead) Ahead->Resume();
      },
      [this, &ahead] {
        if (!Ahead) return Ui().ProcessEvents();
        if (!Ahead->EndsBlock(Run.CurrentRow - 1)) return;
        Ahead->Finish();
        const uint64_t operations = FormModel::OperationsBegun();
        Ui().ProcessEvents();
        // An operation run meanwhile (a Stop, a store made anew, another run) may have
        // changed what the places are computed from: the run's rest computes its own.
        if (FormModel::OperationsBegun() != operations) {
          Ahead = nullptr;
          ahead.reset();
        }
      });
  Ahead = nullptr;
  ahead.reset();  // the thread ended before anything else is shown
  // The bar's scale is the store's size plus 100: a run that has passed its last row
  // shows it whole, a stopped or failed one where it stopped.
  if (pause == RunPause::kFinished) progress.Value = 100;
  if (pause == RunPause::kFailed) Ui().ShowMessage(EphemerisMessage(LastEphemeris));
}

// The boxes of the last compared row: its date, and with theory its ET-UT, corrections
// and stage log; with "по данным" the plot of the rows so far on the scales they need.
void Window2Model::ShowCurrentRow() {
  if (plotDifferences.Value && Plot.Fit) ReplotFitted(plotPicture, PlotColours, Plot, PlotOriginJd);
  if (ShownRow > 0 && CalendarOrMessage(Store.ObsJd(ShownRow, kSet1))) {
    dateYear.Text = std::to_string(CalendarOfRow.Year);
    dateMonth.Text = std::to_string(CalendarOfRow.Month);
    dateDay.Text = RealText(CalendarOfRow.Day);
  }
  ShownRow = 0;
  ShowTheory();
}

// One row of data set 1: its comparison value from data set 2 (the last record, in the
// set's order, within the time tolerance) or from theory, then the differences, their statistics, the date
// boxes, the log line, the plot and the record of the Param_data_ file.
bool Window2Model::CompareRow(int32_t i) {
  if (i < 1 || i > Store.ObsJd.Rows()) throw Refusal{};
  bool matched = false;
  double lonDeg = 0, latDeg = 0;
  if (set2FromFile.Value) {
    int32_t j = Set2Dates.LastWithin(Store.ObsJd(i, kSet1), TimeToleranceDays);
    if (j > 0) {
      lonDeg = Store.ObsLon(j, kSet2);
      latDeg = Store.ObsLat(j, kSet2);
      // Row i of data set 3 becomes a comparison result: its date is written as computed
      // dates are.
      Store.ObsJd(i, kSet3) = Store.ObsJd(j, kSet2);
      Store.ObsExactTime(i, kSet3) = 0;
      ObservationJdUt = Store.ObsJd(j, kSet2);
      matched = true;
    }
  } else {
    const PlacesAhead::RowPlace place = ComputeObservationTheory(i);
    if (!place.Ok) return false;
    lonDeg = place.LonDeg;
    latDeg = place.LatDeg;
    matched = true;
  }

  if (matched) {
    DiffLDeg = Store.ObsLon(i, kSet1) - lonDeg;
    DiffBDeg = Store.ObsLat(i, kSet1) - latDeg;
    Run.Stats.Add(HasLongitude(Store.ObsLon(i, kSet1)), HasLatitude(Store.ObsLat(i, kSet1)), DiffLDeg, DiffBDeg);
    ShownRow = i;
    // The statistics by year want every row's year; the calendar's message stays with
    // the lines and files that show the date.
    bool dated = false;
    if (showLines.Value || writeParamFile.Value) {
      dated = CalendarOrMessage(Store.ObsJd(i, kSet1));
    } else {
      const CalendarDateResult c = Astro.CalendarDateOf(Store.ObsJd(i, kSet1));
      dated = c.Ok;
      if (dated) CalendarOfRow = c.Date;
    }
    const int32_t year = CalendarOfRow.Year, month = CalendarOfRow.Month;
    const double day = CalendarOfRow.Day;
    const double diffTDays = Store.ObsJd(i, kSet1) - Store.ObsJd(i, kSet3);
    if (showLines.Value) {
      ComparisonLog += Format(i, "0000") + "   year= " + Format(year, "0000") + "   T1-T2 (sec)= " +
                       Format(diffTDays * 24 * 3600, "00000.000") + "   L1-L2 (sec)= " + Format(DiffLDeg * 3600, "00000.000") +
                       "   B1-B2 (sec)= " + Format(DiffBDeg * 3600, "00000.000") + "  JD= " +
                       Format(ObservationJdUt, "0000000.000000") + "  " + EpochLabel1 + kCrLf;
    }
    if (plotDifferences.Value) {
      PlotRow(plotPicture, PlotColours, Plot, PlotOriginJd,
              {Store.ObsJd(i, kSet1), Store.ObsJd(i, kSet3), DiffLDeg, DiffBDeg, set2FromFile.Value, i});
    }
    if (writeParamFile.Value && i <= Count1 &&
        !Run.WriteParamRecord(i, day, month, year, Store.ObsJd(i, kSet1), DiffLDeg, DiffBDeg, diffTDays)) {
      throw Refusal{WriteFailureMessage(Run.ParamPath()), {}};
    }
    if (i <= Count1) KeepResidual(i, diffTDays, dated ? year : 0);
  }
  progress.Value = static_cast<int>(static_cast<float>((i + 1) * 100.0) / static_cast<float>(Store.ObsCapacity + 100));
  return true;
}

// The CSV line of a compared record: its date (ISO 8601 and JD), body, theory and epoch,
// the O-C in right ascension (as in Param_data_ and times cos of the declination),
// declination and time, the Stat intervals of the first two, its selection (ADES selAst:
// A, D, a, d) and the sigmas of its weights.  A coordinate the record does not hold has
// empty fields, and an O-C that the Stat file counts in no interval (0, or on an edge) an
// empty interval: the CSV's intervals count as the Stat file's do.  An unknown sigma is
// an empty field.
char* Window2Model::CsvRowInto(char* p, const RunResidual& r, char sel, char** selAt) {
  const double raArcsec = r.OcRaArcsec, decArcsec = r.OcDecArcsec;
  const bool hasL = (r.Bits & RunResidual::kHasRa) != 0, hasB = (r.Bits & RunResidual::kHasDec) != 0;
  p = StartCsvRecordInto(p, r.Row, CsvDate, Astro.Calendar(), r.Jd, CsvFixedFields);
  const std::pair<bool, double> values[] = {
      {hasL, raArcsec}, {hasL, r.OcRaCosDecArcsec()}, {hasB, decArcsec}, {true, r.OcTimeSeconds}};
  for (const auto& [has, v] : values) {
    *p++ = ',';
    if (has) p = CsvNumberInto<6>(p, v);
  }
  for (int32_t interval : {r.IntervalRa, r.IntervalDec}) {
    *p++ = ',';
    if (interval > 0) p = CsvNumberInto<0>(p, interval);
  }
  *p++ = ',';
  if (selAt) *selAt = p;
  *p++ = sel;
  for (float sigma : {r.SigmaRa, r.SigmaDec}) {
    *p++ = ',';
    if (sigma > 0) p = CsvNumberInto<4>(p, sigma);
  }
  return p;
}

size_t Window2Model::CsvRowMax() const {
  // The first fields, eight numbers and their commas, the selection, the line end.
  return CsvRecordStartMax(CsvFixedFields) + 8 * (kCsvNumberMax + 1) + 4;
}

// After a run or a step: the panes; when the run has passed its last row the
// Param_data_ file is closed and replaces the old one (a paused run keeps it open, the
// old file in place).  The ADES file of the finished run is formed meanwhile on a second
// thread; it is put in its place after the others (WriteResidualFiles), and dropped, the
// old one kept, when anything before fails.
std::future<PreparedAdesResiduals> Window2Model::FinishComparison(const std::string& ephemerisName) {
  set2Pane.Text = TheoryLog;
  if (Run.Active) {
    reportPane.Text = ComparisonLog;
    return {};
  }
  // The run is done: the statistics of its residuals follow the log, and the CSV twin
  // gets its rows with the selection the clipping made.
  SummarizeRun();
  reportPane.Text = ComparisonLog;
  MarkClippedPoints();
  std::future<PreparedAdesResiduals> psv = StartResidualPsv(ephemerisName);
  if ((Run.CsvOpen() || CsvFailed) && !FinishCsvRows(LastClip.Flags)) {
    Run.CloseRunFiles();
    throw Refusal{WriteFailureMessage(Run.CsvPath()), {}};
  }
  if (const auto unwritten = Run.CloseRunFiles(); !unwritten.empty()) throw Refusal{WriteFailureMessage(unwritten), {}};
  return psv;
}

void Window2Model::Step() {
  if (CurrentIndex < 1 || CurrentIndex > Count1 || !Store.Exists()) {
    throw Refusal{"Сравнение закончено: следующей записи нет", {}};
  }
  // Window 3 may have chosen another ephemeris since the run began.
  if (theoryJpl2.Value) Ephemerides.Use(ephemeris);
  // The records may have moved since the run began.
  if (const std::string refused = ResolveRowObservers(); !refused.empty()) GiveUpRun(refused);
  ProcessObservations();
  const std::string ephemerisName =
      EphemerisNamedInOutput(theoryJpl2.Value && !set2FromFile.Value, Astro.SelectedEphemerisName());
  std::future<PreparedAdesResiduals> psv = FinishComparison(ephemerisName);
  if (!Run.Active) WriteResidualFiles(ephemerisName, std::move(psv));
}

}  // namespace planova
