// What the desktop front end does before window 1 opens: the program's icon, and the
// check of the application folder.
#pragma once

#include <filesystem>

namespace planova::ui {

// Sets the icon of every window (the program's SVG, a Qt resource).
void SetProgramIcon();

// Checks the application folder.  When standard folders are missing it lists them and
// asks whether to make them (after the sample tree `sample`, folders only); when only
// the ephemeris files are missing (JPL holds no ephemeris at all) it says so.  The report
// ends with the ephemerides found.  Nothing is shown when all is there.
void CheckAppFolderAtStart(const std::filesystem::path& folder, const std::filesystem::path& sample);

}  // namespace planova::ui
