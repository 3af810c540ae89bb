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
// asked for (only the six days around each) and is kept in AstroState, its nutation and
// TDB-TT also between sessions in the application folder (day_table_file.h).
//
// With an observer on the Earth (PreciseObserver) the same chain gives the topocentric
// place: every stage is seen from the site instead of the geocentre (light time, the
// astrometric place, deflection, aberration with the annual + diurnal velocity).
#pragma once

#include <array>
#include <optional>

#include "astro/observer.h"

namespace planova {

struct AstroState;

// The stages of the rigorous reduction, each a geocentric (topocentric with an observer)
// unit vector: geometric (body and
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
  double GeometricKm = 0;   // geocentric (topocentric) distance at TDB, km
  double AstrometricKm = 0; // distance of the body where its light left, km
  double LightTimeDays = 0; // light time, days (TDB)
  std::array<Vector3, kPreciseStageCount> Stages{};  // unit vectors, frames as PreciseStageIndex
  // The rotation from the GCRS to the true equator and equinox of date (bias, precession,
  // nutation at TT): true = Npb v, Npb[i] the row i.
  std::array<Vector3, 3> Npb{};
};

// An observer on the Earth for the topocentric place: the site and the Earth's rotation
// angle's time.  The site's GCRS position is its terrestrial position (TerrestrialPositionKm)
// turned by the Greenwich apparent sidereal time (IAU 2006: the Earth rotation angle at UT1
// less the equation of the origins, eraEo06a, from the day table as the nutation; within
// 0.02 mas of eraGst06 with the chain's own matrix) and then by the transpose of the chain's
// bias-precession-nutation matrix; its velocity is the Earth's rotation, omega x r with
// ERFA's rate of the Earth rotation angle, turned the same way.  Limits: UT1 is taken as the
// observation's UTC, |UT1 - UTC| < 0.9 s, i.e. up to 0.4 km along the equator (0.2" in the
// Moon's place, 0.6 mas in a planet's at 1 au); polar motion is not modelled (some 0.3",
// 10 m on the ground: 5 mas for the Moon, 0.01 mas at 1 au); TDB is the geocentre's (the
// site's terms, < 2.1 microseconds, are left out).
struct PreciseObserver {
  ObserverSite Site;
  double JdUt1 = 0;  // JD, UT1 of the observation (the observation's UTC)
};

// The rigorous place of a body.
// Given: body, program body 0..9 or 11; tt (JD, TT); observer, the site for a topocentric
//   place (none: the geocentre, as the classical tables).
// Returned: the place (Ok true), or Ok false after an ephemeris failure (EphemerisError
//   1, EphemerisFailureKind; both cleared first).  Needs the ephemeris files.  With an
//   observer the stages and distances are topocentric; without one the geocentric place.
// Writes: CurrentJd (left at the TDB of the last record read), the ephemeris' record, the
//   nutation table; neither the raw states nor the position table are touched.
PrecisePlace ComputePrecisePlace(AstroState& a, int body, double tt,
                                 const std::optional<PreciseObserver>& observer = std::nullopt);

// The observer's geocentric state on GCRS axes.
// Given: site; jdUt1 (JD, UT1); eo, the equation of the origins at the date (radians,
//   eraEo06a at TT); npb, the bias-precession-nutation matrix at that TT (GCRS to true
//   equator and equinox of date, PrecisePlace::Npb).
// Returned: position (km) and velocity (km/day), GCRS axes.
struct ObserverGcrs {
  Vector3 Pos{}, Vel{};
};
ObserverGcrs ObserverGcrsState(const ObserverSite& site, double jdUt1, double eo, const std::array<Vector3, 3>& npb);

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
