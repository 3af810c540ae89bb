// Where on the Earth an observation was made: a site fixed to the Earth's crust, given by
// the Minor Planet Center's parallax constants (east longitude, rho cos phi', rho sin phi'
// in units of the Earth's equatorial radius) or by geodetic longitude, latitude and height
// on the GRS80 ellipsoid (the one the MPC's constants refer to).  Polar motion is not
// modelled: the terrestrial axes are the Earth's axis of rotation and the meridian of
// Greenwich, which is good to some 10 m (5 mas at the Moon's distance).
#pragma once

#include <array>

namespace planova {

// GRS80 (= WGS84 to 0.1 mm) equatorial radius, km, the unit of the parallax constants.
constexpr double kEarthEquatorialRadiusKm = 6378.137;

struct ObserverSite {
  double LonDeg = 0;     // east longitude, degrees
  double RhoCosPhi = 0;  // distance from the rotation axis, Earth equatorial radii
  double RhoSinPhi = 0;  // distance from the equatorial plane (north +), Earth equatorial radii
};

// Given: MPC parallax constants (degrees east, Earth radii).  Returned: the site.
inline ObserverSite SiteFromParallaxConstants(double lonDeg, double rhoCosPhi, double rhoSinPhi) {
  return {lonDeg, rhoCosPhi, rhoSinPhi};
}

// Given: geodetic east longitude and latitude (degrees), height above the GRS80 ellipsoid (m).
// Returned: the site (eraGd2gc).  A latitude beyond +-90 degrees gives rho 0 (the caller
// checks the range first).
ObserverSite SiteFromGeodetic(double lonDeg, double latDeg, double heightM);

// Given: a site.  Returned: its geodetic latitude (degrees) and height above GRS80 (m)
// (eraGc2gd), for showing a site of the MPC's list as the window's latitude.
struct GeodeticPlace {
  double LatDeg = 0, HeightM = 0;
};
GeodeticPlace GeodeticOf(const ObserverSite& site);

// Given: a site.  Returned: its geocentric position on terrestrial axes (x to the meridian
// of Greenwich on the equator, z to the north pole), km.
std::array<double, 3> TerrestrialPositionKm(const ObserverSite& site);

}  // namespace planova
