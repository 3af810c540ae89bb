// The astronomy module's computation state: constants, the position and velocity table
// with its fixed slot meanings, the calendar fields, the current epoch and the ephemeris
// flags.  The routines of astro/ store inputs here, call one another and read the
// results from here.  It is astro/'s own: the layers above ask the Astronomy value
// (astronomy.h), which holds one privately (the window models still hold it by reference
// until they are moved over).
//
// Slots of the position table: 0 Sun, 1 Mercury, 2 Venus, 3 Earth (or the Earth-Moon
// barycentre before correction), 4 Mars, 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune,
// 9 Pluto, 11 Moon, 12 scratch (the observer's vector of ShiftObserverOrigin; BodyLat[12]
// the declination before refraction and nutation in ComputeApparentPlace), 14 the
// Earth-Moon barycentre seen from the Earth (the Earth is slot 3 minus it); the others
// are scratch for the windows.  The unit of the table is the last writer's: metres and
// m/s, heliocentric, mean ecliptic and equinox of J2000.0 (ComputeBodyPositions);
// thousands of km and km/s, equator of J2000.0 (the ephemeris calculator); 1 for the
// directions of the horizontal rotations.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "astro/constants.h"
#include "astro/jpl_state.h"
#include "astro/orbit_state.h"
#include "astro/precise_state.h"
#include "astro/reductions_state.h"

namespace planova {

// The routines show no messages: they return a status or set a flag, and the window
// models say what went wrong.
struct AstroState : JplState, ReductionState, OrbitState, PreciseState {
  // The application folder, below which the ephemeris files lie in "JPL" when
  // JplFolder is empty.  Unset (or returning an empty path): no such folder.
  std::function<std::filesystem::path()> AppFolder;

  // --- Constants (set by InitConstants at window 2's start-up) ---
  double Pi = kProgramPi;               // pi as the program uses it, not the double's pi
  double DegPerRad = 180 / kProgramPi;
  double JdJ2000 = kJdJ2000;
  double JdJ1900 = kJdJ1900;
  double JdB1950 = kJdB1950;
  double AuMetres = kAuMetres;           // astronomical unit, m
  double LightSpeed = kLightSpeed;       // m/s
  double SecondsPerDay = kSecondsPerDay;
  double SunMass = kSunMass;             // kg
  double GravConst = kGravConst;         // m^3 kg^-1 s^-2
  double Obliquity2000 = kObliquity2000Deg / (180 / kProgramPi);  // radians
  double EarthMoonMassRatio = kEarthMoonMassRatio;

  // --- Position table ---
  std::array<double, 27> PosX{}, PosY{}, PosZ{};   // slots 0..26, metres (or 1000 km, unit vectors)
  std::array<double, 14> VelX{}, VelY{}, VelZ{};   // slots 0..13, m/s (or km/s)
  std::array<double, 13> BodyLon{}, BodyLat{};     // degrees, slots 0..12
  std::array<double, 12> RelLon{};                 // degrees in [0, 360), by target slot
  double RelLat = 0;                               // degrees
  double RelDist = 0;                              // unit of the table

  // The module's epoch cell, JD: ET (UT + ET-UT, read by the JPL ephemeris as TDB) while the
  // theories run, TDB in the rigorous reduction, the UT date for the reductions of date
  // (where ComputeApparentPlace and the calculators leave it when they succeed).
  double CurrentJd = 0;
  int CurrentSlot = 0;       // slot acted on by the slot routines

  // Inputs of the horizontal rotations, degrees.
  double ObserverLatitude = 0;
  double HourAngle = 0;
  double HorAzimuth = 0;
  double HorAltitude = 0;
  // sin and cos of the latitude (radians) the horizontal rotations last turned by (none
  // before the first), kept so that a run at one observatory does not compute them again
  // for every place.
  bool ObserverLatitudeKnown = false;
  double ObserverLatitudeRad = 0;
  double ObserverLatitudeSin = 0, ObserverLatitudeCos = 0;

  // --- Calendar ---
  // On a cache line of their own: window 2 turns dates into calendar dates on its thread
  // while a second thread computes places through the fields around them.
  alignas(64) int16_t UseJulianCalendar = 0;  // 1: Julian calendar for every date (CalendarRuleOf)
  int32_t CalYear = 0;
  int32_t CalMonth = 0;
  double CalDay = 0;

  // --- Flags (the windows' Stop and the ephemeris failure of the routine just run) ---
  // StopRequested 1: the run is to stop (also set by a date outside the ephemeris files).
  // EphemerisError 1: the ephemeris failed.  ComputeBodyPositions (JPL),
  // ComputePrecisePlace and the ephemeris calculator clear it (and the kind) first; the
  // reader's own routines only set it.
  alignas(64) int16_t StopRequested = 0;
  int16_t EphemerisError = 0;
  // What the last ephemeris failure was (set with EphemerisError = 1).
  EphemerisFailure EphemerisFailureKind = EphemerisFailure::kNone;

  // Writes the constants above (window 2's start-up).
  void InitConstants();
};

}  // namespace planova
