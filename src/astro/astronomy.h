// The astronomy of the program as one value: it owns the computation state (the position
// table, the ephemeris reader's parsed files, the nutation table) privately, and the
// windows and formats ask it through requests and read results.  Failures come back in
// the results; a Stop belongs to the caller's run.  One object per application.
//
// Units are in the names: Deg degrees, Sec/Seconds seconds of time, Jd Julian dates
// (days), ThousandKm thousands of kilometres, KmPerS kilometres per second, Metres.
// Time scales: jdUt and a request's JdUt are UT as observed; the ephemeris is read at
// ET = UT + ET-UT (EphemerisJd); the rigorous reduction works in TT (TtJd).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "astro/apparent_place.h"
#include "astro/jpl.h"
#include "astro/frame_conversions.h"
#include "astro/precise_place.h"
#include "astro/time.h"

namespace planova {

struct AstroState;

// A calendar date from a JD.  Ok false: the JD is beyond the calendar (the window says
// "Введите правильно юлианскую дату"); Date then holds the day and month of this JD if
// they were formed, and the fields not reached as the last date left them.
struct CalendarDateResult {
  bool Ok = false;
  CalendarDate Date;
};

// A place of the two-body theory: geometric geocentric right ascension and declination,
// degrees, on the mean equator of J2000 (TwoBodyEquatorialPlace).
struct TwoBodyPlace {
  double RaDeg = 0, DecDeg = 0;
};

// The apparent place of a request (ComputeApparentPlace).  Ephemeris.Failure is kNone
// when the place was computed; otherwise the report says why (EphemerisMessage).
// RaDeg/DecDeg: geocentric, in the request's frame (ApparentPlace::LonDeg/LatDeg); EphemerisJd:
// ET (classical) or TT (rigorous), JD.
struct ApparentPlaceResult {
  EphemerisReport Ephemeris;
  double RaDeg = 0, DecDeg = 0;  // the place after the last stage
  double DeltaTSeconds = 0;      // ET-UT (or TT-UT) applied
  double EphemerisJd = 0;        // the epoch of the positions
  ApparentPlace Detail;          // the stages and corrections (units in apparent_place.h)
};

// One of the ephemeris calculator's places: longitude, latitude (degrees), distance and
// rectangular coordinates, thousands of km.
struct CalculatorPlace {
  double LonDeg = 0, LatDeg = 0, DistanceThousandKm = 0;
  double XThousandKm = 0, YThousandKm = 0, ZThousandKm = 0;
};

// The ephemeris calculator's places of a body for a UT date (ComputeJplCalculatorPlaces):
// heliocentric equatorial J2000, geocentric equatorial J2000, geocentric on the mean
// equator of the UT date; the heliocentric velocity, equatorial J2000 (for the Moon all
// geocentric).  DeltaTSeconds: ET-UT, s; EphemerisJd: ET, JD.
struct JplCalculatorResult {
  EphemerisReport Ephemeris;
  double DeltaTSeconds = 0, EphemerisJd = 0;
  CalculatorPlace Heliocentric, GeocentricJ2000, GeocentricOfDate;
  double VxKmPerS = 0, VyKmPerS = 0, VzKmPerS = 0, SpeedKmPerS = 0;
};

// The rigorous place for the calculator: TT of the UT date (PreciseTerrestrialTime, the
// quotient /24/3600) and the place at it (ComputePrecisePlace, its units in its names).
// TtMinusUtSeconds: TT - UT (UTC from 1960 on), s; TtJd: TT, JD.
struct PreciseCalculatorResult {
  EphemerisReport Ephemeris;
  double TtMinusUtSeconds = 0;
  double TtJd = 0;
  PrecisePlace Place;
};

class Astronomy {
 public:
  // The constants and the planets' masses set.
  Astronomy();
  ~Astronomy();
  Astronomy(const Astronomy&) = delete;
  Astronomy& operator=(const Astronomy&) = delete;

  // --- Settings ---
  // The folder the application's files lie in ("JPL" below it holds the ephemeris files
  // when no ephemeris folder is set).
  void SetAppFolder(std::function<std::filesystem::path()> appFolder);
  // Folders that may hold the rigorous chain's day table shipped with the program (the
  // executable's, the installed data folder): read, never written, for the days the
  // application folder's own NutationDays.bin lacks.  Set before the first run.
  void SetShippedDayTableFolders(std::vector<std::filesystem::path> folders);
  // The folder of the ephemeris files; empty: the application folder's "JPL".
  void SetJplFolder(const std::filesystem::path& folder);
  // true: the block files are read again for every epoch (the plain reader); results are
  // bit-identical either way.
  void SetJplRescan(bool rescan);
  // How many times a block file was parsed into memory (tests and benchmarks).
  long JplFilesParsed() const;
  // The ephemerides in the folder, as listed ("DE405", "DE440", "de440s.bsp"): DE405
  // first when present.  Looks at the folder again.
  std::vector<std::string> FindEphemerides();
  // Chooses the ephemeris the places are computed from, by a name FindEphemerides lists.
  // False, the choice unchanged, when the folder has no such ephemeris or it cannot be
  // opened (`refusal` says why, naming the file).
  bool SelectEphemeris(const std::string& name, std::string* refusal = nullptr);
  // The name of the ephemeris in use: the one chosen, else DE405 when present, else the
  // only (first) one found; "DE405" when the folder has none.
  std::string SelectedEphemerisName();
  // The calendar dates are read and written in (window 1's "Юлиан"; windows 2 and 3 set
  // the Gregorian rule when they are shown).
  void SetCalendar(CalendarRule rule);
  CalendarRule Calendar() const;

  // --- Calendar and time ---
  // Given: day (with its fraction), month, year (astronomical).  Returned: the JD in the
  // calendar set, or none for a date the routine refuses ("Введите правильно дату").
  std::optional<double> JulianDate(double day, int32_t month, int32_t year);
  // Given: jd.  Returned: its date in the calendar set; Ok false beyond the calendar.
  CalendarDateResult CalendarDateOf(double jd);
  // Given: jd (UT), the ET-UT model.  Returned: ET-UT, seconds (0 for kNone).
  double DeltaTSeconds(double jdUt, DeltaTModel model);

  // --- Places ---
  // Given: r (apparent_place.h).  Returned: the place, or the ephemeris failure.
  ApparentPlaceResult ApparentPlaceOf(const ApparentPlaceRequest& r);
  // The same place alone, written into `place`, for a run of many records (no report is
  // made for a place that succeeds); after a failure (place.Ok false) PlaceFailure()
  // gives the report ApparentPlaceOf would have given.
  void ApparentPlaceInto(const ApparentPlaceRequest& r, ApparentPlace& place);
  EphemerisReport PlaceFailure() const { return Outcome(false); }
  // Given: body 0..11 but 10, jd (UT taken as ET).  Returned: the geometric geocentric
  // place on the mean equator of J2000 from the two-body theory (TwoBodyEquatorialPlace).
  TwoBodyPlace TwoBodyEquatorialPlaceOf(int body, double jd);
  // Given: body 1..9 or 11, jdUt (JD, UT), the ET-UT model.  Returned: the places, or
  // the ephemeris failure (Ephemeris.Failure not kNone).
  JplCalculatorResult JplCalculator(int body, double jdUt, DeltaTModel deltaT);
  PreciseCalculatorResult PreciseCalculator(int body, double jdUt, DeltaTModel deltaT);

  // --- Frame conversions of one record (frame_conversions.h: Given and Returned there) ---
  FrameResult ConvertEpoch(const FrameRequest& r, double fromJd, bool fromOfDate, double toJd, bool toOfDate);
  FrameResult HorizontalToTopocentric(const FrameRequest& r);
  FrameResult TopocentricToHorizontal(const FrameRequest& r);
  // towardsGeocentre: "Topo -> Geo"; false: "Geo -> Topo".
  FrameResult ShiftObserverOrigin(const FrameRequest& r, bool towardsGeocentre);

  // --- The ephemeris files ---
  // A run of many epochs (a comparison or a correction run): the block files are checked
  // on disk once, for the life of the object returned.
  [[nodiscard]] EphemerisRun BeginEphemerisRun();
  // Returned: the folder, the file years present and no failure: what the coverage text
  // says.
  EphemerisReport JplFacts() const;

 private:
  // The report of the last ephemeris failure (kNone: none) of the routine just run.
  EphemerisReport Outcome(bool ok) const;

  std::unique_ptr<AstroState> state_;
};

}  // namespace planova
