// Window 3 ("форма 3"): compares one observation file with a theory, optionally corrects
// the observations by a correction that changes linearly in time between two records,
// plots the deviations and their running means, and writes the corrected records as a
// BDL file.  Data set 1 holds the loaded observations, data set 3 the corrected copy.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "astro/apparent_place.h"
#include "astro/astronomy.h"
#include "astro/time.h"
#include "bdl/bdl_line.h"
#include "common/form.h"
#include "import/observatories.h"
#include "common/obs_store.h"
#include "common/picture.h"
#include "compare/comparison_run.h"
#include "compare/linear_fit.h"
#include "compare/residual_stats.h"
#include "compare/weight_rules.h"
#include "models/file_choice.h"
#include "models/messages.h"

namespace planova {

struct BdlLoadResult;

class Window3Model : public FormModel {
 public:
  Window3Model(Platform& platform, FormHost* host, Astronomy& astro, ObservationStore& store);

  Astronomy& Astro;
  // "Stop" was pressed (1), or an ephemeris date fell outside the block files, which
  // stops the next run or step after its first record and the next load after its first line.
  int16_t StopRequested = 0;
  ObservationStore& Store;

  // The controls, with the caption beside each; the registry tables of window3_model.cpp
  // give their historical control names, which the batch scripts and the layout use.
  TextBox arraySize;                  // N of "Создать массивы с N="
  TextBox observatoryCode;            // "Имя обсерватории"
  TextBox objectNumber;               // "№ объекта"
  TextBox fileNumber;                 // "№ файла": the file to load
  TextBox resultFileNumber;           // "файл": the number of the file the result is written to
  TextBox firstRecord, lastRecord;    // "с №1", "по №2": the records the run compares and the write writes
  TextBox firstRecordYear, firstRecordMonth, firstRecordDay;        // "№1: год, месяц, день"
  TextBox lastRecordYear, lastRecordMonth, lastRecordDay;           // "№2: год, месяц, день"
  TextBox currentRecordYear, currentRecordMonth, currentRecordDay;  // "сейчас: год, месяц, день" being compared
  TextBox recordsCompared;            // "сравнено": records compared
  TextBox deltaTSeconds;              // "ET-UT,сек" of the record being compared
  CheckBox deltaTSince1700;           // "с 1700": the piecewise ET-UT model instead of the parabola
  OptionButton theoryTwoBody;         // "JPL0": two-body theory with the short lunar series
  OptionButton theoryJpl2;           // "JPL2": the JPL ephemeris of the list box
  ComboBox ephemeris;                 // "эфемериды": the JPL ephemeris of "JPL2"
  EphemerisChoice Ephemerides;        // the ephemerides the box lists and the selection of its choice
  CheckBox innerPlanetPerturbations;  // "+dL": the inner planets' periodic perturbations with "JPL0"
  CheckBox rigorousReduction;         // "точно (IAU 2006)": the rigorous reduction with "JPL2"
  CheckBox astrometricPlace;          // "астрометрическое (ICRS)": the astrometric place, with "точно (IAU 2006)"
  CheckBox deltaTFromTable;           // "TT-UTC по таблице": TT-UTC of the leap seconds from 1960, "с 1700" before
  CheckBox topocentricPlace;          // "топоцентр.": places seen from each record's station, with "точно (IAU 2006)"
  CheckBox stepByStep;                // "По шагам"
  CheckBox correctData;               // "+ скорректировать данные"
  TextBox corrLFirstArcsec, corrLLastArcsec;  // "dLn=", "dLk=": longitude correction at №1 and №2
  TextBox corrBFirstArcsec, corrBLastArcsec;  // "dBn=", "dBk=": latitude correction at №1 and №2
  CheckBox meansWithinLimits;         // "+ учитывать для dLsr, dBsr": only deviations within the limits
  TextBox limitLHighArcsec, limitLLowArcsec;  // "+dL=", "-dL="
  TextBox limitBHighArcsec, limitBLowArcsec;  // "+dB=", "-dB="
  CheckBox clipOutliers;              // "отбраковка k·σ": iterative k·σ clipping when a run has finished
  TextBox clipK;                      // its k (beside the box)
  CheckBox clipJointly;               // "совместно": RA·cos δ and Dec judged together, not each alone
  TextBox devLArcsec, devBArcsec;     // "dL=", "dB=": current deviations
  TextBox meanLArcsec, meanBArcsec;   // "dLsr=", "dBsr=": running means
  CheckBox plotDevL, plotDevB;        // plot "dL", "dB"
  CheckBox plotMeanL, plotMeanB;      // plot "dLsr", "dBsr"
  CheckBox keepTimeOrigin;            // "T0=T0": keep the time origin of the plot
  CheckBox fitPlotToData;             // "по данным": the plot's scales fit the run's points, not the boxes
  TextBox plotScaleYearsPerCm;        // "MT, лет/см"
  TextBox plotScaleArcsecPerCm;       // "MdP,  угл. сек / см  "
  TextBox plotOffsetCm;               // "+dP, см": height of the zero line
  RichTextBox reportPane;             // what the load read and the write wrote
  PictureBox plot;                    // the deviations and their means against time
  ProgressBar progress;
  std::array<Label, 32> labels;
  Label statusLine;  // the file loaded, its records and the last file written
  DataStatus Status;  // what statusLine shows

  // Window state.
  int32_t& Count1 = Store.Count1;
  int32_t& Count3 = Store.Count3;
  std::string& EpochLabel1 = Store.EpochLabel1;
  double PlotTimeOriginJd = 0;  // the plot's time origin: the date of data set 1's first record (or the fitted one)
  int32_t PickedRow = 0;
  std::string HeaderText;
  std::string LoadedPane;  // what the last load put in the pane, under a write's report
  std::string TimeScaleLabel;
  BdlState Bdl;

  // Run state: the rows from №1 to №2 and the step state are the comparison run's.
  ComparisonRun Run;
  int32_t& First = Run.First;  // records №1 and №2
  int32_t& Last = Run.Last;
  int32_t& CurrentRow = Run.CurrentRow;
  int32_t& ComparedCount = Run.Stats.ComparedCount;
  // Degrees: the sums of the deviations counted in the means (CountL, CountB), the
  // corrections at the current record, its deviations, the corrections at records №1 and
  // №2, and the limits of the deviations that count.
  int32_t CountL = 0, CountB = 0;
  double SumLDeg = 0, SumBDeg = 0, CurrLDeg = 0, CurrBDeg = 0, DevLDeg = 0, DevBDeg = 0;
  double CorrL1Deg = 0, CorrL2Deg = 0, CorrB1Deg = 0, CorrB2Deg = 0;
  double LimitLHighDeg = 0, LimitLLowDeg = 0, LimitBHighDeg = 0, LimitBLowDeg = 0;
  double Jd1Ut = 0, Jd2Ut = 0;  // the dates of records №1 and №2, JD (UT as observed)
  // The plot's scales and the height of its zero line: the boxes', or with "по данным"
  // those fitted to the run's points.
  double PlotYearsPerCm = 1, PlotArcsecPerCm = 1, PlotZeroLineCm = 4;

  void Load();       // defaults and the empty grid
  void Activate();   // dates follow the Gregorian reform; the ephemerides are looked for again

  // Buttons.
  void CreateArrays();   // "Создать массивы с N="
  void LoadBdl();        // "Загрузить в формате BDL"
  void WriteResult();    // "Записать результат в файл"
  void StartRun();       // "Сравнить данные наблюдений с"
  void Step();           // "сделать 1 шаг"
  void Stop();           // "Остановить сравнение", "Stop"
  void ClearPlot();      // "Очистить рисунок"
  void FitCorrection();  // "Подобрать поправку (МНК)"
  void CloseWindow();    // "Закрыть форму"
  // "Открыть…": a BDL file chosen in its Obs folder fills the observatory, object and file
  // number of the load; "Недавние": a file loaded or written lately fills them as well.
  void OpenLoadFile();
  void OpenRecent();

  // Reads a BDL file's name (absolute, or relative to the application folder) as the load
  // makes it, Obs<code>/<code><object>_G_<n>.txt; `codeNow` is the code in the box, taken
  // first where a name could be split more than one way.
  static FileNameParts ReadLoadFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                        const std::string& codeNow);

  // A mouse press on the plot at x (plot units): picks record №1 (left) or №2 (right).
  void PickPoint(double x, bool left);

  // Compares rows from CurrentRow on (all, or one in step mode, or up to a stop); a Refusal
  // with the ephemeris message when a record has no theoretical place.
  void CorrectionLoop();
  // One record: its theoretical place, the correction, the deviations and their means.
  bool CorrectRow(int32_t r);
  // The boxes of the last record, formed when the window can show them (a few times a
  // second during a run, and at its end or pause), not for every record.
  void ShowCurrentRow();
  ApparentPlaceRequest RunRequest;  // the run's switches; the date is each record's
  RecordObservers RowObservers;     // with "топоцентр.": each record's observer, else empty
  std::optional<ObservatoryList> RunObservatories;  // the observatory lists of the run, once read
  EphemerisReport LastEphemeris;    // the report of the last record that failed: why the run stopped
  ApparentPlaceRequest RunRequestOfBoxes() const;
  void ResolveRowObservers();
  // The CSV of the run's deviations (Dat/Dev_data_): body, theory and epoch of every row,
  // the row being formed, and the rows' dates.
  std::string CsvFixedFields, CsvLine;
  IsoDateTime CsvDate;
  void OpenDeviationsCsv();
  void WriteDeviationsCsv(int32_t r, const ApparentPlace& place);
  double ShownDeltaTSeconds = 0;  // ET-UT (TT-UT, rigorous) of the last record, s, for its box
  struct PendingBoxes {
    bool DeltaT = false, DevL = false, DevB = false, MeanL = false, MeanB = false;
    int32_t Row = 0;  // the record whose date and count are still to be shown
  } Pending;

  // What "Подобрать поправку (МНК)" fits: the records of the last run that count in its
  // means (within the limits, with "+ учитывать для dLsr, dBsr"), right ascension [0] and
  // declination [1] apart, each with its date (Julian years), the run's O-C, the
  // correction that O-C already holds (data set 3 less data set 1) and its uncertainty,
  // all in arcseconds of the coordinate, and its record's index in Residuals, whose flag
  // leaves it out when a k·σ clipping of the finished run rejected it; and the dates of
  // the run's records №1 and №2.
  struct FitSample {
    double T, Dev, Applied, Sigma;
    int32_t Record;
  };
  struct RunSamples {
    std::array<std::vector<FitSample>, 2> Coord;
    int32_t First = 0, Last = 0;
    double Jd1Ut = 0, Jd2Ut = 0;
    // Every record the run compared, in the order compared: its O-C in RA·cos δ and Dec
    // (arcseconds), sigmas (its own, else Weights.txt's), station and year, and from the
    // end of a finished run its selection flag ('A', 'D'); and where its points lie on
    // the plot (its date and cos δ, for the mark of a rejected record).
    std::vector<ResidualRecord> Residuals;
    std::vector<double> PlotJd, CosDec;
    bool Clipped = false;  // the flags come from a k·σ clipping (not all accepted by default)
  } FitData;
  // The run's clipping, read from the boxes when it starts: whether it clips, and how.
  bool RunClips = false;
  bool RunFits = false;  // "по данным" when the run started: its points are drawn by ReplotFitted
  ClipRequest RunClip;
  WeightRules RunWeights;  // Weights.txt, read once a run
  // With the clipping, the CSV lines of the run wait here for their flags until it ends.
  std::vector<std::string> CsvHeld;
  // The summary of the last finished run (ResidualSummaryText), shown in the pane.
  std::string SummaryPane;
  // The end of a finished run: the clipping (or all accepted), the flags in the CSV, the
  // marks and the band on the plot and the summary in the pane.
  void FinishRunStatistics();
  void DrawClipping(const ClipResult& clip);
  // The held CSV lines written with their flags (none: an empty field), then let go.
  bool WriteHeldCsv(const std::vector<char>& flags);
  // The fits of the last "Подобрать поправку (МНК)": of the run's O-C as it shows them,
  // and of the O-C of the loaded observations, whose negative is the correction.
  std::array<LinearFitResult, 2> ShownFit, CorrectionFit;

 private:
  // The load boxes of a chosen file; a refusal saying why leaves every box as it was.
  void FillFromLoadFile(const std::filesystem::path& file);
  // The grid of the plot, in plot units: the window's own 25 by 17, or a fitted one.
  void DrawGrid();
  void DrawGrid(double left, double top, double right, double bottom);
  // With "по данным": the run's points so far drawn again, with the zero line, the limits
  // and the title, on scales fitted to them; false when there is no point yet.
  bool ReplotFitted();
  // The run's boxes read and checked: a Refusal for data the run cannot use (no arrays,
  // a body without theory, a bad box, an unknown epoch).
  void ReadRunSettings();
  void DrawRunFrame();
  void SetPlotAxes();
  // The boxes, the pane and the labels after a load that read the file's heading.
  void FinishLoad(const BdlLoadResult& loaded);
  // Year, month and day of №1 (first) or №2 in their boxes.
  void ShowRecordDate(bool first, const CalendarDate& date);
};

// A record's day as window 3's date boxes show it.
std::string RecordDayText(double day);

}  // namespace planova
