// Obliquity, precession, nutation and refraction against ERFA (IAU 1976/1980 models) and
// published values.
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "astro/apparent_place.h"
#include "astro/astro_state.h"
#include "astro/constants.h"
#include "astro/orbit.h"
#include "astro/reductions.h"
#include "test_support.h"

namespace planova {
namespace {

using test::kArcsec;

constexpr double kArcsecRad = ERFA_DAS2R;  // one arcsecond in radians

using Matrix = double[3][3];

// Largest |element difference| between the program's RotationMatrix and m.
double MatrixError(const AstroState& a, const Matrix& m) {
  double worst = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) worst = std::fmax(worst, std::fabs(a.RotationMatrix[i][j] - m[i][j]));
  return worst;
}

std::string Epochs(double t1, double t2) { return "T1 = " + std::to_string(t1) + ", T2 = " + std::to_string(t2); }

// IAU 1976 equatorial precession from t1 to t2 (centuries from J2000) from ERFA's angles:
// R3(-z) R2(theta) R3(-zeta).
void ErfaEquatorialPrecession(double t1, double t2, Matrix& m) {
  double zeta, z, theta;
  eraPrec76(ERFA_DJ00, t1 * ERFA_DJC, ERFA_DJ00, t2 * ERFA_DJC, &zeta, &z, &theta);
  eraIr(m);
  eraRz(-zeta, m);
  eraRy(theta, m);
  eraRz(-z, m);
}

struct ReductionsTest : ::testing::Test {
  AstroState a;

  void SetSlot(int slot, double x, double y, double z) {
    a.CurrentSlot = slot;
    a.PosX[slot] = x;
    a.PosY[slot] = y;
    a.PosZ[slot] = z;
  }
};

// --- EclipticToEquatorial ---

// The classical comparison places of B1950, J2000 and of date against ERFA: the chain's
// own geometric ecliptic J2000 vector (two-body theory) turned to the J2000 equator by the
// IAU 1980 obliquity and precessed by IAU 1976 (eraPmat76) to the epoch.  Without nutation
// they agree to the models' consistency; with the chain's five-term nutation of the date
// (which it puts in also for the fixed epochs) within that nutation's size.  The obliquity
// of the observation date in place of the epoch's was 2-5" in declination for J2000 and
// 27" for B1950.
TEST_F(ReductionsTest, ComparisonEpochsAreTheEpochsMeanEquator) {
  constexpr double kFrameArcsec = 0.01;      // the ecliptic and equatorial IAU 1976 models
  constexpr double kNutationArcsec = 19.5;   // |(17.2" sin eps, 9.2")| and the small terms
  a.InitConstants();
  InitPlanetMasses(a);
  struct Epoch {
    ComparisonEpoch epoch;
    double jd;  // 0: the date
  };
  for (const Epoch e : {Epoch{ComparisonEpoch::kOfDate, 0}, Epoch{ComparisonEpoch::kJ2000, ERFA_DJ00},
                        Epoch{ComparisonEpoch::kB1950, kJdB1950}}) {
    for (const double jd : {2447892.5, 2451545.0, 2453736.5, 2455197.5, 2458849.5, 2459215.5}) {
      for (const int body : {0, 4, 11}) {
        ApparentPlaceRequest r;
        r.Body = body;
        r.JdUt = jd;
        r.Theory = TheorySource::kJpl0;
        r.DeltaT = DeltaTModel::kNone;
        r.Aberration = r.PlanetaryAberration = false;
        r.Epoch = e.epoch;
        double sep[2];
        ApparentPlace place;
        for (const bool nutation : {false, true}) {
          r.Nutation = nutation;
          place = ComputeApparentPlace(a, r);
          ASSERT_TRUE(place.Ok);
          const auto& v = place.StageVectors[kStagePlanetary];
          const double eps = eraObl80(ERFA_DJ00, 0);
          double p[3] = {v[0], std::cos(eps) * v[1] - std::sin(eps) * v[2], std::sin(eps) * v[1] + std::cos(eps) * v[2]};
          double rp[3][3];
          eraPmat76(e.jd == 0 ? jd : e.jd, 0, rp);
          eraRxp(rp, p, p);
          double ra, dec;
          eraC2s(p, &ra, &dec);
          sep[nutation] = eraSeps(ra, dec, place.LonDeg * ERFA_DD2R, place.LatDeg * ERFA_DD2R) * ERFA_DR2AS;
        }
        const std::string where = std::to_string(static_cast<int>(e.epoch)) + " " + std::to_string(jd) + " " +
                                  std::to_string(body);
        EXPECT_LT(sep[0], kFrameArcsec) << where;
        EXPECT_LT(sep[1], kNutationArcsec) << where;
      }
    }
  }
}

TEST_F(ReductionsTest, EclipticPoleAtJ2000) {
  double eps = 23.43929111 / a.DegPerRad;
  SetSlot(5, 0, 0, 1);
  EclipticToEquatorial(a, 0);
  EXPECT_EQ(a.PosX[5], 0.0);
  EXPECT_NEAR(a.PosY[5], -std::sin(eps), 1e-15);
  EXPECT_NEAR(a.PosZ[5], std::cos(eps), 1e-15);
}

TEST_F(ReductionsTest, ObliquityIsIau1980) {
  // eraObl80: 84381.448" - 46.8150" T - 0.00059" T^2 + 0.001813" T^3.  The program's
  // 23.43929111 deg is 84381.447996", so the two differ by 4e-6" at every T.
  for (double t = -4; t <= 4; t += 0.125) {
    SetSlot(2, 0, 0, 1);
    EclipticToEquatorial(a, t);
    double eps = std::atan2(-a.PosY[2], a.PosZ[2]);
    EXPECT_NEAR_WHAT(eps / kArcsecRad, eraObl80(ERFA_DJ00, t * ERFA_DJC) / kArcsecRad, 1e-5,
                     "obliquity (arcsec) at T = " + std::to_string(t));
  }
}

TEST_F(ReductionsTest, EclipticToEquatorialRotatesOnlyTheCurrentSlot) {
  SetSlot(7, 3, 0, 0);  // the equinox direction stays
  a.PosX[8] = 1;
  a.PosY[8] = 2;
  a.PosZ[8] = 3;
  EclipticToEquatorial(a, 1.5);
  EXPECT_EQ(a.PosX[7], 3.0);
  EXPECT_EQ(a.PosY[7], 0.0);
  EXPECT_EQ(a.PosZ[7], 0.0);
  EXPECT_EQ(a.PosX[8], 1.0);
  EXPECT_EQ(a.PosY[8], 2.0);
  EXPECT_EQ(a.PosZ[8], 3.0);
  // A vector keeps its length.
  SetSlot(4, 0.3, -0.5, 0.7);
  EclipticToEquatorial(a, -2);
  EXPECT_NEAR(std::hypot(a.PosX[4], a.PosY[4], a.PosZ[4]), std::hypot(0.3, -0.5, 0.7), 1e-15);
}

// --- Precession matrices ---

TEST_F(ReductionsTest, PrecessionOverNoTimeIsIdentity) {
  Matrix identity;
  eraIr(identity);
  for (double t : {-3.7, -1.0, 0.0, 0.25, 2.0}) {
    EclipticPrecessionMatrix(a, t, t);
    EXPECT_LE(MatrixError(a, identity), 1e-15) << "ecliptic, T = " << t;
    EquatorialPrecessionMatrix(a, t, t);
    EXPECT_LE(MatrixError(a, identity), 1e-15) << "equatorial, T = " << t;
  }
}

TEST_F(ReductionsTest, GeneralPrecessionOverACentury) {
  // The equinox moves 5030.2" along the ecliptic of J2000 in a century, and the ecliptic
  // of 2100 lies 4.4" above the old point of longitude 0 (Lieske et al. 1977, p_A and
  // pi_A at T = 1).  The values are given to 0.1", hence the tolerance of half of it.
  EclipticPrecessionMatrix(a, 0, 1);
  SetSlot(5, 1, 0, 0);
  ApplyMatrix(a);
  double lon = std::atan2(a.PosY[5], a.PosX[5]) / kArcsecRad;
  double lat = std::asin(a.PosZ[5]) / kArcsecRad;
  EXPECT_NEAR_WHAT(lon, 5030.2, 0.05, "longitude (arcsec)");
  EXPECT_NEAR_WHAT(lat, 4.4, 0.05, "latitude (arcsec)");
}

TEST_F(ReductionsTest, EclipticPrecessionMeeusExample) {
  // Meeus, Astronomical Algorithms (1991), example 21.c: Venus at lambda = 149.48194 deg,
  // beta = 1.76549 deg for J2000.0 has lambda = 118.704 deg, beta = 1.615 deg for the
  // mean ecliptic and equinox of -214 June 30.0 (JDE 1643074.5).
  double l0 = 149.48194 * ERFA_DD2R, b0 = 1.76549 * ERFA_DD2R;
  EclipticPrecessionMatrix(a, 0, (1643074.5 - ERFA_DJ00) / ERFA_DJC);
  SetSlot(2, std::cos(b0) * std::cos(l0), std::cos(b0) * std::sin(l0), std::sin(b0));
  ApplyMatrix(a);
  EXPECT_NEAR_WHAT(std::atan2(a.PosY[2], a.PosX[2]) / ERFA_DD2R, 118.704, 0.0005, "longitude (deg)");
  EXPECT_NEAR_WHAT(std::asin(a.PosZ[2]) / ERFA_DD2R, 1.615, 0.0005, "latitude (deg)");
}

TEST_F(ReductionsTest, EclipticPrecessionAgreesWithEquatorialModel) {
  // Ecliptic coordinates of T1 -> equator of T1 -> precession (ERFA, IAU 1976) ->
  // ecliptic of T2, with the IAU 1980 obliquities of eraObl80.  Lieske's ecliptic angles
  // and his equatorial angles are separately truncated series: they agree to 1e-9 rad
  // within a century of J2000 and to 1e-7 rad (0.02") within four.
  for (double t1 = -4; t1 <= 4; t1 += 0.5) {
    for (double t2 = -4; t2 <= 4; t2 += 0.5) {
      Matrix m;
      eraIr(m);
      eraRx(-eraObl80(ERFA_DJ00, t1 * ERFA_DJC), m);
      double zeta, z, theta;
      eraPrec76(ERFA_DJ00, t1 * ERFA_DJC, ERFA_DJ00, t2 * ERFA_DJC, &zeta, &z, &theta);
      eraRz(-zeta, m);
      eraRy(theta, m);
      eraRz(-z, m);
      eraRx(eraObl80(ERFA_DJ00, t2 * ERFA_DJC), m);
      EclipticPrecessionMatrix(a, t1, t2);
      double tol = std::fabs(t1) <= 1 && std::fabs(t2) <= 1 ? 2e-9 : 1e-7;
      EXPECT_LE(MatrixError(a, m), tol) << Epochs(t1, t2);
    }
  }
}

TEST_F(ReductionsTest, EquatorialPrecessionFromJ2000IsEraPmat76) {
  // The same model (Lieske et al. 1977) from J2000.0: equal to rounding.  The program's
  // Pi scales the angles by 1 + 7e-14, far below the tolerance.
  for (double t2 = -5; t2 <= 5; t2 += 0.0625) {
    Matrix m;
    eraPmat76(ERFA_DJ00, t2 * ERFA_DJC, m);
    EquatorialPrecessionMatrix(a, 0, t2);
    EXPECT_LE(MatrixError(a, m), 1e-12) << Epochs(0, t2);
  }
}

TEST_F(ReductionsTest, EquatorialPrecessionBetweenAnyEpochsIsLieske) {
  // eraPrec76 evaluates Lieske's polynomials with an arbitrary starting epoch.  The
  // program's zeta_A carries -0.000345" T1 t^2 where Lieske has -0.000344", which moves
  // zeta_A by 1e-6" T1 t^2; the tolerance adds that to the 1e-12 of rounding.
  for (double t1 = -4; t1 <= 4; t1 += 0.25) {
    for (double t2 = -4; t2 <= 4; t2 += 0.25) {
      Matrix m;
      ErfaEquatorialPrecession(t1, t2, m);
      EquatorialPrecessionMatrix(a, t1, t2);
      double t = t2 - t1;
      EXPECT_LE(MatrixError(a, m), 1e-12 + 1e-6 * kArcsecRad * std::fabs(t1) * t * t) << Epochs(t1, t2);
    }
  }
}

TEST_F(ReductionsTest, EquatorialPrecessionComposesThroughJ2000) {
  // From T1 to T2 = (J2000 to T2) x (J2000 to T1)^T with eraPmat76.  The polynomials for
  // an arbitrary start are a truncated expansion: within a century of J2000 the two
  // routes differ by at most 1.1e-10 rad.
  for (double t1 = -1; t1 <= 1; t1 += 0.125) {
    for (double t2 = -1; t2 <= 1; t2 += 0.125) {
      Matrix p1, p2, p1t, m;
      eraPmat76(ERFA_DJ00, t1 * ERFA_DJC, p1);
      eraPmat76(ERFA_DJ00, t2 * ERFA_DJC, p2);
      eraTr(p1, p1t);
      eraRxr(p2, p1t, m);
      EquatorialPrecessionMatrix(a, t1, t2);
      EXPECT_LE(MatrixError(a, m), 2e-10) << Epochs(t1, t2);
    }
  }
}

// --- ApplyMatrix ---

TEST_F(ReductionsTest, ApplyMatrixUsesTheOldVectorForAllThree) {
  // A cyclic permutation: (x, y, z) -> (y, z, x).  Storing x' before computing z' would
  // give z' = x' = y.
  a.RotationMatrix = {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
  SetSlot(9, 1, 2, 3);
  a.PosX[10] = 7;
  ApplyMatrix(a);
  EXPECT_EQ(a.PosX[9], 2.0);
  EXPECT_EQ(a.PosY[9], 3.0);
  EXPECT_EQ(a.PosZ[9], 1.0);
  EXPECT_EQ(a.PosX[10], 7.0);
}

TEST_F(ReductionsTest, MatrixStaysValidForSeveralSlots) {
  EquatorialPrecessionMatrix(a, 0, -0.5);
  Matrix m;
  eraPmat76(ERFA_DJ00, -0.5 * ERFA_DJC, m);
  for (int slot : {0, 3, 11, 14, 26}) {
    double v[3] = {1.0 + slot, -2.0, 0.5 * slot}, want[3];
    eraRxp(m, v, want);
    SetSlot(slot, v[0], v[1], v[2]);
    ApplyMatrix(a);
    EXPECT_NEAR(a.PosX[slot], want[0], 1e-12 * 30) << slot;
    EXPECT_NEAR(a.PosY[slot], want[1], 1e-12 * 30) << slot;
    EXPECT_NEAR(a.PosZ[slot], want[2], 1e-12 * 30) << slot;
  }
}

// --- NutationCorrection ---

// The five-term series against the 106 terms of IAU 1980 (eraNut80).  The omitted terms
// have moduli summing to 0.342" in dpsi and 0.113" in deps; the rounded coefficients add
// 0.002"; the series lacks the T terms of the coefficients (0.017" and 0.001" per century)
// and its node moves 1.5e-4 revolution per century slower (0.017" and 0.009" per century).
double DpsiTolerance(double t) { return 0.35 + 0.04 * std::fabs(t); }   // arcsec
double DepsTolerance(double t) { return 0.12 + 0.015 * std::fabs(t); }  // arcsec

TEST_F(ReductionsTest, NutationAnglesAgainstIau1980) {
  // Unit vectors along x and z give dpsi and deps back: (1, 0, 0) moves by
  // dpsi (0, cos eps, sin eps) and (0, 0, 1) by (-dpsi sin eps, -deps, 0).
  // Besides the worst case, the RMS over 1900-2100 must be that of the omitted terms
  // (0.076" and 0.026"), which a wrong kept term of 0.1" or more would exceed.
  double sumPsi = 0, sumEps = 0;
  int count = 0;
  for (double jd = 2305447.5; jd < 2488070.0; jd += 9.7) {  // 1600 to 2100
    double t = (jd - ERFA_DJ00) / ERFA_DJC;
    double x = 1, y = 0, z = 0;
    NutationCorrection(a, t, x, y, z, 0);
    double dpsi = std::copysign(std::hypot(y, z), y);
    double x2 = 0, y2 = 0, z2 = 1;
    NutationCorrection(a, t, x2, y2, z2, 0);
    double deps = -y2;
    double wantPsi, wantEps;
    eraNut80(jd, 0, &wantPsi, &wantEps);
    double errPsi = (dpsi - wantPsi) / kArcsecRad, errEps = (deps - wantEps) / kArcsecRad;
    EXPECT_LE(std::fabs(errPsi), DpsiTolerance(t)) << "dpsi (arcsec), JD " << jd;
    EXPECT_LE(std::fabs(errEps), DepsTolerance(t)) << "deps (arcsec), JD " << jd;
    if (t >= -1) {
      sumPsi += errPsi * errPsi;
      sumEps += errEps * errEps;
      ++count;
    }
  }
  EXPECT_LE(std::sqrt(sumPsi / count), 0.1) << "RMS error of dpsi (arcsec), 1900-2100";
  EXPECT_LE(std::sqrt(sumEps / count), 0.04) << "RMS error of deps (arcsec), 1900-2100";
}

TEST_F(ReductionsTest, NutationDisplacementAgainstErfaMatrix) {
  // The displacement of a unit vector against the rotation by ERFA's IAU 1980 nutation
  // matrix: the errors of dpsi and deps add, and the first-order formula drops terms of
  // order dpsi^2 (0.0004").
  const double vectors[][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.6, -0.64, 0.48}, {-0.36, 0.48, -0.8}};
  for (double jd = 2378496.5; jd < 2488070.0; jd += 97.3) {  // 1800 to 2100
    double t = (jd - ERFA_DJ00) / ERFA_DJC;
    Matrix n;
    eraNutm80(jd, 0, n);
    double tol = (DpsiTolerance(t) + DepsTolerance(t) + 0.001) * kArcsecRad;
    for (const auto& v : vectors) {
      double in[3] = {v[0], v[1], v[2]}, want[3];
      eraRxp(n, in, want);
      double x = v[0], y = v[1], z = v[2];
      NutationCorrection(a, t, x, y, z, 0);
      double err =
          std::sqrt((x - want[0]) * (x - want[0]) + (y - want[1]) * (y - want[1]) + (z - want[2]) * (z - want[2]));
      EXPECT_LE(err, tol) << "JD " << jd << ", vector (" << v[0] << ", " << v[1] << ", " << v[2] << ")";
    }
  }
}

TEST_F(ReductionsTest, NutationDirections) {
  const double t = 0.123;
  const double x0 = 2e11, y0 = -1e11, z0 = 5e10;  // metres
  double x = x0, y = y0, z = z0;
  NutationCorrection(a, t, x, y, z, 0);
  double xm = x0, ym = y0, zm = z0;
  NutationCorrection(a, t, xm, ym, zm, 1);
  // Direction 1 subtracts what direction 0 adds, for the same starting vector.
  EXPECT_NEAR(x - x0, x0 - xm, 1e-4);
  EXPECT_NEAR(y - y0, y0 - ym, 1e-4);
  EXPECT_NEAR(z - z0, z0 - zm, 1e-4);
  EXPECT_GT(std::fabs(x - x0), 1e5);  // the displacement is real: ~1e-4 of the length

  // Back again: the displacement is recomputed from the displaced vector, so the start
  // returns to first order only; the rest is of order dpsi^2 = 1e-8 of the length.
  NutationCorrection(a, t, x, y, z, 1);
  double r = std::hypot(x0, y0, z0);
  EXPECT_LE(std::hypot(x - x0, y - y0, z - z0), 2e-8 * r);

  // Any other direction changes nothing.
  for (int16_t direction : {int16_t{2}, int16_t{-1}, int16_t{32767}}) {
    double xs = x0, ys = y0, zs = z0;
    NutationCorrection(a, t, xs, ys, zs, direction);
    EXPECT_EQ(xs, x0);
    EXPECT_EQ(ys, y0);
    EXPECT_EQ(zs, z0);
  }
}

// --- Refraction ---

TEST_F(ReductionsTest, RefractionTangentFormula) {
  // 57.1" - 0.0208" = 57.0792" at 45 deg; none at the zenith.
  EXPECT_NEAR_WHAT(Refraction(a, 45) / kArcsec, 57.0792, 1e-9, "R(45) (arcsec)");
  EXPECT_EQ(Refraction(a, 0), 0.0);
  // Tangent formula at 86 deg: 755.736".
  EXPECT_NEAR_WHAT(Refraction(a, 86) / kArcsec, 755.736, 0.0005, "R(86) (arcsec)");
}

TEST_F(ReductionsTest, RefractionTableAboveEightySixDegrees) {
  // The table takes over from the tangent formula without a jump, is continuous at each
  // half-degree node, linear between nodes, and meets the value beyond the horizon at 90.
  EXPECT_NEAR_WHAT(Refraction(a, 86 + 1e-9) / kArcsec, Refraction(a, 86) / kArcsec, 0.005, "R at 86 deg (arcsec)");
  for (double z = 86; z < 90; z += 0.5) {
    double low = Refraction(a, z + 1e-9) / kArcsec, high = Refraction(a, z + 0.5) / kArcsec;
    EXPECT_NEAR_WHAT(Refraction(a, z + 0.5 + 1e-9) / kArcsec, high, 1e-5, "R above node " + std::to_string(z + 0.5));
    EXPECT_NEAR_WHAT(Refraction(a, z + 0.25) / kArcsec, (low + high) / 2, 1e-5, "R at mid-band " + std::to_string(z + 0.25));
  }
}

TEST_F(ReductionsTest, RefractionBeyondTheHorizon) {
  for (double z : {90 + 1e-9, 90.5, 95.0, 135.0, 180.0, 1e6}) EXPECT_EQ(Refraction(a, z), 2040.0 / 3600) << z;
}

TEST_F(ReductionsTest, RefractionGrowsTowardTheHorizon) {
  double previous = Refraction(a, 0);
  for (double z = 0.01; z <= 90.0001; z += 0.01) {
    double r = Refraction(a, z);
    EXPECT_GE(r, previous) << z;
    previous = r;
  }
}

}  // namespace
}  // namespace planova
