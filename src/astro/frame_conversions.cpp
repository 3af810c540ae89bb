#include "astro/frame_conversions.h"

#include <cmath>

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

FrameResult ShiftObserverOrigin(AstroState& a, const FrameRequest& r, bool towardsGeocentre) {
  const int p = r.Body;
  const size_t ps = static_cast<size_t>(p);
  const double direction = towardsGeocentre ? 1 : -1;
  a.ObserverLatitude = r.ObserverLatDeg;
  a.CurrentJd = r.JdUt;
  ComputeBodyPositions(a, TheorySource::kJpl0, a.CurrentJd, p);
  RelativeSpherical(a, 3, p);
  double d = a.RelDist;
  a.BodyLon[ps] = r.LonDeg;
  a.BodyLat[ps] = r.LatDeg;
  SphericalToCartesian(a, p, a.BodyLon[ps], a.BodyLat[ps], d);
  SphericalToCartesian(a, 12, LocalSiderealAngle(a.CurrentJd, r.ObserverLonDeg), r.ObserverLatDeg, kEarthRadiusMetres);
  a.PosX[ps] = a.PosX[ps] + direction * a.PosX[12];
  a.PosY[ps] = a.PosY[ps] + direction * a.PosY[12];
  a.PosZ[ps] = a.PosZ[ps] + direction * a.PosZ[12];
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  return Relative(a, p);
}

}  // namespace planova
