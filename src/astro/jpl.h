// The JPL ephemeris as the classical chain reads it: the ephemeris selected in the
// astronomy state (JplEphemeris: JPL's ASCII files or an SPK kernel), the epoch's record,
// one body's Chebyshev state, and its place in the position table.
//
// Files: the folder JplFolder or, when that is empty, the application folder's "JPL"
// (AppFolder).  FindEphemerides lists what lies there; the state reads the one named
// JplEphemerisName (empty: DE405 when present, else the first found).
//
// Calling order for one epoch: store the epoch in CurrentJd (JD; the ephemeris' argument
// is TDB, the classical chain gives it ET = UT + ET-UT); LoadJplRecord; then per body
// JplBodyState followed by JplStateToEcliptic (or JplStateToKilometres).  The ephemeris'
// frame: axes of the equator and equinox of J2000.0 (ICRF); the Sun, the planets and the
// Earth-Moon barycentre barycentric (solar-system barycentre), the Moon geocentric.
// Program body numbers: 0 Sun, 1..9 Mercury..Pluto (3 the Earth-Moon barycentre), 11 Moon.
// Failures set EphemerisError = 1 and EphemerisFailureKind (and, for a date outside the
// files, StopRequested = 1); nothing is shown and nothing is thrown.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "astro/jpl_ephemeris.h"

namespace planova {

struct AstroState;
class JplAsciiEphemeris;

// The ephemerides in a folder by the names the program lists: JPL's ASCII ones as "DE405",
// "DE440" (a header.4xx or block files), SPK kernels by their file names ("de440s.bsp");
// DE405 first when present, then the others in order.
std::vector<std::string> FindEphemerides(const std::filesystem::path& folder);
// The ephemeris `name` of FindEphemerides in a folder; null with `refusal` saying why
// (naming the file) when it cannot be opened.
std::shared_ptr<JplEphemeris> OpenEphemeris(const std::filesystem::path& folder, const std::string& name,
                                            std::string* refusal);

// The reader's folder: JplFolder, else the application folder's "JPL"; empty when
// neither is known.
std::filesystem::path JplFolderOf(const AstroState& a);
// The ephemeris of the state, opened when the folder changed; null when no folder is
// known or it cannot be opened (EphemerisRefusal says why).  Inside a run the application
// folder, once resolved, is taken as unchanged.
JplEphemeris* CurrentEphemeris(AstroState& a);
// Makes `e`, opened in `folder` (null: none), the state's ephemeris, its run begun when
// one is active.
void UseEphemeris(AstroState& a, std::shared_ptr<JplEphemeris> e, const std::filesystem::path& folder);

// Whether jd lies outside the ephemeris (LoadJplRecord would fail it as kNoSuchDate;
// NaN included).
bool JplDateOutside(AstroState& a, double jd);
// The Earth/Moon mass ratio of the ephemeris in use (EMRAT; DE405's when none is open).
double JplEmrat(AstroState& a);

// What the messages about the ephemeris say: the last failure, the file it concerns
// (empty for a date outside the files), the folder the files belong in (empty when none is
// known), the ephemeris' name and span, and the first years of the block files present.
struct EphemerisReport {
  EphemerisFailure Failure = EphemerisFailure::kNone;
  std::filesystem::path FileRead;
  std::filesystem::path Folder;
  std::vector<int> FileYearsPresent;
  std::string Name = "DE405";
  int YearsPerFile = 20;          // the span of one block file, years (0: unknown)
  int FirstYear = 0, EndYear = 0;  // the years the ephemeris spans (first and last)
  std::string FirstFile, LastFile;  // its first and last block files' names (empty: none)
  std::string FilePattern;          // the block files' names ("ascpГГГГ.405"); empty: none
  std::string Refusal;              // why the ephemeris could not be opened
};
// Reads: EphemerisFailureKind, JplFilePathRead, the folder and its files.
EphemerisReport EphemerisReportOf(const AstroState& a);

// Reads the record that covers an epoch.
// Reads: CurrentJd (JD, TDB as the caller chose), the folder, JplRescan, the run.
// Status: EphemerisError untouched on success.  A date outside the ephemeris: kNoSuchDate,
//   StopRequested = EphemerisError = 1, JplFilePathRead cleared.  A missing, unreadable,
//   short or damaged file: kReadError, EphemerisError = 1, JplFilePathRead names the file.
void LoadJplRecord(AstroState& a);

// A run of many epochs, such as a comparison: inside it the block files are checked
// against the disk once (not at every epoch) and records are served from the parsed files
// without a copy.  Results are bit-identical either way.  Its end also keeps the rigorous
// chain's new days in the application folder (SaveDayTable).
void BeginEphemerisRun(AstroState& a);
void EndEphemerisRun(AstroState& a);

// Begins a run for the life of the object.
class EphemerisRun {
 public:
  explicit EphemerisRun(AstroState& a) : a_(a) { BeginEphemerisRun(a_); }
  ~EphemerisRun() { EndEphemerisRun(a_); }
  EphemerisRun(const EphemerisRun&) = delete;
  EphemerisRun& operator=(const EphemerisRun&) = delete;

 private:
  AstroState& a_;
};

// Chebyshev state of one body at the epoch of the loaded record.
// Given: body, the program number 0..11 (0 Sun -> ephemeris number 11, 11 Moon -> 10,
//   others unchanged).
// Reads: the record loaded, CurrentJd (JD, TDB).
// Writes: RawX/RawY/RawZ (km), RawVX/RawVY/RawVZ (km per half sub-interval) and
//   RawIntervalDays at the ephemeris number.
// Status: a record or layout that does not serve the body or the epoch, or a non-finite
//   result: kReadError, EphemerisError = 1.
// Source: Chebyshev series of the first and second kind (JPL's INTERP).
void JplBodyState(AstroState& a, int body);

// JplBodyState for count (1..4) bodies of the block files at once, their series summed
// side by side, when every one of them succeeds; each raw state bit for bit
// JplBodyState's.
// Returned: true when all were read; false, with nothing written and no failure recorded,
//   for any other ephemeris than block files, a number that is no body or a failure: the
//   caller then reads them one by one with JplBodyState, as it would have.
bool JplBodyStatesTogether(AstroState& a, const int* bodies, size_t count);

// Given: body, the program number, after JplBodyState.
// Returned: its raw state, unrotated: position in km, velocity in km per day.  No
//   status: the body must be one of the files'.
struct JplKilometres {
  double Pos[3];
  double Vel[3];
};
JplKilometres JplBodyKilometres(const AstroState& a, int body);

// JplBodyState and JplBodyKilometres in one, for callers that keep the states themselves.
// Given: body, the program number.  Reads: the record loaded, CurrentJd (JD, TDB).
// Returned: the state as JplBodyKilometres gives it; the raw states are not written.
// Status: false after JplBodyState's failures, recorded as it records them.
bool JplBodyStateKilometres(AstroState& a, int body, JplKilometres& out);

// JplBodyStateKilometres for count (1..4) bodies at once, the block files' series summed
// side by side; each state bit for bit the same.
// Status: false after the first failure (recorded as JplBodyStateKilometres records it);
//   the states are then not all given.
bool JplBodyStatesKilometres(AstroState& a, const int* bodies, size_t count, JplKilometres* out);

// Where a body can be during the sub-interval of the loaded record that covers jd (JPL's
// ASCII files only).
// Given: body, the program number; jd (JD, TDB).  Reads: the record loaded.
// Returned: true with the bound; false for an SPK kernel or a record that gives none (no
//   failure recorded: the state itself says what is wrong).
bool JplBodyBound(AstroState& a, int body, double jd, ChebyshevBound& out);

// The raw state of a body into the position table, on the ecliptic.
// Given: body, the program number, after JplBodyState.
// Writes: PosX/Y/Z[body] in metres and, for slots 0..13, VelX/Y/Z[body] in m/s, rotated
//   from the equator to the ecliptic of J2000.0 by Obliquity2000 (radians); still
//   barycentric (slot 3 the Earth-Moon barycentre, slot 11 the geocentric Moon).
// Status: a body not of the files: kReadError, EphemerisError = 1, nothing written.
void JplStateToEcliptic(AstroState& a, int body);

// The raw state of a body into the position table, unrotated (the ephemeris calculator).
// Given: body, the program number, after JplBodyState.
// Writes: PosX/Y/Z[body] in thousands of km and, for slots 0..13, VelX/Y/Z[body] in km/s,
//   equator of J2000.0, barycentric (the Moon geocentric).
// Status: a body not of the files: kReadError, EphemerisError = 1, nothing written.
void JplStateToKilometres(AstroState& a, int body);

}  // namespace planova
