// Heliocentric positions of the Sun, the Earth, the Moon and the observed body for one
// epoch, from the two-body theory with the short lunar series ("JPL0", optionally with
// the periodic perturbations of the inner planets, "JPL1") or from DE405 ("JPL2").
// The first step of every theoretical place (see apparent_place.h) and of the DE405
// calculator.
#pragma once

#include <cstdint>

namespace planova {

struct AstroState;

enum class TheorySource { kJpl0, kJpl2 };

// The bodies the theories know: the Sun (0), Mercury .. Pluto (1..9, 3 the Earth) and
// the Moon (11); the comet (10) has no theory.
inline bool IsTheoryBody(int p) { return p >= 0 && p <= 11 && p != 10; }

// Two-body state of the body in CurrentSlot: mean elements, Kepler position, velocity.
// With perturbations, the heliocentric longitude of slots 1..4 gets the periodic terms of
// PlanetPerturbations (the velocity stays the two-body one); shiftedJd is their epoch.
void KeplerBodyState(AstroState& a, bool perturbations = false, double shiftedJd = 0);

// Adds to BodyLon[slot] (degrees) the largest periodic perturbations of the heliocentric
// longitude of Mercury, Venus, the Earth-Moon barycentre and Mars by the other planets,
// for the epoch shiftedJd; other slots are not changed.  Arguments are the planets' mean
// anomalies in Julian centuries from 1900 (the classical short tables of the inner
// planets' perturbations, as in Meeus, Astronomical Formulae for Calculators, ch. 23-25).
void PlanetPerturbations(AstroState& a, int slot, double shiftedJd);

// Fills slots 0 (the Sun, at the origin), 3 (the Earth), 11 (the Moon) and p (the body)
// with heliocentric ecliptic J2000 positions (m) and velocities (m/s) for CurrentJd.
// observationJd (unshifted) dates the precession of the series Moon to J2000.  False
// after an ephemeris failure (EphemerisError is 1, EphemerisFailureKind says which).
bool ComputeBodyPositions(AstroState& a, TheorySource source, double observationJd, int p, bool perturbations = false,
                          double shiftedJd = 0);

// Makes the position table geocentric for the body in slot p: p from the Earth, the Sun
// (slot 0) at minus the Earth's heliocentric position, the Earth (slot 3) at the origin.
void MakeGeocentric(AstroState& a, int p);

}  // namespace planova
