#include "astro/time.h"

#include <cstdio>

#include <cmath>
#include <cstring>

#include "astro/astro_state.h"
#include "astro/constants.h"
#include "astro/frames.h"
#include "astro/precise_place.h"
#include "common/numtext.h"

namespace planova {

double JulianDateFromCalendar(CalendarRule rule, double day, int32_t month, int32_t year, bool* failed) {
  if (failed) *failed = false;
  // Year and month are 16-bit cells; step 2 adds 12 to the month and takes 1 from the year.
  if (year < -32768 || year > 32767 || month < -32768 || month > 32767 ||
      (month < 3 && (month + 12 > 32767 || year - 1 < -32768)) || !std::isfinite(day)) {
    if (failed) *failed = true;
    return 0;
  }
  double key = year + month / 100.0 + day / 10000.0;  // 1582 October 15.0 -> 1582.1015
  if (month < 3) {
    month += 12;
    year -= 1;
  }
  double b = 0;
  if (rule == CalendarRule::kGregorianFrom1582 && key > 1582.101499) {
    double century = Fix(year / 100.0);
    b = 2 - century + Fix(century / 4);
  }
  double c = year >= 0 ? Fix(365.25 * year) : Fix(365.25 * year - 0.75);
  double d = Fix(30.6001 * (month + 1));
  return day + d + c + 1720994.5 + b;
}

bool CalendarFromJulianDate(CalendarRule rule, double jd, CalendarDate& date) {
  double zReal = Int(jd + 0.5);
  if (!(zReal >= -2147483648.0 && zReal <= 2147483647.0)) return false;
  int32_t z = static_cast<int32_t>(zReal);
  double f = jd + 0.5 - z;
  // Everything but the fraction f depends on the day number alone: the last day's
  // figures are kept, so that a run of observations sorted in time divides once a day.
  // The day is B - D - Int(30.6001 E) + f summed in the same order either way.
  struct Day {
    bool Known = false;
    CalendarRule Rule = CalendarRule::kGregorianFrom1582;
    int32_t Z = 0, Month = 0;
    double DayStart = 0, Year = 0;
  };
  static thread_local Day last;
  if (!last.Known || last.Z != z || last.Rule != rule) {
    double A = z;
    if (rule == CalendarRule::kGregorianFrom1582 && z >= 2299161) {
      double alpha = Int((z - 1867216.25) / 36524.25);
      // In reals: z + 1 would overflow the 32-bit day number at its largest value.
      A = static_cast<double>(z) + 1 + alpha - Fix(alpha / 4);  // alpha \ 4: integer division toward zero
    }
    double B = A + 1524;
    double C = Int((B - 122.1) / 365.25);
    double D = Int(365.25 * C);
    double E = Int((B - D) / 30.6001);
    last.DayStart = B - D - Int(30.6001 * E);
    last.Month = static_cast<int32_t>(E < 13.5 ? E - 1 : E - 13);
    last.Year = last.Month > 2.5 ? C - 4716 : C - 4715;
    last.Z = z;
    last.Rule = rule;
    last.Known = true;
  }
  date.Day = last.DayStart + f;
  date.Month = last.Month;
  if (last.Year < -32768 || last.Year > 32767) return false;
  date.Year = static_cast<int32_t>(last.Year);
  return true;
}

bool JdHoldsTenThousandths(double jd) {
  constexpr double kLastJd = 4000000;
  return jd >= 0 && jd <= kLastJd;
}

bool CalendarFromJulianDateRounded(CalendarRule rule, double jd, CalendarDate& date, int32_t& tenThousandths) {
  if (!std::isfinite(jd)) return false;
  // The day number and the time from its midnight, as CalendarFromJulianDate counts them.
  double dayNumber = Int(jd + 0.5);
  double ticks = std::round((jd + 0.5 - dayNumber) * kTenThousandthsPerDay);
  if (ticks >= kTenThousandthsPerDay) {
    ticks -= kTenThousandthsPerDay;
    dayNumber += 1;
  }
  // The midnight that starts the day: its date with a whole day of the month.
  if (!CalendarFromJulianDate(rule, dayNumber - 0.5, date)) return false;
  tenThousandths = static_cast<int32_t>(ticks);
  return true;
}

CalendarRule CalendarRuleOf(const AstroState& a) {
  return a.UseJulianCalendar == 1 ? CalendarRule::kJulian : CalendarRule::kGregorianFrom1582;
}

double JulianDateFromCalendar(AstroState& a, double day, int32_t month, int32_t year, bool* failed) {
  const CalendarRule rule = a.UseJulianCalendar == 0 ? CalendarRule::kGregorianFrom1582 : CalendarRule::kJulian;
  return JulianDateFromCalendar(rule, day, month, year, failed);
}

bool CalendarFromJulianDate(AstroState& a, double jd) {
  CalendarDate date{a.CalYear, a.CalMonth, a.CalDay};
  const bool ok = CalendarFromJulianDate(CalendarRuleOf(a), jd, date);
  a.CalYear = date.Year;
  a.CalMonth = date.Month;
  a.CalDay = date.Day;
  return ok;
}

double DeltaTParabolaAt(double jd) {
  double t = (jd - kJdJ1900) / kDaysPerJulianCentury;
  return 24.35 + 72.32 * t + 29.95 * t * t;
}

double DeltaTParabola(const AstroState& a) { return DeltaTParabolaAt(a.CurrentJd); }
double DeltaTPiecewise(const AstroState& a) { return DeltaTPiecewiseAt(a.CurrentJd); }

double DeltaTPiecewiseAt(double jd) {
  double t = CenturiesFromJ2000(jd);
  if (std::isnan(t)) return t;  // no date, no ET-UT
  double fi = Fix(t / 0.25) - 1;
  if (fi > 0) fi = 0;
  int i = fi < -8 ? -8 : static_cast<int>(fi);  // before 1825 every index means "no piece"
  double u = t - 0.25 * i;
  switch (i) {
    case -7: return 10.4 - 80.8 * u + 413.9 * u * u - 572.3 * u * u * u;
    case -6: return 6.6 + 46.3 * u - 358.4 * u * u + 18.8 * u * u * u;
    case -5: return -3.9 - 10.8 * u - 166.2 * u * u + 867.4 * u * u * u;
    case -4: return -2.6 + 114.1 * u + 327.5 * u * u - 1467.4 * u * u * u;
    case -3: return 24.2 - 6.3 * u - 8.2 * u * u + 483.4 * u * u * u;
    case -2: return 29.3 + 32.5 * u - 3.8 * u * u + 550.7 * u * u * u;
    case -1: return 45.3 + 130.5 * u - 570.5 * u * u + 1516.7 * u * u * u;
    case 0: return 65.97 + 90 * t;
    default: break;
  }
  if (t < -3) return DeltaTParabolaAt(jd);
  return 10.4;
}

double DeltaTTableAt(double jd) {
  double seconds = 0;
  return TtMinusUtcSeconds(jd, seconds) ? seconds : DeltaTPiecewiseAt(jd);
}

bool DeltaTTableServes(double jd) {
  double seconds = 0;
  return TtMinusUtcSeconds(jd, seconds);
}

double SiderealTime(double mjd) {
  double ut = (mjd - Fix(mjd)) * 24;
  double t0 = (Fix(mjd) - 51544.5) / 36525;
  return 6.697374558 + 1.0027379093 * ut + (8640184.812866 * t0 + 0.093104 * t0 * t0 - 6.2e-6 * t0 * t0 * t0) / 3600;
}

double LocalSiderealAngle(double jd, double eastLongitude) {
  double s = SiderealTime(jd - 2400000.5);
  double f = s / 24;
  s = 24 * FracPositive(f);
  double theta = eastLongitude / 15 + s;
  if (theta > 24) theta = theta - 24;
  if (theta < 0) theta = theta + 24;  // west of Greenwich
  if (!(theta >= 0 && theta <= 24)) theta = theta - 24 * Int(theta / 24);  // a longitude beyond a turn
  return 15 * theta;
}

double OneTurn(double degrees) {
  if (degrees < 0) degrees = degrees + 360;
  if (degrees >= 360) degrees = degrees - 360;
  return degrees;
}

bool IsoDateTime::Day(CalendarRule rule, double jd, int32_t& ms) {
  if (!std::isfinite(jd)) return false;
  // Milliseconds of the day from midnight, carried into the next day when they round up
  // to a whole day.
  double midnight = std::floor(jd + 0.5) - 0.5;
  double t = std::round((jd - midnight) * 86400000.0);
  if (t >= 86400000.0) {
    t -= 86400000.0;
    midnight += 1;
  }
  if (midnight != midnight_) {
    CalendarDate date;
    if (!CalendarFromJulianDate(rule, midnight + 0.25, date)) return false;
    // ISO 8601 writes a year of four digits without a sign: years 0000..9999 only.
    if (date.Year < 0 || date.Year > 9999) return false;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT", static_cast<int>(date.Year), static_cast<int>(date.Month),
                  static_cast<int>(std::floor(date.Day)));
    std::memcpy(date_, buf, sizeof date_);
    midnight_ = midnight;
  }
  ms = static_cast<int32_t>(t);
  return true;
}

char* IsoDateTime::WriteTo(char* out, CalendarRule rule, double jd) {
  int32_t t = 0;
  if (!Day(rule, jd, t)) return nullptr;
  const int32_t h = t / 3600000, m = t / 60000 % 60, s = t / 1000 % 60, f = t % 1000;
  const char time[] = {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10), ':',
                       static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10), ':',
                       static_cast<char>('0' + s / 10), static_cast<char>('0' + s % 10), '.',
                       static_cast<char>('0' + f / 100), static_cast<char>('0' + f / 10 % 10),
                       static_cast<char>('0' + f % 10), 'Z'};
  std::memcpy(out, date_, sizeof date_);
  std::memcpy(out + sizeof date_, time, sizeof time);
  return out + kLength;
}

bool IsoDateTime::AppendTo(std::string& out, CalendarRule rule, double jd) {
  char buf[kLength];
  if (!WriteTo(buf, rule, jd)) return false;
  out.append(buf, kLength);
  return true;
}

}  // namespace planova
