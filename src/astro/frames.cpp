#include "astro/frames.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "astro/astro_state.h"
#include "common/numtext.h"

namespace planova {

void SphericalToCartesian(AstroState& a, int slot, double lonDeg, double latDeg, double distance) {
  double l = lonDeg / a.DegPerRad;
  double b = latDeg / a.DegPerRad;
  const double cb = std::cos(b);
  a.PosX[slot] = distance * cb * std::cos(l);
  a.PosY[slot] = distance * cb * std::sin(l);
  a.PosZ[slot] = distance * std::sin(b);
}

double DistanceOf(double dx, double dy, double dz) {
  double rho = std::sqrt(dx * dx + dy * dy);
  return std::sqrt(rho * rho + dz * dz);
}

Spherical SphericalOf(double dx, double dy, double dz, double degPerRad) {
  double rho = std::sqrt(dx * dx + dy * dy);
  Spherical s;
  s.Dist = std::sqrt(rho * rho + dz * dz);
  double lon = dy < 0 ? 270.0 : 90.0;
  if (dx != 0) {
    lon = std::atan(dy / dx) * degPerRad;
    if (dx >= 0 && dy < 0) lon += 360;
    if (dx < 0) lon += 180;
  }
  s.LonDeg = lon;
  s.LatDeg = std::atan(dz / rho) * degPerRad;
  return s;
}

void RelativeSpherical(AstroState& a, int origin, int target) {
  if (target == origin) return;
  Spherical s = SphericalOf(a.PosX[target] - a.PosX[origin], a.PosY[target] - a.PosY[origin],
                            a.PosZ[target] - a.PosZ[origin], a.DegPerRad);
  a.RelDist = s.Dist;
  a.RelLon[target] = s.LonDeg;
  a.RelLat = s.LatDeg;
}

namespace {

// sin and cos of the observer's latitude phi (radians), computed when phi is not the one
// of the last call (compared bit for bit: -0 and +0 are not the same angle to sin).
void LatitudeSinCos(AstroState& a, double phi, double& s, double& c) {
  if (!a.ObserverLatitudeKnown || std::bit_cast<std::uint64_t>(phi) != std::bit_cast<std::uint64_t>(a.ObserverLatitudeRad)) {
    a.ObserverLatitudeKnown = true;
    a.ObserverLatitudeRad = phi;
    a.ObserverLatitudeSin = std::sin(phi);
    a.ObserverLatitudeCos = std::cos(phi);
  }
  s = a.ObserverLatitudeSin;
  c = a.ObserverLatitudeCos;
}

}  // namespace

void EquatorialToHorizontalVector(AstroState& a, int slot) {
  double phi = a.ObserverLatitude / a.DegPerRad;
  double t = a.HourAngle / a.DegPerRad;
  double d = a.BodyLat[slot] / a.DegPerRad;
  // Each sine and cosine once (the same values as calling them where they stand).
  double sphi = 0, cphi = 0;
  LatitudeSinCos(a, phi, sphi, cphi);
  const double sd = std::sin(d), cd = std::cos(d);
  const double st = std::sin(t), ct = std::cos(t);
  a.PosX[slot] = sphi * cd * ct - cphi * sd;
  a.PosY[slot] = cd * st;
  a.PosZ[slot] = cphi * cd * ct + sphi * sd;
}

void HorizontalToEquatorialVector(AstroState& a, int slot) {
  double phi = a.ObserverLatitude / a.DegPerRad;
  double az = a.HorAzimuth / a.DegPerRad;
  double h = a.HorAltitude / a.DegPerRad;
  double sphi = 0, cphi = 0;
  LatitudeSinCos(a, phi, sphi, cphi);
  const double sh = std::sin(h), ch = std::cos(h);
  const double saz = std::sin(az), caz = std::cos(az);
  a.PosX[slot] = sphi * ch * caz + cphi * sh;
  a.PosY[slot] = ch * saz;
  a.PosZ[slot] = sphi * sh - cphi * ch * caz;
}

double FracSigned(double x) { return x - Fix(x); }

double FracPositive(double& x) {
  double f = x - Fix(x);
  if (f < 0) f = f + 1;
  x = f;
  return f;
}

void SubtractPosition(AstroState& a, int slot, int other) {
  const size_t s = static_cast<size_t>(slot), o = static_cast<size_t>(other);
  a.PosX[s] = a.PosX[s] - a.PosX[o];
  a.PosY[s] = a.PosY[s] - a.PosY[o];
  a.PosZ[s] = a.PosZ[s] - a.PosZ[o];
}

void SubtractVelocity(AstroState& a, int slot, int other) {
  const size_t s = static_cast<size_t>(slot), o = static_cast<size_t>(other);
  a.VelX[s] = a.VelX[s] - a.VelX[o];
  a.VelY[s] = a.VelY[s] - a.VelY[o];
  a.VelZ[s] = a.VelZ[s] - a.VelZ[o];
}

void AddPosition(AstroState& a, int slot, int base) {
  const size_t s = static_cast<size_t>(slot), b = static_cast<size_t>(base);
  a.PosX[s] = a.PosX[b] + a.PosX[s];
  a.PosY[s] = a.PosY[b] + a.PosY[s];
  a.PosZ[s] = a.PosZ[b] + a.PosZ[s];
}

void AddVelocity(AstroState& a, int slot, int base) {
  const size_t s = static_cast<size_t>(slot), b = static_cast<size_t>(base);
  a.VelX[s] = a.VelX[b] + a.VelX[s];
  a.VelY[s] = a.VelY[b] + a.VelY[s];
  a.VelZ[s] = a.VelZ[b] + a.VelZ[s];
}

void DividedPosition(AstroState& a, int slot, int other, double divisor) {
  const size_t s = static_cast<size_t>(slot), o = static_cast<size_t>(other);
  a.PosX[s] = a.PosX[o] / divisor;
  a.PosY[s] = a.PosY[o] / divisor;
  a.PosZ[s] = a.PosZ[o] / divisor;
}

}  // namespace planova
