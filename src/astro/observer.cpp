#include "astro/observer.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace planova {

ObserverSite SiteFromGeodetic(double lonDeg, double latDeg, double heightM) {
  double xyz[3] = {0, 0, 0};
  if (eraGd2gc(ERFA_GRS80, lonDeg * ERFA_DD2R, latDeg * ERFA_DD2R, heightM, xyz) != 0) return {lonDeg, 0, 0};
  const double a = kEarthEquatorialRadiusKm * 1000;
  return {lonDeg, std::hypot(xyz[0], xyz[1]) / a, xyz[2] / a};
}

GeodeticPlace GeodeticOf(const ObserverSite& site) {
  const std::array<double, 3> km = TerrestrialPositionKm(site);
  double xyz[3] = {km[0] * 1000, km[1] * 1000, km[2] * 1000};
  double lon = 0, lat = 0, height = 0;
  if (eraGc2gd(ERFA_GRS80, xyz, &lon, &lat, &height) != 0) return {};
  return {lat * ERFA_DR2D, height};
}

std::array<double, 3> TerrestrialPositionKm(const ObserverSite& site) {
  const double lon = site.LonDeg * ERFA_DD2R;
  const double r = site.RhoCosPhi * kEarthEquatorialRadiusKm;
  return {r * std::cos(lon), r * std::sin(lon), site.RhoSinPhi * kEarthEquatorialRadiusKm};
}

}  // namespace planova
