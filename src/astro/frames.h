// Rectangular and spherical coordinates in the position table, the relative position of
// two slots, and the rotations between the equatorial (hour angle, declination) and the
// horizontal frame (azimuth from the south through the west).  Angles in degrees.
#pragma once

namespace planova {

struct AstroState;

// PosX/PosY/PosZ[slot] = r (cos b cos l, cos b sin l, sin b); l, b in degrees.
void SphericalToCartesian(AstroState& a, int slot, double lonDeg, double latDeg, double distance);

// Longitude in [0, 360) and latitude (degrees) and length of a vector, and its length
// alone (the same arithmetic).
struct Spherical {
  double Lon = 0, Lat = 0, Dist = 0;
};
Spherical SphericalOf(double dx, double dy, double dz, double degPerRad);
double DistanceOf(double dx, double dy, double dz);

// Distance, longitude and latitude of the target slot seen from the origin slot:
// RelLon[target] in [0, 360), RelLat, RelDist.  Nothing is written when they are equal.
void RelativeSpherical(AstroState& a, int origin, int target);

// Unit vector (cos h cos A, cos h sin A, sin h) of HourAngle and BodyLat[slot]
// (declination) at ObserverLatitude, written into the slot.
void EquatorialToHorizontalVector(AstroState& a, int slot);

// Unit vector (cos d cos t, cos d sin t, sin d) of HorAzimuth and HorAltitude at
// ObserverLatitude, written into the slot.
void HorizontalToEquatorialVector(AstroState& a, int slot);

// Slot arithmetic of the position table, component by component: slot := slot - other
// (position, or velocity), slot := base + slot, and slot := other / divisor.
void SubtractPosition(AstroState& a, int slot, int other);
void SubtractVelocity(AstroState& a, int slot, int other);
void AddPosition(AstroState& a, int slot, int base);
void AddVelocity(AstroState& a, int slot, int base);
void DividedPosition(AstroState& a, int slot, int other, double divisor);

// x - Fix(x), keeping the sign of x (-1.25 -> -0.25).
double FracSigned(double x);

// x - Fix(x) made non-negative (-1.25 -> 0.75); stored back into x and returned.
double FracPositive(double& x);

}  // namespace planova
