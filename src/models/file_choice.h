// The files that the windows' "Открыть…" and "Недавние" choose: a file name read back
// into the parts that the window's boxes make it from, and the choice among the files a
// window read or wrote last.
//
// Every window names its files from its boxes by a fixed pattern, a folder of the
// application folder and a name: "Obs{code}/{code}{object}{mark}{n}.txt" is the BDL file
// of observatory {code} (the observatory's code, also in the folder's name), object
// {object} (a number), file kind {mark} ("_G_") and file number or name part {n}.
// Reading a chosen name by the same pattern gives back the boxes' texts, so that the
// window then makes exactly the chosen file's name again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "common/form.h"

namespace planova {

// A pattern of the files a window names from its boxes.  Parts in braces: "{code}" the
// observatory code (in the folder too, "Obs{code}"), "{object}" the object number as the
// windows write it (no leading zeros), "{mark}" one of `Marks`, "{n}" the rest of the name
// (a file number or name part, never empty).  Unused places of the arrays are null.
struct FileNamePattern {
  const char* Folder;         // "FileDov", "Obs{code}"
  const char* Name;           // "{code}{object}{mark}{n}", without the extension
  const char* Extensions[3];  // ".txt"
  const char* Marks[8];       // "_R_", "_D_", "_G_" …
  const char* ShownFolder;    // the folder as a message names it: "Obs<код>"
  const char* ShownName;      // the name as a message names it: "<код><объект>_G_<№>.txt"
};

// The parts of a file name read by a pattern, or why it does not fit.
struct FileNameParts {
  std::string Refusal;            // the message that refuses the file (empty: it fits)
  std::string Code;               // {code}
  std::optional<int32_t> Object;  // {object}; none when the pattern has no object
  std::string Mark;               // {mark}; empty when the pattern has none
  std::string Number;             // {n}
  bool Fits() const { return Refusal.empty(); }
};

// The name of `file` (absolute, or relative to the application folder) relative to the
// application folder with "/" between its parts ("ObsPARI/PARI11_G_110.txt"); empty when it
// lies outside that folder.
std::string AppRelativeName(const std::filesystem::path& file, const std::filesystem::path& appFolder);

// Whether `file` lies directly in the pattern's folder (its name not looked at).
bool InPatternFolder(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                     const FileNamePattern& pattern);

// Reads `file` by `pattern`.  A name that could be split in more than one way is split
// with `codeNow`, the code the window's box holds, when it fits ("J9511_1" with the box's
// "J95": code J95, object 11), else with the shortest code ("J9511_1": code J, object
// 9511); a folder that names the code settles it.  Refused: a file outside the
// application folder or outside the pattern's folder, and a name that does not fit.
FileNameParts ReadFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                           const FileNamePattern& pattern, const std::string& codeNow);

// The name part after "<code><object>_" of a file that is written as
// Obs<code>/<code><object>_<part>.txt for the data of observatory `code` and object
// `object` (window 1's "в файл", window 2's file of the result); Refusal set when the
// file is not one of those.
FileNameParts ReadWrittenFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                  const std::string& code, int32_t object);

// The file list of "Недавние": a file of `recent` chosen by the user (through the
// platform), or nothing when the choice was cancelled.  Refuses a file it does not list.
std::optional<std::filesystem::path> ChooseRecentFile(Platform& ui, const RecentFiles& recent);

// Notes a file read or written in `recent` as the window names it; a file outside the
// application folder is not listed.
void NoteRecentFile(RecentFiles& recent, const std::filesystem::path& file, const std::filesystem::path& appFolder);

// The dialog's starting folder: `folder` of the application folder when it is there,
// else the application folder itself.
std::filesystem::path StartingFolder(const std::filesystem::path& appFolder, const std::string& folder);

// The dialog that opens a BDL file to load: in Obs<code> when `code` (the observatory box)
// names a folder there, else in the application folder.
FileRequest BdlLoadRequest(const std::filesystem::path& appFolder, const std::string& code);

}  // namespace planova
