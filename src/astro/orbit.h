// Two-body planet theory and the short lunar series.
//
// The planets (slots 1..9, 3 the Earth-Moon barycentre) move on unperturbed Keplerian
// orbits whose elements are linear in time; positions are heliocentric, referred to the
// mean ecliptic and equinox of J2000.0 as the elements are.  The Moon comes from a short
// trigonometric series, geocentric and referred to the ecliptic and equinox of date.
// Results go into the position and velocity tables of AstroState (metres, m/s) and into
// BodyLon/BodyLat[11] (degrees).
#pragma once

namespace planova {

struct AstroState;

// The masses of the two-body theory.  Called once at start-up, after the constants.
// Reads: SunMass (kg), EarthMoonMassRatio (81.300585).
// Writes: CentralMass = SunMass, EarthMass = SunMass / 328900.5614 / (1 + 1/EarthMoonMassRatio),
//   MoonMass = EarthMass / EarthMoonMassRatio (kg).
// Mass ratios: Sun/(Earth + Moon) of DE405 and the program's Earth/Moon ratio (DE405
// itself has 81.30056).
void InitPlanetMasses(AstroState& a);

// The mean elements of a planet: each its value at J2000.0 plus its rate per Julian
// century times T, referred to the mean ecliptic and equinox of J2000.0.
// Reads: CurrentSlot (1..9; other slots are left untouched), CurrentJd (JD, ET).
// Writes: OrbitA (AU), OrbitAMetres (m), OrbitE, and OrbitI, OrbitL, OrbitPeri, OrbitNode
//   (radians) of the slot.
// Elements: Standish, "Keplerian Elements for Approximate Positions of the Major Planets"
// (JPL), table for 1800-2050 (the Earth-Moon barycentre's node is the program's own,
// 354.881105 - 0.241542 T deg, immaterial at its inclination of < 0.05 deg).
// Accuracy of the positions, JPL's nominal figures for heliocentric longitude: Mercury
// 15", Venus 20", Earth-Moon barycentre 20", Mars 40", Jupiter 400", Saturn 600", Uranus
// 50", Neptune 10", Pluto 5"; latitude 1" to 25"; distance 1000 km (Mercury) to 1.5e6 km
// (Saturn).  These are typical values: over 1960-2019 the worst cases reach about twice
// them (Mercury 30", Mars 100").  The elements of Uranus, Neptune and Pluto follow the
// orbit about the solar-system barycentre; as heliocentric positions they are further
// off by the Sun's motion about it (up to 0.01 AU, 70" at Neptune).
void MeanOrbitalElements(AstroState& a);

// Position on the Keplerian orbit of CurrentSlot from its elements: mean anomaly
// M = L - peri, Kepler's equation E - e sin E = M by fixed-point iteration to 1e-10 rad
// (at most 99 steps), true anomaly, radius, argument of latitude.
// Reads: CurrentSlot (0..11; other slots are left untouched), its Orbit* elements.
// Writes: OrbitM (rad, 0..2 pi), OrbitNu (rad), OrbitR (m), OrbitU (rad) and
//   PosX/PosY/PosZ (m) of the slot, heliocentric, in the frame of the elements (ecliptic
//   and equinox of J2000.0 for the planets).
// Two-body problem, e.g. Danby, Fundamentals of Celestial Mechanics, ch. 6.
void KeplerPosition(AstroState& a);

// Two-body velocity of CurrentSlot: radial speed k e sin nu and transverse speed
// k (1 + e cos nu), k = sqrt(GravConst mu / p), p = a (1 - e^2), with mu = CentralMass for
// the planets and EarthMass + MoonMass for slot 11.  The velocity is that of the fixed
// ellipse; the rates of the elements do not enter.
// Reads: CurrentSlot (0..11; other slots are left untouched), its elements and the
//   position, radius and anomalies KeplerPosition left in it.
// Writes: VelX/VelY/VelZ of the slot, m/s, in the frame of the position.
void KeplerVelocity(AstroState& a);

// The Moon's geocentric place from the short lunar series.
// Given: t, Julian centuries from J2000.0 (ET).
// Writes: BodyLon[11] (degrees, 0..360) and BodyLat[11] (degrees), ecliptic longitude and
//   latitude referred to the mean ecliptic and equinox of date; MoonDistance (m);
//   OrbitE[11] = 0.055 and OrbitAMetres[11] = 384402000 m, used for the distance.  The
//   position table is not written.
// Series: Montenbruck & Pfleger, Astronomy on the Personal Computer (MINI_MOON), after
// Brown's lunar theory; the distance is that of the mean ellipse, without perturbations.
// Accuracy over 1960-2019: 5.5' in longitude, 47" in latitude, 7100 km in distance.
void MoonPositionSeries(AstroState& a, double t);

}  // namespace planova
