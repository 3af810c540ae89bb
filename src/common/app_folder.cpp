#include "common/app_folder.h"

#include <algorithm>
#include <system_error>

namespace planova {

namespace fs = std::filesystem;

namespace {

bool HasEntry(const fs::path& folder, const std::string& prefix, bool wantFolder, const std::string& suffix = "") {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
      continue;
    }
    std::error_code kind;
    if (wantFolder ? it->is_directory(kind) : it->is_regular_file(kind)) return true;
  }
  return false;
}

}  // namespace

AppFolderCheck CheckAppFolder(const fs::path& folder, const EphemerisLister& findEphemerides) {
  AppFolderCheck c;
  std::error_code ec;
  c.Exists = fs::is_directory(folder, ec);
  if (!HasEntry(folder, "Obs", true)) c.Missing.push_back("Obs…");
  if (!HasEntry(folder, "Tab", true)) c.Missing.push_back("Tab…");
  for (const char* name : {"FileJPL", "FileDov", "FileMPC", "Dat", "JPL"}) {
    if (!fs::is_directory(folder / name, ec)) c.Missing.push_back(name);
  }
  if (fs::is_directory(folder / "JPL", ec)) c.Ephemerides = findEphemerides(folder / "JPL");
  return c;
}

std::vector<std::string> MakeAppFolder(const fs::path& folder, const fs::path& sample, bool withFiles,
                                       fs::path& failed) {
  std::vector<std::string> made;
  failed.clear();
  std::error_code ec;
  // The sample's entries in a stable order: folders before what they hold.
  std::vector<fs::path> entries;
  const bool haveSample = fs::is_directory(sample, ec);
  if (haveSample) {
    for (fs::recursive_directory_iterator it(sample, ec), end; !ec && it != end; it.increment(ec)) {
      entries.push_back(fs::relative(it->path(), sample, ec));
    }
    std::sort(entries.begin(), entries.end());
  } else {
    for (const std::string& name : kStandardFolders) entries.emplace_back(name);
  }
  if (!fs::is_directory(folder, ec)) {
    if (!fs::create_directories(folder, ec)) {
      failed = folder;
      return made;
    }
  }
  for (const fs::path& rel : entries) {
    const fs::path from = sample / rel, to = folder / rel;
    const bool isFolder = !haveSample || fs::is_directory(from, ec);
    if (fs::exists(to, ec) || rel.filename() == ".gitkeep") continue;
    if (isFolder) {
      fs::create_directory(to, ec);
    } else if (withFiles) {
      fs::copy_file(from, to, ec);
    } else {
      continue;
    }
    if (ec) {
      failed = to;
      return made;
    }
    made.push_back(rel.generic_string());
  }
  return made;
}

}  // namespace planova
