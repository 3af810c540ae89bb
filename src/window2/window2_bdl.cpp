// Window 2's BDL files: "Загрузить в формате BDL" into data set 1 or 2 (with the
// observatory's coordinates from its code) and "Записать результат в" from data set 3.
#include "bdl/bdl_file.h"
#include "common/name_part.h"
#include "common/numtext.h"
#include "import/observatories.h"
#include "models/messages.h"
#include "common/textfile.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

// Why a line of an observatory file was refused, as the report pane says it.
const char* FaultText(ObservatoryFault fault) {
  switch (fault) {
    case ObservatoryFault::kShortLine: return "строка короче 30 знаков";
    case ObservatoryFault::kBadCode: return "неверный код";
    case ObservatoryFault::kBadNumber: return "не число";
    case ObservatoryFault::kLongitudeRange: return "долгота вне допустимых пределов";
    case ObservatoryFault::kRhoRange: return "расстояние от центра Земли вне 0..1,01";
    case ObservatoryFault::kLatitudeRange: return "широта вне -90..90";
    case ObservatoryFault::kHeightRange: return "высота вне -500..9000 м";
    case ObservatoryFault::kBadMpcCode: return "неверный код MPC";
    case ObservatoryFault::kDuplicateCode: return "код уже был выше";
  }
  return "";
}

// The report pane's lines on the observatory: the lines of its files that were refused,
// and why a code that is known has no coordinates.
std::string ObservatoryReport(const ObservatoryList& list, const ObservatoryFind& found, const std::string& code) {
  std::string report;
  for (const ObservatoryProblem& p : list.Problems) {
    report += p.File + ", строка " + std::to_string(p.Line) + ": " + FaultText(p.Fault) + kCrLf;
  }
  if (found.End == ObservatoryFindEnd::kNoCoordinates) {
    report += "обсерватория " + code + ": нет координат (космический или подвижный наблюдатель)" + kCrLf;
  }
  return report;
}

}  // namespace

void Window2Model::LoadBdl() {
  int32_t object = 0;
  if (!TryBoxInt32(objectNumber, object)) Refuse(objectNumber, kSetDataRightMessage);
  RequireArrays();
  RequirePlainNameParts({observatoryCode.Text, fileNumber.Text});
  Store.ObjectNumber = object;
  Store.ObservatoryCode = observatoryCode.Text;
  const std::string& code = Store.ObservatoryCode;

  // The observatory's place from the folder's lists, read afresh at each load; an unknown
  // code, or one without coordinates, shows 0, 0.
  const ObservatoryList observatories = LoadObservatories(Ui().AppFolder());
  const ObservatoryFind found = observatories.Find(code);
  observatoryLonDeg.Text = found.Found() ? found.LonText : "0";
  observatoryLatDeg.Text = found.Found() ? found.LatText : "0";
  progress.Value = 0;
  reportPane.Text.clear();
  ProcessLog = ObservatoryReport(observatories, found, code) + "данные забракованные по времени наблюдения" + kCrLf;

  std::string mark;
  if (fileRa.Value) mark = "_R_";
  if (fileDec.Value) mark = "_D_";
  if (fileGeo.Value) {
    if (geoMarkG.Value) mark = "_G_";
    if (geoMarkGlb.Value) mark = "_GLB_";
    if (geoMarkGt.Value) mark = "_GT_";
    if (geoMarkT.Value) mark = "_T_";
  }
  if (fileHor.Value) mark = "_H_";
  std::string stem = code + std::to_string(object) + mark + fileNumber.Text;
  std::filesystem::path path = AppPath(Ui().AppFolder(), "Obs" + code + "/" + stem + ".txt");
  BdlLoadOptions options;
  options.RejectNegativeTimes = true;
  options.Progress = [this](int percent) { progress.Value = percent; };
  options.ProcessEvents = [this] { Ui().ProcessEvents(); };
  const int set = loadIntoSet2.Value ? kSet2 : kSet1;
  options.Stop = &StopRequested;
  const BdlLoadResult loaded = LoadBdlFile(path, Store, set, Bdl, Astro.Calendar(), options);
  HeaderText = loaded.Heading;
  if (set == kSet1) Store.Unsaved.clear();  // data set 3 follows the new set 1
  // A load that fails leaves its set empty, saying so, so that nothing later works on the
  // data of the file loaded before.
  const auto failed = [&](std::string message) {
    if (set == kSet1) {
      Count1 = 0;
      Count3 = 0;
    } else {
      Count2 = 0;
    }
    (set == kSet1 ? RecordsText1 : RecordsText2) = kNotLoadedText;
    (set == kSet1 ? set1Pane : set2Pane).Text = kNotLoadedText;
    Status.NoteNotLoaded();
    statusLine.Caption = Status.Text();
    throw Refusal{std::move(message), {}};
  };
  if (loaded.End == BdlLoadEnd::kTooLarge) failed("Желательно увеличить размер массива");
  if (loaded.End == BdlLoadEnd::kOpenFailed) failed("Ошибка открытия файла" + std::string(kCrLf) + PathText(path));
  LoadSet = set;
  (LoadSet == kSet1 ? RecordsText1 : RecordsText2).clear();
  (LoadSet == kSet1 ? set1Pane : set2Pane).Text.clear();
  // A file that ends within its heading lines, like a line that holds no record, is a
  // read error.
  const std::string readError = "Ошибка чтения данных из файла" + std::string(kCrLf) + PathText(path);
  if (!loaded.HeadingRead()) failed(readError);
  ShowLoadedSet(loaded);
  Status.NoteLoaded(path, Ui().AppFolder(), loaded.Rows);
  NoteRecentFile(Recent, path, Ui().AppFolder());
  statusLine.Caption = Status.Text();
  if (loaded.End == BdlLoadEnd::kBadLine) {
    set2Pane.Text = Cp1251ToUtf8(loaded.BadLine);
    Ui().ShowMessage(readError);
  } else if (loaded.End == BdlLoadEnd::kStoreFull) {
    Ui().ShowMessage("увеличьте массивы данных");
  } else {
    progress.Value = 100;
  }
}

void Window2Model::ShowLoadedSet(const BdlLoadResult& loaded) {
  std::string& records = LoadSet == kSet1 ? RecordsText1 : RecordsText2;
  records = Cp1251ToUtf8(loaded.Heading) + kCrLf;
  for (const std::string& line : loaded.Shown) records += Cp1251ToUtf8(line) + kCrLf;
  const auto shown = static_cast<int32_t>(loaded.Shown.size());
  if (loaded.Rows > shown) records += BdlNotShownLine(loaded.Rows, shown) + kCrLf;
  records += kCrLf + ("всего прочитано  " + std::to_string(loaded.Rows) + "  записей");
  (LoadSet == kSet1 ? set1Pane : set2Pane).Text = records;
  for (const std::string& line : loaded.Rejected) ProcessLog += Cp1251ToUtf8(line) + kCrLf;
  if (loaded.Rows > 0) TimeScaleLabel = loaded.TimeScale;
  lastRow.Text = std::to_string(loaded.Rows);
  const std::string epoch = Cp1251ToUtf8(EpochLabelOf(loaded.LastEpochField));
  if (LoadSet == kSet1) {
    timeScaleName.Text = Cp1251ToUtf8(TimeScaleLabelOf(TimeScaleLabel));
    EpochLabel1 = epoch;
    EpochLabel3 = epoch;
    epochName.Text = epoch;
  } else {
    EpochLabel2 = epoch;
  }
  outputPrefix.Caption = Store.ObservatoryCode + std::to_string(Store.ObjectNumber) + "_";
  reportPane.Text = ProcessLog;
}

void Window2Model::WriteResult() {
  const std::string& code = Store.ObservatoryCode.empty() ? observatoryCode.Text : Store.ObservatoryCode;
  RequirePlainNameParts({code, outputName.Text});
  // Only records loaded (or merged, or converted) into data set 3 are written: with none a
  // file of observations would be replaced by an all-zero record.
  if (Count3 < 1) throw Refusal{"Нет данных для записи: загрузите данные", {}};
  int32_t first = 0, last = 0;
  if (!TryBoxInt32(firstRow, first) || !TryBoxInt32(lastRow, last) || first < 1 || last < first ||
      !Store.Exists() || last > Store.ObsJd.Rows()) {
    throw Refusal{"Задайте правильно номера записей: с № от 1 до по №, не больше размера массивов", {}};
  }
  if (last > Count3) {
    throw Refusal{"Задайте правильно номера записей: по № не больше числа загруженных записей (" +
                  std::to_string(Count3) + ")", {}};
  }
  std::string name = code + std::to_string(Store.ObjectNumber) + "_" + outputName.Text + ".txt";
  std::filesystem::path path = AppPath(Ui().AppFolder(), "Obs" + code + "/" + name);
  if (!ConfirmReplace(Ui(), path, last - first + 1)) return;
  BdlWriteOptions options;
  options.LoadedHeading = HeaderText;
  options.ObservatoryCode = code;
  options.TimeScale = Utf8ToCp1251(timeScaleName.Text);
  options.Epoch = Utf8ToCp1251(epochName.Text);
  options.RowInNote = rowInNote.Value;
  std::string lines;
  options.Written = [&](int percent, const std::string& line) {
    progress.Value = percent;
    if (showLines.Value) lines += Cp1251ToUtf8(line) + kCrLf;
  };
  const BdlWriteResult written = WriteBdlFile(path, Store, first, last, Bdl, Astro.Calendar(), options);
  if (written.End != BdlWriteEnd::kCreateFailed) {
    ProcessLog = Cp1251ToUtf8(written.Heading) + kCrLf + lines;
    reportPane.Text = ProcessLog;
  }
  // Under the lines, as a load reports what it read: the count and the file.
  if (written.End == BdlWriteEnd::kWritten) {
    reportPane.Text += kCrLf + WrittenReport(last - first + 1, path, Ui().AppFolder());
    Store.Unsaved.clear();
    Status.NoteWritten(path, Ui().AppFolder(), last - first + 1);
    NoteRecentFile(Recent, path, Ui().AppFolder());
    statusLine.Caption = Status.Text();
  }
  // The calendar routine answers a date beyond its range with its result alone; the
  // window says what is wrong before it says that the file was not written.
  if (written.End == BdlWriteEnd::kCalendarFailed) Ui().ShowMessage(kWrongJdMessage);
  if (written.End != BdlWriteEnd::kWritten) Ui().ShowMessage(WriteFailureMessage(path));
}

std::string Window2Model::MergeLine(int32_t k, int takeFrom1, int takeFrom2) {
  if (!FormatBdlLine(Bdl, Astro.Calendar(), Store, k)) return {};
  PlaceAt(Bdl.BdlLine, bdl::kMergedJd.first, Format(Store.ObsJd(k, kSet3), "0000000.000000"));
  PlaceAt(Bdl.BdlLine, bdl::kMergedRow, std::to_string(k));
  PlaceAt(Bdl.BdlLine, bdl::kMergedFrom1, std::to_string(takeFrom1));
  PlaceAt(Bdl.BdlLine, bdl::kMergedFrom2, std::to_string(takeFrom2));
  return Cp1251ToUtf8(Bdl.BdlLine);
}

}  // namespace planova

namespace planova {

namespace {

// The BDL files a load reads: "_R_" right ascensions, "_D_" declinations, "_G_", "_GLB_",
// "_GT_", "_T_" places (the "Geo (Topo)" marks) and "_H_" horizontal places.
constexpr FileNamePattern kLoadFiles = {
    "Obs{code}", "{code}{object}{mark}{n}", {".txt"}, {"_R_", "_D_", "_G_", "_GLB_", "_GT_", "_T_", "_H_"}, "Obs<код>",
    "<код><объект>_G_<№>.txt (_R_, _D_, _GLB_, _GT_, _T_, _H_ вместо _G_)"};

}  // namespace

FileNameParts Window2Model::ReadLoadFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                             const std::string& codeNow) {
  return ReadFileName(file, appFolder, kLoadFiles, codeNow);
}

void Window2Model::OpenLoadFile() {
  const std::optional<std::filesystem::path> chosen = Ui().ChooseFile(BdlLoadRequest(Ui().AppFolder(), observatoryCode.Text));
  if (chosen) FillFromLoadFile(ReadLoadFileName(*chosen, Ui().AppFolder(), observatoryCode.Text));
}

void Window2Model::FillFromLoadFile(const FileNameParts& parts) {
  if (!parts.Fits()) throw Refusal{parts.Refusal, {}};
  observatoryCode.Text = parts.Code;
  objectNumber.Text = std::to_string(parts.Object.value_or(0));
  fileNumber.Text = parts.Number;
  const std::pair<const char*, OptionButton*> geoMarks[] = {
      {"_G_", &geoMarkG}, {"_GLB_", &geoMarkGlb}, {"_GT_", &geoMarkGt}, {"_T_", &geoMarkT}};
  ChooseOption(parts.Mark == "_R_" ? fileRa : parts.Mark == "_D_" ? fileDec : parts.Mark == "_H_" ? fileHor : fileGeo);
  for (const auto& [mark, option] : geoMarks) {
    if (parts.Mark == mark) ChooseOption(*option);
  }
}

// A file written by "Записать результат в" is named as WriteResult names it: from the
// code and object of the data loaded (before any load, the code in the box).
void Window2Model::OpenRecent() {
  const std::optional<std::filesystem::path> chosen = ChooseRecentFile(Ui(), Recent);
  if (!chosen) return;
  const FileNameParts load = ReadLoadFileName(*chosen, Ui().AppFolder(), observatoryCode.Text);
  if (load.Fits()) {
    FillFromLoadFile(load);
    return;
  }
  const std::string& code = Store.ObservatoryCode.empty() ? observatoryCode.Text : Store.ObservatoryCode;
  const FileNameParts written = ReadWrittenFileName(*chosen, Ui().AppFolder(), code, Store.ObjectNumber);
  if (!written.Fits()) throw Refusal{load.Refusal, {}};
  outputName.Text = written.Number;
}

}  // namespace planova
