// The application folder's standard layout: what of it is missing, and making it.
//
// Every file the program reads or writes lies below the application folder: observation
// files in Obs<code>, spreadsheets in Tab<code>, source texts in FileJPL, FileDov, FileMPC and FileADES,
// results in Dat and the ephemerides (DE405's block files ascpYYYY.405, other JPL ASCII
// sets, SPK kernels) in JPL.  The windows create no
// folders; the program checks the layout when it starts and can make it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace planova {

struct AppFolderCheck {
  bool Exists = false;                // the folder itself is there
  std::vector<std::string> Missing;   // "Obs…", "Tab…", "FileJPL", "FileDov", "FileMPC", "Dat", "JPL", in that order
  std::vector<std::string> Ephemerides;  // the ephemerides JPL holds, as listed ("DE405", "de440s.bsp")
  bool FoldersComplete() const { return Exists && Missing.empty(); }
  bool NoEphemeris() const { return Ephemerides.empty(); }  // JPL holds no ephemeris at all
};

// Lists the ephemerides of a JPL folder (the astronomy's FindEphemerides).
using EphemerisLister = std::function<std::vector<std::string>(const std::filesystem::path& jplFolder)>;

AppFolderCheck CheckAppFolder(const std::filesystem::path& folder, const EphemerisLister& findEphemerides);

// The standard folders made where no sample tree is found.
inline const std::vector<std::string> kStandardFolders = {"Dat", "FileDov", "FileJPL", "FileMPC", "FileADES", "JPL", "ObsPARI", "TabPARI"};

// Makes the folder and, after the sample tree `sample` (when it is a folder), its
// folders, or else kStandardFolders; with `withFiles` the sample's files are copied too.
// Nothing that is there is replaced.  Returns the paths made, relative to `folder`
// ("Dat", "FileDov/PARI11_G_1.txt"); `failed` names what could not be made (empty when
// all went well).
std::vector<std::string> MakeAppFolder(const std::filesystem::path& folder, const std::filesystem::path& sample,
                                       bool withFiles, std::filesystem::path& failed);

}  // namespace planova
