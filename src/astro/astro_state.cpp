#include "astro/astro_state.h"

namespace planova {

void AstroState::InitConstants() {
  Pi = kProgramPi;
  DegPerRad = 180 / Pi;
  JdJ2000 = kJdJ2000;
  JdJ1900 = kJdJ1900;
  JdB1950 = kJdB1950;
  AuMetres = kAuMetres;
  LightSpeed = kLightSpeed;
  SecondsPerDay = kSecondsPerDay;
  SunMass = kSunMass;
  GravConst = kGravConst;
  Obliquity2000 = kObliquity2000Deg / DegPerRad;
  EarthMoonMassRatio = kEarthMoonMassRatio;
}

}  // namespace planova
