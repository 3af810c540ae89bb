// The JPL DE405 ephemeris reader: the block file that covers an epoch, the
// coefficient record, one body's Chebyshev state, and its place in the position table.
//
// Files: JPL's published ASCII blocks "ascp" + first year + ".405" (1600 .. 2000), in
// De405Folder or, when that is empty, in the application folder's "JPL" (AppFolder).  Each block file
// is parsed once and kept in memory (De405State::De405Cache) until it changes on disk;
// De405Rescan = true reads it again for every epoch as a plain reader does.  Both ways
// give bit-identical records.
//
// Calling order for one epoch: store the epoch in CurrentJd (JD; the files' argument is
// TDB, the classical chain gives it ET = UT + ET-UT); LoadDe405Record; then per body
// De405BodyState followed by De405StateToEcliptic (or De405StateToKilometres).
// The files' frame: axes of the equator and equinox of J2000.0 (ICRF); the Sun, the
// planets and the Earth-Moon barycentre barycentric (solar-system barycentre), the Moon
// geocentric.  Program body numbers: 0 Sun, 1..9 Mercury..Pluto (3 the Earth-Moon
// barycentre), 11 Moon.
// Failures set EphemerisError = 1 and EphemerisFailureKind (and, for a date outside the
// files, StopRequested = 1); nothing is shown and nothing is thrown.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "astro/jpl_ephemeris.h"

namespace planova {


struct AstroState;
struct De405BlockCache;

// The block files JPL publishes: "ascp1600.405" .. "ascp2000.405", 20 years each.
inline constexpr int kDe405FirstFileYear = 1600;
inline constexpr int kDe405LastFileYear = 2000;
inline constexpr int kDe405YearsPerFile = 20;

// Writes: De405Layout, the record layout (by ephemeris body number), and
//   De405ValuesPerRecord = 1020.  At start-up.  Source: JPL DE405 header.
void InitDe405Layout(AstroState& a);

// Given: jd (JD, TDB).
// Returned: the file year of the 20-year block that covers it (half-open ranges from
//   2305424.5 to 2458832.5), or 0 outside.  Source: the coverage table of JPL's block files.
int De405FileYear(double jd);

// Reads: De405Folder, AppFolder.
// Returned: the first years of the block files present in the reader's folder (each
//   covers 20 years), in order; empty when there is no folder or no file.
std::vector<int> De405FileYearsPresent(const AstroState& a);

// What the messages about the ephemeris say: the last failure, the block file it concerns
// (empty for a date outside the files), the folder the block files belong in (empty when
// none is known) and the first years of the block files present there (De405FileYearsPresent).
struct EphemerisReport {
  EphemerisFailure Failure = EphemerisFailure::kNone;
  std::filesystem::path FileRead;
  std::filesystem::path Folder;
  std::vector<int> FileYearsPresent;
};
// Reads: EphemerisFailureKind, De405FilePathRead, the folder.
EphemerisReport EphemerisReportOf(const AstroState& a);

// Full path of a block file: the reader's folder (De405Folder, else the application
// folder's "JPL") / "ascp" + year + ".405".  Empty when neither folder is known.
std::filesystem::path De405FilePath(const AstroState& a, int fileYear);

// Reads the coefficient record that covers an epoch.
// Reads: CurrentJd (JD, TDB as the caller chose), the folder, De405Rescan, the run.
// Writes: De405Record (positions 1..1020: start JD, end JD, coefficients), the first
//   record of the covering block file whose end JD exceeds CurrentJd; inside a run
//   De405Values points at it in the parsed file instead.
// Status: EphemerisError untouched on success.  A date outside 2305424.5 <= JD <
//   2458832.5: kNoSuchDate, StopRequested = EphemerisError = 1, De405FilePathRead
//   cleared, the record left as it was.  A missing, unreadable or short file, or a value
//   that is not a number: kReadError, EphemerisError = 1, De405FilePathRead names the
//   file, and De405Record must not be used.
// Source: JPL's ascp record format: a header line, 340 lines of three values.
void LoadDe405Record(AstroState& a);

// The cached reader's parse, open to tests and fuzzing on any text.
// Given: bytes, a block file's text; valuesPerRecord (1 .. 1020).
// Returned: c.Values, every complete record of valuesPerRecord values after its header of
//   two numbers, up to the end of the text or up to the first record that has a word
//   that is not a number or is cut short; c.EndJdMax, the running maximum of their end JDs.
void ParseDe405BlockFile(const std::string& bytes, int valuesPerRecord, De405BlockCache& c);

// A run of many epochs, such as a comparison: inside it the block files are checked
// against the disk once (not at every epoch) and records are served from the parsed files
// without a copy (De405Record is not filled).  Results are bit-identical either way.
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
// Reads: De405Record (or De405Values in a run), De405Layout, CurrentJd (JD, TDB).
// Writes: RawX/RawY/RawZ (km) and RawVX/RawVY/RawVZ (km per half sub-interval) at the
//   ephemeris number, equator of J2000.0, barycentric (the Moon geocentric);
//   De405SubIntervalStart.
// Status: a record or layout that does not serve the body or the epoch, or a non-finite
//   result: kReadError, EphemerisError = 1.
// Source: Chebyshev series of the first and second kind (JPL's INTERP).
void De405BodyState(AstroState& a, int body);

// Given: body, the program number, after De405BodyState.
// Returned: its raw state, unrotated (equator of J2000.0, barycentric; the Moon
//   geocentric): position in km, velocity in km per day.  No status: the body must be
//   one of the files'.
struct De405Kilometres {
  double Pos[3];
  double Vel[3];
};
De405Kilometres De405BodyKilometres(const AstroState& a, int body);

// The raw state of a body into the position table, on the ecliptic.
// Given: body, the program number, after De405BodyState.
// Writes: PosX/Y/Z[body] in metres and, for slots 0..13, VelX/Y/Z[body] in m/s, rotated
//   from the equator to the ecliptic of J2000.0 by Obliquity2000 (radians); still
//   barycentric (slot 3 the Earth-Moon barycentre, slot 11 the geocentric Moon).
// Status: a body not of the files: kReadError, EphemerisError = 1, nothing written.
void De405StateToEcliptic(AstroState& a, int body);

// The raw state of a body into the position table, unrotated (the DE405 calculator).
// Given: body, the program number, after De405BodyState.
// Writes: PosX/Y/Z[body] in thousands of km and, for slots 0..13, VelX/Y/Z[body] in km/s,
//   equator of J2000.0, barycentric (the Moon geocentric).
// Status: a body not of the files: kReadError, EphemerisError = 1, nothing written.
void De405StateToKilometres(AstroState& a, int body);

}  // namespace planova
