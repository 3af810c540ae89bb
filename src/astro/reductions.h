// Reductions between reference frames: the obliquity rotation, the precession matrices of
// ecliptic and of equatorial coordinates, the application of the current matrix to a slot
// of the position table, a short nutation correction and the astronomical refraction.
//
// Epochs are Julian centuries from J2000.0, T = (JD - 2451545.0) / 36525 (the caller's
// time scale: the classical chain dates precession, obliquity and nutation by the UT
// date).  The slot routines act on PosX/PosY/PosZ[CurrentSlot] of the position table in
// place (any unit of length, kept).  Radians come from degrees and arcseconds through the
// program's DegPerRad (its own Pi).
#pragma once

#include <cstdint>

namespace planova {

struct AstroState;

// Rotates the vector of CurrentSlot from ecliptic to equatorial coordinates about the
// x axis by the mean obliquity of date
//   eps = 23.43929111 deg - (46.815 T + 0.00059 T^2 - 0.001813 T^3) arcsec.
// Given: t, Julian centuries from J2000.0 (the date of the obliquity).
// Reads and writes: PosY/PosZ[CurrentSlot] (PosX is unchanged).
// Obliquity: IAU 1980 (Lieske et al. 1977, A&A 58, 1); agrees with it to 1e-5 arcsec.
void EclipticToEquatorial(AstroState& a, double t);

// Sets RotationMatrix to the precession of ecliptic coordinates (mean ecliptic and equinox)
// from epoch t1 to epoch t2, built from the angles Pi_A (node of the ecliptic of t2 on
// that of t1), pi_A (inclination between the two ecliptics) and p_A (general precession
// in longitude): R3(-(Pi_A + p_A)) R1(pi_A) R3(Pi_A).
// Given: t1, t2, Julian centuries from J2000.0.  Writes: RotationMatrix.
// Angles: IAU 1976 precession, Lieske et al. 1977, as in Meeus, Astronomical Algorithms,
// ch. 21.  Truncated series: consistent with the equatorial angles below to 0.0002"
// within a century of J2000 and to 0.02" within four.
void EclipticPrecessionMatrix(AstroState& a, double t1, double t2);

// Sets RotationMatrix to the precession of equatorial coordinates (mean equator and
// equinox) from epoch t1 to epoch t2: R3(-z_A) R2(theta_A) R3(-zeta_A).
// Given: t1, t2, Julian centuries from J2000.0.  Writes: RotationMatrix.
// Angles: IAU 1976 precession, Lieske et al. 1977 (A&A 58, 1), the model of eraPmat76,
// except that zeta_A's T1 t^2 coefficient is -0.000345" (Lieske: -0.000344"), 1e-6" T1 t^2.
// Truncated series: from a start other than J2000 it departs from the product of two
// J2000-based matrices by about 2e-5" at most within a century of J2000.
void EquatorialPrecessionMatrix(AstroState& a, double t1, double t2);

// Reads: RotationMatrix, CurrentSlot.
// Writes: PosX/PosY/PosZ[CurrentSlot] := RotationMatrix times that vector (all three
//   components from the old vector; velocities are not turned).
void ApplyMatrix(AstroState& a);

// Adds (direction 0: mean to true equator and equinox) or subtracts (direction 1: true to
// mean) the nutation displacement of the equatorial vector (x, y, z), to first order:
//   dx = -dpsi (cos eps y + sin eps z), dy = dpsi cos eps x - deps z,
//   dz = dpsi sin eps x + deps y,
// with dpsi, deps from the five largest terms of the series and eps = 0.4090928 -
// 0.00022696 T rad.  Any other direction leaves the vector unchanged.  The displacement
// comes from the vector as given, so direction 1 after direction 0 restores it to first
// order only.
// Given: t, Julian centuries from J2000.0; x, y, z, an equatorial vector (any unit of
//   length); direction.  Returned: x, y, z corrected in place.  Reads only Pi.
// Series: Montenbruck & Pfleger, Astronomy on the Personal Computer (NUTEQU), the five
// largest terms of the IAU 1980 nutation.  Against all 106 terms, 1900-2100: RMS 0.08" in
// dpsi and 0.03" in deps, at worst 0.27" and 0.10"; the error grows by up to 0.04" and
// 0.015" per century away from J2000.
void NutationCorrection(const AstroState& a, double t, double& x, double& y, double& z, int16_t direction);

// Astronomical refraction.
// Given: zenithDeg, the zenith distance, degrees (reads only DegPerRad).
// Returned: the refraction, degrees, positive:
//   zenithDeg <= 86: R = 57.1" tan z - 0.0208" tan^3 z;
//   86 < zenithDeg <= 90: linear interpolation in a table of half-degree nodes
//     (755.74" at 86 deg ... 1788" at 89.5 deg, 2040" at 90 deg), each band including its
//     upper bound;
//   beyond 90 deg (and for a NaN): 2040".
// The classical two-term formula (Smart, Textbook on Spherical Astronomy) with a table
// near the horizon, for one set of mean conditions: there is no temperature or pressure
// term, so real refraction departs from it by about 1% per 3 K or 10 hPa; the formula
// itself holds to about 1" up to z = 75 deg.
double Refraction(const AstroState& a, double zenithDeg);

}  // namespace planova
