// The theoretical place of one observation, from the geometric heliocentric positions of
// the theory to the geocentric place in the frame of the observation, step by step:
// ET-UT, light time and aberration from the Earth's motion, planetary aberration (the
// body where it was when its light left, three passes), precession to the comparison
// epoch, equator of date, refraction at the observatory and nutation.  The classical
// reduction of an apparent place, e.g. Explanatory Supplement to the Astronomical Almanac
// (1961), ch. 2, in the program's own first-order forms.
//
// Every input is an argument and every output is in the result; the position table of
// AstroState is the routine's working space.  Time scales: the observation's Jd is UT;
// the theory is read at ET = UT + ET-UT (the JPL ephemeris takes it as TDB); precession to the date,
// the obliquity, the nutation and the sidereal time of the classical reduction are dated
// by the UT date.  The rigorous reduction works in TT and TDB (precise_place.h).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "astro/observer.h"
#include "astro/precise_place.h"
#include "astro/theory.h"

namespace planova {

struct AstroState;

// ET-UT used to date the ephemeris: none (ET = UT), the parabola, the piecewise table
// (DeltaTParabola, DeltaTPiecewise), or TT-UTC of the leap-second table from 1960 on and
// the piecewise table before (DeltaTTableAt).
enum class DeltaTModel { kNone, kParabola, kPiecewise, kTable };

// The frame the place refers to: the equator and equinox of the date, of B1950.0 or of
// J2000.0 (the precession runs to that epoch; equator and nutation are those of the date).
enum class ComparisonEpoch { kOfDate, kB1950, kJ2000 };

// A request for one theoretical place.  Body: 0 Sun, 1..9 Mercury..Pluto, 11 Moon; Jd:
// JD, UT as observed (taken as UTC from 1960 on by the rigorous reduction,
// PreciseTerrestrialTime).
struct ApparentPlaceRequest {
  int Body = 11;            // program body number 0..11
  double JdUt = 0;          // date of the observation, UT as observed
  TheorySource Theory = TheorySource::kJpl2;
  bool Perturbations = false;  // two-body theory with the inner planets' periodic terms
  DeltaTModel DeltaT = DeltaTModel::kParabola;
  // ET = UT + (ET-UT)/86400 (true) or + (ET-UT)/24/3600 (false).  The two quotients can
  // differ in the last bit of the JD; the correction run keeps the first, the comparison
  // and the calculator the second, so that their files stay as they were.
  bool DeltaTBy86400 = false;
  bool Aberration = true;           // light time times the Earth's velocity
  bool PlanetaryAberration = true;  // the body's motion during the light time
  bool Refraction = false;          // at the observatory below
  bool Nutation = true;             // mean to true equator and equinox of date
  ComparisonEpoch Epoch = ComparisonEpoch::kOfDate;
  double ObserverLonDeg = 0;  // east longitude (refraction only)
  double ObserverLatDeg = 0;  // latitude (refraction only)
  // The rigorous reduction (IAU 2006/2000A, PrecisePlace) instead of the classical one,
  // for the JPL2 theory and the epochs of date and J2000; the B1950 frame and the
  // two-body theory keep the classical reduction (UsesPreciseChain).
  bool Precise = false;
  // The astrometric place (ICRS: the light time only, no aberration or deflection, as
  // the places that are measured against catalogue stars) instead of the apparent one;
  // only with the rigorous reduction (AstrometricServes), and without refraction.
  bool Astrometric = false;
  // The site of the observation for a topocentric place (TopocentricServes): every stage of
  // the rigorous reduction is then seen from it, the Earth's rotation dated by UT1 = JdUt
  // (UTC) without polar motion (PreciseObserver).  None: the geocentric place.  The
  // classical reduction ignores it (its refraction uses ObserverLonDeg/LatDeg).
  std::optional<ObserverSite> Observer;
};

// Whether the rigorous reduction serves a theory and a frame when it is asked for.
inline bool PreciseChainServes(bool precise, TheorySource theory, ComparisonEpoch epoch) {
  return precise && theory == TheorySource::kJpl2 && epoch != ComparisonEpoch::kB1950;
}
inline bool UsesPreciseChain(const ApparentPlaceRequest& r) { return PreciseChainServes(r.Precise, r.Theory, r.Epoch); }
// Whether the request gives the astrometric place (ICRS) rather than the apparent one.
inline bool AstrometricServes(const ApparentPlaceRequest& r) { return r.Astrometric && UsesPreciseChain(r); }
// Whether the request gives the topocentric place (the rigorous reduction with a site).
inline bool TopocentricServes(const ApparentPlaceRequest& r) { return r.Observer.has_value() && UsesPreciseChain(r); }
// The epoch label of the places of a request for data of epoch `label`: "ICRS" for the
// astrometric place, the data's label otherwise.
inline std::string PlaceEpochLabel(const ApparentPlaceRequest& r, const std::string& label) {
  return AstrometricServes(r) ? "ICRS" : label;
}

// The frame of an epoch label of the data ("App", "B1950", "J2000"; any other counts as
// of date).
inline ComparisonEpoch EpochOfLabel(std::string_view label) {
  return label == "B1950" ? ComparisonEpoch::kB1950 : label == "J2000" ? ComparisonEpoch::kJ2000 : ComparisonEpoch::kOfDate;
}

// The theory of a request as the CSV files name it: "JPL0", "JPL1" (with the inner
// planets' periodic terms), "JPL2 " + the ephemeris in use ("JPL2 DE405", "JPL2 DE440",
// "JPL2 de405.bsp"), and " IAU2006" after it for the rigorous reduction.
inline std::string TheoryName(const ApparentPlaceRequest& r, const std::string& ephemeris) {
  if (r.Theory != TheorySource::kJpl2) return r.Perturbations ? "JPL1" : "JPL0";
  return "JPL2 " + ephemeris + (UsesPreciseChain(r) ? " IAU2006" : "");
}

// Longitude and latitude (degrees) after one stage of the reduction.
struct PlaceStage {
  double LonDeg = 0, LatDeg = 0;
};

// The stages in order: geocentric ecliptic J2000, with aberration, with planetary
// aberration, ecliptic of the comparison epoch, equator, with refraction, with nutation.
enum PlaceStageIndex { kStageGeometric, kStageAberration, kStagePlanetary, kStageEcliptic, kStageEquator,
                       kStageRefraction, kStageNutation, kStageCount };

// The theoretical place and its stages.  Frames and time scales of the fields:
//   LonDeg/LatDeg: geocentric (TopocentricServes: topocentric) right ascension and declination.  Classical: the
//     ecliptic J2000 place precessed to the ecliptic of the request's Epoch, turned to
//     the mean equator by the obliquity of the UT date, then refraction and the nutation
//     of that date when asked.  Rigorous: true equator and equinox of date (kOfDate) or
//     the GCRS (kJ2000), refraction applied on the true equator of date; the astrometric
//     place on ICRS axes (Astrometric), without refraction.
//   DeltaTSeconds: ET-UT (classical) or TT-UT (rigorous).  EphemerisJd: JD, Jd +
//     DeltaTSeconds: the ET the theory was read at (classical), TT (rigorous).
//   GeometricDistanceMetres, geocentric (topocentric) at the ephemeris epoch; LightTimeSeconds, the
//     geometric distance over c, or with planetary aberration that of its last pass
//     (rigorous: the iterated light time).
//   The corrections (arcseconds, before - after): classical, aberrations in ecliptic
//     longitude of J2000, refraction and nutation in declination; rigorous, planetary
//     aberration as geometric - astrometric and aberration as deflected - GCRS in right
//     ascension, nutation as mean - true in declination.
//   Stages (degrees): kStageGeometric..kStagePlanetary geocentric ecliptic longitude and
//     latitude of J2000, kStageEcliptic on the ecliptic of the Epoch, kStageEquator..
//     kStageNutation right ascension and declination on the equator of date.
//     StageVectors: the geocentric ecliptic vectors of the first four, metres.
//     DegPerRad: the program's, for CompleteStages.
//   PreciseStages: right ascension and declination (degrees) in each stage's frame
//     (PreciseStageIndex); PreciseSizes arcseconds; Refracted: right ascension and
//     declination on the true equator of date after refraction, degrees.
struct ApparentPlace {
  bool Ok = false;       // false: the ephemeris failed (EphemerisFailureKind says why)
  double LonDeg = 0;     // right ascension (after the last stage)
  double LatDeg = 0;     // declination
  double DeltaTSeconds = 0;  // ET-UT applied (0 without)
  double EphemerisJd = 0;    // Jd + ET-UT, the epoch of the positions
  double GeometricDistanceMetres = 0;  // geocentric distance of the body
  double LightTimeSeconds = 0;         // light time of the last pass
  // The corrections, arcseconds, each as the difference before - after of its stage:
  // aberration and planetary aberration in longitude, refraction and nutation in latitude.
  // The first two, and the first four stages, are there after CompleteStages.
  double AberrationArcsec = 0, PlanetaryAberrationArcsec = 0, RefractionArcsec = 0, NutationArcsec = 0;
  std::array<PlaceStage, kStageCount> Stages{};
  // The geocentric vectors of the first four stages, turned into Stages on demand.
  std::array<std::array<double, 3>, kStageCount> StageVectors{};
  double DegPerRad = 0;
  bool StagesComplete = false;

  // The rigorous reduction's stages (Precise): the place of each (right ascension and
  // declination in the stage's frame, degrees) and its size, the angle from the stage
  // before, arcseconds (for the true place: from the GCRS place, bias + precession +
  // nutation).  There after CompleteStages; the refracted stage only with refraction.
  bool Precise = false;
  PrecisePlace Rigorous;
  std::array<PlaceStage, kPreciseStageCount> PreciseStages{};
  std::array<double, kPreciseStageCount> PreciseSizes{};
  PlaceStage Refracted;
};

// The angles of the stages kept as vectors, and the aberrations they give, for the stage
// log and the boxes: the same arithmetic as when every stage is computed in turn.
// Given: place, from ComputeApparentPlace.  Returned: place with Stages 0..3 (classical)
// or PreciseStages, PreciseSizes (rigorous, when Ok) and the corrections filled; once.
void CompleteStages(ApparentPlace& place);

// Given: jd (JD, UT); model.
// Returned: ET-UT, seconds, after the model (0 for kNone).  Writes: CurrentJd = jd.
double DeltaTSeconds(AstroState& a, double jd, DeltaTModel model);

// How far a classical ET-UT model strays from TT-UTC of the leap-second table, which is
// what UTC observation times need from 1960 on: the parabola is 70 s too large in 2005,
// "с 1700" 10 to 20 s.
// Given: jdUtc (JD, UTC); model.
// Returned: model - table, seconds; 0 before 1960 (no table), for a date that is not finite,
//   and for kNone and kTable.
double DeltaTModelDepartureSeconds(double jdUtc, DeltaTModel model);

// The geometric geocentric place of the body from the two-body theory and the lunar
// series: the observations that a generated data set holds.
// Given: body (0..11 but 10); jd (JD, taken as ET for the theory).
// Returned: right ascension (LonDeg) and declination (LatDeg): the ecliptic J2000
//   position turned by the mean obliquity of J2000 (no aberration or nutation).
// Writes: CurrentJd = jd, CurrentSlot = body, the slots of ComputeBodyPositions (JPL0),
//   made geocentric; slot body left on the equator, metres.
PlaceStage TwoBodyEquatorialPlace(AstroState& a, int body, double jd);

// TT of an observation time for the rigorous reduction.
// Given: jd (JD: UTC from 1960 on, UT before); model; by86400 (the quotient, as
//   ApparentPlaceRequest::DeltaTBy86400).
// Returned: TT, JD: from 1960 on TT = UTC + (TAI - UTC) + 32.184 s (TtMinusUtcSeconds);
//   before, UT + ET-UT of the model (which writes CurrentJd = jd).  With model kNone the
//   time is TT already.  deltaTSeconds: TT - UT(C), s (0 with kNone).
double PreciseTerrestrialTime(AstroState& a, double jd, DeltaTModel model, bool by86400, double& deltaTSeconds);

// The theoretical place of the request.
// Given: r.  Returned: the place; Ok false after an ephemeris failure
//   (EphemerisError 1, EphemerisFailureKind says why).
// Working space (the classical reduction): the slots of ComputeBodyPositions (0, 3, 11,
//   14 and r.Body), made geocentric; BodyLon/BodyLat[r.Body] and BodyLat[12] (degrees),
//   RelLon/RelLat/RelDist, CurrentSlot, RotationMatrix, and with refraction HourAngle,
//   ObserverLatitude, HorAzimuth, HorAltitude.  CurrentJd is left at r.JdUt (at
//   EphemerisJd after a failure).  The rigorous reduction leaves CurrentJd at r.JdUt and
//   touches the table only for refraction (slot r.Body, BodyLon/BodyLat, the horizontal
//   cells), where it reads slot 3 as the geocentre as it stands.
ApparentPlace ComputeApparentPlace(AstroState& a, const ApparentPlaceRequest& r);

}  // namespace planova

namespace planova {

// A body's place from the origin slot in the ephemeris calculator: longitude, latitude
// (degrees), distance and the rectangular coordinates, thousands of km.
struct SlotPlace {
  double LonDeg = 0, LatDeg = 0, DistThousandKm = 0;
  double XThousandKm = 0, YThousandKm = 0, ZThousandKm = 0;
};

// The ephemeris calculator's places of a body (1..9 or 11) for a UT date: heliocentric
// equatorial J2000 position (thousands of km) and velocity (km/s), geocentric equatorial
// J2000 position, and the geocentric position precessed to the mean equator of the UT
// date.  The ephemeris is read at ET = UT + (ET-UT)/24/3600.  The Moon of the ephemeris
// is geocentric already, and is shown as it comes (its Heliocentric place and velocity
// are geocentric); for the Earth (3) the heliocentric place is the Earth-Moon
// barycentre's.  DeltaTSeconds: ET-UT, s; EphemerisJd: ET, JD.
struct JplCalculatorPlaces {
  bool Ok = false;  // false: the ephemeris failed (EphemerisFailureKind says why)
  double DeltaTSeconds = 0, EphemerisJd = 0;
  SlotPlace Heliocentric, GeocentricJ2000, GeocentricOfDate;
  double VxKmPerS = 0, VyKmPerS = 0, VzKmPerS = 0, SpeedKmPerS = 0;
};
// Given: body (1..9 or 11); jdUt (JD, UT); deltaT, the ET-UT model.
// Returned: the places; Ok false after an ephemeris failure (EphemerisError 1,
//   EphemerisFailureKind; both cleared first).
// Writes: slots 0, 3, 11, body (and 14 unless body is 11) in thousands of km and km/s,
//   equatorial J2000;
//   CurrentSlot = body, RotationMatrix, the ephemeris' record and raw states; CurrentJd left
//   at jdUt (at the ET after a failure).
JplCalculatorPlaces ComputeJplCalculatorPlaces(AstroState& a, int body, double jdUt, DeltaTModel deltaT);

}  // namespace planova
