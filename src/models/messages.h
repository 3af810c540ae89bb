// The program's texts for what the routines below the windows report: the window models
// turn a status into one of these and show it (title "Planova").
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "astro/jpl.h"
#include "bdl/bdl_file.h"
#include "common/app_folder.h"
#include "common/obs_store.h"
#include "common/platform.h"
#include "common/textfile.h"
#include "import/observatories.h"

namespace planova {

inline constexpr const char* kWrongDateMessage = "Введите правильно дату";
inline constexpr const char* kWrongJdMessage = "Введите правильно юлианскую дату";
// What "точно (IAU 2006)" does where the rigorous reduction does not serve: the stage
// log, or window 3's status, says which reduction was used.
inline constexpr const char* kPreciseClassicalNote = "точно (IAU 2006) — только для JPL2 и эпох App, J2000: ";
inline std::string PreciseClassicalNote(const std::string& epochLabel, bool jpl2) {
  return std::string(kPreciseClassicalNote) + (jpl2 ? epochLabel : std::string("JPL0")) + " — классическая редукция";
}
// Why a record's observer could not be placed, for a run of topocentric places.
inline std::string StationRefusalMessage(const RecordObservers& r) {
  const std::string why = r.Why == ObservatoryFindEnd::kNoCoordinates
                              ? "у кода нет координат (космический или подвижный наблюдатель)"
                              : "код не найден ни в Observatories.txt, ни в ObsCodes.html";
  return "Станция \"" + r.FailedCode + "\" (запись " + std::to_string(r.FailedRow) + "): " + why;
}
// "топоцентр." where the rigorous reduction does not serve.
inline constexpr const char* kTopocentricGeocentricNote =
    "топоцентр. - только с \"точно (IAU 2006)\", JPL2 и эпохой App или J2000: место геоцентрическое";
inline constexpr const char* kCreateArraysFirstMessage = "Сначала создайте массивы данных (кнопка \"Создать массивы с N=\")";

// An ephemeris failure as the windows report it (empty for none), naming the ephemeris.
inline std::string EphemerisMessage(EphemerisFailure f, const std::string& name = "DE405") {
  const bool de405 = name == "DE405";
  switch (f) {
    case EphemerisFailure::kNoSuchDate: return de405 ? "В файлах DE405 нет такой даты" : "В файлах " + name + " нет такой даты";
    case EphemerisFailure::kReadError: return de405 ? "Ошибка чтения файлов JPL DE405" : "Ошибка чтения файлов JPL " + name;
    default: return {};
  }
}

// The ephemeris that Param_data_, Stat and window 2's stage log name: the one "JPL2" took
// its places from, when that is not DE405; empty for DE405, for "JPL0" and for a
// comparison with a second set.  DE405 was for years the program's only ephemeris, and
// every Param_data_ and Stat file made with it has a blank line where the name would
// stand; astronomers' scripts read those files by line and compare new ones with old ones,
// so a file made with DE405 stays byte for byte as it always was, and a file that names
// no ephemeris means DE405.
inline std::string EphemerisNamedInOutput(bool jpl2, const std::string& name) {
  return jpl2 && name != "DE405" ? name : std::string();
}

// The years the block files present cover (their first years, in order, each file
// `yearsPerFile` years), as runs of years ("1960–2019").
inline std::string JplCoverageText(const EphemerisReport& r) {
  const bool de405 = r.Name == "DE405";
  if (r.FileYearsPresent.empty()) {
    if (de405) return "файлов DE405 (ascpГГГГ.405) нет";
    return "нет файлов эфемериды " + r.Name + (r.FilePattern.empty() ? std::string() : " (" + r.FilePattern + ")");
  }
  const int step = r.YearsPerFile > 0 ? r.YearsPerFile : 1;
  std::string runs;
  const std::vector<int>& years = r.FileYearsPresent;
  for (size_t k = 0; k < years.size(); ++k) {
    size_t last = k;
    while (last + 1 < years.size() && years[last + 1] == years[last] + step) ++last;
    if (!runs.empty()) runs += ", ";
    int end = r.YearsPerFile > 0 ? years[last] + step - 1 : r.EndYear;
    if (r.EndYear >= years[k] && end > r.EndYear) end = r.EndYear;
    runs += std::to_string(years[k]) + "–" + std::to_string(end);
    k = last;
  }
  if (de405) return "файлы DE405 охватывают годы " + runs;
  return "годы в файлах " + r.Name + ": " + runs;
}

// The failure, the file it concerns and the years the files present cover.  A block
// file that is not there says so; a date beyond every block names the blocks the
// ephemeris has and the folder they belong in.
inline std::string EphemerisMessage(const EphemerisReport& a) {
  std::string text = EphemerisMessage(a.Failure, a.Name);
  if (a.Failure == EphemerisFailure::kReadError && !a.FileRead.empty()) {
    text += "\r\n" + PathText(a.FileRead);
    std::error_code ec;
    if (!std::filesystem::exists(a.FileRead, ec)) text += " — файла нет";
  }
  if (a.Failure == EphemerisFailure::kReadError && !a.Refusal.empty()) text += "\r\n" + a.Refusal;
  if (a.Failure == EphemerisFailure::kNoSuchDate) {
    const std::string years = std::to_string(a.FirstYear) + "–" + std::to_string(a.EndYear);
    if (a.Name == "DE405") {
      text += "\r\nDE405 охватывает годы " + years + ": файлы " + a.FirstFile + " … " + a.LastFile;
    } else {
      text += "\r\nгоды эфемериды " + a.Name + ": " + years;
      if (!a.FirstFile.empty()) text += ", файлы " + a.FirstFile + (a.LastFile == a.FirstFile ? "" : " … " + a.LastFile);
    }
    if (!a.Folder.empty()) text += " в папке " + PathText(a.Folder);
  }
  return text + "\r\n" + JplCoverageText(a);
}

// A file's path as the windows report it: relative to the application folder with "/"
// between the parts ("ObsPARI/PARI11_G_110.txt"), or whole when it lies elsewhere.
inline std::string AppRelativeText(const std::filesystem::path& file, const std::filesystem::path& appFolder) {
  const std::filesystem::path rel = file.lexically_relative(appFolder);
  if (rel.empty() || *rel.begin() == "..") return PathText(file);
  std::u8string s = rel.generic_u8string();
  return std::string(s.begin(), s.end());
}

// What a window's pane says after a file is written: how many records, and where.
inline std::string WrittenReport(long long records, const std::filesystem::path& file,
                                 const std::filesystem::path& appFolder) {
  return "записано  " + std::to_string(records) + "  записей в " + AppRelativeText(file, appFolder);
}

// What a data set's pane says after a load that failed: the set is empty.
inline constexpr const char* kNotLoadedText = "данные не загружены";

// A window's status line: the file loaded last with its records, and the file written last.
struct DataStatus {
  std::string Loaded, Written;  // "загружено: …", "записано: …" (empty: nothing yet)

  void NoteLoaded(const std::filesystem::path& file, const std::filesystem::path& appFolder, long long records) {
    Loaded = "загружено: " + AppRelativeText(file, appFolder) + ", " + std::to_string(records) + " записей";
  }
  void NoteNotLoaded() { Loaded = kNotLoadedText; }
  void NoteWritten(const std::filesystem::path& file, const std::filesystem::path& appFolder, long long records) {
    Written = "записано: " + AppRelativeText(file, appFolder) + ", " + std::to_string(records) + " записей";
  }
  std::string Text() const { return Loaded.empty() || Written.empty() ? Loaded + Written : Loaded + "; " + Written; }
};

// The question before a writer replaces an existing BDL file of `oldRecords` records by one
// of `newRecords`.
inline std::string ReplaceFileQuestion(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                       long long oldRecords, long long newRecords) {
  return "Файл " + AppRelativeText(file, appFolder) + " уже есть (" + std::to_string(oldRecords) +
         " записей). Заменить его " + std::to_string(newRecords) + " записями?";
}

// True when `file` may be written with `newRecords` records: it is not there, or the user
// agrees to replace the records it holds.
inline bool ConfirmReplace(Platform& ui, const std::filesystem::path& file, long long newRecords) {
  const int64_t old = CountBdlFileRecords(file);
  return old < 0 || ui.Ask(ReplaceFileQuestion(file, ui.AppFolder(), old, newRecords));
}

// The question before the program ends with data of set 3 not written (ObservationStore::Unsaved).
inline std::string UnsavedExitQuestion(const std::string& what) {
  return "Есть незаписанные данные (" + what + "). Выйти без записи?";
}

// True when the program may end: no data of set 3 is left unwritten, or the user agrees to
// lose it.
inline bool ConfirmUnsavedExit(Platform& ui, const ObservationStore& store) {
  return store.Unsaved.empty() || ui.Ask(UnsavedExitQuestion(store.Unsaved));
}

// A file that could not be written: the message and the file's path.
inline std::string WriteFailureMessage(const std::filesystem::path& path) {
  return "Ошибка записи в файл\r\n" + PathText(path);
}
// The same for the files of a run that were not written, each on its own line.
inline std::string WriteFailureMessage(const std::vector<std::filesystem::path>& paths) {
  std::string text = "Ошибка записи в файл";
  for (const auto& path : paths) text += "\r\n" + PathText(path);
  return text;
}

// The ephemerides the start-up check found in JPL, a line after a line break ("эфемериды:
// DE405, de440s.bsp"); empty when there are none.
inline std::string AppFolderEphemeridesText(const AppFolderCheck& c) {
  if (c.NoEphemeris()) return {};
  std::string text = "\r\nэфемериды: ";
  for (size_t i = 0; i < c.Ephemerides.size(); ++i) text += (i ? ", " : "") + c.Ephemerides[i];
  return text;
}

// What the start-up check found missing in the application folder, one item a line, and
// then the ephemerides the JPL folder holds (empty when nothing is missing).
inline std::string AppFolderMissingText(const std::filesystem::path& folder, const AppFolderCheck& c) {
  if (!c.Exists) return "Папки программы нет:\r\n" + PathText(folder);
  std::string text;
  for (const std::string& name : c.Missing) {
    text += "\r\n  ";
    if (name == "Obs…") text += "Obs… — папки наблюдений Obs<код> (например ObsPARI)";
    else if (name == "Tab…") text += "Tab… — папки таблиц Tab<код> (например TabPARI)";
    else if (name == "FileJPL") text += "FileJPL — исходные файлы JPL";
    else if (name == "FileDov") text += "FileDov — исходные файлы Dov";
    else if (name == "FileMPC") text += "FileMPC — исходные файлы MPC";
    else if (name == "Dat") text += "Dat — файлы результатов";
    else if (name == "JPL") text += "JPL — файлы DE405";
    else text += name;
  }
  if (c.NoEphemeris()) text += "\r\n  JPL/ascpГГГГ.405 — файлы DE405 (их делает scripts/install_de405.sh ПАПКА/JPL)";
  if (text.empty()) return text;
  return "В папке программы\r\n" + PathText(folder) + "\r\nнет:" + text + AppFolderEphemeridesText(c);
}
inline constexpr const char* kAppFolderOffer = "Создать стандартные папки?";
inline std::string AppFolderInitHint(const std::filesystem::path& folder) {
  return "Стандартные папки создаёт команда planova3 --init " + PathText(folder);
}
inline std::string FolderNotMadeMessage(const std::filesystem::path& path) {
  return "Не удалось создать папку\r\n" + PathText(path);
}

}  // namespace planova
