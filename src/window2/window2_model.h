// Window 2: data sets 1, 2 and 3 in columns 1, 2 and 3 of the observation store; their
// loading from BDL files, cleaning, sorting, time changes, merging, epoch and frame
// conversions, the report of changes and the writer; the comparison with a second set
// or with theory, its plot, and the ephemeris calculator.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <future>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "astro/apparent_place.h"
#include "astro/astronomy.h"
#include "astro/constants.h"
#include "astro/time.h"
#include "common/form.h"
#include "common/obs_store.h"
#include "bdl/bdl_line.h"
#include "common/picture.h"
#include "compare/ades_residuals.h"
#include "compare/comparison_run.h"
#include "compare/residual_stats.h"
#include "compare/weight_rules.h"
#include "import/observatories.h"
#include "models/file_choice.h"
#include "models/messages.h"
#include "window2/places_ahead.h"
#include "window2/plot.h"

namespace planova {

struct BdlLoadResult;

// Records set aside ('d') or kept ('a') by hand in a comparison: inclusive ranges of record
// numbers, sorted and merged; a record in both is set aside.
struct HandSelection {
  std::vector<std::pair<int32_t, int32_t>> Excluded, Kept;
  // Given: a record number.  Returned: 'd', 'a', or '\0' when the hand left it to the run.
  char FlagOf(int32_t row) const;
};

class Window2Model : public FormModel {
 public:
  // "AberZ(L)=", "AberP(L)=" and "Nut(B)=" are part of the rigorous reduction while
  // "точно (IAU 2006)" serves the comparison.
  bool CheckHeld(const std::string& name) const override;
  Window2Model(Platform& platform, FormHost* host, Astronomy& astro, ObservationStore& store);

  Astronomy& Astro;
  // "Stop" was pressed (1), or an ephemeris date fell outside the block files, which
  // stops the next run or step after its first row and the next load after its first line.
  int16_t StopRequested = 0;
  ObservationStore& Store;

  // --- Data sets and loading ---
  TextBox arraySize;                // N of "Создать массивы с N="
  OptionButton loadIntoSet1;        // "данные №" "1 (Hor, Topo всегда №1)": a load goes to data set 1
  OptionButton loadIntoSet2;        // "данные №" "2": to data set 2
  TextBox observatoryCode;          // "Имя обсерватории": the code that names the Obs folder and files
  TextBox objectNumber;             // "№ объекта": the body (11 the Moon)
  TextBox fileNumber;               // "№ файла": the last part of the file name
  // The file kind, its mark in the file name: "RA" (_R_), "Dec" (_D_), "Geo " (the mark of
  // the "Geo (Topo)" frame) or "Hor" (_H_).
  OptionButton fileRa, fileDec, fileGeo, fileHor;
  OptionButton geoMarkG, geoMarkGlb, geoMarkGt, geoMarkT;  // "Geo (Topo)": "G", "GLB", "GT", "T"
  TextBox observatoryLonDeg;        // "ObsL": the observatory's east longitude, degrees
  TextBox observatoryLatDeg;        // "ObsB": its latitude, degrees
  TextBox timeScaleName;            // "время": the time scale of data set 1 ("UT", "ET")
  TextBox epochName;                // "эпоха": the epoch of data set 1 ("App", "B1950", "J2000")
  TextBox firstRow, lastRow;        // "с №", "по №": the rows to write
  TextBox outputName;               // the name part of the output file, after outputPrefix
  Label outputPrefix;               // "файл", then the file-name prefix
  Label statusLine;                 // the file loaded last, its records and the last file written
  DataStatus Status;                // what statusLine shows
  TextBox toleranceSeconds;         // "при dT, сек= ": the time tolerance, seconds
  OptionButton sortAscending, sortDescending;  // sort "с начала", "с конца"
  // The time change: "12" (half a day), "ET- UT" or "LT- UT" (the local time of the
  // observatory's longitude), added ("+") or taken away ("-").
  OptionButton shiftHalfDay, shiftEtMinusUt, shiftLtMinusUt;
  OptionButton shiftPlus, shiftMinus;
  TextBox etMinusUtSeconds;         // "ET-UT,сек" (after "LT- UT": LT-UT, hours)
  // "Перевести из эпохи": the epoch of the data, "B1950", "JD" (of date) or "Other" (the
  // date of the year, month and day boxes), to "в эпоху" "J2000" or "JD" (of date).
  OptionButton fromEpochB1950, fromEpochOfDate, fromEpochOther;
  OptionButton toEpochJ2000, toEpochOfDate;
  // Year, month and day (with its fraction): the "Other" epoch, the first date of a
  // generated set, the ephemeris calculator's date, and the date of the last compared row.
  TextBox dateYear, dateMonth, dateDay;
  CheckBox rowInNote;               // "+№ в примечаниях": the row number into the note of a written record
  CheckBox showLines;               // "+Текст": the lines written, merged or compared into the report pane

  // --- Comparison, theory and plot ---
  OptionButton generateSet1;        // data 1 "JPL0": data set 1 generated from the two-body theory
  OptionButton set1FromFile;        // data 1 "из файла": data set 1 as loaded
  OptionButton set2FromFile;        // data 2 "из файла": data set 2 as loaded
  OptionButton theoryJpl0;          // data 2 "JPL0": the two-body theory
  OptionButton theoryJpl2;         // data 2 "JPL2 (DE405)": the JPL ephemeris
  ComboBox ephemeris;               // "эфемериды": the JPL ephemeris of "JPL2 (DE405)" and of the calculator
  EphemerisChoice Ephemerides;      // the ephemerides the box lists and the selection of its choice
  CheckBox deltaTSince1700;         // "с 1700": the piecewise ET-UT model instead of the parabola
  CheckBox addAberration;           // "AberZ(L)=": annual aberration
  CheckBox addPlanetaryAberration;  // "AberP(L)=": planetary aberration (light time)
  CheckBox addRefraction;           // "Ref(B)=": refraction
  CheckBox addNutation;             // "Nut(B)=": nutation
  // The corrections of the last row, arcseconds, beside their switches.
  TextBox aberrationArcsec, planetaryAberrationArcsec, refractionArcsec, nutationArcsec;
  CheckBox rigorousIau2006;         // "точно (IAU 2006)": the rigorous reduction with "JPL2 (DE405)"
  CheckBox astrometricPlace;        // "астрометрическое (ICRS)": the astrometric place, with "точно (IAU 2006)"
  CheckBox deltaTFromTable;         // "TT-UTC по таблице": TT-UTC of the leap seconds from 1960, "с 1700" before
  CheckBox topocentricPlace;        // "топоцентр.": places seen from each record's station, with "точно (IAU 2006)"
  CheckBox writeParamFile;          // "+File": the Param_data_, its CSV twin and the Stat file
  CheckBox plotDifferences;         // "+График"
  CheckBox clearPlot;               // "+ очистка рисунка": a new plot for a new run (ticked at start)
  CheckBox fitPlotToData;           // "по данным": the plot's scales fit the run's points, not the boxes
  CheckBox stepMode;                // "По шагам": one row per step
  CheckBox plotDiffL, plotDiffB, plotDiffT;  // plot "dL", "dB", "dT"
  TextBox generateToYear;           // "JPL0 до": the last year of a generated set
  TextBox plotScaleYearsPerCm;      // "MT, лет/см"
  TextBox plotScaleArcsecPerCm;     // "MdP,  угл. сек / см    (сек / см)": seconds of time for dT
  TextBox plotOffsetArcsec;         // "+dP, угл.сек(сек)"
  TextBox colourDiffL, colourDiffB, colourDiffT;  // "цвет dL", "цвет dB", "цвет dT": colour numbers 0..13
  PictureBox plotPicture;           // the plot of the differences
  // The residual statistics at the end of a run: iterative k·σ clipping and records
  // excluded by hand (ADES selAst 'D' and 'd').
  CheckBox clipResiduals;           // "отбраковка k·σ"
  TextBox clipK;                    // its k, beside it
  CheckBox clipJointly;             // "совместно": RA·cos δ and Dec judged together, else each alone
  TextBox excludedRecords;          // "исключить №": record numbers and ranges ("5; 12-14")

  RichTextBox set1Pane;             // data set 1 as loaded
  RichTextBox set2Pane;             // data set 2 as loaded, or the stages of the last theoretical place
  RichTextBox reportPane;           // what the last operation did
  ProgressBar progress;
  std::array<Label, 24> boxLabels;  // fixed captions beside the boxes

  // --- The window's data-set state ---
  int32_t& Count1 = Store.Count1;
  int32_t& Count2 = Store.Count2;
  int32_t& Count3 = Store.Count3;
  int32_t LoadSet = kSet1;  // the column the last load went to
  std::string RecordsText1, RecordsText2;
  std::string HeaderText;
  std::string TimeScaleLabel;
  std::string& EpochLabel1 = Store.EpochLabel1;
  std::string& EpochLabel2 = Store.EpochLabel2;
  std::string& EpochLabel3 = Store.EpochLabel3;
  std::string ProcessLog;

  // --- Theory of one observation ---
  double ObservationJdUt = 0;  // date of the current observation, JD (UT as observed)
  double ShiftedJdEt = 0;      // ObservationJdUt + ET-UT: the ET the theory is read at, JD
  double DeltaTSeconds = 0;    // ET-UT, s
  std::string TheoryLog;      // stages of the last observation's reduction
  std::string ComparisonLabel;  // epoch label the comparison refers to

  // The theoretical place of row i of data set 1 (right ascension and declination of
  // date, degrees) into row i of data set 3, with the corrections switched on, and its
  // corrections into the boxes.  Not Ok when the ephemeris failed.  Refuses a body that
  // has no theory.
  // Row i's place of theory, written into data set 3 (LastPlace: the whole place, unless
  // it was computed ahead: LastPlaceRow).
  PlacesAhead::RowPlace ComputeObservationTheory(int32_t i);
  // Where a row's request takes its date and observer from: data set 1's dates and the
  // run's stations, read where they lie (the places' second thread reads them so, never
  // a member of the window, whose neighbours the window writes at every row).
  struct RowRequestSource {
    const double* Jd = nullptr;  // by row
    const uint16_t* SiteOfRow = nullptr;
    size_t SiteRows = 0;
    int32_t First = 0;
    const ObserverSite* Sites = nullptr;
    // Sets r's date and observer to row i's (the rest of r is the run's).
    void Fill(int32_t i, ApparentPlaceRequest& r) const;
  };
  RowRequestSource RowRequests() const;
  // LastPlace made the place of LastPlaceRow, when that was computed ahead (the second
  // thread held).
  void CatchUpLastPlace();
  ApparentPlaceRequest TheoryTemplate;  // the run's switches; the date is each row's
  // With "топоцентр.": the observer of each row of data set 1, else empty; and the code of
  // the last row's observer, for the stage log.
  RecordObservers RowObservers;
  std::optional<ObservatoryList> RunObservatories;  // the observatory lists of the run, once read
  std::string LastObserverCode;
  ApparentPlace LastPlace;              // the place of the last row computed
  PlacesAhead* Ahead = nullptr;         // a run's places computed ahead (ProcessObservations)
  int32_t LastPlaceRow = 0;             // the row whose place LastPlace is still to become (0: none)
  EphemerisReport LastEphemeris;        // its ephemeris report: why a failed run stopped
  bool LastPlaceShown = true;           // its boxes and stage log are formed
  int32_t ShownRow = 0;                 // the last compared row whose date boxes are not yet formed

  // --- Comparison run ---
  ComparisonRun Run;
  int32_t& CurrentIndex = Run.CurrentRow;  // next row of data set 1 to compare
  int32_t& ComparedCount = Run.Stats.ComparedCount;
  double& SumAbsDLDeg = Run.Stats.SumAbsDLDeg;
  double& SumAbsDBDeg = Run.Stats.SumAbsDBDeg;
  double TimeToleranceDays = 0;       // the largest date difference of a match
  TimeMatchIndex Set2Dates;           // data set 2 by date, for a comparison "из файла"
  double DiffLDeg = 0, DiffBDeg = 0;  // O-C of the current row, degrees
  bool CalendarWarned = false;        // the run has said that a date is beyond the calendar
  std::string ComparisonLog;
  // The CSV twin of Param_data_ ("+File"): the theory named in its rows, and their dates.
  std::string CsvFixedFields;  // "11,JPL2 DE405,App": body, theory and epoch of every row
  IsoDateTime CsvDate;
  double PlotOriginJd = 0;  // the time origin of the plot's page, JD
  // Whether the picture already shows a frame on the axes of a run with these settings
  // and time origin, so that the run may draw over it.
  bool PlotFrameServes(double originJd) const;
  // One compared record of the run, kept for the statistics at its end, the sel and
  // sigma columns of the CSV twin (written then, when the clipping has decided) and the
  // ADES file: 72 bytes, so that a run of a million records keeps 72 MB.  The O-C in
  // right ascension times cos δ is formed from OcRaArcsec and DecDeg as the CSV forms it.
  struct RunResidual {
    double Jd = 0;                  // the observation's date (data set 1), JD
    double RaDeg = 0, DecDeg = 0;   // the observed place
    double OcRaArcsec = 0;          // O-C in right ascension (not times cos δ)
    double OcDecArcsec = 0;         // O-C in declination
    double OcTimeSeconds = 0;       // data set 1's date minus the comparison value's
    // The O-C in right ascension times cos δ, arcseconds: the CSV's, the ADES file's resRA
    // and the statistics' right ascension, computed once (SetOcRa) so that all three agree.
    double OcRaCosDec = 0;
    float SigmaRa = 0, SigmaDec = 0;  // the weights' sigmas, arcseconds; 0 unknown
    int32_t Row = 0;                // the record's number in data set 1
    int32_t Station = 0;            // index into RunStations
    int16_t Year = 0;               // the calendar year (0 when the calendar refused the date)
    int8_t IntervalRa = 0, IntervalDec = 0;  // the Stat intervals of the absolute O-C (0: none)
    uint8_t Bits = 0;               // kHasRa, kHasDec, kOwnSigmaRa, kOwnSigmaDec
    static constexpr uint8_t kHasRa = 1, kHasDec = 2, kOwnSigmaRa = 4, kOwnSigmaDec = 8;
    double OcRaCosDecArcsec() const { return OcRaCosDec; }
    void SetOcRa(double arcsec) {
      OcRaArcsec = arcsec;
      OcRaCosDec = arcsec * std::cos(DecDeg / kProgramDegPerRad);
    }
  };
  std::vector<RunResidual> RunResiduals;
  // The CSV rows of RunResiduals formed so far: the block not yet written, each row's
  // length and its selection's place in it (the file's offsets from CsvRowsFrom on).
  struct CsvRowPlace {
    uint16_t Length = 0, Sel = 0;
  };
  std::string CsvBlock;
  size_t CsvBlockUsed = 0;
  std::vector<CsvRowPlace> CsvRows;
  uint64_t CsvRowsFrom = 0;
  bool CsvFailed = false;  // a block could not be written: the run's end refuses the file
  std::vector<std::string> RunStations;  // the station codes of the run, by first appearance
  StationCode RunLastStationCode;        // the store's code of RunResiduals.back()
  WeightRules RunWeights;                // Weights.txt, read once at the start of a run
  // The run's clipping (none: Check18 off) and the records set aside or kept by hand.
  std::optional<ClipRequest> RunClip;
  HandSelection RunHand;
  ResidualSummary LastSummary;  // of the last finished run
  ClipResult LastClip;          // its flags (one per RunResiduals) and band
  PlotColourTable PlotColours{};
  PlotSettings Plot;

  // Compares rows from CurrentIndex on: all of them, or one in step mode, or up to a stop.
  // A failed ephemeris read stops the run with its message; the button goes on to show
  // what was compared.
  void ProcessObservations();

  BdlState Bdl;  // the BDL cells; its body name is the one of the last file loaded

  // First showing: the astronomy module's constants and tables, the default texts.
  void Load();
  // Every showing, the first included: dates in windows 2 and 3 follow the Gregorian
  // reform; the ephemerides are looked for again (files may have come or gone meanwhile).
  void Activate();

  // Buttons (their captions stand in the button table of window2_model.cpp).
  void CreateArrays();
  void LoadBdl();
  void Clean();
  void Sort();
  void ChangeTime();
  void Merge();
  void ConvertEpoch();
  void HorToTopo();
  void TopoToHor();
  void TopoToGeo();
  void GeoToTopo();
  void ShowChanges();
  void WriteResult();
  void Stop();
  void Compare();
  void Step();
  void EphemerisCalculator();
  void OpenWindow3();
  void Exit();
  // "Открыть…": a BDL file chosen in its Obs folder fills the load boxes (observatory,
  // object, file kind and number); "Недавние": a file loaded or written lately fills them
  // as well, or, when its name is not one a load makes, the name of the file of the result.
  void OpenLoadFile();
  void OpenRecent();

  // Reads a BDL file's name (absolute, or relative to the application folder) as the load
  // makes it, Obs<code>/<code><object><mark><n>.txt; `codeNow` is the code in the box,
  // taken first where a name could be split more than one way.
  static FileNameParts ReadLoadFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                        const std::string& codeNow);

 private:
  // The load boxes of a chosen file; a refusal saying why leaves every box as it was.
  void FillFromLoadFile(const FileNameParts& parts);
  // Refuses an operation on data sets before "Создать массивы с N=".
  void RequireArrays() const;
  // Steps of the comparison: its boxes read into the run's settings, data set 1 generated
  // from the two-body theory, one row compared, the run's end.  A run that cannot start
  // gives up its files and is refused with `message` (GiveUpRun).
  void ReadComparisonSettings();
  void GenerateTwoBodySet(int p);
  bool CompareRow(int32_t i);
  // A kept record's CSV line (without its line end) written at `p`, which has room for
  // CsvRowMax(); returns its end (`selAt`: where the selection was written).
  char* CsvRowInto(char* p, const RunResidual& r, char sel, char** selAt = nullptr);
  size_t CsvRowMax() const;
  // The residual statistics: the settings read before a run, a compared row kept, the
  // selection flags of the kept rows, the CSV twin's rows written, the summary formed at
  // the end of a finished run and its files.
  void ReadResidualSettings(std::optional<ClipRequest>& clip, HandSelection& hand);
  void BeginResiduals(std::optional<ClipRequest> clip, HandSelection hand);
  void KeepResidual(int32_t i, double diffTDays, int32_t year);
  // Kept row k as the statistics take it, flagged 'd' when excluded by hand.
  void FillResidualRecord(size_t k, ResidualRecord& out) const;
  std::vector<char> HandFlags() const;  // 'd' for a kept row excluded by hand, else 'A'

  // The CSV twin's rows are formed as the records are kept (with the selection 'A'), in
  // a block that goes to the file when it is full; at a run's end the last block goes,
  // and the selections `flags` gives otherwise are written over theirs.  False when the
  // file failed.
  void AddCsvRow(const RunResidual& r);
  bool FinishCsvRows(const std::vector<char>& flags);
  void SummarizeRun();
  // The ADES file of a finished run ("+File"), formed on a second thread from the kept
  // records and their selection; none (an empty future) when the run writes none.
  std::future<PreparedAdesResiduals> StartResidualPsv(const std::string& ephemerisName);
  // The Summary files, then the ADES file `psv` put in its place (formed here when none).
  void WriteResidualFiles(const std::string& ephemerisName, std::future<PreparedAdesResiduals> psv = {});
  void MarkClippedPoints();
  [[noreturn]] void GiveUpRun(const std::string& message);
  void RequireRunnable();
  // Returns the ADES file being formed meanwhile, for WriteResidualFiles.
  std::future<PreparedAdesResiduals> FinishComparison(const std::string& ephemerisName);
  // The run's request for theoretical places, from the switches and boxes (the date is
  // each row's).
  ApparentPlaceRequest TheoryRequest();
  // The ET-UT model of the boxes: the table before "с 1700" before the parabola.
  DeltaTModel DeltaTOfBoxes() const;
  // Whether "точно (IAU 2006)" serves the window's theory for data of epoch `epochLabel`.
  bool RigorousServes(const std::string& epochLabel) const;
  std::string DeltaTWarning(DeltaTModel model);
  std::string ResolveRowObservers();
  // The calendar date of `jd` into CalendarOfRow.  A date the calendar refuses is false;
  // the run says so once and goes on (the row's date boxes stay as they are).
  bool CalendarOrMessage(double jd);
  CalendarDate CalendarOfRow;  // the date of the last CalendarOrMessage, as far as formed
  // The boxes, the stage log and the date of the last row, formed when the window can
  // show them (a few times a second during a run, and at its end or pause).
  void ShowCurrentRow();
  void ShowTheory();
  // The boxes, panes and labels of a data set after a load that read the file's heading.
  void ShowLoadedSet(const BdlLoadResult& loaded);
  // The "+Текст" line of merged row k of data set 3.
  std::string MergeLine(int32_t k, int takeFrom1, int takeFrom2);
  // "Объединить данные 1 и данные 2": the merge of the first n1 and n2 rows into data set 3.
  struct MergeHeads;
  MergeHeads MergeByDate(int32_t n1, int32_t n2, double tauDays);
};

}  // namespace planova
