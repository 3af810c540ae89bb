#include "astro/frame_conversions.h"

#include <cmath>

#include "astro/apparent_place.h"
#include "astro/astro_state.h"
#include "astro/frames.h"
#include "astro/reductions.h"
#include "astro/theory.h"
#include "astro/time.h"

namespace planova {

namespace {

double T(double jd) { return CenturiesFromJ2000(jd); }

// A converted place as the result: refused when either coordinate is not a finite number.
FrameResult Checked(double lonDeg, double latDeg) {
  FrameResult out;
  out.LonDeg = lonDeg;
  out.LatDeg = latDeg;
  if (!std::isfinite(out.LonDeg) || !std::isfinite(out.LatDeg)) out.Status = FrameStatus::kNotFinite;
  return out;
}

// The place seen from slot 3 (the origin) as the result.
FrameResult Relative(AstroState& a, int p) {
  RelativeSpherical(a, 3, p);
  return Checked(a.RelLon[static_cast<size_t>(p)], a.RelLat);
}

// Where the horizontal conversions start: the request's date and the observer's latitude,
// the origin (slot 3) at the observer, the body's slot the one the slot routines act on.
void AtObserver(AstroState& a, const FrameRequest& r) {
  a.ObserverLatitude = r.ObserverLatDeg;
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  a.CurrentJd = r.JdUt;
  a.CurrentSlot = r.Body;
}

}  // namespace

FrameResult ConvertEpochOfPlace(AstroState& a, const FrameRequest& r, double fromJd, bool fromOfDate, double toJd,
                                bool toOfDate) {
  const int p = r.Body;
  const size_t ps = static_cast<size_t>(p);
  a.ObserverLatitude = r.ObserverLatDeg;
  a.CurrentJd = r.JdUt;
  if (fromOfDate) fromJd = a.CurrentJd;
  if (toOfDate) toJd = a.CurrentJd;
  // The body's distance from the Earth, from the two-body theory at the record's date.
  ComputeBodyPositions(a, TheorySource::kJpl0, a.CurrentJd, p);
  RelativeSpherical(a, 3, p);
  SphericalToCartesian(a, p, r.LonDeg, r.LatDeg, a.RelDist);
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  if (fromOfDate) NutationCorrection(a, T(a.CurrentJd), a.PosX[ps], a.PosY[ps], a.PosZ[ps], 1);
  EquatorialPrecessionMatrix(a, T(fromJd), T(toJd));
  a.CurrentSlot = p;
  ApplyMatrix(a);
  if (toOfDate) NutationCorrection(a, T(a.CurrentJd), a.PosX[ps], a.PosY[ps], a.PosZ[ps], 0);
  return Relative(a, p);
}

FrameResult HorizontalToTopocentric(AstroState& a, const FrameRequest& r) {
  const int p = r.Body;
  AtObserver(a, r);
  a.HorAzimuth = r.LonDeg;
  a.HorAltitude = r.LatDeg;
  HorizontalToEquatorialVector(a, p);
  RelativeSpherical(a, 3, p);
  // The right ascension is the local sidereal time less the hour angle found.
  return Checked(OneTurn(LocalSiderealAngle(a.CurrentJd, r.ObserverLonDeg) - a.RelLon[static_cast<size_t>(p)]),
                 a.RelLat);
}

FrameResult TopocentricToHorizontal(AstroState& a, const FrameRequest& r) {
  const int p = r.Body;
  const size_t ps = static_cast<size_t>(p);
  AtObserver(a, r);
  a.BodyLon[ps] = r.LonDeg;
  a.BodyLat[ps] = r.LatDeg;
  a.HourAngle = OneTurn(LocalSiderealAngle(a.CurrentJd, r.ObserverLonDeg) - a.BodyLon[ps]);
  EquatorialToHorizontalVector(a, p);
  return Relative(a, p);
}

// The observer's parallax used to be made with a spherical Earth at the mean sidereal
// angle, with the topocentric vector given the geocentric distance (so that the
// geocentric place came out too near the observer's), and the distance from the two-body
// lunar series whatever the theory: up to 94" off for the Moon.  Now the observer stands
// on the ellipsoid at the apparent sidereal angle, the distance comes from the theory of
// the request, and the topocentric distance is solved for.
FrameResult ShiftObserverOrigin(AstroState& a, const FrameRequest& r, bool towardsGeocentre) {
  const int p = r.Body;
  const size_t ps = static_cast<size_t>(p);
  a.ObserverLatitude = r.ObserverLatDeg;
  a.CurrentJd = r.JdUt;
  if (r.Theory == TheorySource::kJpl2) {
    double deltaTSeconds = 0;
    a.CurrentJd = PreciseTerrestrialTime(a, r.JdUt, DeltaTModel::kPiecewise, false, deltaTSeconds);
  }
  const bool read = ComputeBodyPositions(a, r.Theory, r.JdUt, p);
  a.CurrentJd = r.JdUt;
  if (!read) {
    FrameResult failed;
    failed.Status = FrameStatus::kNoEphemeris;
    failed.Ephemeris = a.EphemerisFailureKind == EphemerisFailure::kNone ? EphemerisFailure::kReadError
                                                                          : a.EphemerisFailureKind;
    return failed;
  }
  RelativeSpherical(a, 3, p);
  const double d = a.RelDist;
  a.BodyLon[ps] = r.LonDeg;
  a.BodyLat[ps] = r.LatDeg;
  SphericalToCartesian(a, p, a.BodyLon[ps], a.BodyLat[ps], 1);
  // The equation of the equinoxes, dpsi cos(eps) in radians: the y that the nutation
  // gives to the unit vector of the mean equinox.
  double ex = 1, ey = 0, ez = 0;
  NutationCorrection(a, T(r.JdUt), ex, ey, ez, 0);
  const double theta = (LocalSiderealAngle(r.JdUt, r.ObserverLonDeg) / a.DegPerRad + ey) * a.DegPerRad;
  // The geocentric vector of a point of geographic latitude phi on the ellipsoid.
  const double phi = r.ObserverLatDeg / a.DegPerRad;
  const double e2 = kEarthFlattening * (2 - kEarthFlattening);
  const double n = kEarthRadiusMetres / std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
  const double rho = n * std::cos(phi), zObs = n * (1 - e2) * std::sin(phi);
  SphericalToCartesian(a, 12, theta, 0, rho);
  a.PosZ[12] = zObs;
  const double u[3] = {a.PosX[ps], a.PosY[ps], a.PosZ[ps]};
  const double obs[3] = {a.PosX[12], a.PosY[12], a.PosZ[12]};
  double scale = d, direction = -1;
  if (towardsGeocentre) {
    const double b = u[0] * obs[0] + u[1] * obs[1] + u[2] * obs[2];
    const double r2 = obs[0] * obs[0] + obs[1] * obs[1] + obs[2] * obs[2];
    scale = -b + std::sqrt(b * b - r2 + d * d);
    direction = 1;
  }
  a.PosX[ps] = scale * u[0] + direction * obs[0];
  a.PosY[ps] = scale * u[1] + direction * obs[1];
  a.PosZ[ps] = scale * u[2] + direction * obs[2];
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  return Relative(a, p);
}

}  // namespace planova
