#include "astro/apparent_place.h"

#include <erfa.h>

#include <cmath>

#include "astro/astro_state.h"
#include "astro/constants.h"
#include "astro/frames.h"
#include "astro/reductions.h"
#include "astro/time.h"

namespace planova {

namespace {

// Epoch of the comparison frame, JD.
double EpochJd(ComparisonEpoch e, double ofDate) {
  switch (e) {
    case ComparisonEpoch::kB1950: return kJdB1950;
    case ComparisonEpoch::kJ2000: return kJdJ2000;
    default: return ofDate;
  }
}

// Longitude and latitude of the body from the geocentre into BodyLon/BodyLat[p].
void TakePlace(AstroState& a, int p) {
  const size_t ps = static_cast<size_t>(p);
  RelativeSpherical(a, 3, p);
  a.BodyLon[ps] = a.RelLon[ps];
  a.BodyLat[ps] = a.RelLat;
}

PlaceStage Stage(const AstroState& a, int p) {
  return {a.BodyLon[static_cast<size_t>(p)], a.BodyLat[static_cast<size_t>(p)]};
}

// The body's geocentric vector (the Earth stands at the origin of the table).
std::array<double, 3> Vector(const AstroState& a, int p) {
  const size_t ps = static_cast<size_t>(p);
  return {a.PosX[ps], a.PosY[ps], a.PosZ[ps]};
}

// Aberration from the Earth's motion: the body displaced by the light time times the
// Earth's velocity.
void ApplyAberration(AstroState& a, int p, double lightTime) {
  const size_t ps = static_cast<size_t>(p);
  a.PosX[ps] = a.PosX[ps] + lightTime * a.VelX[3];
  a.PosY[ps] = a.PosY[ps] + lightTime * a.VelY[3];
  a.PosZ[ps] = a.PosZ[ps] + lightTime * a.VelZ[3];
}

// Planetary aberration: the body where it was when its light left, three passes, each
// with the light time of the pass before.
void ApplyPlanetaryAberration(AstroState& a, int p, ApparentPlace& out) {
  const size_t ps = static_cast<size_t>(p);
  double x0 = a.PosX[ps], y0 = a.PosY[ps], z0 = a.PosZ[ps];
  for (int pass = 0; pass < 3; ++pass) {
    a.PosX[ps] = x0 - a.VelX[ps] * out.LightTimeSeconds;
    a.PosY[ps] = y0 - a.VelY[ps] * out.LightTimeSeconds;
    a.PosZ[ps] = z0 - a.VelZ[ps] * out.LightTimeSeconds;
    out.LightTimeSeconds = DistanceOf(a.PosX[ps], a.PosY[ps], a.PosZ[ps]) / kLightSpeed;
  }
}

// Refraction at the observatory: to the horizon with the local sidereal time, the
// altitude raised by the refraction, and back to right ascension and declination.
// direction: when given, also the refracted place as a unit vector (cos d cos a,
// cos d sin a, sin d), from the same sines and cosines as the slot's.
void ApplyRefraction(AstroState& a, int p, const ApparentPlaceRequest& r, double distance, ApparentPlace& out,
                     Vector3* direction = nullptr) {
  const size_t ps = static_cast<size_t>(p);
  double theta = LocalSiderealAngle(r.JdUt, r.ObserverLonDeg);
  double h = OneTurn(theta - a.BodyLon[ps]);
  a.CurrentSlot = p;
  a.HourAngle = h;
  a.ObserverLatitude = r.ObserverLatDeg;
  EquatorialToHorizontalVector(a, p);
  RelativeSpherical(a, 3, p);
  a.HorAzimuth = a.RelLon[ps];
  a.HorAltitude = a.RelLat - Refraction(a, 90 - a.RelLat);
  HorizontalToEquatorialVector(a, p);
  RelativeSpherical(a, 3, p);
  a.BodyLon[ps] = OneTurn(theta - a.RelLon[ps]);
  a.BodyLat[ps] = a.RelLat;
  if (direction) {
    // SphericalToCartesian's arithmetic, its sines and cosines kept.
    const double l = a.BodyLon[ps] / a.DegPerRad, b = a.BodyLat[ps] / a.DegPerRad;
    const double cb = std::cos(b), cl = std::cos(l), sl = std::sin(l), sb = std::sin(b);
    a.PosX[ps] = distance * cb * cl;
    a.PosY[ps] = distance * cb * sl;
    a.PosZ[ps] = distance * sb;
    *direction = {cb * cl, cb * sl, sb};
  } else {
    SphericalToCartesian(a, p, a.BodyLon[ps], a.BodyLat[ps], distance);
  }
  out.RefractionArcsec = (a.BodyLat[12] - a.BodyLat[ps]) * 3600;
  a.BodyLat[12] = a.BodyLat[ps];
}

}  // namespace

double DeltaTSeconds(AstroState& a, double jd, DeltaTModel model) {
  a.CurrentJd = jd;
  switch (model) {
    case DeltaTModel::kParabola: return DeltaTParabola(a);
    case DeltaTModel::kPiecewise: return DeltaTPiecewise(a);
    case DeltaTModel::kTable: return DeltaTTableAt(jd);
    default: return 0;
  }
}

double DeltaTModelDepartureSeconds(double jdUtc, DeltaTModel model) {
  double table = 0;
  if ((model != DeltaTModel::kParabola && model != DeltaTModel::kPiecewise) || !TtMinusUtcSeconds(jdUtc, table)) {
    return 0;
  }
  return (model == DeltaTModel::kParabola ? DeltaTParabolaAt(jdUtc) : DeltaTPiecewiseAt(jdUtc)) - table;
}

namespace {

// The rigorous reduction of the request at TT = UT + ET-UT, from the geocentre or from the
// request's site (UT1 = UT); the program's refraction at the observatory is applied to the
// (geocentric or topocentric) true place of date (and, for the J2000 frame, turned
// back to the GCRS with the transposed rotation).
ApparentPlace PreciseApparentPlace(AstroState& a, const ApparentPlaceRequest& r) {
  ApparentPlace out;
  out.Precise = true;
  out.EphemerisJd = PreciseTerrestrialTime(a, r.JdUt, r.DeltaT, r.DeltaTBy86400, out.DeltaTSeconds);
  std::optional<PreciseObserver> observer;
  if (TopocentricServes(r)) observer = PreciseObserver{*r.Observer, r.JdUt};
  out.Rigorous = ComputePrecisePlace(a, r.Body, out.EphemerisJd, observer);
  a.CurrentJd = r.JdUt;
  if (!out.Rigorous.Ok) return out;
  const PrecisePlace& rp = out.Rigorous;
  out.GeometricDistanceMetres = rp.GeometricKm * 1000;
  out.LightTimeSeconds = rp.LightTimeDays * kSecondsPerDay;
  const bool ofDate = r.Epoch == ComparisonEpoch::kOfDate;
  Vector3 result = rp.Stages[r.Astrometric ? kPreciseAstrometric : ofDate ? kPreciseTrue : kPreciseGcrs];
  if (r.Refraction && !r.Astrometric) {
    const int p = r.Body;
    const size_t ps = static_cast<size_t>(p);
    const RaDec t = RaDecOf(rp.Stages[kPreciseTrue]);
    a.BodyLon[ps] = t.Ra;
    a.BodyLat[ps] = a.BodyLat[12] = t.Dec;
    Vector3 refracted;
    ApplyRefraction(a, p, r, out.GeometricDistanceMetres, out, &refracted);
    out.Refracted = {a.BodyLon[ps], a.BodyLat[ps]};
    if (ofDate) {
      result = refracted;
    } else {
      for (size_t i = 0; i < 3; ++i) {
        result[i] = rp.Npb[0][i] * refracted[0] + rp.Npb[1][i] * refracted[1] + rp.Npb[2][i] * refracted[2];
      }
    }
  }
  const RaDec place = RaDecOf(result);
  out.LonDeg = place.Ra;
  out.LatDeg = place.Dec;
  out.Ok = true;
  return out;
}

}  // namespace

namespace {

// Keeps TT - UTC for the rest of jd's UTC month when the table gives one value for all of
// it (from 1973 on: no drifting offsets, a leap second only at the start of a month).
void RememberMonthOfTtMinusUtc(AstroState& a, double jd, double seconds) {
  int year = 0, month = 0, day = 0;
  double fraction = 0, base = 0, first = 0, next = 0;
  if (eraJd2cal(jd, 0, &year, &month, &day, &fraction) != 0 || year < 1973) return;
  if (eraCal2jd(year, month, 1, &base, &first) != 0 ||
      eraCal2jd(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1, &base, &next) != 0) {
    return;
  }
  // A millionth of a day (0.09 s) from either midnight, beyond any rounding of the date.
  a.TtMinusUtcFrom = base + first + 1e-6;
  a.TtMinusUtcTo = base + next - 1e-6;
  a.TtMinusUtcOfMonth = seconds;
}

}  // namespace

double PreciseTerrestrialTime(AstroState& a, double jd, DeltaTModel model, bool by86400, double& deltaTSeconds) {
  deltaTSeconds = 0;
  if (model == DeltaTModel::kNone) return jd;
  if (jd > a.TtMinusUtcFrom && jd < a.TtMinusUtcTo) {
    deltaTSeconds = a.TtMinusUtcOfMonth;
  } else if (TtMinusUtcSeconds(jd, deltaTSeconds)) {
    RememberMonthOfTtMinusUtc(a, jd, deltaTSeconds);
  } else {
    deltaTSeconds = DeltaTSeconds(a, jd, model);
  }
  return by86400 ? jd + deltaTSeconds / 86400 : jd + deltaTSeconds / 24 / 3600;
}

namespace {

// Difference of two right ascensions, degrees, across 0/360.
double RaDifference(double before, double after) { return std::remainder(before - after, 360.0); }

void CompletePreciseStages(ApparentPlace& place) {
  const auto& v = place.Rigorous.Stages;
  for (int k = 0; k < kPreciseStageCount; ++k) {
    const RaDec s = RaDecOf(v[static_cast<size_t>(k)]);
    place.PreciseStages[static_cast<size_t>(k)] = {s.Ra, s.Dec};
    if (k > 0) place.PreciseSizes[static_cast<size_t>(k)] = SeparationArcsec(v[static_cast<size_t>(k - 1)], v[static_cast<size_t>(k)]);
  }
  // Bias + precession from the GCRS place, nutation from the mean place.
  place.PreciseSizes[kPreciseMean] = SeparationArcsec(v[kPreciseGcrs], v[kPreciseMean]);
  const auto& st = place.PreciseStages;
  place.PlanetaryAberrationArcsec = RaDifference(st[kPreciseGeometric].LonDeg, st[kPreciseAstrometric].LonDeg) * 3600;
  place.AberrationArcsec = RaDifference(st[kPreciseDeflected].LonDeg, st[kPreciseGcrs].LonDeg) * 3600;
  place.NutationArcsec = (st[kPreciseMean].LatDeg - st[kPreciseTrue].LatDeg) * 3600;
}

}  // namespace

void CompleteStages(ApparentPlace& place) {
  if (place.StagesComplete) return;
  place.StagesComplete = true;
  if (place.Precise) {
    if (place.Ok) CompletePreciseStages(place);
    return;
  }
  for (int k = kStageGeometric; k <= kStageEcliptic; ++k) {
    const auto& v = place.StageVectors[static_cast<size_t>(k)];
    Spherical s = SphericalOf(v[0], v[1], v[2], place.DegPerRad);
    place.Stages[static_cast<size_t>(k)] = {s.LonDeg, s.LatDeg};
  }
  // Each correction as the place before it minus the place after it.
  place.AberrationArcsec = (place.Stages[kStageGeometric].LonDeg - place.Stages[kStageAberration].LonDeg) * 3600;
  place.PlanetaryAberrationArcsec = (place.Stages[kStageAberration].LonDeg - place.Stages[kStagePlanetary].LonDeg) * 3600;
}

PlaceStage TwoBodyEquatorialPlace(AstroState& a, int body, double jd) {
  a.CurrentJd = jd;
  ComputeBodyPositions(a, TheorySource::kJpl0, jd, body);
  MakeGeocentric(a, body);
  a.CurrentSlot = body;
  // The set is labelled J2000: the J2000 ecliptic turns with the J2000 obliquity (it took
  // the obliquity of the date, as the classical comparison did, off by the same amount).
  EclipticToEquatorial(a, 0);
  RelativeSpherical(a, 3, body);
  return {a.RelLon[static_cast<size_t>(body)], a.RelLat};
}

namespace {

// The classical chain's place (every return the one `out`, built where the caller's
// result lies).
ApparentPlace ClassicalApparentPlace(AstroState& a, const ApparentPlaceRequest& r) {
  ApparentPlace out;
  const int p = r.Body;
  const size_t ps = static_cast<size_t>(p);
  out.EphemerisJd = r.JdUt;
  a.CurrentJd = r.JdUt;
  if (r.DeltaT != DeltaTModel::kNone) {
    out.DeltaTSeconds = DeltaTSeconds(a, r.JdUt, r.DeltaT);
    out.EphemerisJd = r.DeltaTBy86400 ? r.JdUt + out.DeltaTSeconds / 86400 : r.JdUt + out.DeltaTSeconds / 24 / 3600;
    a.CurrentJd = out.EphemerisJd;
  }
  if (!ComputeBodyPositions(a, r.Theory, r.JdUt, p, r.Perturbations, out.EphemerisJd)) return out;
  a.CurrentJd = r.JdUt;

  // Geocentric, geometric.  The places of the stages that only the stage log and the
  // corrections' boxes show are kept as vectors and turned into angles by
  // CompleteStages, when they are shown.
  MakeGeocentric(a, p);
  out.GeometricDistanceMetres = DistanceOf(a.PosX[ps], a.PosY[ps], a.PosZ[ps]);
  out.LightTimeSeconds = out.GeometricDistanceMetres / kLightSpeed;
  out.StageVectors[kStageGeometric] = Vector(a, p);

  if (r.Aberration) ApplyAberration(a, p, out.LightTimeSeconds);
  out.StageVectors[kStageAberration] = Vector(a, p);
  if (r.PlanetaryAberration) ApplyPlanetaryAberration(a, p, out);
  out.StageVectors[kStagePlanetary] = Vector(a, p);

  // Precession to the comparison epoch.
  const double tEpoch = CenturiesFromJ2000(EpochJd(r.Epoch, a.CurrentJd));
  EclipticPrecessionMatrix(a, 0, tEpoch);
  a.CurrentSlot = p;
  ApplyMatrix(a);
  out.StageVectors[kStageEcliptic] = Vector(a, p);
  out.DegPerRad = a.DegPerRad;

  // Equator of the comparison epoch: the epoch's ecliptic turns to the equator with the
  // epoch's own mean obliquity (the same number as before for "App", whose epoch is the
  // date).  This used to take the obliquity of the observation date for J2000 and B1950
  // as well, which tilted their equator by the obliquity's change since the epoch: a few
  // arcseconds in declination for J2000 places of 2005-2010, some 27" for B1950.
  double t = CenturiesFromJ2000(a.CurrentJd);
  EclipticToEquatorial(a, tEpoch);
  TakePlace(a, p);
  a.BodyLat[12] = a.BodyLat[ps];
  out.Stages[kStageEquator] = Stage(a, p);

  if (r.Refraction) ApplyRefraction(a, p, r, out.GeometricDistanceMetres, out);
  out.Stages[kStageRefraction] = Stage(a, p);

  // Nutation: mean to true equator and equinox of date.
  if (r.Nutation) {
    NutationCorrection(a, t, a.PosX[ps], a.PosY[ps], a.PosZ[ps], 0);
    TakePlace(a, p);
    out.NutationArcsec = (a.BodyLat[12] - a.BodyLat[ps]) * 3600;
  }
  out.Stages[kStageNutation] = Stage(a, p);

  out.LonDeg = a.BodyLon[ps];
  out.LatDeg = a.BodyLat[ps];
  out.Ok = true;
  return out;
}

}  // namespace

ApparentPlace ComputeApparentPlace(AstroState& a, const ApparentPlaceRequest& r) {
  return UsesPreciseChain(r) ? PreciseApparentPlace(a, r) : ClassicalApparentPlace(a, r);
}

}  // namespace planova

#include <cmath>

#include "astro/jpl.h"

namespace planova {

namespace {

SlotPlace PlaceFrom(AstroState& a, int origin, int p) {
  const size_t s = static_cast<size_t>(p);
  RelativeSpherical(a, origin, p);
  return {a.RelLon[s], a.RelLat, a.RelDist, a.PosX[s], a.PosY[s], a.PosZ[s]};
}

// The states of the Sun, the body and the Earth-Moon barycentre, unrotated, in
// thousands of km and km/s; false after an ephemeris failure.
bool ReadCalculatorStates(AstroState& a, int p) {
  a.EphemerisError = 0;
  a.EphemerisFailureKind = EphemerisFailure::kNone;
  LoadJplRecord(a);
  for (int body : {0, p, 3}) {
    if (a.EphemerisError == 1) return false;
    JplBodyState(a, body);
    if (a.EphemerisError == 1) return false;
    JplStateToKilometres(a, body);
  }
  return true;
}

// Heliocentric body and Earth-Moon barycentre (the Sun to the origin) and the body's
// heliocentric velocity and speed.
void MakeHeliocentric(AstroState& a, int p, JplCalculatorPlaces& out) {
  const size_t s = static_cast<size_t>(p);
  if (p != 11) {
    SubtractPosition(a, 3, 0);
    if (p != 3) SubtractPosition(a, p, 0);
    SubtractVelocity(a, p, 0);
  }
  out.SpeedKmPerS = std::sqrt(a.VelX[s] * a.VelX[s] + a.VelY[s] * a.VelY[s] + a.VelZ[s] * a.VelZ[s]);
  out.VxKmPerS = a.VelX[s];
  out.VyKmPerS = a.VelY[s];
  out.VzKmPerS = a.VelZ[s];
  a.PosX[0] = a.PosY[0] = a.PosZ[0] = 0;
}

}  // namespace

JplCalculatorPlaces ComputeJplCalculatorPlaces(AstroState& a, int p, double jdUt, DeltaTModel deltaT) {
  JplCalculatorPlaces out;
  out.DeltaTSeconds = DeltaTSeconds(a, jdUt, deltaT);
  out.EphemerisJd = jdUt + out.DeltaTSeconds / 24 / 3600;
  a.CurrentJd = out.EphemerisJd;
  if (!ReadCalculatorStates(a, p)) return out;
  MakeHeliocentric(a, p, out);
  out.Heliocentric = PlaceFrom(a, 0, p);

  if (p != 11) {
    // The Earth from the Earth-Moon barycentre, then the body from the Earth.
    JplBodyState(a, 11);
    if (a.EphemerisError == 1) return out;
    JplStateToKilometres(a, 11);
    DividedPosition(a, 14, 11, kEarthMoonMassRatio + 1);
    SubtractPosition(a, 3, 14);
    SubtractPosition(a, p, 3);
  }
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  out.GeocentricJ2000 = PlaceFrom(a, 3, p);

  a.CurrentJd = jdUt;
  a.CurrentSlot = p;
  EquatorialPrecessionMatrix(a, 0, CenturiesFromJ2000(jdUt));
  ApplyMatrix(a);
  out.GeocentricOfDate = PlaceFrom(a, 3, p);
  out.Ok = true;
  return out;
}

}  // namespace planova
