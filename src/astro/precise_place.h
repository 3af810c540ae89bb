// The rigorous geocentric place of a body from the JPL ephemeris' barycentric states, after the
// IAU 2006 resolutions (IERS Conventions 2010, ch. 5 and 7; Explanatory Supplement to the
// Astronomical Almanac, 3rd ed., ch. 7), with ERFA:
//   TT -> TDB (Fairhead & Bretagnon), the Earth's barycentric state at TDB, the body where
//   it was when its light left (light time iterated to 1e-12 day), gravitational
//   deflection by the Sun (for a body at a finite distance: the direction from the Sun to
//   the body) and by Venus, Mars, Jupiter, Saturn, Uranus and Neptune where theirs exceeds
//   0.1 mas, relativistic annual aberration from the Earth's barycentric velocity: the
//   GCRS place (ICRS axes); then frame bias, IAU 2006 precession (Fukushima-Williams
//   angles) and IAU 2000A nutation (IAU 2006 adjusted): the place on the true equator and
//   equinox of date.
//
// The nutation and TDB-TT are taken from a table of whole TT days (six-point Lagrange
// interpolation, within 0.02 mas and 1 ns of the series); the table fills as dates are
// asked for and is kept in AstroState.
#pragma once

#include <array>

namespace planova {

struct AstroState;

// The stages of the rigorous reduction, each a geocentric unit vector: geometric (body and
// Earth at the same TDB), astrometric (light time), deflected, all on ICRS axes; GCRS
// (aberration); on the mean equator and equinox of date (bias + precession); on the true
// equator and equinox of date (nutation).
enum PreciseStageIndex {
  kPreciseGeometric,
  kPreciseAstrometric,
  kPreciseDeflected,
  kPreciseGcrs,
  kPreciseMean,
  kPreciseTrue,
  kPreciseStageCount
};

using Vector3 = std::array<double, 3>;

struct PrecisePlace {
  bool Ok = false;          // false: the ephemeris failed (EphemerisFailureKind says why)
  double Tt = 0, Tdb = 0;   // JD of the place, TT and TDB (Tdb 0 for a date outside the files)
  double GeometricKm = 0;   // geocentric distance at TDB, km
  double AstrometricKm = 0; // distance of the body where its light left, km
  double LightTimeDays = 0; // light time, days (TDB)
  std::array<Vector3, kPreciseStageCount> Stages{};  // unit vectors, frames as PreciseStageIndex
  // The rotation from the GCRS to the true equator and equinox of date (bias, precession,
  // nutation at TT): true = Npb v, Npb[i] the row i.
  std::array<Vector3, 3> Npb{};
};

// The rigorous place of a body.
// Given: body, program body 0..9 or 11; tt (JD, TT).
// Returned: the place (Ok true), or Ok false after an ephemeris failure (EphemerisError
//   1, EphemerisFailureKind; both cleared first).  Needs the ephemeris files.
// Writes: CurrentJd (left at the TDB of the last record read), the ephemeris' record and
//   raw states, the nutation table; the position table is not touched.
PrecisePlace ComputePrecisePlace(AstroState& a, int body, double tt);

// TT - UTC: TAI - UTC of ERFA's table of leap seconds (eraDat; before 1972 its drifting
// offsets) + 32.184 s.
// Given: jdUtc (JD, UTC).
// Returned: seconds, TT - UTC.  Status: true from 1960 on; false before 1960, where no
//   such table exists, and for a date that is not finite (seconds then untouched).
bool TtMinusUtcSeconds(double jdUtc, double& seconds);

// Given: v, a direction (unit vector, in the frame of the result).
// Returned: right ascension (degrees, [0, 360)) and declination (degrees) in that frame.
struct RaDec {
  double Ra = 0, Dec = 0;
};
RaDec RaDecOf(const Vector3& v);

// Given: two directions a, b (any length).  Returned: the angle between them, arcseconds.
double SeparationArcsec(const Vector3& a, const Vector3& b);

}  // namespace planova
