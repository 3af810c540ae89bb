#include "astro/orbit.h"

#include <cmath>

#include "astro/astro_state.h"
#include "astro/frames.h"

namespace planova {

namespace {

// One planet's mean elements: the value at J2000.0 and the rate per Julian century.
// a in AU, angles in degrees.
struct MeanElements {
  double a, aRate;
  double e, eRate;
  double i, iRate;
  double meanLon, meanLonRate;
  double peri, periRate;
  double node, nodeRate;
};

// Slots 1..9: Mercury, Venus, Earth-Moon barycentre, Mars, Jupiter, Saturn, Uranus,
// Neptune, Pluto.  J2000 mean ecliptic and equinox; valid 1800-2050.
constexpr MeanElements kMeanElements[9] = {
    {0.38709927, 0.00000037, 0.20563593, 0.00001906, 7.00497902, -0.00594749, 252.2503235, 149472.67411175, 77.45779628,
     0.16047689, 48.33076593, -0.12534081},
    {0.72333566, 0.0000039, 0.00677672, -0.00004107, 3.39467605, -0.0007889, 181.9790995, 58517.81538729, 131.60246718,
     0.00268329, 76.67984255, -0.27769418},
    {1.00000261, 0.00000562, 0.01671123, -0.00004392, -0.00001531, -0.01294668, 100.46457166, 35999.37244981,
     102.93768193, 0.32327364, 354.881105, -0.241542},
    {1.52371034, 0.00001847, 0.0933941, 0.00007882, 1.84969142, -0.00813131, -4.55343205, 19140.30268499, 336.05637041,
     0.44441088, 49.55953891, -0.29257343},
    {5.202887, -0.00011607, 0.04838624, -0.00013253, 1.30439695, -0.00183714, 34.39644051, 3034.74612775, 14.72847983,
     0.21252668, 100.47390909, 0.20469106},
    {9.53667594, -0.0012506, 0.05386179, -0.00050991, 2.48599187, 0.00193609, 49.95424423, 1222.49362201, 92.59887831,
     -0.41897216, 113.66242448, -0.28867794},
    {19.18916464, -0.00196176, 0.04725744, -0.00004397, 0.77263783, -0.00242939, 313.23810451, 428.48202785,
     170.9542763, 0.40805281, 74.01692503, 0.04240589},
    {30.06992276, 0.00026291, 0.00859048, 0.00005105, 1.77004347, 0.00035372, -55.12002969, 218.45945325, 44.96476227,
     -0.32241464, 131.78422574, -0.00508664},
    {39.48211675, -0.00031596, 0.2488273, 0.0000517, 17.14001206, 0.00004818, 238.92903833, 145.20780515, 224.06891629,
     -0.04062942, 110.30393684, -0.01183482},
};

constexpr double kSunEarthMoonMassRatio = 328900.5614;  // Sun / (Earth + Moon)
constexpr int kMoonSlot = 11;
constexpr double kMoonEccentricity = 0.055;
constexpr double kMoonSemiMajorAxisMetres = 384402000;
constexpr double kArcsecPerRad = 206264.8062;

bool IsOrbitSlot(int n) { return n >= 0 && n <= kMoonSlot; }

// FracPositive of a value.
double Frac(double x) { return FracPositive(x); }

}  // namespace

void InitPlanetMasses(AstroState& a) {
  a.CentralMass = a.SunMass;
  a.EarthMass = a.SunMass / kSunEarthMoonMassRatio / (1 + 1 / a.EarthMoonMassRatio);
  a.MoonMass = a.EarthMass / a.EarthMoonMassRatio;
}

void MeanOrbitalElements(AstroState& a) {
  int n = a.CurrentSlot;
  if (n < 1 || n > 9) return;
  const MeanElements& el = kMeanElements[n - 1];
  double t = (a.CurrentJd - a.JdJ2000) / 36525;
  a.OrbitA[n] = el.a + el.aRate * t;
  a.OrbitAMetres[n] = a.OrbitA[n] * a.AuMetres;
  a.OrbitE[n] = el.e + el.eRate * t;
  a.OrbitI[n] = (el.i + el.iRate * t) / a.DegPerRad;
  a.OrbitL[n] = (el.meanLon + el.meanLonRate * t) / a.DegPerRad;
  a.OrbitPeri[n] = (el.peri + el.periRate * t) / a.DegPerRad;
  a.OrbitNode[n] = (el.node + el.nodeRate * t) / a.DegPerRad;
}

void KeplerPosition(AstroState& a) {
  int n = a.CurrentSlot;
  if (!IsOrbitSlot(n)) return;
  double twoPi = 2 * a.Pi;
  double m = twoPi * Frac(a.OrbitL[n] / twoPi) - a.OrbitPeri[n];
  if (m < 0) m = m + twoPi;
  a.OrbitM[n] = m;

  double e = a.OrbitE[n];
  double ecc = m;
  for (int k = 1; k <= 99; ++k) {
    double next = e * std::sin(ecc) + m;
    bool converged = std::fabs(ecc - next) <= 1e-10;
    ecc = next;
    if (converged) break;
  }

  double nu = 2 * std::atan(std::sqrt((1 + e) / (1 - e)) * std::tan(ecc / 2));
  double r = a.OrbitAMetres[n] * (1 - e * e) / (1 + e * std::cos(nu));
  double u = nu + a.OrbitPeri[n] - a.OrbitNode[n];
  a.OrbitNu[n] = nu;
  a.OrbitR[n] = r;
  a.OrbitU[n] = u;

  double node = a.OrbitNode[n], incl = a.OrbitI[n];
  a.PosX[n] = r * (std::cos(node) * std::cos(u) - std::sin(node) * std::sin(u) * std::cos(incl));
  a.PosY[n] = r * (std::sin(node) * std::cos(u) + std::cos(node) * std::sin(u) * std::cos(incl));
  a.PosZ[n] = r * std::sin(u) * std::sin(incl);
}

void KeplerVelocity(AstroState& a) {
  int n = a.CurrentSlot;
  if (!IsOrbitSlot(n)) return;
  double e = a.OrbitE[n];
  double p = a.OrbitAMetres[n] * (1 - e * e);
  double mu = n == kMoonSlot ? a.EarthMass + a.MoonMass : a.CentralMass;
  double k = std::sqrt(a.GravConst * mu / p);
  double nu = a.OrbitNu[n], u = a.OrbitU[n];
  double node = a.OrbitNode[n], incl = a.OrbitI[n];
  double vr = k * e * std::sin(nu);
  double vt = k * (1 + e * std::cos(nu));
  double r = a.OrbitR[n];
  a.VelX[n] = vr * a.PosX[n] / r + vt * (-std::sin(u) * std::cos(node) - std::sin(node) * std::cos(u) * std::cos(incl));
  a.VelY[n] = vr * a.PosY[n] / r + vt * (std::cos(node) * std::cos(u) * std::cos(incl) - std::sin(u) * std::sin(node));
  a.VelZ[n] = vr * a.PosZ[n] / r + vt * std::cos(u) * std::sin(incl);
}

void MoonPositionSeries(AstroState& a, double t) {
  double twoPi = 2 * a.Pi;
  double t2 = t * t;
  // Mean elements: the mean longitude in revolutions, the rest in radians.
  double l0 = Frac(0.60643382 + 1336.85522467 * t - 0.00000313 * t2);
  double l = twoPi * Frac(0.37489701 + 1325.55240982 * t + 0.00002565 * t2);  // Moon's mean anomaly
  double ls = twoPi * Frac(0.99312619 + 99.99735956 * t - 0.00000044 * t2);   // Sun's mean anomaly
  double d = twoPi * Frac(0.82736186 + 1236.85308708 * t - 0.00000397 * t2);  // mean elongation
  double f = twoPi * Frac(0.25909118 + 1342.2278298 * t - 0.00000892 * t2);   // argument of latitude

  // Perturbations in longitude and latitude, arcseconds.
  double dl = 22640 * std::sin(l) - 4586 * std::sin(l - 2 * d) + 2370 * std::sin(2 * d) + 769 * std::sin(2 * l) -
              668 * std::sin(ls) - 412 * std::sin(2 * f) - 212 * std::sin(2 * l - 2 * d) -
              206 * std::sin(l + ls - 2 * d) + 192 * std::sin(l + 2 * d) - 165 * std::sin(ls - 2 * d) -
              125 * std::sin(d) - 110 * std::sin(l + ls) + 148 * std::sin(l - ls) - 55 * std::sin(2 * f - 2 * d);
  double s = f + (dl + 412 * std::sin(2 * f) + 541 * std::sin(ls)) / kArcsecPerRad;
  double h = f - 2 * d;
  double nb = -526 * std::sin(h) + 44 * std::sin(l + h) - 31 * std::sin(h - l) - 23 * std::sin(ls + h) +
              11 * std::sin(h - ls) - 25 * std::sin(f - 2 * l) + 21 * std::sin(f - l);

  a.BodyLon[kMoonSlot] = 360 * Frac(l0 + dl / 1296000);
  a.BodyLat[kMoonSlot] = (18520 * std::sin(s) + nb) / kArcsecPerRad * a.DegPerRad;

  // Distance from the mean elliptic orbit.
  a.OrbitE[kMoonSlot] = kMoonEccentricity;
  a.OrbitAMetres[kMoonSlot] = kMoonSemiMajorAxisMetres;
  double e = a.OrbitE[kMoonSlot];
  double anomaly = l - a.Pi;
  if (anomaly < 0) anomaly = anomaly + twoPi;
  a.MoonDistance =
      a.OrbitAMetres[kMoonSlot] * (1 + e * e / 2 + e * std::cos(anomaly) - (e * e / 2) * std::cos(2 * anomaly));
}

}  // namespace planova
