// Calendars, ET-UT and sidereal time.
//
// Julian dates after Meeus, "Astronomical Algorithms" (1991), ch. 7: the Gregorian
// calendar from 1582 October 15 on and the Julian calendar before, unless
// UseJulianCalendar asks for the Julian calendar throughout.  Years are astronomical
// (year 0 exists).  Sidereal time: the IAU 1982 expression of GMST.
#pragma once

#include <cstdint>
#include <string>

namespace planova {

struct AstroState;

// Which calendar a date is in: the Gregorian calendar from 1582 October 15 on and the
// Julian calendar before (the window's default), or the Julian calendar for every date.
enum class CalendarRule { kGregorianFrom1582, kJulian };

// A calendar date: astronomical year, month 1..12, day of the month with the time of day
// as its fraction (3.5 = the 3rd at 12 h).
struct CalendarDate {
  int32_t Year = 0;
  int32_t Month = 0;
  double Day = 0;
};

// The Julian date of a calendar date.
// Given: rule; day (with its fraction), month, year (astronomical) of the date.
// Returned: the JD (days, in the time scale of the date's time of day).
//   Status: year and month must fit 16 bits (and the month 12 more), the day must be
//   finite: otherwise 0 and *failed (when given) set to true (the window says "Введите
//   правильно дату"); *failed false otherwise.
double JulianDateFromCalendar(CalendarRule rule, double day, int32_t month, int32_t year, bool* failed = nullptr);

// The calendar date of a Julian date.
// Given: rule; jd (days).
// Returned: date, the calendar date (Day with its fraction).
//   Status: true; false for a JD whose day number does not fit 32 bits, or whose year
//   does not fit 16, with the fields not yet reached (the day and month are reached
//   before the year) unchanged (the window says "Введите правильно юлианскую дату").
bool CalendarFromJulianDate(CalendarRule rule, double jd, CalendarDate& date);

// A time of day counted in 0.0001 s, the last place of a BDL line: 864 000 000 a day.
// A decimal of a day or an hour with up to six places, of a minute with up to five and of
// a second with up to four is a whole number of them (0.0001 s is 1/864 000 000 of a day,
// 1/36 000 000 of an hour, 1/600 000 of a minute): the places a source's time may have
// for its JD to give it back exactly.
inline constexpr int32_t kTenThousandthsPerDay = 864000000;
inline constexpr int kExactDayPlaces = 6, kExactHourPlaces = 6, kExactMinutePlaces = 5, kExactSecondPlaces = 4;

// Whether a JD made by JulianDateFromCalendar from a time of day in whole 0.0001 s lies
// close enough to that time for rounding to give it back.  Each of the routine's large
// sums (the day with its fraction plus the days of the months and years, then the epoch
// 1720994.5) is rounded to the last bit of its result; from JD 0 to 4 000 000 (years
// -4712 to 6239) no sum reaches 2^22 days, whose last bit is 2^-31 day (40 us), so the JD
// lies within 2 x 20 us of the time, under half of 0.0001 s.  (A JD read or divided from
// a decimal text is rounded once, within 20 us.)  Beyond, the last bit doubles.
bool JdHoldsTenThousandths(double jd);

// The calendar date of a JD that stands for a time of day in whole 0.0001 s (a source's
// time, JdHoldsTenThousandths): the date with its whole day, and the time of day rounded
// to 0.0001 s in `tenThousandths` (0 .. kTenThousandthsPerDay - 1), a time rounded up to
// 24 h being 0 h of the next date.  Status as CalendarFromJulianDate's, also false for a
// JD that is not finite.
bool CalendarFromJulianDateRounded(CalendarRule rule, double jd, CalendarDate& date, int32_t& tenThousandths);

// The same on AstroState's calendar cells.
// Reads: UseJulianCalendar (to a JD: 0 Gregorian from 1582, any other value Julian; from
//   a JD: 1 Julian, any other value Gregorian, CalendarRuleOf).
// Writes (CalendarFromJulianDate): CalYear, CalMonth, CalDay, the fields not reached kept.
double JulianDateFromCalendar(AstroState& a, double day, int32_t month, int32_t year, bool* failed = nullptr);
bool CalendarFromJulianDate(AstroState& a, double jd);
// The rule UseJulianCalendar stands for when a JD is turned into a date.
CalendarRule CalendarRuleOf(const AstroState& a);

// The date and time of a JD as ISO 8601 to the millisecond, "1990-01-03T20:55:30.200Z"
// (the calendar of CalendarFromJulianDate under the rule given); empty when that fails,
// the year lies outside 0000..9999 or the JD is not finite.  The date of the last day is kept: a run of observations sorted
// in time asks the calendar once a day.
class IsoDateTime {
 public:
  // The text's length: "1990-01-03T20:55:30.200Z".
  static constexpr size_t kLength = 24;
  // Appends the text to `out`; false (nothing appended) when it cannot be formed.
  bool AppendTo(std::string& out, CalendarRule rule, double jd);
  // Writes the text's kLength characters at `out` and returns their end; nullptr
  // (nothing written) when it cannot be formed.
  char* WriteTo(char* out, CalendarRule rule, double jd);
  // Whether the text can be formed, without forming it.
  bool Fits(CalendarRule rule, double jd) {
    int32_t ms = 0;
    return Day(rule, jd, ms);
  }
  std::string operator()(CalendarRule rule, double jd) {
    std::string s;
    AppendTo(s, rule, jd);
    return s;
  }

 private:
  // The day of `jd` (kept for the next one) and the milliseconds from its midnight;
  // false when the text cannot be formed.
  bool Day(CalendarRule rule, double jd, int32_t& ms);

  double midnight_ = -1;
  char date_[11] = {};  // "1990-01-03T"
};

// ET-UT by the parabola.
// Given: jd (JD, UT as the program's ET-UT models take it).
// Returned: ET-UT, seconds: 24.35 + 72.32 T + 29.95 T^2, T in Julian centuries from
//   1900 January 0.5.
double DeltaTParabolaAt(double jd);

// ET-UT by the piecewise table.
// Given: jd (JD, UT).
// Returned: ET-UT, seconds: quarter-century cubics from 1825 on, 10.4 s for 1700-1825,
//   the parabola before 1700, and 65.97 + 90 T (T from J2000) from 2025; NaN for a NaN JD.
double DeltaTPiecewiseAt(double jd);

// ET-UT (TT-UT) from tables.
// Given: jd (JD: UTC from 1960 on, UT before).
// Returned: seconds: from 1960 on TT - UTC, TAI - UTC of ERFA's table of leap seconds
//   (eraDat, before 1972 its drifting offsets) + 32.184 s (TtMinusUtcSeconds); before,
//   the piecewise table (DeltaTPiecewiseAt), which of the two older models comes closer
//   to the modern reconstructions of Delta T for 1700-1960 (Stephenson & Morrison;
//   Morrison & Stephenson 2004): within a few seconds, where the parabola is off by 30
//   to 40 s (1800, 1950).  DeltaTTableServes: whether the leap-second table gave the value.
double DeltaTTableAt(double jd);
bool DeltaTTableServes(double jd);

// The two models at AstroState's CurrentJd (read as UT).  Returned: ET-UT, seconds.
double DeltaTParabola(const AstroState& a);
double DeltaTPiecewise(const AstroState& a);

// Greenwich mean sidereal time (IAU 1982).
// Given: mjd, modified Julian date (JD - 2400000.5) whose fraction is UT.
// Returned: GMST, hours, not reduced to 0..24; T0 is counted from the start of the UT day.
double SiderealTime(double mjd);

// Local mean sidereal time as an angle.
// Given: jd (JD, UT); eastLongitude (degrees, west negative).
// Returned: the angle, degrees, 0 to 360: GMST reduced to one day, the longitude in hours
//   added, and the sum brought back into the day from either side.
double LocalSiderealAngle(double jd, double eastLongitude);

// Given: degrees, an angle (hour angles and right ascensions formed as differences of
//   two angles in [0, 360)).
// Returned: the angle, degrees, brought into [0, 360) by one turn from either side.
double OneTurn(double degrees);

}  // namespace planova
