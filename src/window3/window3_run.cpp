// Window 3's run: for every record from №1 to №2 the theoretical apparent place of the
// body (two-body theory, optionally with the inner planets' periodic perturbations, or
// the JPL ephemeris of the list box; light time, aberration, precession to the data's epoch, equator of date and
// nutation), an optional correction of the observation that changes linearly in time
// between the two records, the deviations observation - theory, their running means and
// the plot.
#include <cmath>
#include <cstdio>
#include <string_view>

#include "astro/constants.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "window3/window3_model.h"

namespace planova {

namespace {

// A deviation in arcseconds truncated to six decimals, as the window shows it.
std::string Arcsec6(double degrees) { return RealText(Fix(1e6 * 3600 * degrees) / 1e6); }

const char* const kCrLf = "\r\n";

// A Julian date as a Julian epoch, years (J2000.0 = 2000): the time of the fitted line.
double JulianYears(double jd) { return 2000 + (jd - 2451545) / 365.25; }

// A fitted number with fixed decimals, or "?" when it is not known.
std::string FitNumber(double x, std::string_view pattern) { return std::isfinite(x) ? Format(x, pattern) : "?"; }

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

// The series of the plot's points (PlotPointInfo::Series, as SetPlotAxes lists them).
constexpr int32_t kSeriesDevL = 0, kSeriesDevB = 1, kSeriesMeanL = 2, kSeriesMeanB = 3;

}  // namespace

void Window3Model::ReadRunSettings() {
  if (!Store.Exists() || !IsTheoryBody(Store.ObjectNumber)) throw Refusal{};
  if (Count1 < 1) throw Refusal{"Надо загрузить данные", {}};
  PlotYearsPerCm = BoxReal(plotScaleYearsPerCm);
  PlotArcsecPerCm = BoxReal(plotScaleArcsecPerCm);
  PlotZeroLineCm = BoxReal(plotOffsetCm);
  if (PlotYearsPerCm == 0) Refuse(plotScaleYearsPerCm);
  if (PlotArcsecPerCm == 0) Refuse(plotScaleArcsecPerCm);
  const int32_t first = BoxInt32(firstRecord), last = BoxInt32(lastRecord);
  if (first < 1) Refuse(firstRecord);
  if (last < first || last > std::min(Count1, Store.ObsJd.Rows())) Refuse(lastRecord);
  First = first;
  Last = last;
  Jd1Ut = Store.ObsJd(First, kSet1);
  Jd2Ut = Store.ObsJd(Last, kSet1);
  if (Jd2Ut == Jd1Ut) Refuse(lastRecord);  // the correction's interpolation needs two dates
  CorrL1Deg = BoxReal(corrLFirstArcsec) / 3600;
  CorrL2Deg = BoxReal(corrLLastArcsec) / 3600;
  CorrB1Deg = BoxReal(corrBFirstArcsec) / 3600;
  CorrB2Deg = BoxReal(corrBLastArcsec) / 3600;
  LimitLHighDeg = BoxReal(limitLHighArcsec) / 3600;
  LimitLLowDeg = BoxReal(limitLLowArcsec) / 3600;
  LimitBHighDeg = BoxReal(limitBHighArcsec) / 3600;
  LimitBLowDeg = BoxReal(limitBLowArcsec) / 3600;
  RunClips = clipOutliers.Value;
  RunFits = fitPlotToData.Value;
  RunClip = {};
  RunClip.Mode = clipJointly.Value ? ClipMode::kJointly : ClipMode::kSeparately;
  if (RunClips) {
    RunClip.K = BoxReal(clipK);
    if (!(RunClip.K > 0) || !std::isfinite(RunClip.K)) Refuse(clipK);
  }
  if (EpochLabel1 != "App" && EpochLabel1 != "B1950" && EpochLabel1 != "J2000") {
    throw Refusal{"Эпоха данных \"" + EpochLabel1 +
                  "\" не известна: нужна эпоха App, B1950 или J2000", {}};
  }
  if (theoryJpl2.Value) Ephemerides.Use(ephemeris);
}

// The zero line, the title above the plot and, when the limits count, the limit lines,
// on the plot's axes.
void Window3Model::DrawRunFrame() {
  const PlotAxes& a = plot.Axes;
  plot.Line(plot.Left, a.Y(0), plot.Right, a.Y(0), Rgb(120, 120, 120));
  std::vector<std::string>& title = plot.Axes.Title;
  title = {"отклонение наблюдательных данных от расчетных (средние значения увеличены в 10 раз)"};
  if (rigorousReduction.Value) {
    // Which reduction the theory of the run uses.
    title.push_back(UsesPreciseChain(RunRequestOfBoxes()) ? std::string("JPL2: точная редукция (IAU 2006/2000A)")
                                                           : PreciseClassicalNote(EpochLabel1, theoryJpl2.Value));
  }
  // The place kind and the ET-UT, when other than the apparent place and the old models.
  const ApparentPlaceRequest request = RunRequestOfBoxes();
  if (request.Astrometric) {
    title.push_back(AstrometricServes(request) ? std::string("место: астрометрическое (ICRS)")
                                               : std::string("астрометрическое (ICRS) - только с \"точно (IAU 2006)\", JPL2 и эпохой App или J2000: место видимое"));
  }
  if (topocentricPlace.Value) {
    title.push_back(UsesPreciseChain(request) ? std::string("место: топоцентрическое, со станции каждой записи")
                                              : std::string(kTopocentricGeocentricNote));
  }
  if (request.DeltaT == DeltaTModel::kTable) title.push_back("ET-UT: TT-UTC по таблице (ERFA) с 1960, до 1960 с 1700");
  if (!meansWithinLimits.Value) return;
  for (double limit : {LimitLHighDeg, LimitLLowDeg}) {
    double y = a.Y(limit * 3600);
    plot.Line(plot.Left, y, plot.Right, y, Rgb(0, 200, 0));
  }
  for (double limit : {LimitBHighDeg, LimitBLowDeg}) {
    double y = a.Y(limit * 3600);
    plot.Line(plot.Left, y, plot.Right, y, Rgb(0, 100, 0));
  }
}

bool Window3Model::ReplotFitted() {
  // About the window's own grid of 25 by 17 units.
  const PlotFit fit = FitPlot(plot.Infos, plot.Axes.Series, 25, 17);
  if (!fit.Ok) return false;
  std::vector<PlotPointInfo> points = std::move(plot.Infos);
  DrawGrid(fit.Left, fit.Top, fit.Right, fit.Bottom);
  SetPlotAxes();
  PlotAxes& a = plot.Axes;
  a.Fitted = true;
  a.OriginJd = fit.OriginJd;
  a.YearsPerUnit = fit.YearsPerUnit;
  a.ArcsecPerUnit = fit.ArcsecPerUnit;
  a.ZeroY = fit.ZeroY;
  DrawRunFrame();
  plot.Infos.reserve(points.size());
  for (const PlotPointInfo& p : points) plot.PlotInfo(p);
  return true;
}

// Dat/Dev_data_<code><object>.csv: the run's deviations and running means for Python or R
// (UTF-8, comma-separated, decimal point), replacing the old file when the run ends.  A
// file that cannot be made is reported and the run goes on without it.
void Window3Model::OpenDeviationsCsv() {
  // A paused run's file takes the old one's place, with the lines it held unjudged.
  if (!CsvHeld.empty()) WriteHeldCsv({});
  Run.CloseRunFiles();
  const std::filesystem::path path = AppPath(Ui().AppFolder(), "Dat/Dev_data_" + Store.ObservatoryCode +
                                                                   std::to_string(Store.ObjectNumber) + ".csv");
  if (!Run.OpenCsvFile(path, "record,date_utc,jd,body,theory,epoch,dev_ra_arcsec,dev_ra_cosdec_arcsec,dev_dec_arcsec,"
                             "mean_ra_arcsec,mean_dec_arcsec,corr_ra_arcsec,corr_dec_arcsec,sel")) {
    Run.DiscardRunFiles();
    Ui().ShowMessage(WriteFailureMessage(path));
  }
  CsvFixedFields = CsvFixedFieldsOf(Store.ObjectNumber, TheoryName(RunRequestOfBoxes(), Astro.SelectedEphemerisName()),
                                    PlaceEpochLabel(RunRequestOfBoxes(), EpochLabel1));
}

// One record of the CSV: a coordinate the record does not hold has empty fields.  The
// last field is the record's selection in the sense of ADES selAst: 'A' when the run does
// not clip; with the clipping the line waits for its flag until the run has finished.
void Window3Model::WriteDeviationsCsv(int32_t r, const ApparentPlace& place) {
  const double jd = Store.ObsJd(r, kSet1);
  const bool hasL = HasLongitude(Store.ObsLon(r, kSet1)), hasB = HasLatitude(Store.ObsLat(r, kSet1));
  const double cosDec = std::cos(place.LatDeg / kProgramDegPerRad);
  std::string& line = CsvLine;
  StartCsvRecord(line, r, CsvDate, Astro.Calendar(), jd, CsvFixedFields);
  const std::pair<bool, double> fields[] = {
      {hasL, DevLDeg},
      {hasL, DevLDeg * cosDec},
      {hasB, DevBDeg},
      {hasL && CountL > 0, CountL > 0 ? SumLDeg / CountL : 0},
      {hasB && CountB > 0, CountB > 0 ? SumBDeg / CountB : 0},
      {hasL, CurrLDeg},
      {hasB, CurrBDeg}};
  for (const auto& [has, degrees] : fields) {
    line += ',';
    if (has) AppendCsvNumber(line, degrees * 3600, 6);
  }
  if (RunClips) {
    CsvHeld.push_back(line);
    return;
  }
  line += ",A";
  if (!Run.WriteCsvLine(line)) Ui().ShowMessage(WriteFailureMessage(Run.CsvPath()));
}

bool Window3Model::WriteHeldCsv(const std::vector<char>& flags) {
  bool ok = true;
  for (size_t i = 0; i < CsvHeld.size() && ok && Run.CsvOpen(); ++i) {
    std::string& line = CsvHeld[i];
    line += ',';
    if (i < flags.size()) line += flags[i];
    ok = Run.WriteCsvLine(line);
  }
  CsvHeld.clear();
  CsvHeld.shrink_to_fit();
  if (!ok) Ui().ShowMessage(WriteFailureMessage(Run.CsvPath()));
  return ok;
}

// The records of a finished run judged: each record's year (its station and sigmas came
// with its comparison), then with "отбраковка k·σ" the iterative
// k·σ clipping of the O-C in RA·cos δ and Dec (ClipResiduals), otherwise every record
// accepted.  The rejected records are crossed out on the plot and the ±k·σ band drawn for
// each coordinate plotted; the dL band, in right ascension itself, is the RA·cos δ band
// divided by the mean cos δ of the records kept.  The running means of the run are not
// judged again: they were drawn as the run went.
void Window3Model::FinishRunStatistics() {
  std::vector<ResidualRecord>& records = FitData.Residuals;
  for (ResidualRecord& rec : records) {
    const CalendarDateResult date = Astro.CalendarDateOf(Store.ObsJd(rec.Number, kSet1));
    rec.Year = date.Ok ? date.Date.Year : 0;
  }
  SummaryTextOptions options;
  options.Title = Store.ObservatoryCode + std::to_string(Store.ObjectNumber);
  std::vector<char> flags(records.size(), 'A');
  if (RunClips) {
    const ClipResult clip = ClipResiduals(records, RunClip);
    flags = clip.Flags;
    options.Clipped = true;
    options.Clip = RunClip;
    options.Iterations = clip.Iterations;
    options.Status = clip.Status;
    DrawClipping(clip);
  }
  for (size_t i = 0; i < records.size(); ++i) records[i].Flag = flags[i];
  FitData.Clipped = RunClips;
  if (!CsvHeld.empty()) WriteHeldCsv(flags);
  SummaryPane = ResidualSummaryText(SummarizeResiduals(records), options);
  reportPane.Text = SummaryPane + kCrLf + kCrLf + LoadedPane;
}

// The ±k·σ band of each coordinate plotted (when it was clipped: three values or more)
// and a cross on each point of a rejected record.
void Window3Model::DrawClipping(const ClipResult& clip) {
  constexpr uint32_t kBandL = Rgb(250, 150, 150), kBandB = Rgb(150, 150, 250), kRejected = Rgb(200, 0, 200);
  double sumCos = 0;
  int32_t countCos = 0;
  for (size_t i = 0; i < FitData.Residuals.size(); ++i) {
    if (FitData.Residuals[i].HasRa && FlagAccepted(clip.Flags[i])) {
      sumCos += FitData.CosDec[i];
      ++countCos;
    }
  }
  const struct {
    bool plotted;
    const ClipBand& band;
    double scale;  // the plotted value of an arcsecond of the band
    uint32_t colour;
  } bands[] = {{plotDevL.Value, clip.Band[kResidualRa], countCos > 0 ? countCos / sumCos : 0.0, kBandL},
               {plotDevB.Value, clip.Band[kResidualDec], 1.0, kBandB}};
  const PlotAxes& axes = plot.Axes;
  for (const auto& b : bands) {
    const bool drawn = b.plotted && b.band.Count >= 3 && std::isfinite(b.band.Sigma) && std::isfinite(b.scale);
    if (!drawn || b.scale == 0) continue;
    for (double sign : {-1.0, 1.0}) {
      const double y = axes.Y((b.band.Mean + sign * RunClip.K * b.band.Sigma) * b.scale);
      plot.Line(plot.Left, y, plot.Right, y, b.colour);
    }
  }
  // A cross of 0,15 units each way, on the point as the run plotted it.
  constexpr double kArm = 0.15;
  for (size_t i = 0; i < FitData.Residuals.size(); ++i) {
    if (FlagAccepted(clip.Flags[i])) continue;
    const ResidualRecord& rec = FitData.Residuals[i];
    const double x = axes.X(FitData.PlotJd[i]);
    const std::pair<bool, double> points[] = {{plotDevL.Value && rec.HasRa, rec.RaArcsec / FitData.CosDec[i]},
                                              {plotDevB.Value && rec.HasDec, rec.DecArcsec}};
    for (const auto& [shown, arcsec] : points) {
      if (!shown) continue;
      const double y = axes.Y(arcsec);
      plot.Line(x - kArm, y - kArm, x + kArm, y + kArm, kRejected);
      plot.Line(x - kArm, y + kArm, x + kArm, y - kArm, kRejected);
    }
  }
  plot.Axes.Legend.push_back({kRejected, "×: отбраковано по k·σ"});
}

// What the plot's axes mean for this run (the boxes' scales from the run's time origin),
// the colours the run plots and what its points are.
void Window3Model::SetPlotAxes() {
  PlotAxes& a = plot.Axes;
  a.Known = true;
  a.Fitted = false;
  a.OriginJd = PlotTimeOriginJd;
  a.YearsPerUnit = PlotYearsPerCm;
  a.ArcsecPerUnit = PlotArcsecPerCm;
  a.ZeroY = PlotZeroLineCm;
  a.Legend.clear();
  // The deviations in right ascension itself, not times cos δ: Δα.
  if (plotDevL.Value) a.Legend.push_back({Rgb(250, 0, 0), "Δα: прямое восхождение"});
  if (plotDevB.Value) a.Legend.push_back({Rgb(0, 0, 250), "Δδ: склонение"});
  if (plotMeanL.Value || plotMeanB.Value) a.Legend.push_back({0, "dLsr, dBsr: средние × 10"});
  a.Series = {{"Δα", "″", Rgb(250, 0, 0), 1},
              {"Δδ", "″", Rgb(0, 0, 250), 1},
              {"Δα, среднее", "″", 0, 10},
              {"Δδ, среднее", "″", 0, 10}};
}

void Window3Model::StartRun() {
  ReadRunSettings();
  RunWeights = LoadWeightRules(Ui().AppFolder());
  FitData = {};
  FitData.First = First;
  FitData.Last = Last;
  FitData.Jd1Ut = Jd1Ut;
  FitData.Jd2Ut = Jd2Ut;
  // A new run starts on a clean picture: the old points and picked lines go.
  DrawGrid();
  if (!keepTimeOrigin.Value) PlotTimeOriginJd = Store.ObsJd(1, kSet1);
  SetPlotAxes();
  DrawRunFrame();
  SumLDeg = SumBDeg = 0;
  CountL = CountB = 0;
  Run.Stats.Reset();
  StopRequested = 0;
  RunObservatories.reset();
  ResolveRowObservers();
  OpenDeviationsCsv();
  Run.Begin(First, Last);
  if (correctData.Value) Store.Unsaved = "исправленные данные окна 3";
  CorrectionLoop();
}

void Window3Model::Step() {
  if (!Run.Active || CurrentRow < First || CurrentRow > Last) {
    throw Refusal{"Сравнение закончено: следующей записи нет", {}};
  }
  // The arrays or the body may have changed since the run began (new arrays, a load
  // that failed after its boxes were read): the run goes on only over the rows loaded.
  if (!Store.Exists() || Last > std::min(Count1, Store.ObsJd.Rows()) || !IsTheoryBody(Store.ObjectNumber)) {
    Run.Active = false;
    throw Refusal{"Данные сравнения изменились: начните сравнение заново", {}};
  }
  // Window 2 may have chosen another ephemeris since the run began.
  if (theoryJpl2.Value) Ephemerides.Use(ephemeris);
  try {
    ResolveRowObservers();  // the records may have moved since the run began
  } catch (const Refusal&) {
    Run.Active = false;
    throw;
  }
  CorrectionLoop();
}

// The theory of the run from the window's choices; the date is each record's.
ApparentPlaceRequest Window3Model::RunRequestOfBoxes() const {
  ApparentPlaceRequest request;
  request.Body = Store.ObjectNumber;
  request.Theory = theoryJpl2.Value ? TheorySource::kJpl2 : TheorySource::kJpl0;
  request.Perturbations = innerPlanetPerturbations.Value && request.Theory == TheorySource::kJpl0;
  // The table wins over "с 1700" (which it takes before 1960 itself).
  request.DeltaT = deltaTFromTable.Value    ? DeltaTModel::kTable
                   : deltaTSince1700.Value ? DeltaTModel::kPiecewise
                                           : DeltaTModel::kParabola;
  request.DeltaTBy86400 = true;
  request.Precise = rigorousReduction.Value;
  request.Astrometric = astrometricPlace.Value;
  request.Epoch = EpochOfLabel(EpochLabel1);
  return request;
}

// With "топоцентр." and the rigorous reduction serving: the observer of each record №1..№2
// from its station (import/observatories.h, the lists read once a run); a record whose
// station cannot be placed refuses the run before any file is opened.
void Window3Model::ResolveRowObservers() {
  RowObservers = {};
  if (!topocentricPlace.Value || !UsesPreciseChain(RunRequestOfBoxes())) return;
  if (!RunObservatories) RunObservatories = LoadObservatories(Ui().AppFolder());
  RecordObservers observers = ResolveRecordObservers(*RunObservatories, Store, kSet1, First, Last, std::nullopt);
  if (!observers.Ok) throw Refusal{StationRefusalMessage(observers), {}};
  RowObservers = std::move(observers);
}

void Window3Model::CorrectionLoop() {
  RunRequest = RunRequestOfBoxes();
  auto ephemeris = Astro.BeginEphemerisRun();
  RunPause pause = Run.Drive(
      stepByStep.Value, StopRequested, [this](int32_t r) { return CorrectRow(r); }, [this] { ShowCurrentRow(); },
      [this] { Ui().ProcessEvents(); });
  // The bar's scale is №2-№1+100: a run that has passed №2 shows it whole, a stopped or
  // failed one where it stopped.
  if (pause == RunPause::kFinished) {
    progress.Value = 100;
    FinishRunStatistics();
    if (const auto unwritten = Run.CloseRunFiles(); !unwritten.empty()) Ui().ShowMessage(WriteFailureMessage(unwritten));
  }
  if (pause != RunPause::kFailed) return;
  Run.Active = false;
  throw Refusal{EphemerisMessage(LastEphemeris), {}};
}

// The boxes of the last record compared: ET-UT, the deviations and means that changed,
// the date and the count.
void Window3Model::ShowCurrentRow() {
  if (RunFits) ReplotFitted();
  if (Pending.DeltaT) deltaTSeconds.Text = RealText(ShownDeltaTSeconds);
  if (Pending.DevL) devLArcsec.Text = Arcsec6(DevLDeg);
  if (Pending.DevB) devBArcsec.Text = Arcsec6(DevBDeg);
  if (Pending.MeanL) meanLArcsec.Text = Arcsec6(SumLDeg / CountL);
  if (Pending.MeanB) meanBArcsec.Text = Arcsec6(SumBDeg / CountB);
  if (Pending.Row > 0) {
    const CalendarDateResult c = Astro.CalendarDateOf(Store.ObsJd(Pending.Row, kSet1));
    if (c.Ok) {
      currentRecordYear.Text = std::to_string(c.Date.Year);
      currentRecordMonth.Text = std::to_string(c.Date.Month);
      currentRecordDay.Text = RecordDayText(c.Date.Day);
    } else {
      Ui().ShowMessage(kWrongJdMessage);
    }
    recordsCompared.Text = std::to_string(ComparedCount);
  }
  Pending = {};
}

bool Window3Model::CorrectRow(int32_t r) {
  const double jdUt = Store.ObsJd(r, kSet1);
  RunRequest.JdUt = jdUt;
  RunRequest.Observer.reset();
  if (r >= RowObservers.First && static_cast<size_t>(r - RowObservers.First) < RowObservers.SiteOfRow.size()) {
    RunRequest.Observer = RowObservers.Sites[RowObservers.IndexOf(r)];
  }
  const ApparentPlaceResult result = Astro.ApparentPlaceOf(RunRequest);
  const ApparentPlace& place = result.Detail;
  ShownDeltaTSeconds = place.DeltaTSeconds;
  Pending.DeltaT = true;
  // The reader's date outside the block files stops the run, as a Stop does.
  if (result.Ephemeris.Failure == EphemerisFailure::kNoSuchDate) StopRequested = 1;
  if (!place.Ok) {
    LastEphemeris = result.Ephemeris;
    return false;
  }

  const PlotAxes& axes = plot.Axes;
  const double x = axes.X(jdUt);
  // One coordinate: its correction at this date, the corrected observation, the
  // deviation from theory, and the running mean of the deviations within the limits.
  struct Coordinate {
    double& obs1Deg;
    double& obs3Deg;
    double theoryDeg, corr1Deg, corr2Deg, lowDeg, highDeg;
    double &currDeg, &devDeg, &sumDeg;
    int32_t& count;
    bool &devShown, &meanShown;
    bool plotDev, plotMean;
    uint32_t colour;
    int32_t series, meanSeries;  // of the readout under the mouse
    std::vector<FitSample>& samples;  // what "Подобрать поправку (МНК)" fits
    double sigmaArcsec;               // the record's uncertainty in this coordinate, 0: unknown
  };
  const auto record = static_cast<int32_t>(FitData.Residuals.size());
  auto compare = [&](const Coordinate& c) {
    c.currDeg = c.corr1Deg + (c.corr2Deg - c.corr1Deg) * (jdUt - Jd1Ut) / (Jd2Ut - Jd1Ut);
    if (correctData.Value) c.obs3Deg = c.obs1Deg + c.currDeg;
    c.devDeg = c.obs3Deg - c.theoryDeg;
    c.devShown = true;
    // With "по данным" the points are only kept, for ReplotFitted.
    auto point = [&](double y, uint32_t colour, const PlotPointInfo& info) {
      if (RunFits) {
        plot.Infos.push_back(info);
      } else {
        plot.Point(x, y, colour, info);
      }
    };
    if (c.plotDev) point(axes.Y(c.devDeg * 3600), c.colour, {r, c.series, jdUt, c.devDeg * 3600});
    if (!meansWithinLimits.Value || (c.lowDeg <= c.devDeg && c.devDeg <= c.highDeg)) {
      c.sumDeg = c.sumDeg + c.devDeg;
      c.count = c.count + 1;
      c.meanShown = true;
      c.samples.push_back(
          {JulianYears(jdUt), c.devDeg * 3600, (c.obs3Deg - c.obs1Deg) * 3600, c.sigmaArcsec, record});
      if (c.plotMean) point(axes.Y((c.sumDeg / c.count) * 36000), 0, {r, c.meanSeries, jdUt, c.sumDeg / c.count * 3600});
    }
  };
  const bool hasL = HasLongitude(Store.ObsLon(r, kSet1)), hasB = HasLatitude(Store.ObsLat(r, kSet1));
  const double cosDec = std::cos(place.LatDeg / kProgramDegPerRad);
  // The record's station and uncertainties, its own or those of Weights.txt, for the fit
  // and the summary alike.
  std::string station = Store.ObserverCode(r, kSet1);
  const RecordSigmas sigmas =
      RunWeights.SigmasOf(Store.SigmaRaArcsec(r, kSet1), Store.SigmaDecArcsec(r, kSet1), station, jdUt, {});
  if (hasL) {
    // The uncertainty is in right ascension times cos(dec); the O-C is in right ascension
    // itself.
    const double sigma = sigmas.RaArcsec / cosDec;
    compare({Store.ObsLon(r, kSet1), Store.ObsLon(r, kSet3), place.LonDeg, CorrL1Deg, CorrL2Deg, LimitLLowDeg,
             LimitLHighDeg, CurrLDeg, DevLDeg, SumLDeg, CountL, Pending.DevL, Pending.MeanL, plotDevL.Value,
             plotMeanL.Value, Rgb(250, 0, 0), kSeriesDevL, kSeriesMeanL, FitData.Coord[0], sigma});
  }
  if (hasB) {
    compare({Store.ObsLat(r, kSet1), Store.ObsLat(r, kSet3), place.LatDeg, CorrB1Deg, CorrB2Deg, LimitBLowDeg,
             LimitBHighDeg, CurrBDeg, DevBDeg, SumBDeg, CountB, Pending.DevB, Pending.MeanB, plotDevB.Value,
             plotMeanB.Value, Rgb(0, 0, 250), kSeriesDevB, kSeriesMeanB, FitData.Coord[1], sigmas.DecArcsec});
  }
  // The record's O-C for the statistics at the end of the run (its year is looked up then).
  ResidualRecord residual;
  residual.Number = r;
  residual.Station = std::move(station);
  residual.SigmaRaArcsec = sigmas.RaArcsec;
  residual.SigmaDecArcsec = sigmas.DecArcsec;
  residual.HasRa = hasL;
  residual.HasDec = hasB;
  if (hasL) residual.RaArcsec = DevLDeg * 3600 * cosDec;
  if (hasB) residual.DecArcsec = DevBDeg * 3600;
  FitData.Residuals.push_back(std::move(residual));
  FitData.PlotJd.push_back(jdUt);
  FitData.CosDec.push_back(cosDec);
  Pending.Row = r;
  if (Run.CsvOpen()) WriteDeviationsCsv(r, place);
  ComparedCount = ComparedCount + 1;
  progress.Value = static_cast<int>(static_cast<int64_t>(ComparedCount) * 100 / (Last - First + 100));
  return true;
}

// "Подобрать поправку (МНК)": a straight line in time fitted by least squares to the O-C
// of the last run in each coordinate (FitLinearTrend), shown in the pane; the correction
// boxes at №1 and №2 get the line that cancels the O-C of the loaded observations, so that
// "+ скорректировать данные" and a new run apply it as a typed correction.  The O-C the
// run had already corrected are uncorrected for that (their correction is known record by
// record), so that a fit after a corrected run finds the same correction again.  A
// coordinate with fewer than two records at two dates keeps its boxes; when neither has
// them nothing changes.
void Window3Model::FitCorrection() {
  static constexpr const char* kNames[] = {"RA", "Dec"};
  std::array<LinearFitResult, 2> shown, correction;
  for (size_t k = 0; k < 2; ++k) {
    LinearFitRequest run, loaded;
    for (const FitSample& p : FitData.Coord[k]) {
      if (!FlagAccepted(FitData.Residuals[static_cast<size_t>(p.Record)].Flag)) continue;
      run.Points.push_back({p.T, p.Dev, p.Sigma});
      loaded.Points.push_back({p.T, p.Dev - p.Applied, p.Sigma});
    }
    shown[k] = FitLinearTrend(run);
    correction[k] = FitLinearTrend(loaded);
  }
  if (!shown[0].Ok() && !shown[1].Ok()) {
    throw Refusal{"Поправку не подобрать: нужны хотя бы 2 записи с разными датами, сравненные с теорией "
                  "(сравните данные наблюдений с теорией)", {}};
  }
  ShownFit = shown;
  CorrectionFit = correction;
  const double t1 = JulianYears(FitData.Jd1Ut), t2 = JulianYears(FitData.Jd2Ut);
  TextBox* boxes[2][2] = {{&corrLFirstArcsec, &corrLLastArcsec}, {&corrBFirstArcsec, &corrBLastArcsec}};
  std::string text = "Поправка по МНК, записи №" + std::to_string(FitData.First) + " - №" + std::to_string(FitData.Last) +
                     ": O-C = a + b·(t - t0), t в годах" + kCrLf;
  for (size_t k = 0; k < 2; ++k) {
    const LinearFitResult& f = shown[k];
    text += std::string(kNames[k]) + ": ";
    if (!f.Ok()) {
      text += "не подобрана: меньше 2 записей с разными датами" + std::string(kCrLf);
      continue;
    }
    // Three significant digits; rounding leaves a covariance of some 1e-17 where it is zero
    // (equal weights about the mean date).
    char covariance[32] = "?";
    if (std::isfinite(f.Covariance)) {
      std::snprintf(covariance, sizeof covariance, "%.3g", std::fabs(f.Correlation) < 1e-9 ? 0.0 : f.Covariance);
    }
    text += "a = " + FitNumber(f.Offset, "0.0000") + "\" ± " + FitNumber(f.OffsetSigma, "0.0000") + "\", b = " +
            FitNumber(f.Drift, "0.00000") + " ± " + FitNumber(f.DriftSigma, "0.00000") + " \"/год, t0 = " +
            FitNumber(f.ReferenceT, "0.000") + ", ковариация a, b = " + DotToComma(covariance) + ", корреляция " +
            FitNumber(f.Correlation, "0.00") + ", rms = " + FitNumber(f.Rms, "0.0000") + "\", записей " +
            std::to_string(f.Count) + ", ";
    text += f.Weighted ? "веса 1/σ², χ²/ст. св. = " + FitNumber(f.ChiSquarePerDof, "0.00")
                       : std::string("равные веса, ошибки по разбросу");
    text += kCrLf;
    boxes[k][0]->Text = RealText(-correction[k].At(t1));
    boxes[k][1]->Text = RealText(-correction[k].At(t2));
  }
  if (FitData.Clipped) text += "Записи, отбракованные по k·σ, в подборе не участвуют" + std::string(kCrLf);
  text += "Поправка к загруженным данным, снимающая их O-C по прямой, записана в dLn, dLk, dBn, dBk: отметьте "
          "\"+ скорректировать данные\" и сравните снова";
  // The summary of the run stays in view below the fit.
  reportPane.Text = text + kCrLf + kCrLf + (SummaryPane.empty() ? "" : SummaryPane + kCrLf + kCrLf) + LoadedPane;
}

}  // namespace planova
