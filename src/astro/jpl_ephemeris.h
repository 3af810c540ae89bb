// A JPL planetary ephemeris, whatever its version and form: JPL's ASCII files (a header
// and block files of Chebyshev records) or an SPK kernel (NAIF DAF, Chebyshev segments).
// The value knows its version, its coverage, its constants and how to give a body's state
// at a TDB date; nothing outside the ephemeris code knows a file name, a record layout or a
// DE number.
//
// Bodies are numbered as JPL's ASCII ephemerides number them (JplBody): 1 Mercury .. 9
// Pluto (the planets' barycentres), 3 the Earth-Moon barycentre, 10 the Moon (geocentric),
// 11 the Sun.  States are referred to the solar-system barycentre (the Moon to the
// geocentre), on the ICRF axes (the mean equator and equinox of J2000 for DE405), in km.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace planova {

// Why an ephemeris read failed: a date outside the files, or a file that is missing,
// unreadable, short or damaged (or a body or epoch the ephemeris does not serve).
enum class EphemerisFailure { kNone, kNoSuchDate, kReadError };

// JPL's body numbers of the ASCII ephemerides.
enum JplBody : int {
  kJplMercury = 1,
  kJplVenus = 2,
  kJplEarthMoonBarycentre = 3,
  kJplMars = 4,
  kJplJupiter = 5,
  kJplSaturn = 6,
  kJplUranus = 7,
  kJplNeptune = 8,
  kJplPluto = 9,
  kJplMoon = 10,  // geocentric
  kJplSun = 11,
};

// One body's state from a Chebyshev series, as the series gives it.
// Pos: position, km.  Der: its derivative with respect to the sub-interval's normalised time
// (-1 .. 1), km per half sub-interval.  IntervalDays: the sub-interval's length, days.  The
// velocity in km per day is Der * 2 / IntervalDays.
struct ChebyshevState {
  double Pos[3] = {0, 0, 0};
  double Der[3] = {0, 0, 0};
  double IntervalDays = 0;
};

// Where a body can be during one sub-interval of a record, from its coefficients alone:
// with |T_k| <= 1 and |U_k| <= k + 1 on [-1, 1], each component stays within the sum of
// the absolute values of its coefficients after the first (of the first times (k - 1)^2
// for the derivative) of that first coefficient.  Valid for JDs [From, To).
struct ChebyshevBound {
  double From = 0, To = 0;
  double Centre[3] = {0, 0, 0};  // km
  double Radius = 0;             // km: every position lies within it of Centre
  double Speed = 0;              // km per day: no speed exceeds it
};

// The constants an ephemeris was made with (the ASCII header's GROUP 1040/1041, or the
// defaults of the version for files without a header).
struct JplConstants {
  double AuKm = 0;   // astronomical unit, km ("AU")
  double Emrat = 0;  // Earth / Moon mass ratio ("EMRAT")
  // Every named constant of the file as it stands ("GM1" .. "GM9", "GMS", "GMB", ...),
  // units as the file gives them (AU^3/day^2 for JPL's GMs).
  std::map<std::string, double> Named;
};

// What an ephemeris covers, as the files present give it.
struct JplCoverage {
  double FirstJd = 0;  // TDB, days; the first date served
  double EndJd = 0;    // TDB, days; dates up to, not including, this one
};

class JplEphemeris {
 public:
  virtual ~JplEphemeris() = default;

  // The name the program lists and writes ("DE405", "DE440", "de440s.bsp").
  virtual std::string Name() const = 0;
  // JPL's number of the ephemeris (405, 440), or 0 when the files do not say.
  virtual int DeNumber() const = 0;
  virtual JplCoverage Coverage() const = 0;
  virtual const JplConstants& Constants() const = 0;
  // The files it reads: what a message about it names.
  virtual std::vector<std::filesystem::path> Files() const = 0;

  // The state of `body` (JplBody) at jdTdb (JD, TDB).  kNoSuchDate for a date outside the
  // coverage; kReadError for a file that is missing, unreadable or damaged, a body the
  // ephemeris does not hold, or a result that is not finite (`failedFile` then names the
  // file concerned, when one is).  Not const: readers keep what they read.
  virtual EphemerisFailure State(int body, double jdTdb, ChebyshevState& out, std::filesystem::path* failedFile) = 0;
};

}  // namespace planova
