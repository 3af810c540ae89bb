#include "astro/astro_state.h"

#include "common/platform.h"

namespace planova {

void AstroState::Message(const char* text) const {
  if (Ui) Ui->ShowMessage(text);
}

void AstroState::InitConstants() {
  Pi = 3.14159265359;
  DegPerRad = 180 / Pi;
  JdJ2000 = 2451545.0;
  JdJ1900 = 2415020.0;
  JdB1950 = 2433282.423;
  AuMetres = 149597870691.0;
  LightSpeed = 299792500.0;
  SecondsPerDay = 86400.0;
  SunMass = 1.98976e30;
  GravConst = 66.7006e-12;
  Obliquity2000 = 23.43929111 / DegPerRad;
  EarthMoonMassRatio = 81.300585;
}

}  // namespace planova
