#include "astro/theory.h"

#include <cmath>

#include "astro/astro_state.h"
#include "astro/constants.h"
#include "astro/frames.h"
#include "astro/orbit.h"
#include "astro/reductions.h"
#include "astro/jpl.h"

namespace planova {

namespace {

void ZeroSlot(AstroState& a, int s) {
  a.PosX[s] = a.PosY[s] = a.PosZ[s] = 0;
  a.VelX[s] = a.VelY[s] = a.VelZ[s] = 0;
}

}  // namespace

void PlanetPerturbations(AstroState& a, int slot, double shiftedJd) {
  double t = (shiftedJd - kJdJ1900) / kDaysPerJulianCentury;
  double me = (102.3 + 149472.5 * t) / a.DegPerRad;
  double v = (212.4 + 58517.5 * t) / a.DegPerRad;
  double e = (358.5 + 35999.6 * t) / a.DegPerRad;
  double ma = (319.6 + 19140 * t) / a.DegPerRad;
  double j = (225.3 + 3034.6 * t) / a.DegPerRad;
  double dl;
  switch (slot) {
    case 1:
      dl = 7.2 * std::cos(5 * v - 2 * me) - 1.6 * std::sin(5 * v - 2 * me) + 2.6 * std::cos(2 * j - me) +
           2 * std::sin(2 * j - me) - 3.5 * std::cos(2 * v - me) - 2 * std::cos(2 * v - 2 * me) - 0.68 * std::cos(2 * v) +
           2.8 * std::cos(5 * v - 3 * me) + 1.44 * std::cos(5 * v - me);
      break;
    case 2:
      dl = 4.3 * std::sin(e - v) - 2.4 * std::cos(e - v) - 9.6 * std::cos(2 * e - 2 * v) + 5.9 * std::sin(2 * e - 2 * v) +
           7.1 * std::cos(3 * e - 3 * v) - 2.5 * std::cos(3 * e - 2 * v) + 2.4 * std::sin(3 * e - 2 * v) -
           1.5 * std::cos(5 * e - 4 * v) - 2.6 * std::cos(j - v) - 1.4 * std::sin(j - v) - 1.6 * std::sin(j);
      break;
    case 3:
      dl = 4.2 * std::sin(v - e) + 2.3 * std::cos(v - e) - 4.7 * std::cos(2 * v - 2 * e) - 2.9 * std::sin(2 * v - 2 * e) +
           1.8 * std::cos(2 * v - 3 * e) + 1.7 * std::sin(2 * v - 3 * e) - 0.7 * std::cos(3 * v - 3 * e) +
           1.5 * std::cos(3 * v - 4 * e) + 0.8 * std::cos(3 * v - 5 * e) + 0.7 * std::sin(3 * v - 5 * e) +
           2 * std::cos(2 * ma - 2 * e) - 1.7 * std::cos(2 * ma - e) - 0.6 * std::sin(2 * ma - e) - 7.2 * std::cos(j - e) -
           2.6 * std::sin(j) + 1.5 * std::sin(2 * j - e);
      break;
    case 4:
      dl = 13.08 * std::cos(e - 2 * ma) + 7 * std::cos(e - ma) - 6.85 * std::cos(2 * e - 3 * ma) +
           16.67 * std::cos(j - ma) + 19.15 * std::sin(j - ma) - 15.69 * std::cos(2 * j - 2 * ma) -
           21.64 * std::cos(2 * j - ma);
      break;
    default:
      return;
  }
  a.BodyLon[static_cast<size_t>(slot)] = a.BodyLon[static_cast<size_t>(slot)] + dl / 3600;
}

void KeplerBodyState(AstroState& a, bool perturbations, double shiftedJd) {
  MeanOrbitalElements(a);
  KeplerPosition(a);
  KeplerVelocity(a);
  if (!perturbations) return;
  int s = a.CurrentSlot;
  RelativeSpherical(a, 0, s);
  a.BodyLon[static_cast<size_t>(s)] = a.RelLon[static_cast<size_t>(s)];
  a.BodyLat[static_cast<size_t>(s)] = a.RelLat;
  PlanetPerturbations(a, s, shiftedJd);
  SphericalToCartesian(a, s, a.BodyLon[static_cast<size_t>(s)], a.BodyLat[static_cast<size_t>(s)], a.RelDist);
}

bool ComputeBodyPositions(AstroState& a, TheorySource source, double observationJd, int p, bool perturbations,
                          double shiftedJd) {
  if (source == TheorySource::kJpl0) {
    ZeroSlot(a, 0);
    a.CurrentSlot = 3;
    KeplerBodyState(a, perturbations, shiftedJd);
    double t = CenturiesFromJ2000(a.CurrentJd);
    MoonPositionSeries(a, t);
    double r = a.MoonDistance + kEarthOffsetFromBarycentre;
    SphericalToCartesian(a, 11, a.BodyLon[11], a.BodyLat[11], r);
    SphericalToCartesian(a, 14, a.BodyLon[11], a.BodyLat[11], kEarthOffsetFromBarycentre);
    double tObs = CenturiesFromJ2000(observationJd);
    EclipticPrecessionMatrix(a, tObs, 0);
    a.CurrentSlot = 14;
    ApplyMatrix(a);
    a.CurrentSlot = 11;
    ApplyMatrix(a);
    SubtractPosition(a, 3, 14);
    AddPosition(a, 11, 3);
    a.VelX[11] = a.VelX[3];
    a.VelY[11] = a.VelY[3];
    a.VelZ[11] = a.VelZ[3];
    if (p != 0 && p != 11) {
      a.CurrentSlot = p;
      KeplerBodyState(a, perturbations, shiftedJd);
    }
    return true;
  }

  a.EphemerisError = 0;
  a.EphemerisFailureKind = EphemerisFailure::kNone;
  LoadJplRecord(a);
  if (a.EphemerisError == 1) return false;
  // The Sun, the Earth-Moon barycentre, the Moon and the body summed together when they
  // all read; else one by one, each failure recorded as it comes.
  const int bodies[] = {0, 3, 11, p};
  const bool together = JplBodyStatesTogether(a, bodies, p != 11 ? 4 : 3);
  for (int b : {0, 3, 11}) {
    if (!together) JplBodyState(a, b);
    JplStateToEcliptic(a, b);
  }
  if (a.EphemerisError == 1) return false;
  // The Earth from the Earth-Moon barycentre by the mass ratio, heliocentric; the
  // geocentric Moon of the files made heliocentric.
  DividedPosition(a, 14, 11, a.EarthMoonMassRatio + 1);
  SubtractPosition(a, 3, 14);
  SubtractPosition(a, 3, 0);
  SubtractVelocity(a, 3, 0);
  AddPosition(a, 11, 3);
  AddVelocity(a, 11, 3);
  if (p != 11) {
    if (!together) JplBodyState(a, p);
    JplStateToEcliptic(a, p);
    if (a.EphemerisError == 1) return false;
    SubtractPosition(a, p, 0);
    if (p <= 13) SubtractVelocity(a, p, 0);
  }
  ZeroSlot(a, 0);
  return true;
}

void MakeGeocentric(AstroState& a, int p) {
  SubtractPosition(a, p, 3);
  a.PosX[0] = -a.PosX[3];
  a.PosY[0] = -a.PosY[3];
  a.PosZ[0] = -a.PosZ[3];
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
}

}  // namespace planova
