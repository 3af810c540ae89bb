// Window 2: data sets 1, 2 and 3 in columns 1, 2 and 3 of the observation store; their
// loading from BDL files, cleaning, sorting, time changes, merging, epoch and frame
// conversions, the report of changes and the writer; the comparison with a second set
// or with theory, its plot, and the DE405 calculator.
#pragma once

#include <array>
#include <string>

#include "astro/apparent_place.h"
#include "astro/astro_state.h"
#include "astro/time.h"
#include "common/form.h"
#include "common/obs_store.h"
#include "bdl/bdl_line.h"
#include "common/picture.h"
#include "compare/comparison_run.h"
#include "window2/plot.h"

namespace planova {

struct BdlLoadResult;

// A box read by an operation does not hold a usable value.
struct InputError {};

class Window2Model : public FormModel {
 public:
  // "AberZ(L)=", "AberP(L)=" and "Nut(B)=" are part of the rigorous reduction while
  // "точно (IAU 2006)" serves the comparison.
  bool CheckHeld(const std::string& name) const override;
  Window2Model(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store);

  AstroState& Astro;
  ObservationStore& Store;

  // --- Data sets and loading ---
  TextBox Text10;  // N of "Создать массивы с N="
  OptionButton Option1, Option2;                       // "данные №": set 1 or 2
  TextBox Text3;   // "Имя обсерватории"
  TextBox Text8;   // "№ объекта"
  TextBox Text1;   // "№ файла"
  OptionButton Option8, Option9, Option10, Option29;   // file kind: "RA", "Dec", "Geo ", "Hor"
  OptionButton Option11, Option12, Option13, Option14; // "Geo (Topo)": "G", "GLB", "GT", "T"
  TextBox Text14, Text15;  // "ObsL", "ObsB": observatory east longitude and latitude, degrees
  TextBox Text11, Text12;  // "время", "эпоха"
  TextBox Text16, Text17;  // "с №", "по №": rows to write
  TextBox Text2;           // name part of the output file, after Label9
  Label Label9;            // "файл", then the file-name prefix
  TextBox Text5;           // "при dT, сек= ": time tolerance, seconds
  OptionButton Option18, Option19;                     // sort "с начала", "с конца"
  OptionButton Option24, Option25, Option26;           // time change "12", "ET- UT", "LT- UT"
  OptionButton Option20, Option21;                     // sign "+", "-"
  TextBox Text18;          // "ET-UT,сек"
  OptionButton Option16, Option15, Option17;           // epoch of the data: "B1950", "JD", "Other"
  TextBox Text23, Text22, Text21;                      // year, month, day
  OptionButton Option23, Option22;                     // "в эпоху": "J2000", "JD"
  CheckBox Check12;        // "+№ в примечаниях"
  CheckBox Check1;         // "+Текст"

  // --- Comparison, theory and plot ---
  OptionButton Option6, Option5;                       // data 1: "JPL0", "из файла"
  OptionButton Option3, Option4, Option7;              // data 2: "из файла", "JPL0", "JPL2 (DE405)"
  CheckBox Check3;         // "с 1700"
  CheckBox Check8, Check9, Check6, Check7;             // "AberZ(L)=", "AberP(L)=", "Ref(B)=", "Nut(B)="
  TextBox Text9, Text13, Text4, Text7;                 // the corrections shown, arcsec
  CheckBox Check15;        // "точно (IAU 2006)": the rigorous reduction with "JPL2 (DE405)"
  CheckBox Check11, Check13, Check14, Check2;          // "+File", "+График", "+ очистка рисунка", "По шагам"
  CheckBox Check4, Check5, Check10;                    // plot "dL", "dB", "dT"
  TextBox Text27;          // "JPL0 до": end year of generation
  TextBox Text19, Text20, Text6;                       // plot scales and offset
  TextBox Text24, Text25, Text26;                      // colour numbers of dL, dB, dT points
  PictureBox Picture1;

  RichTextBox RichTextBox1, RichTextBox2, RichTextBox3;
  ProgressBar ProgressBar1;
  std::array<Label, 24> Labels;  // fixed captions beside the boxes

  // --- The window's data-set state ---
  int32_t& Count1 = Store.Count1;
  int32_t& Count2 = Store.Count2;
  int32_t& Count3 = Store.Count3;
  int32_t LoadSet = 1;
  std::string RecordsText1, RecordsText2;
  std::string HeaderText;
  std::string TimeScaleLabel;
  std::string& EpochLabel1 = Store.EpochLabel1;
  std::string& EpochLabel2 = Store.EpochLabel2;
  std::string& EpochLabel3 = Store.EpochLabel3;
  std::string ProcessLog;

  // --- Theory of one observation ---
  double ObservationJd = 0;   // date of the current observation (UT as observed)
  double ShiftedJd = 0;       // ObservationJd + ET-UT
  double DeltaTSeconds = 0;   // ET-UT, s
  std::string TheoryLog;      // stages of the last observation's reduction
  std::string ComparisonLabel;  // epoch label the comparison refers to

  // The theoretical place of row i of data set 1 (right ascension and declination of
  // date, degrees) into row i of data set 3, with the corrections switched on, and its
  // corrections into the boxes.  Not Ok when the ephemeris failed.  Throws InputError for
  // a body that has no theory.
  ApparentPlace ComputeObservationTheory(int32_t i);
  ApparentPlaceRequest TheoryTemplate;  // the run's switches; the date is each row's
  ApparentPlace LastPlace;              // the place of the last row computed
  bool LastPlaceShown = true;           // its boxes and stage log are formed
  int32_t ShownRow = 0;                 // the last compared row whose date boxes are not yet formed

  // --- Comparison run ---
  ComparisonRun Run;
  int32_t& CurrentIndex = Run.CurrentRow;  // next row of data set 1 to compare
  int32_t& ComparedCount = Run.Stats.ComparedCount;
  double& SumAbsDL = Run.Stats.SumAbsDL;
  double& SumAbsDB = Run.Stats.SumAbsDB;
  double TimeTolerance = 0;       // days
  TimeMatchIndex Set2Dates;       // data set 2 by date, for a comparison "из файла"
  double DiffL = 0, DiffB = 0;    // O-C of the current row, degrees
  bool CalendarWarned = false;    // the run has said that a date is beyond the calendar
  std::string ComparisonLog;
  // The CSV twin of Param_data_ ("+File"): the theory named in its rows, and their dates.
  std::string CsvFixedFields;  // "11,JPL2 DE405,App": body, theory and epoch of every row
  std::string CsvLine;         // the row being formed, its buffer kept for the run
  IsoDateTime CsvDate;
  double PlotOrigin = 0;
  PlotColourTable PlotColours{};
  PlotSettings Plot;

  // Compares rows from CurrentIndex on: all of them, or one in step mode, or up to a stop.
  // False when the ephemeris failed (after its message).
  bool ProcessObservations();

  BdlState Bdl;  // the BDL cells; its body name is the one of the last file loaded

  // --- DE405 calculator ---
  std::array<double, 14> Speed{};  // speed per slot, km/s

  // First showing: the astronomy module's constants and tables, the default texts.
  void Load();
  // Every showing: dates in windows 2 and 3 follow the Gregorian reform.
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
  void De405();
  void OpenWindow3();
  void Exit();

 private:
  // True (after a message) when the arrays do not exist yet.
  bool ArraysMissing();
  // Steps of the comparison: its boxes read into the run's settings (throws RefusedBox),
  // data set 1 generated from the two-body theory, one row compared, the Stat file.
  void ReadComparisonSettings();
  bool GenerateTwoBodySet(int p);
  bool CompareRow(int32_t i);
  const std::string& CsvRow(int32_t i, double diffT);
  bool RunnableComparison(bool generate, int p);
  void FinishComparison();
  // The run's request for theoretical places, from the switches and boxes (the date is
  // each row's).
  ApparentPlaceRequest TheoryRequest();
  // A date that the calendar refuses, after its message.
  bool CalendarOrMessage(double jd);
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
  MergeHeads MergeByDate(int32_t n1, int32_t n2, double tau);
};

}  // namespace planova
