// Rectangular and spherical coordinates in the position table, the relative position of
// two slots, and the rotations between the equatorial (hour angle, declination) and the
// horizontal frame (azimuth from the south through the west).  Angles in degrees; lengths
// in the unit of the table (metres, thousands of km, or 1 for directions), which these
// routines keep.  The slot routines name their slots in arguments, not CurrentSlot.
#pragma once

namespace planova {

struct AstroState;

// Rectangular coordinates of a spherical place, in the frame of the place.
// Given: slot; lonDeg l, latDeg b (degrees); distance r (any unit).
// Writes: PosX/PosY/PosZ[slot] = r (cos b cos l, cos b sin l, sin b), the unit of r.
void SphericalToCartesian(AstroState& a, int slot, double lonDeg, double latDeg, double distance);

// Spherical coordinates of a vector, and its length alone (the same arithmetic).
// Given: dx, dy, dz (any unit); degPerRad (the program's, AstroState::DegPerRad).
// Returned: LonDeg in [0, 360) and LatDeg; Dist, the unit of the vector.
struct Spherical {
  double LonDeg = 0, LatDeg = 0, Dist = 0;
};
Spherical SphericalOf(double dx, double dy, double dz, double degPerRad);
double DistanceOf(double dx, double dy, double dz);

// The place of one slot seen from another, in the frame of the table.
// Reads: PosX/PosY/PosZ[origin] and [target].
// Writes: RelLon[target] (degrees, [0, 360)), RelLat (degrees), RelDist (unit of the
//   table).  Nothing is written when origin == target.
void RelativeSpherical(AstroState& a, int origin, int target);

// Equatorial (hour angle, declination) to horizontal direction.
// Reads: HourAngle, BodyLat[slot] (declination), ObserverLatitude (degrees).
// Writes: PosX/PosY/PosZ[slot] = (cos h cos A, cos h sin A, sin h), a unit vector of the
//   horizontal frame (x to the south, y to the west, z to the zenith).
void EquatorialToHorizontalVector(AstroState& a, int slot);

// Horizontal to equatorial (hour angle, declination) direction.
// Reads: HorAzimuth (from the south through the west), HorAltitude, ObserverLatitude
//   (degrees).
// Writes: PosX/PosY/PosZ[slot] = (cos d cos t, cos d sin t, sin d), a unit vector
//   (x to the meridian, z to the north pole).
void HorizontalToEquatorialVector(AstroState& a, int slot);

// Slot arithmetic of the position table, component by component, in the table's unit:
// slot := slot - other (PosX/Y/Z, or VelX/Y/Z), slot := base + slot (likewise), and
// PosX/Y/Z[slot] := PosX/Y/Z[other] / divisor.
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
