// Window 1's file choices: "Открыть…" (a source file), "Выбрать…" (the BDL file a save
// writes) and "Недавние" (a file imported or written lately).
#include "common/name_part.h"
#include "models/file_choice.h"
#include "window1/window1_model.h"

namespace planova {

namespace {

// The sources' files as the import names them (source_import.cpp), each in its folder.
// Dov files and tables carry the parameter in the name: "_R_", "_D_", "_G_", and under
// Geo "_T_" (+Topo) or "_H_" (+Hor).
struct SourceFiles {
  SourceKind source;
  FileNamePattern pattern;
};
constexpr SourceFiles kSourceFiles[] = {
    {SourceKind::kDov,
     {"FileDov", "{code}{object}{mark}{n}", {".txt"}, {"_R_", "_D_", "_G_", "_T_", "_H_"}, "FileDov",
      "<код><объект>_G_<№>.txt (_R_, _D_, _T_, _H_ вместо _G_)"}},
    {SourceKind::kJpl, {"FileJPL", "{code}_{n}", {".txt"}, {}, "FileJPL", "<код>_<№>.txt"}},
    {SourceKind::kTable,
     {"Tab{code}", "{code}{object}{mark}{n}", {".xls", ".xlsx", ".ods"}, {"_R_", "_D_", "_G_", "_T_", "_H_"}, "Tab<код>",
      "<код><объект>_G_<№>.xls, .xlsx или .ods (_R_, _D_, _T_, _H_ вместо _G_)"}},
    {SourceKind::kMpc, {"FileMPC", "{code}{object}_{n}", {".txt"}, {}, "FileMPC", "<код><объект>_<№>.txt"}},
    {SourceKind::kAdes, {"FileADES", "{code}{object}_{n}", {".psv", ".xml"}, {}, "FileADES", "<код><объект>_<№>.psv или .xml"}},
};

constexpr const char* kNotSourceFolderMessage = "Файл не в папке исходных данных (FileDov, FileJPL, FileMPC, FileADES, Tab<код>): ";

}  // namespace

SourceFileBoxes Window1Model::ReadSourceFileName(const std::filesystem::path& file,
                                                 const std::filesystem::path& appFolder, const std::string& codeNow) {
  SourceFileBoxes boxes;
  for (const SourceFiles& s : kSourceFiles) {
    if (!InPatternFolder(file, appFolder, s.pattern)) continue;
    const FileNameParts parts = ReadFileName(file, appFolder, s.pattern, codeNow);
    boxes.Refusal = parts.Refusal;
    if (!parts.Fits()) return boxes;
    boxes.Source = s.source;
    boxes.Code = parts.Code;
    boxes.Object = parts.Object;
    boxes.FileNumber = parts.Number;
    if (!parts.Mark.empty()) {
      boxes.Param = parts.Mark == "_R_" ? Parameter::kRa : parts.Mark == "_D_" ? Parameter::kDec : Parameter::kGeo;
      boxes.Topo = parts.Mark == "_T_";
      boxes.Hor = parts.Mark == "_H_";
    }
    return boxes;
  }
  const std::string relative = AppRelativeName(file, appFolder);
  // Outside the application folder: the pattern says so.
  boxes.Refusal = relative.empty() ? ReadFileName(file, appFolder, kSourceFiles[0].pattern, codeNow).Refusal
                                   : kNotSourceFolderMessage + relative;
  return boxes;
}

void Window1Model::OpenSource() {
  const SourceKind source = sourceExcel.Value ? SourceKind::kTable
                            : sourceJpl.Value ? SourceKind::kJpl
                            : sourceMpc.Value ? SourceKind::kMpc
                            : sourceAdes.Value ? SourceKind::kAdes
                                               : SourceKind::kDov;
  FileRequest request;
  request.Title = "Открыть исходный файл";
  request.Filter = "Исходные данные (*.txt *.xls *.xlsx *.ods *.psv *.xml)";
  std::string folder = "FileDov";
  for (const SourceFiles& s : kSourceFiles) {
    if (s.source == source) folder = s.pattern.Folder;
  }
  if (source == SourceKind::kTable) folder = "Tab" + observatoryCode.Text;
  request.Folder = StartingFolder(Ui().AppFolder(), IsPlainNamePart(folder) ? folder : std::string());
  const std::optional<std::filesystem::path> chosen = Ui().ChooseFile(request);
  if (chosen) FillFromSourceFile(*chosen);
}

void Window1Model::FillFromSourceFile(const std::filesystem::path& file) {
  const SourceFileBoxes boxes = ReadSourceFileName(file, Ui().AppFolder(), observatoryCode.Text);
  if (!boxes.Refusal.empty()) throw Refusal{boxes.Refusal, {}};
  const OptionButton* sources[] = {&sourceExcel, &sourceJpl, &sourceDov, &sourceMpc, &sourceAdes};
  ChooseOption(*sources[static_cast<int>(boxes.Source)]);
  observatoryCode.Text = boxes.Code;
  if (boxes.Object) objectNumber.Text = std::to_string(*boxes.Object);
  if (boxes.Param) {
    ChooseOption(*boxes.Param == Parameter::kRa ? parameterRa : *boxes.Param == Parameter::kDec ? parameterDec : parameterGeo);
    if (*boxes.Param == Parameter::kGeo) {
      topocentricSource.Value = boxes.Topo;
      horizontalSource.Value = boxes.Hor;
    }
  }
  fileNumber.Text = boxes.FileNumber;
}

void Window1Model::BdlFileOwner(std::string& code, int32_t& object) const {
  code = Store.ObservatoryCode;
  object = Store.ObjectNumber;
  if (code.empty()) {
    code = observatoryCode.Text;
    if (!TryBoxInt32(objectNumber, object)) Refuse(objectNumber, kSetDataRightMessage);
  }
}

void Window1Model::ChooseBdlTarget() {
  std::string code;
  int32_t object = 0;
  BdlFileOwner(code, object);
  RequirePlainNameParts({code});
  FileRequest request;
  request.Title = "Файл BDL для записи";
  request.Filter = "Файлы BDL (*.txt)";
  request.Folder = StartingFolder(Ui().AppFolder(), "Obs" + code);
  request.Name = code + std::to_string(object) + "_" + bdlNamePart.Text + ".txt";
  request.ForWriting = true;
  const std::optional<std::filesystem::path> chosen = Ui().ChooseFile(request);
  if (chosen) FillFromBdlTarget(*chosen);
}

void Window1Model::FillFromBdlTarget(const std::filesystem::path& file) {
  std::string code;
  int32_t object = 0;
  BdlFileOwner(code, object);
  const FileNameParts parts = ReadWrittenFileName(file, Ui().AppFolder(), code, object);
  if (!parts.Fits()) throw Refusal{parts.Refusal, {}};
  bdlNamePart.Text = parts.Number;
}

// The files imported are sources; those written lie in the Obs folders.
void Window1Model::OpenRecent() {
  const std::optional<std::filesystem::path> chosen = ChooseRecentFile(Ui(), Recent);
  if (!chosen) return;
  if (AppRelativeName(*chosen, Ui().AppFolder()).starts_with("Obs")) {
    FillFromBdlTarget(*chosen);
  } else {
    FillFromSourceFile(*chosen);
  }
}

}  // namespace planova
