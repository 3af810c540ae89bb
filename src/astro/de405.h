// The JPL DE405 ephemeris reader: the block file that covers an epoch, the
// coefficient record, one body's Chebyshev state, and its place in the position table.
//
// Files: JPL's published ASCII blocks "ascp" + first year + ".405" (1600 .. 2000), in
// De405Folder or, when that is empty, in the application folder's "JPL" (AppFolder).  Each block file
// is parsed once and kept in memory (De405State::De405Cache) until it changes on disk;
// De405Rescan = true reads it again for every epoch as a plain reader does.  Both ways
// give bit-identical records.
//
// Calling order for one epoch: store the epoch in CurrentJd; LoadDe405Record; then per
// body De405BodyState followed by De405StateToEcliptic (or De405StateToKilometres).
// Failures set EphemerisError = 1 and EphemerisFailureKind (and, for a date outside the
// files, StopRequested = 1); nothing is shown and nothing is thrown.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace planova {

// Why an ephemeris read failed: a date outside the block files, or a block file that is
// missing, unreadable, short or damaged (or a body or epoch the record does not serve).
enum class EphemerisFailure { kNone, kNoSuchDate, kReadError };

struct AstroState;
struct De405BlockCache;

// The block files JPL publishes: "ascp1600.405" .. "ascp2000.405", 20 years each.
inline constexpr int kDe405FirstFileYear = 1600;
inline constexpr int kDe405LastFileYear = 2000;
inline constexpr int kDe405YearsPerFile = 20;

// Writes the record layout table De405Layout (by ephemeris body number) and
// De405ValuesPerRecord = 1020.  Window 2's start-up.  Source: JPL DE405 header.
void InitDe405Layout(AstroState& a);

// File year of the 20-year block that covers jd (JD, days; half-open ranges from
// 2305424.5 to 2458832.5), or 0 outside.  Source: the coverage table of JPL's block files.
int De405FileYear(double jd);

// First years of the block files present in the reader's folder (each covers 20 years),
// in order; empty when there is no folder or no file.
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
EphemerisReport EphemerisReportOf(const AstroState& a);

// Full path of a block file: the reader's folder (De405Folder, else the application
// folder's "JPL") / "ascp" + year + ".405".  Empty when neither folder is known.
std::filesystem::path De405FilePath(const AstroState& a, int fileYear);

// Fills De405Record (positions 1..1020: start JD, end JD, coefficients) with the first
// record of the covering block file whose end JD exceeds CurrentJd (JD, days; TDB as the
// caller chose).  A date outside 2305424.5 <= JD < 2458832.5: kNoSuchDate,
// StopRequested = EphemerisError = 1, the record is left as it was.  A missing,
// unreadable or short file, or a value that is not a number: kReadError,
// EphemerisError = 1, and De405Record must not be used.
// Source: JPL's ascp record format: a header line, 340 lines of three values.
void LoadDe405Record(AstroState& a);

// Parses a block file's text into Values and EndJdMax of `c`: every complete record of
// valuesPerRecord (1 .. 1020) values after its header of two numbers, up to the end of
// the text or up to the first record that has a word that is not a number or is cut
// short.  The cached reader's parse, open to tests and fuzzing on any text.
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

// Chebyshev state of one body from De405Record at CurrentJd: RawX/RawY/RawZ (km) and
// RawVX/RawVY/RawVZ (km per half sub-interval) at the body's ephemeris number.  body is
// the program number 0..11 (0 Sun -> 11, 11 Moon -> 10, others unchanged).  A record or
// layout that does not serve the body or the epoch, or a non-finite result: kReadError,
// EphemerisError = 1.
// Source: Chebyshev series of the first and second kind (JPL's INTERP).
void De405BodyState(AstroState& a, int body);

// The raw state of a program body after De405BodyState, unrotated (equator of J2000):
// position in km, velocity in km per day.
struct De405Kilometres {
  double Pos[3];
  double Vel[3];
};
De405Kilometres De405BodyKilometres(const AstroState& a, int body);

// Raw state of the body (program number) into slot = body of the position table, metres,
// rotated from the equator to the ecliptic of J2000.0 by Obliquity2000 (radians), and
// for slots 0..13 into the velocity table, metres per second.
void De405StateToEcliptic(AstroState& a, int body);

// Raw state of the body (program number) into slot = body without rotation: position in
// thousands of kilometres, velocity (slots 0..13) in kilometres per second.  Window 2's
// DE405 calculator.
void De405StateToKilometres(AstroState& a, int body);

}  // namespace planova
