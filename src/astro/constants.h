// The constants of the program's astronomy, written once.  Values are the program's own
// (its pi of 12 digits, its speed of light, its Earth/Moon mass ratio) and must not be
// replaced by more precise ones: every result is compared digit by digit.
#pragma once

namespace planova {

inline constexpr double kProgramPi = 3.14159265359;       // pi as the program uses it
inline constexpr double kJdJ2000 = 2451545.0;             // J2000.0, JD (2000 January 1.5)
inline constexpr double kJdJ1900 = 2415020.0;             // 1900 January 0.5, JD
inline constexpr double kJdB1950 = 2433282.423;           // B1950.0, JD
inline constexpr double kDaysPerJulianCentury = 36525;
inline constexpr double kAuMetres = 149597870691.0;       // astronomical unit, m
inline constexpr double kLightSpeed = 299792500.0;        // m/s
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kSunMass = 1.98976e30;            // kg
inline constexpr double kGravConst = 66.7006e-12;         // m^3 kg^-1 s^-2
inline constexpr double kObliquity2000Deg = 23.43929111;  // mean obliquity of J2000.0, degrees
inline constexpr double kEarthMoonMassRatio = 81.300585;  // Earth / Moon
// Distance of the Earth from the Earth-Moon barycentre used with the lunar series, m
// (the barycentre lies this far from the Earth towards the Moon).
inline constexpr double kEarthOffsetFromBarycentre = 4672000.0;

}  // namespace planova

namespace planova {

// Julian centuries from J2000.0 of a JD, the argument of the reduction routines.
// Given: jd (JD, in the time scale the caller dates with).  Returned: T = (jd - 2451545) / 36525.
inline double CenturiesFromJ2000(double jd) { return (jd - kJdJ2000) / kDaysPerJulianCentury; }

}  // namespace planova

namespace planova {

// Degrees per radian as the program forms it from its own pi (AstroState::DegPerRad).
inline constexpr double kProgramDegPerRad = 180 / kProgramPi;

}  // namespace planova
