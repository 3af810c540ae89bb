#include "astro/reductions.h"

#include <cmath>

#include "astro/astro_state.h"
#include "astro/frames.h"

namespace planova {

namespace {

// Radians of an angle in arcseconds, through the program's DegPerRad.
double ArcsecToRad(const AstroState& a, double arcsec) { return arcsec / 3600 / a.DegPerRad; }

// The refraction table between 86 and 90 degrees of zenith distance: the value at the
// lower node of each half-degree band and the change across the band, arcseconds.
struct RefractionBand {
  double lowerNodeDeg;
  double atNode;
  double perHalfDegree;
};
constexpr RefractionBand kRefractionBands[] = {
    {86.0, 755.74, 76.93}, {86.5, 832.67, 92.33}, {87.0, 925, 101},  {87.5, 1026, 121},
    {88.0, 1147, 174.5},   {88.5, 1321.5, 214.5}, {89.0, 1536, 252}, {89.5, 1788, 252},
};
constexpr double kRefractionBeyond90 = 2040;  // arcseconds

constexpr double kArcsecPerRad = 206264.8062;

}  // namespace

void EclipticToEquatorial(AstroState& a, double t) {
  double eps = (23.43929111 - (46.815 * t + 0.00059 * t * t - 0.001813 * t * t * t) / 3600) / a.DegPerRad;
  int s = a.CurrentSlot;
  double y = a.PosY[s], z = a.PosZ[s];
  const double ce = std::cos(eps), se = std::sin(eps);
  a.PosY[s] = ce * y - se * z;
  a.PosZ[s] = se * y + ce * z;
}

void EclipticPrecessionMatrix(AstroState& a, double t1, double t2) {
  double t = t2 - t1;
  double node =
      (174.876383889 + ((3289.4789 + 0.60622 * t1) * t1 + ((-869.8089 - 0.50491 * t1) + 0.03536 * t) * t) / 3600) /
      a.DegPerRad;
  double incl =
      ArcsecToRad(a, (47.0029 - (0.06603 - 0.000598 * t1) * t1 + ((-0.03302 + 0.000598 * t1) + 0.000060 * t) * t) * t);
  double p =
      ArcsecToRad(a, (5029.0966 + (2.22226 - 0.000042 * t1) * t1 + ((1.11113 - 0.000042 * t1) - 0.000006 * t) * t) * t);
  double c1 = std::cos(node + p), s1 = std::sin(node + p);
  double c2 = std::cos(incl), s2 = std::sin(incl);
  double c3 = std::cos(node), s3 = std::sin(node);
  auto& m = a.RotationMatrix;
  m[0] = {c1 * c3 + s1 * c2 * s3, c1 * s3 - s1 * c2 * c3, -s1 * s2};
  m[1] = {s1 * c3 - c1 * c2 * s3, s1 * s3 + c1 * c2 * c3, c1 * s2};
  m[2] = {s2 * s3, -s2 * c3, c2};
}

void EquatorialPrecessionMatrix(AstroState& a, double t1, double t2) {
  double t = t2 - t1;
  double zetaSec =
      (2306.2181 + (1.39656 - 0.000139 * t1) * t1) * t + ((0.30188 - 0.000345 * t1) + 0.017998 * t) * t * t;
  double zSec = zetaSec + ((0.7928 + 0.000411 * t1) + 0.000205 * t) * t * t;
  double thetaSec =
      (2004.3109 - (0.8533 + 0.000217 * t1) * t1) * t - ((0.42665 + 0.000217 * t1) + 0.041833 * t) * t * t;
  double zeta = ArcsecToRad(a, zetaSec), z = ArcsecToRad(a, zSec), theta = ArcsecToRad(a, thetaSec);
  double cz = std::cos(z), sz = std::sin(z);
  double ct = std::cos(theta), st = std::sin(theta);
  double cc = std::cos(zeta), sc = std::sin(zeta);
  auto& m = a.RotationMatrix;
  m[0] = {cz * ct * cc - sz * sc, -cz * ct * sc - sz * cc, -cz * st};
  m[1] = {sz * ct * cc + cz * sc, -sz * ct * sc + cz * cc, -sz * st};
  m[2] = {st * cc, -st * sc, ct};
}

void ApplyMatrix(AstroState& a) {
  int s = a.CurrentSlot;
  double v[3] = {a.PosX[s], a.PosY[s], a.PosZ[s]};
  double out[3];
  for (int i = 0; i < 3; ++i) {
    const auto& row = a.RotationMatrix[i];
    out[i] = row[0] * v[0] + row[1] * v[1] + row[2] * v[2];
  }
  a.PosX[s] = out[0];
  a.PosY[s] = out[1];
  a.PosZ[s] = out[2];
}

void NutationCorrection(const AstroState& a, double t, double& x, double& y, double& z, int16_t direction) {
  if (direction != 0 && direction != 1) return;
  double twoPi = 2 * a.Pi;
  double ls = twoPi * FracSigned(0.993133 + 99.997306 * t);   // mean anomaly of the Sun
  double d = twoPi * FracSigned(0.827362 + 1236.853087 * t);  // mean elongation of the Moon
  double f = twoPi * FracSigned(0.259089 + 1342.227826 * t);  // mean argument of latitude
  double n = twoPi * FracSigned(0.347346 - 5.372447 * t);     // longitude of the Moon's node
  double eps = 0.4090928 - 0.00022696 * t;
  double dpsi = (-17.200 * std::sin(n) - 1.319 * std::sin(2 * (f - d + n)) - 0.227 * std::sin(2 * (f + n)) +
                 0.206 * std::sin(2 * n) + 0.143 * std::sin(ls)) /
                kArcsecPerRad;
  double deps = (9.203 * std::cos(n) + 0.574 * std::cos(2 * (f - d + n)) + 0.098 * std::cos(2 * (f + n)) -
                 0.090 * std::cos(2 * n)) /
                kArcsecPerRad;
  const double ce = std::cos(eps), se = std::sin(eps);
  double dx = -dpsi * ce * y - dpsi * se * z;
  double dy = dpsi * ce * x - deps * z;
  double dz = dpsi * se * x + deps * y;
  double sign = direction == 0 ? 1.0 : -1.0;
  x += sign * dx;
  y += sign * dy;
  z += sign * dz;
}

double Refraction(const AstroState& a, double zenithDeg) {
  double r = kRefractionBeyond90;
  if (zenithDeg <= 86) {
    double tz = std::tan(zenithDeg / a.DegPerRad);
    r = 57.1 * tz - 0.0208 * tz * tz * tz;
  } else {
    for (const RefractionBand& band : kRefractionBands) {
      if (zenithDeg <= band.lowerNodeDeg + 0.5) {
        r = band.atNode + 2 * (zenithDeg - band.lowerNodeDeg) * band.perHalfDegree;
        break;
      }
    }
  }
  return r / 3600;
}

}  // namespace planova
