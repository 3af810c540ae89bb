// The astronomy state's part of the JPL ephemeris: the folder, the selected ephemeris and
// the raw states of the bodies at the epoch last read.  A base of AstroState.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "astro/jpl.h"

namespace planova {

class JplEphemeris;
class JplAsciiEphemeris;

struct JplState {
  // Folder of the ephemeris files (JPL's ASCII block files and header, SPK kernels).
  // Empty: the application folder's "JPL" (AppFolder() / "JPL").
  std::filesystem::path JplFolder;

  // The ephemeris in use, opened in EphemerisFolder.  Null, or opened in another folder
  // than the reader's: the next read opens the one named JplEphemerisName there (empty:
  // DE405 when present, else the first found).
  std::shared_ptr<JplEphemeris> Ephemeris;
  std::filesystem::path EphemerisFolder;
  std::string JplEphemerisName;
  // The ephemeris when it is JPL's ASCII files (the record is loaded once per epoch and
  // the bodies read from it), else null.
  JplAsciiEphemeris* JplAscii = nullptr;
  // Why the ephemeris named could not be opened (a damaged header, a kernel refused), and
  // the file concerned.
  std::string EphemerisRefusal;

  // The file of the last failed read (empty for a date outside the files or no folder
  // known): what a read failure names.  A successful read leaves it as it was.
  std::filesystem::path JplFilePathRead;

  // Raw states by ephemeris body number 1..11 (JplBodyState), on the ephemeris' axes
  // (the equator and equinox of J2000.0, ICRF); barycentric (solar-system barycentre),
  // the Moon (10) geocentric, 3 the Earth-Moon barycentre.  Position in km
  // (ChebyshevState::Pos), derivative with respect to the sub-interval's normalised time in
  // km per half sub-interval (Der); times 2 / RawIntervalDays: km per day.
  std::array<double, 12> RawX{}, RawY{}, RawZ{};
  std::array<double, 12> RawVX{}, RawVY{}, RawVZ{};
  std::array<double, 12> RawIntervalDays{};

  // --- Reading strategy ---
  // false (default): each block file is parsed once and kept, the covering record found
  // by binary search.  true: the plain way, the file is opened and scanned from its start
  // for every epoch.  Both give bit-identical records.
  bool JplRescan = false;
  // How many times a block file was parsed into memory (for tests and benchmarks).
  long JplFilesParsed = 0;

  // --- A run of many epochs (BeginEphemerisRun .. EndEphemerisRun) ---
  bool JplRunActive = false;
  // The ephemeris folder found when the run began (JplFolderOf): a run of a million
  // epochs neither asks the application folder nor joins its path again for each one.
  std::filesystem::path JplRunFolder;
  // cos and sin of the obliquity the ecliptic states were last rotated by, kept so that
  // they are not computed again for every body and epoch.
  double JplRotationObliquity = std::numeric_limits<double>::quiet_NaN();
  double JplRotationCos = 0, JplRotationSin = 0;
};

}  // namespace planova
