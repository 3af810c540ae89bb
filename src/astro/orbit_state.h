// Module-wide state of the two-body planet theory and the lunar series.  A base of AstroState.
#pragma once

#include <array>

namespace planova {

struct OrbitState {
  // Mean elements per slot (1..9 the planets, 3 the Earth-Moon barycentre; 11 the Moon's
  // eccentricity and semi-major axis from the lunar series), written by
  // MeanOrbitalElements (at CurrentJd, ET).  Angles in radians, referred to the mean
  // ecliptic and equinox of J2000.0.
  std::array<double, 12> OrbitA{};        // semi-major axis, AU
  std::array<double, 12> OrbitAMetres{};  // semi-major axis, m
  std::array<double, 12> OrbitE{};        // eccentricity
  std::array<double, 12> OrbitI{};        // inclination
  std::array<double, 12> OrbitL{};        // mean longitude, not reduced to one revolution
  std::array<double, 12> OrbitPeri{};     // longitude of perihelion
  std::array<double, 12> OrbitNode{};     // longitude of the ascending node

  // Derived by KeplerPosition.  Angles in radians.
  std::array<double, 12> OrbitM{};   // mean anomaly, 0..2 pi
  std::array<double, 12> OrbitNu{};  // true anomaly, -pi..pi
  std::array<double, 12> OrbitR{};   // radius vector from the central body, m
  std::array<double, 12> OrbitU{};   // argument of latitude from the node, nu + peri - node

  double MoonDistance = 0;  // geocentric distance of the Moon from the lunar series, m (MoonPositionSeries)

  // Masses, kg, set by InitPlanetMasses.
  double CentralMass = 0;  // attracting mass of the planets' orbits (the Sun)
  double EarthMass = 0;
  double MoonMass = 0;
};

}  // namespace planova
