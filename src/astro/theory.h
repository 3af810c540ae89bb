// Heliocentric positions of the Sun, the Earth, the Moon and the observed body for one
// epoch, from the two-body theory with the short lunar series ("JPL0", optionally with
// the periodic perturbations of the inner planets, "JPL1") or from the JPL ephemeris
// ("JPL2", DE405 by default).  The first step of every theoretical place (see
// apparent_place.h) and of the ephemeris calculator.  These routines still communicate through AstroState's numbered slots: the
// table afterwards holds heliocentric positions referred to the mean ecliptic and equinox
// of J2000.0 in metres, velocities in m/s.
#pragma once

#include <cstdint>

namespace planova {

struct AstroState;

enum class TheorySource { kJpl0, kJpl2 };

// The bodies the theories know: the Sun (0), Mercury .. Pluto (1..9, 3 the Earth) and
// the Moon (11); the comet (10) has no theory.
inline bool IsTheoryBody(int p) { return p >= 0 && p <= 11 && p != 10; }

// Two-body state of the body in CurrentSlot: mean elements, Kepler position, velocity.
// Given: perturbations; shiftedJd (JD, ET: the epoch of the perturbations' arguments).
// Reads: CurrentSlot, CurrentJd (JD, ET: the epoch of the elements).
// Writes: the Orbit* elements of the slot, PosX/Y/Z[slot] (m) and VelX/Y/Z[slot] (m/s),
//   heliocentric, ecliptic and equinox of J2000.0 (MeanOrbitalElements, KeplerPosition,
//   KeplerVelocity).  With perturbations, the heliocentric longitude of slots 1..4 gets
//   the periodic terms of PlanetPerturbations and the position is rebuilt from it (also
//   writing BodyLon/BodyLat[slot], RelLon[slot], RelLat, RelDist); the velocity stays the
//   two-body one.
void KeplerBodyState(AstroState& a, bool perturbations = false, double shiftedJd = 0);

// The largest periodic perturbations of the heliocentric longitude of Mercury, Venus,
// the Earth-Moon barycentre and Mars (slots 1..4) by the other planets.
// Given: slot; shiftedJd (JD, ET).
// Writes: BodyLon[slot] (degrees) += the perturbation (computed in arcseconds); other
//   slots are not changed.
// Arguments are the planets' mean anomalies in Julian centuries from 1900 (the classical
// short tables of the inner planets' perturbations, as in Meeus, Astronomical Formulae for
// Calculators, ch. 23-25).
void PlanetPerturbations(AstroState& a, int slot, double shiftedJd);

// The heliocentric positions of one epoch.
// Given: source (JPL0 two-body theory and lunar series, or the JPL ephemeris); observationJd (JD, UT
//   as observed, unshifted: dates the precession of the series Moon from the ecliptic of
//   date to J2000); p, the body; perturbations, shiftedJd (JD, ET) as KeplerBodyState.
// Reads: CurrentJd (JD, ET = UT + ET-UT; the ephemeris reads its record at it as TDB).
// Writes: slots 0 (the Sun, at the origin, velocity 0), 3 (the Earth), 11 (the Moon),
//   14 (the Earth-Moon barycentre from the Earth) and p: PosX/Y/Z in metres, VelX/Y/Z in
//   m/s (slots up to 13), heliocentric, mean ecliptic and equinox of J2000.0.  The Earth's
//   velocity is the Earth-Moon barycentre's; so is the Moon's under JPL0 (under JPL2 the
//   Moon's geocentric velocity is added).  Under JPL0, p = 3 leaves slot 3 at the
//   barycentre (its state is computed again), and the run writes the Orbit* elements,
//   BodyLon/BodyLat[11] and MoonDistance; under JPL2 it reads the ephemeris' record and writes
//   the raw states.  CurrentSlot and RotationMatrix are scratch.
// Returned: true; false after an ephemeris failure (JPL2 only: EphemerisError is 1,
//   EphemerisFailureKind says which; both are cleared first).
bool ComputeBodyPositions(AstroState& a, TheorySource source, double observationJd, int p, bool perturbations = false,
                          double shiftedJd = 0);

// Makes the position table geocentric for the body in slot p (positions only, in the
// table's unit; velocities are not changed).
// Writes: PosX/Y/Z[p] -= the Earth's (slot 3); slot 0 (the Sun) := minus the Earth's
//   heliocentric position; slot 3 := 0.
void MakeGeocentric(AstroState& a, int p);

}  // namespace planova
