#include "window3/window3_model.h"

#include <cmath>

#include "astro/jpl.h"
#include "astro/orbit.h"
#include "astro/time.h"
#include "bdl/bdl_file.h"
#include "common/name_part.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "common/textfile.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

constexpr LabelRow kLabels[] = {
    {"Label1", "Имя обсерватории"}, {"Label2", "№ объекта"},   {"Label3", "№ файла"},     {"Label4", "файл"},
    {"Label5", "с №1"},             {"Label6", "по №2"},       {"Label7", "№1: год, месяц, день"},
    {"Label8", "№2: год, месяц, день"}, {"Label10", "сейчас: год, месяц, день"}, {"Label11", "сравнено"},
    {"Label12", "ET-UT,сек"},       {"Label13", "dLn="},       {"Label14", "dLk="},       {"Label15", "dBn="},
    {"Label16", "dBk="},            {"Label17", "+dL="},       {"Label18", "-dL="},       {"Label19", "+dB="},
    {"Label20", "-dB="},            {"Label21", "dL="},        {"Label22", "dB="},        {"Label23", "dLsr="},
    {"Label24", "dBsr="},           {"Label25", "MT, лет/см"}, {"Label26", "MdP,  угл. сек / см  "},
    {"Label27", "+dP, см"},     {"Label28", "эфемериды"},
};

// The boxes and the texts the load step puts in them.
constexpr TextRow<Window3Model> kTexts[] = {
    {"Text10", &Window3Model::arraySize, "4000"},
    {"Text3", &Window3Model::observatoryCode, "PARI"},
    {"Text8", &Window3Model::objectNumber, "11"},
    {"Text1", &Window3Model::fileNumber, "40"},
    {"Text2", &Window3Model::resultFileNumber, "41"},
    {"Text16", &Window3Model::firstRecord, "1"},
    {"Text17", &Window3Model::lastRecord, "1"},
    // Year, month and day of record №1, of record №2 and of the record being compared.
    {"Text23", &Window3Model::firstRecordYear, "1861"},
    {"Text22", &Window3Model::firstRecordMonth, "1"},
    {"Text21", &Window3Model::firstRecordDay, "1,5"},
    {"Text26", &Window3Model::lastRecordYear},
    {"Text25", &Window3Model::lastRecordMonth},
    {"Text24", &Window3Model::lastRecordDay},
    {"Text29", &Window3Model::currentRecordYear},
    {"Text28", &Window3Model::currentRecordMonth},
    {"Text27", &Window3Model::currentRecordDay},
    {"Text5", &Window3Model::recordsCompared},
    {"Text18", &Window3Model::deltaTSeconds},
    // The correction at №1 and №2, and the limits of the deviations.
    {"Text30", &Window3Model::corrLFirstArcsec, "0"},
    {"Text31", &Window3Model::corrLLastArcsec, "0"},
    {"Text11", &Window3Model::corrBFirstArcsec, "0"},
    {"Text12", &Window3Model::corrBLastArcsec, "0"},
    {"Text41", &Window3Model::limitLHighArcsec, "20"},
    {"Text42", &Window3Model::limitLLowArcsec, "-20"},
    {"Text43", &Window3Model::limitBHighArcsec, "10"},
    {"Text44", &Window3Model::limitBLowArcsec, "-10"},
    {"Text45", &Window3Model::clipK, "3"},  // k of "отбраковка k·σ": Find_Orb's default 3σ
    // Current deviations and running means; the plot's scales and offset.
    {"Text7", &Window3Model::devLArcsec},
    {"Text9", &Window3Model::devBArcsec},
    {"Text32", &Window3Model::meanLArcsec},
    {"Text33", &Window3Model::meanBArcsec},
    // One year and one arcsecond to a unit: the sample's ten years span 10 of the 25
    // units and its 0,3" noise about 7 pixels of the default box.
    {"Text19", &Window3Model::plotScaleYearsPerCm, "1"},
    {"Text20", &Window3Model::plotScaleArcsecPerCm, "1"},
    {"Text6", &Window3Model::plotOffsetCm, "4"},
};

// The caption beside each number box, for the message that refuses its text.
constexpr BoxCaptionRow kBoxCaptions[] = {
    {"Text10", "Command6"}, {"Text8", "Label2"},   {"Text16", "Label5"},  {"Text17", "Label6"},
    {"Text23", "Label7"},   {"Text22", "Label7"},  {"Text21", "Label7"},  {"Text26", "Label8"},
    {"Text25", "Label8"},   {"Text24", "Label8"},  {"Text30", "Label13"}, {"Text31", "Label14"},
    {"Text11", "Label15"},  {"Text12", "Label16"}, {"Text41", "Label17"}, {"Text42", "Label18"},
    {"Text43", "Label19"},  {"Text44", "Label20"}, {"Text19", "Label25"}, {"Text20", "Label26"},
    {"Text6", "Label27"},   {"Text45", "Check15"},
};

constexpr FrameRow kFrames[] = {{"Frame5", "данными"}};

constexpr OptionRow<Window3Model> kOptions[] = {
    {"Option4", &Window3Model::theoryTwoBody, "JPL0", "Frame5"},
    {"Option7", &Window3Model::theoryJpl2, "JPL2", "Frame5"},
};

constexpr CheckRow<Window3Model> kChecks[] = {
    {"Check1", &Window3Model::correctData, "+ скорректировать данные"},
    {"Check2", &Window3Model::stepByStep, "По шагам"},
    {"Check3", &Window3Model::deltaTSince1700, "с 1700"},
    {"Check4", &Window3Model::plotDevL, "dL"},
    {"Check5", &Window3Model::plotDevB, "dB"},
    {"Check6", &Window3Model::innerPlanetPerturbations, "+dL"},
    {"Check7", &Window3Model::keepTimeOrigin, "T0=T0"},
    {"Check18", &Window3Model::fitPlotToData, "по данным"},
    {"Check9", &Window3Model::plotMeanL, "dLsr"},
    {"Check10", &Window3Model::meansWithinLimits, "+ учитывать для dLsr, dBsr"},
    {"Check11", &Window3Model::plotMeanB, "dBsr"},
    {"Check12", &Window3Model::rigorousReduction, "точно (IAU 2006)"},
    {"Check13", &Window3Model::astrometricPlace, "астрометрическое (ICRS)"},
    {"Check14", &Window3Model::deltaTFromTable, "TT-UTC по таблице"},
    {"Check16", &Window3Model::topocentricPlace, "топоцентр."},
    {"Check15", &Window3Model::clipOutliers, "отбраковка k·σ"},
    {"Check17", &Window3Model::clipJointly, "совместно"},
};

constexpr ButtonRow<Window3Model> kButtons[] = {
    {"Command6", "Создать массивы с N=", &Window3Model::CreateArrays}, {"Command5", "Загрузить в формате BDL", &Window3Model::LoadBdl},
    {"Command14", "Записать результат в файл", &Window3Model::WriteResult},
    // The comparison run.
    {"Command12", "Сравнить данные наблюдений с", &Window3Model::StartRun}, {"Command16", "сделать 1 шаг", &Window3Model::Step},
    {"Command18", "Подобрать поправку (МНК)", &Window3Model::FitCorrection},
    {"Command7", "Остановить сравнение", &Window3Model::Stop}, {"Command17", "Stop", &Window3Model::Stop},
    {"Command1", "Очистить рисунок", &Window3Model::ClearPlot}, {"Command9", "Закрыть форму", &Window3Model::CloseWindow},
    // Files chosen in a dialog or from the recent ones, and the boxes back to their defaults.
    {"Command19", "Открыть…", &Window3Model::OpenLoadFile}, {"Command20", "Недавние", &Window3Model::OpenRecent},
    {"Command21", "По умолчанию", &Window3Model::RestoreDefaults},
};

// The boxes the window fills: what the run shows of the record it compares, and what
// follows the data loaded: records №1 and №2 (a load, a click on the plot) and their dates.
constexpr const char* kFilledBoxes[] = {"Text29", "Text28", "Text27", "Text5",  "Text18", "Text7",  "Text9",
                                        "Text32", "Text33", "Text16", "Text17", "Text23", "Text22", "Text21",
                                        "Text26", "Text25", "Text24"};

// The BDL files a load reads.
constexpr FileNamePattern kLoadFiles = {"Obs{code}", "{code}{object}_G_{n}", {".txt"}, {}, "Obs<код>", "<код><объект>_G_<№>.txt"};

const uint32_t kGrey = (200u << 16) | (200u << 8) | 200u;
// The tags of the lines through the picked records №1 and №2: a new pick replaces its line.
constexpr uint8_t kPickFirstTag = 1, kPickLastTag = 2;

}  // namespace

Window3Model::Window3Model(Platform& platform, FormHost* host, Astronomy& astro, ObservationStore& store)
    : FormModel("Form4", "Преобразование формата данных Planova - форма 3", platform, host), Astro(astro), Store(store) {
  AddLabels(labels, kLabels);
  AddLabel("Label40", statusLine, "");
  AddTexts(kTexts);
  AddOptions(kFrames, kOptions);
  AddChecks(kChecks);
  AddCombo("Combo1", ephemeris);
  Ephemerides = {[this] { return Astro.FindEphemerides(); }, [this](const std::string& name) { return Astro.SelectEphemeris(name); }};
  AddRichText("RichTextBox1", reportPane);
  AddPicture("Picture1", plot);
  AddProgress("ProgressBar1", progress);
  AddButtons(kButtons);
  SetBoxCaptions(kBoxCaptions);
  SetFilledBoxes(kFilledBoxes);

  plot.OnMouseDown = [this](double x, double, bool left) {
    BusyPointer busy(Ui());
    PickPoint(x, left);
  };
}

void Window3Model::Load() {
  // The window can be the first to need the constants, the ephemeris layout and the masses.
  SetTexts(kTexts);
  reportPane.Text = "первые данные";
  theoryTwoBody.Value = true;
  theoryJpl2.Value = false;
  plotDevL.Value = plotDevB.Value = plotMeanL.Value = plotMeanB.Value = true;
  DrawGrid();
}

void Window3Model::Activate() {
  Astro.SetCalendar(CalendarRule::kGregorianFrom1582);
  Ephemerides.Fill(ephemeris);
}

void Window3Model::DrawGrid() {
  DrawGrid(0, 17, 25, 0);
  // Fitted axes do not describe the window's own grid.
  if (plot.Axes.Fitted) plot.Axes = {};
}

void Window3Model::DrawGrid(double left, double top, double right, double bottom) {
  plot.Clear();
  plot.Scale(left, top, right, bottom);
  for (double y = bottom + 1; y <= top; ++y) plot.Line(left, y, right, y, kGrey);
  for (double x = left; x <= right; ++x) plot.Line(x, bottom, x, top, kGrey);
}

void Window3Model::ClearPlot() { DrawGrid(); }

void Window3Model::CreateArrays() {
  RecreateArrays(Store, arraySize);
  Count1 = 0;
  Count3 = 0;
  FitData = {};  // a fit and a summary belong to the data the run compared
  SummaryPane.clear();
}

void Window3Model::Stop() { StopRequested = 1; }

void Window3Model::CloseWindow() {
  if (Host()) Host()->CloseForm(Name);
}

FileNameParts Window3Model::ReadLoadFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                             const std::string& codeNow) {
  return ReadFileName(file, appFolder, kLoadFiles, codeNow);
}

void Window3Model::OpenLoadFile() {
  const std::optional<std::filesystem::path> chosen = Ui().ChooseFile(BdlLoadRequest(Ui().AppFolder(), observatoryCode.Text));
  if (chosen) FillFromLoadFile(*chosen);
}

// A file written by "Записать результат в файл" is named as a load names it.
void Window3Model::OpenRecent() {
  const std::optional<std::filesystem::path> chosen = ChooseRecentFile(Ui(), Recent);
  if (chosen) FillFromLoadFile(*chosen);
}

void Window3Model::FillFromLoadFile(const std::filesystem::path& file) {
  const FileNameParts parts = ReadLoadFileName(file, Ui().AppFolder(), observatoryCode.Text);
  if (!parts.Fits()) throw Refusal{parts.Refusal, {}};
  observatoryCode.Text = parts.Code;
  objectNumber.Text = std::to_string(parts.Object.value_or(0));
  fileNumber.Text = parts.Number;
}

void Window3Model::LoadBdl() {
  int32_t object = 0;
  if (!TryBoxInt32(objectNumber, object)) Refuse(objectNumber, kSetDataRightMessage);
  if (!Store.Exists()) throw Refusal{kCreateArraysFirstMessage, {}};
  RequirePlainNameParts({observatoryCode.Text, fileNumber.Text});
  Store.ObjectNumber = object;
  Store.ObservatoryCode = observatoryCode.Text;
  const std::string& code = Store.ObservatoryCode;
  std::filesystem::path path =
      AppPath(Ui().AppFolder(), "Obs" + code + "/" + code + std::to_string(object) + "_G_" + fileNumber.Text + ".txt");
  BdlLoadOptions options;
  options.Progress = [this](int percent) { progress.Value = percent; };
  options.ProcessEvents = [this] { Ui().ProcessEvents(); };
  options.Stop = &StopRequested;
  FitData = {};
  SummaryPane.clear();
  const BdlLoadResult loaded = LoadBdlFile(path, Store, kSet1, Bdl, Astro.Calendar(), options);
  HeaderText = loaded.Heading;
  Store.Unsaved.clear();  // data set 3 follows the new set 1
  const std::string readError = "Ошибка чтения данных из файла" + std::string(kCrLf) + PathText(path);
  // A load that fails leaves the set empty, saying so, so that a run never compares the
  // data of the file loaded before.
  const auto failed = [&](std::string message) {
    Count1 = 0;
    Count3 = 0;
    LoadedPane = kNotLoadedText;
    reportPane.Text = LoadedPane;
    Status.NoteNotLoaded();
    statusLine.Caption = Status.Text();
    throw Refusal{std::move(message), {}};
  };
  switch (loaded.End) {
    case BdlLoadEnd::kOpenFailed:
      failed("Ошибка открытия файла" + std::string(kCrLf) + PathText(path));
      break;
    case BdlLoadEnd::kTooLarge:
      failed("Желательно увеличить размер массива");
      break;
    case BdlLoadEnd::kShortHeading:
      failed(readError);
      break;
    default:
      break;
  }
  FinishLoad(loaded);
  Status.NoteLoaded(path, Ui().AppFolder(), loaded.Rows);
  NoteRecentFile(Recent, path, Ui().AppFolder());
  statusLine.Caption = Status.Text();
  if (loaded.End == BdlLoadEnd::kStoreFull) {
    Ui().ShowMessage("увеличьте массивы данных");
  } else if (loaded.End == BdlLoadEnd::kBadLine) {
    Ui().ShowMessage(readError);
  } else {
    progress.Value = 100;
  }
}

void Window3Model::FinishLoad(const BdlLoadResult& loaded) {
  firstRecord.Text = "1";
  lastRecord.Text = std::to_string(loaded.Rows);
  std::string& display = LoadedPane;
  display = "всего прочитано  " + std::to_string(loaded.Rows) + "  записей" + kCrLf +
                        Cp1251ToUtf8(loaded.Heading) + kCrLf;
  for (const std::string& line : loaded.Shown) display += kCrLf + Cp1251ToUtf8(line);
  const auto shown = static_cast<int32_t>(loaded.Shown.size());
  if (loaded.Rows > shown) display += kCrLf + BdlNotShownLine(loaded.Rows, shown);
  reportPane.Text = display;
  if (loaded.Rows == 0) return;
  // №1 and №2 are the first and the last record: their dates go with them.
  for (const bool first : {true, false}) {
    const CalendarDateResult c = Astro.CalendarDateOf(Store.ObsJd(first ? 1 : loaded.Rows, kSet1));
    if (c.Ok) ShowRecordDate(first, c.Date);
  }
  TimeScaleLabel = loaded.TimeScale;
  // The epoch of the file's records is the epoch the run compares in.
  std::string epoch = Cp1251ToUtf8(EpochLabelOf(loaded.LastEpochField));
  if (epoch == "App" || epoch == "B1950" || epoch == "J2000") EpochLabel1 = epoch;
}

void Window3Model::WriteResult() {
  const std::string& code = Store.ObservatoryCode.empty() ? observatoryCode.Text : Store.ObservatoryCode;
  RequirePlainNameParts({code, resultFileNumber.Text});
  int32_t first = 0, last = 0;
  // Both must be loaded records, №1 not after №2: an empty range would replace a file of
  // observations by its heading lines alone.
  if (!TryBoxInt32(firstRecord, first) || !TryBoxInt32(lastRecord, last) || first < 1 || !Store.Exists() ||
      last > std::min(Count3, Store.ObsJd.Rows() - 1)) {
    throw Refusal{"Задайте правильно номера записей: с №1 от 1 по №2 не больше числа загруженных записей (" +
                  std::to_string(Count3) + ")", {}};
  }
  if (first > last) throw Refusal{"Задайте правильно номера записей: №1 больше №2", {}};
  std::filesystem::path path = AppPath(Ui().AppFolder(), "Obs" + code + "/" + code + std::to_string(Store.ObjectNumber) +
                                                             "_G_" + resultFileNumber.Text + ".txt");
  if (!ConfirmReplace(Ui(), path, last - first + 1)) return;
  BdlWriteOptions options;
  options.LoadedHeading = HeaderText;
  options.ObservatoryCode = code;
  options.TimeScale = TimeScaleLabelOf(TimeScaleLabel);
  options.Epoch = Utf8ToCp1251(EpochLabel1);
  options.Written = [this](int percent, const std::string&) { progress.Value = percent; };
  const BdlWriteResult written = WriteBdlFile(path, Store, first, last, Bdl, Astro.Calendar(), options);
  // The calendar routine answers a date beyond its range with its result alone.
  if (written.End == BdlWriteEnd::kCalendarFailed) Ui().ShowMessage(kWrongJdMessage);
  if (written.End != BdlWriteEnd::kWritten) throw Refusal{WriteFailureMessage(path), {}};
  // Above the loaded file's lines, as the load reports what it read: the count and the file.
  reportPane.Text = WrittenReport(last - first + 1, path, Ui().AppFolder()) + kCrLf + LoadedPane;
  Store.Unsaved.clear();
  Status.NoteWritten(path, Ui().AppFolder(), last - first + 1);
  NoteRecentFile(Recent, path, Ui().AppFolder());
  statusLine.Caption = Status.Text();
}

void Window3Model::PickPoint(double x, bool left) {
  // The time axis as drawn: the box's scale from the run's origin, or the fitted axis.
  const bool fitted = plot.Axes.Fitted;
  double yearsPerCm = plot.Axes.YearsPerUnit;
  const double origin = fitted ? plot.Axes.OriginJd : PlotTimeOriginJd;
  if (!fitted && !TryBoxReal(plotScaleYearsPerCm, yearsPerCm)) {
    Ui().ShowMessage("Не могу найти эту точку", "Planova3");
    return;
  }
  double jdClick = x * yearsPerCm * 365.25 + origin;
  PickedRow = 0;
  int32_t n = Store.Exists() ? std::min(Count1, Store.ObsJd.Rows()) : 0;
  for (int32_t i = 1; i <= n; ++i) {
    if (Store.ObsJd(i, kSet1) <= jdClick) PickedRow = i;
  }
  if (PickedRow == 0 || yearsPerCm == 0) {
    Ui().ShowMessage("Не могу найти эту точку", "Planova3");
    return;
  }
  double jd = Store.ObsJd(PickedRow, kSet1);
  double xr = (jd - origin) / 365.25 / yearsPerCm;
  // The line of the record picked before on the same side goes.
  const uint8_t tag = left ? kPickFirstTag : kPickLastTag;
  plot.RemoveTagged(tag);
  plot.Line(xr, plot.Top, xr, plot.Bottom, 0xFF0000);
  plot.TagLast(tag);
  const CalendarDateResult c = Astro.CalendarDateOf(jd);
  if (!c.Ok) {
    Ui().ShowMessage(kWrongJdMessage);
    return;
  }
  ShowRecordDate(left, c.Date);
  (left ? firstRecord : lastRecord).Text = std::to_string(PickedRow);
}

// The day of a record as the boxes show it: to a millionth of a day (0.09 s), the
// resolution of an 80-column observation's date, without trailing zeros.
std::string RecordDayText(double day) { return RealText(std::round(day * 1e6) / 1e6); }

void Window3Model::ShowRecordDate(bool first, const CalendarDate& date) {
  (first ? firstRecordYear : lastRecordYear).Text = std::to_string(date.Year);
  (first ? firstRecordMonth : lastRecordMonth).Text = std::to_string(date.Month);
  (first ? firstRecordDay : lastRecordDay).Text = RecordDayText(date.Day);
}

}  // namespace planova
