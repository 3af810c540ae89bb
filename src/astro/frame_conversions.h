// The epoch and frame conversions of one observation that window 2 applies to data set 1:
// precession between two epochs (with the nutation of the date taken out or put in),
// horizontal to topocentric equatorial and back, and topocentric to geocentric and back.
// Each works on a vector of the position table of the AstroState given (its working
// space, as in ComputeApparentPlace): the body's place becomes a vector, is rotated or
// shifted, and is read back as longitude and latitude.  The observer's horizontal frame
// counts the azimuth from the south through the west; the sidereal angle is
// LocalSiderealAngle of the record's date taken as UT.
// Each routine writes CurrentJd = r.JdUt, ObserverLatitude = r.ObserverLatDeg, CurrentSlot
// (scratch), slot r.Body of the table and slot 3 (set to the origin); the two that need
// the body's distance also run ComputeBodyPositions (JPL0, metres: slots 0, 3, 11, 14 and
// what that routine writes besides; ShiftObserverOrigin with r.Theory).  Status:
// kNotFinite when the result is not finite, kNoEphemeris after a failed ephemeris read;
// no other check.
#pragma once

#include "astro/jpl_ephemeris.h"
#include "astro/theory.h"

namespace planova {

struct AstroState;

// The Earth's ellipsoid for the observer's position (IAU 1976): equatorial radius, m, and
// flattening.
inline constexpr double kEarthRadiusMetres = 6378140.0;
inline constexpr double kEarthFlattening = 1 / 298.257;

// kOk, or kNotFinite: the result is not a finite longitude and latitude (the window
// says "Ошибка в расчетах"), or kNoEphemeris: the JPL ephemeris could not give the body's
// distance (the window says why).
enum class FrameStatus { kOk, kNotFinite, kNoEphemeris };

struct FrameResult {
  FrameStatus Status = FrameStatus::kOk;
  double LonDeg = 0;  // longitude or right ascension, degrees
  double LatDeg = 0;  // latitude or declination, degrees
  EphemerisFailure Ephemeris = EphemerisFailure::kNone;  // why, with kNoEphemeris
};

// One record and the observer.
struct FrameRequest {
  int Body = 11;                  // program body number 0..11
  double JdUt = 0;                // the record's date, JD (UT)
  double LonDeg = 0, LatDeg = 0;  // the record's place, degrees
  double ObserverLonDeg = 0;      // east longitude, degrees (west negative)
  double ObserverLatDeg = 0;      // geographic latitude, degrees
  // The theory that gives the body's geocentric distance for ShiftObserverOrigin: JPL0
  // (the two-body theory at the date as UT) or JPL2 (the JPL ephemeris at TT).
  TheorySource Theory = TheorySource::kJpl0;
};

// Precession of an equatorial place between two epochs.
// Given: r.Body, r.JdUt, r.LonDeg/r.LatDeg (right ascension, declination on the equator
//   and equinox of the epoch `from`); from the epoch the place refers to, JD (used when
//   fromOfDate is false: B1950.0, a calendar date, or 0); fromOfDate: the place is
//   apparent at r.JdUt, its nutation (NutationCorrection) is taken out first and the
//   precession runs from r.JdUt; toJd and toOfDate likewise for the epoch of the result
//   (toOfDate: precessed to r.JdUt and the nutation put in).
// Returned: the place on the new epoch, degrees (longitude in [0, 360)).
// The place is a vector of the geocentric distance of the body (two-body theory, JPL0,
// at r.JdUt, metres), the precession is EquatorialPrecessionMatrix and the nutation that of
// r.JdUt.
FrameResult ConvertEpochOfPlace(AstroState& a, const FrameRequest& r, double fromJd, bool fromOfDate, double toJd,
                                bool toOfDate);

// Horizontal to topocentric equatorial.
// Given: r.JdUt (UT), r.LonDeg/r.LatDeg the azimuth (from the south through the west) and
//   the altitude, degrees; r.ObserverLonDeg/r.ObserverLatDeg.
// Returned: right ascension in [0, 360) (local sidereal angle minus the hour angle) and
//   declination, degrees, on the equator of r.JdUt.  Writes also HorAzimuth, HorAltitude;
//   slot r.Body holds a unit vector.
FrameResult HorizontalToTopocentric(AstroState& a, const FrameRequest& r);

// Topocentric equatorial to horizontal.
// Given: r.JdUt (UT), r.LonDeg/r.LatDeg right ascension and declination, degrees, on the
//   equator of r.JdUt; the observer.
// Returned: azimuth in [0, 360) (from the south through the west) and altitude, degrees.
//   Writes also BodyLon/BodyLat[r.Body], HourAngle; slot r.Body holds a unit vector.
FrameResult TopocentricToHorizontal(AstroState& a, const FrameRequest& r);

// Topocentric to geocentric place, or back (the parallax of the observer on the Earth's
// ellipsoid, at height 0).
// Given: r.Body, r.JdUt, r.LonDeg/r.LatDeg a topocentric (towardsGeocentre true) or
//   geocentric (false) right ascension and declination, degrees, on the true equator and
//   equinox of r.JdUt; the observer; r.Theory.
// Returned: the place from the other origin, degrees; kNoEphemeris when the JPL ephemeris
// could not be read.  The body's geocentric distance D comes from r.Theory (JPL0 at
// r.JdUt; JPL2 at TT, PreciseTerrestrialTime with the "с 1700" model before 1960); the
// observer's geocentric vector R points to the local apparent sidereal angle (the mean one
// plus the five-term nutation's equation of the equinoxes) and the geocentric latitude of
// r.ObserverLatDeg on the ellipsoid.  Geocentric to topocentric: D times the direction
// less R.  Topocentric to geocentric: R plus rho times the direction, rho the root that
// puts the body at D from the geocentre.  Writes also BodyLon/BodyLat[r.Body] and slot 12
// (R, m).
FrameResult ShiftObserverOrigin(AstroState& a, const FrameRequest& r, bool towardsGeocentre);

}  // namespace planova
