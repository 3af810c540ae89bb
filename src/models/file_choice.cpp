#include "models/file_choice.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "common/name_part.h"
#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

constexpr const char* kOutsideAppFolderMessage = "Файл не в папке программы: ";
constexpr const char* kOutsideFolderMessage = "Файл не в папке ";
constexpr const char* kNameMismatchMessage = "Имя файла не по образцу ";
constexpr const char* kNoRecentText = "Недавних файлов нет";
constexpr const char* kNotRecentMessage = "Файла нет в списке недавних: ";
constexpr const char* kRecentTitle = "Недавние файлы";
// Ahead of the file a written file of the loaded data has to be.
constexpr const char* kWrittenElsewhereMessage = "Загруженные данные пишутся только в ";

// The folder and the name of a file relative to the application folder, when it lies
// directly in a folder of it.
struct FolderAndName {
  std::string folder, name;
};

std::optional<FolderAndName> SplitRelative(const std::string& relative) {
  const size_t slash = relative.find('/');
  if (slash == std::string::npos || slash == 0 || relative.find('/', slash + 1) != std::string::npos) return std::nullopt;
  return FolderAndName{relative.substr(0, slash), relative.substr(slash + 1)};
}

// The code of folder `folder` by the pattern's folder ("Obs{code}" and "ObsPARI": "PARI";
// "FileDov" and "FileDov": ""), or nothing when the folder is another.
std::optional<std::string> FolderCode(std::string_view pattern, const std::string& folder) {
  constexpr std::string_view kCode = "{code}";
  const size_t at = pattern.find(kCode);
  if (at == std::string_view::npos) {
    if (folder == pattern) return std::string();
    return std::nullopt;
  }
  const std::string_view head = pattern.substr(0, at), tail = pattern.substr(at + kCode.size());
  if (folder.size() <= head.size() + tail.size() || folder.compare(0, head.size(), head) != 0 ||
      folder.compare(folder.size() - tail.size(), tail.size(), tail) != 0) {
    return std::nullopt;
  }
  return folder.substr(head.size(), folder.size() - head.size() - tail.size());
}

// Matches a file's stem against the parts of a pattern's name, trying the ways a name
// can be split in the order of preference; the first that fits wins.
class NameMatcher {
 public:
  NameMatcher(const FileNamePattern& pattern, std::string_view stem, std::string codeNow, std::string folderCode)
      : pattern_(pattern), stem_(stem), codeNow_(std::move(codeNow)), folderCode_(std::move(folderCode)) {}

  bool Match(FileNameParts& parts) {
    parts_ = &parts;
    return From(pattern_.Name, 0);
  }

 private:
  bool From(std::string_view rest, size_t at) {
    if (rest.empty()) return at == stem_.size();
    const std::string_view left = stem_.substr(at);
    if (rest.front() != '{') {
      const size_t brace = std::min(rest.find('{'), rest.size());
      const std::string_view literal = rest.substr(0, brace);
      return left.substr(0, literal.size()) == literal && From(rest.substr(brace), at + literal.size());
    }
    const size_t close = rest.find('}');
    const std::string_view part = rest.substr(0, close + 1), next = rest.substr(close + 1);
    if (part == "{code}") {
      if (!folderCode_.empty()) return TryCode(folderCode_, next, at);
      if (!codeNow_.empty() && TryCode(codeNow_, next, at)) return true;
      for (size_t n = 1; n <= left.size(); ++n) {
        if (TryCode(std::string(left.substr(0, n)), next, at)) return true;
      }
      return false;
    }
    if (part == "{object}") {
      size_t digits = 0;
      while (digits < left.size() && left[digits] >= '0' && left[digits] <= '9') ++digits;
      for (size_t n = digits; n >= 1; --n) {
        int32_t object = 0;
        const std::string text(left.substr(0, n));
        // The windows write the number without leading zeros: another spelling is another file.
        if (!TryParseInt32(text, object) || object < 0 || std::to_string(object) != text) continue;
        parts_->Object = object;
        if (From(next, at + n)) return true;
      }
      parts_->Object.reset();
      return false;
    }
    if (part == "{mark}") {
      for (const char* mark : pattern_.Marks) {
        if (!mark || left.substr(0, std::string_view(mark).size()) != mark) continue;
        parts_->Mark = mark;
        if (From(next, at + std::string_view(mark).size())) return true;
      }
      parts_->Mark.clear();
      return false;
    }
    // "{n}": the rest of the name, a plain name part of its own.
    if (left.empty() || !IsPlainNamePart(left) || !From(next, stem_.size())) return false;
    parts_->Number = std::string(left);
    return true;
  }

  bool TryCode(const std::string& code, std::string_view next, size_t at) {
    if (!IsPlainNamePart(code) || stem_.substr(at, code.size()) != code) return false;
    parts_->Code = code;
    return From(next, at + code.size());
  }

  const FileNamePattern& pattern_;
  std::string_view stem_;
  std::string codeNow_, folderCode_;
  FileNameParts* parts_ = nullptr;
};

}  // namespace

std::string AppRelativeName(const std::filesystem::path& file, const std::filesystem::path& appFolder) {
  const std::filesystem::path relative =
      file.is_absolute() ? file.lexically_normal().lexically_relative(appFolder.lexically_normal()) : file.lexically_normal();
  if (relative.empty() || *relative.begin() == ".." || relative.is_absolute()) return {};
  const std::u8string text = relative.generic_u8string();
  return std::string(text.begin(), text.end());
}

bool InPatternFolder(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                     const FileNamePattern& pattern) {
  const std::optional<FolderAndName> split = SplitRelative(AppRelativeName(file, appFolder));
  return split && FolderCode(pattern.Folder, split->folder).has_value();
}

FileNameParts ReadFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                           const FileNamePattern& pattern, const std::string& codeNow) {
  FileNameParts parts;
  const std::string relative = AppRelativeName(file, appFolder);
  if (relative.empty()) {
    parts.Refusal = kOutsideAppFolderMessage + PathText(file);
    return parts;
  }
  const std::optional<FolderAndName> split = SplitRelative(relative);
  const std::optional<std::string> folderCode = split ? FolderCode(pattern.Folder, split->folder) : std::nullopt;
  if (!folderCode) {
    parts.Refusal = kOutsideFolderMessage + std::string(pattern.ShownFolder) + ": " + relative;
    return parts;
  }
  for (const char* extension : pattern.Extensions) {
    const std::string_view ext = extension ? extension : "";
    const std::string& name = split->name;
    if (ext.empty() || name.size() <= ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0) {
      continue;
    }
    NameMatcher matcher(pattern, std::string_view(name).substr(0, name.size() - ext.size()), codeNow, *folderCode);
    if (matcher.Match(parts)) return parts;
  }
  parts = {};
  parts.Refusal = kNameMismatchMessage + std::string(pattern.ShownName) + ": " + relative;
  return parts;
}

FileNameParts ReadWrittenFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                  const std::string& code, int32_t object) {
  static constexpr FileNamePattern kWritten = {
      "Obs{code}", "{code}{object}_{n}", {".txt"}, {}, "Obs<код>", "<код><объект>_<имя>.txt"};
  FileNameParts parts = ReadFileName(file, appFolder, kWritten, code);
  if (parts.Fits() && (parts.Code != code || parts.Object != object)) {
    const std::string stem = code + std::to_string(object);
    parts = {};
    parts.Refusal = kWrittenElsewhereMessage + ("Obs" + code + "/" + stem + "_…txt: ") + AppRelativeName(file, appFolder);
  }
  return parts;
}

std::optional<std::filesystem::path> ChooseRecentFile(Platform& ui, const RecentFiles& recent) {
  FileRequest request;
  request.Title = kRecentTitle;
  request.Folder = ui.AppFolder();
  request.FromList = true;
  request.Listed = recent.Names;
  request.NoneListed = kNoRecentText;
  const std::optional<std::filesystem::path> chosen = ui.ChooseFile(request);
  if (!chosen) return std::nullopt;
  const std::string name = AppRelativeName(*chosen, ui.AppFolder());
  if (std::find(recent.Names.begin(), recent.Names.end(), name) == recent.Names.end()) {
    throw Refusal{kNotRecentMessage + (name.empty() ? PathText(*chosen) : name), {}};
  }
  return AppPath(ui.AppFolder(), name);
}

void NoteRecentFile(RecentFiles& recent, const std::filesystem::path& file, const std::filesystem::path& appFolder) {
  recent.Note(AppRelativeName(file, appFolder));
}

std::filesystem::path StartingFolder(const std::filesystem::path& appFolder, const std::string& folder) {
  std::error_code ec;
  const std::filesystem::path path = AppPath(appFolder, folder);
  return std::filesystem::is_directory(path, ec) ? path : appFolder;
}

FileRequest BdlLoadRequest(const std::filesystem::path& appFolder, const std::string& code) {
  FileRequest request;
  request.Title = "Открыть файл BDL";
  request.Filter = "Файлы BDL (*.txt)";
  request.Folder = StartingFolder(appFolder, IsPlainNamePart(code) ? "Obs" + code : "");
  return request;
}

}  // namespace planova
