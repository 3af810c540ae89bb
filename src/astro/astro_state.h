// The astronomy module's computation state: constants, the position and velocity table
// with its fixed slot meanings, the calendar fields, the current epoch and the flags that
// the windows share.  Callers store inputs here, call a routine and read the results
// from here.  One object per application (and per test); windows hold it by reference.
//
// Slots of the position table: 0 Sun, 1 Mercury, 2 Venus, 3 Earth (or the Earth-Moon
// barycentre before correction), 4 Mars, 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune,
// 9 Pluto, 11 Moon, 14 the Earth's offset from the Earth-Moon barycentre; the others are
// scratch for the windows.
#pragma once

#include <array>
#include <cstdint>

#include "astro/de405_state.h"
#include "astro/orbit_state.h"
#include "astro/reductions_state.h"

namespace planova {

class Platform;

struct AstroState : De405State, ReductionState, OrbitState {
  explicit AstroState(Platform* ui = nullptr) : Ui(ui) {}

  // Where the routines show their messages (title "Planova").  May be null in tests
  // that do not look at messages.
  Platform* Ui = nullptr;
  void Message(const char* text) const;

  // --- Constants (set by InitConstants at window 2's start-up) ---
  double Pi = 3.14159265359;            // pi as the program uses it, not the double's pi
  double DegPerRad = 180 / 3.14159265359;
  double JdJ2000 = 2451545.0;
  double JdJ1900 = 2415020.0;
  double JdB1950 = 2433282.423;
  double AuMetres = 149597870691.0;     // astronomical unit, m
  double LightSpeed = 299792500.0;      // m/s
  double SecondsPerDay = 86400.0;
  double SunMass = 1.98976e30;          // kg
  double GravConst = 66.7006e-12;       // m^3 kg^-1 s^-2
  double Obliquity2000 = 23.43929111 / (180 / 3.14159265359);  // radians
  double EarthMoonMassRatio = 81.300585;

  // --- Position table ---
  std::array<double, 27> PosX{}, PosY{}, PosZ{};   // slots 0..26, metres (or unit vectors)
  std::array<double, 14> VelX{}, VelY{}, VelZ{};   // slots 0..13, m/s
  std::array<double, 13> BodyLon{}, BodyLat{};     // degrees, slots 0..12
  std::array<double, 12> RelLon{};                 // degrees in [0, 360), by target slot
  double RelLat = 0;                               // degrees
  double RelDist = 0;                              // unit of the table

  double CurrentJd = 0;      // the module's epoch cell (JD)
  int CurrentSlot = 0;       // slot acted on by the slot routines

  // Inputs of the horizontal rotations, degrees.
  double ObserverLatitude = 0;
  double HourAngle = 0;
  double HorAzimuth = 0;
  double HorAltitude = 0;

  // --- Calendar ---
  int16_t UseJulianCalendar = 0;  // 1: Julian calendar for every date
  int32_t CalYear = 0;
  int32_t CalMonth = 0;
  double CalDay = 0;

  // --- Flags shared with the windows ---
  int16_t StopRequested = 0;
  int16_t EphemerisError = 0;

  // Writes the constants above (window 2's start-up).
  void InitConstants();
};

}  // namespace planova
