// Calendars, ET-UT and sidereal time against published values and ERFA.
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include "astro/astro_state.h"
#include "astro/time.h"
#include "test_support.h"

namespace planova {
namespace {

using test::RecordingPlatform;

struct TimeTest : ::testing::Test {
  RecordingPlatform ui;
  AstroState a;
};

TEST_F(TimeTest, GregorianReformIsOneDayStep) {
  // Meeus, Astronomical Algorithms, ch. 7: 1582 Oct 4 (Julian) is followed by Oct 15.
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 15.0, 10, 1582), 2299160.5);
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 4.0, 10, 1582), 2299159.5);
  ASSERT_TRUE(CalendarFromJulianDate(a, 2299160.5));
  EXPECT_EQ(a.CalYear, 1582);
  EXPECT_EQ(a.CalMonth, 10);
  EXPECT_DOUBLE_EQ(a.CalDay, 15.0);
  ASSERT_TRUE(CalendarFromJulianDate(a, 2299159.5));
  EXPECT_EQ(a.CalMonth, 10);
  EXPECT_DOUBLE_EQ(a.CalDay, 4.0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TimeTest, PublishedDates) {
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 1.5, 1, 2000), 2451545.0);  // J2000.0
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 1.5, 1, 1601), 2305814.0);
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 1.0, 3, -100), 1684592.5);  // no Gregorian term
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 1.5, 1, -4712), 0.0);       // origin of the JD count
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 27.5, 1, 333), 1842713.0);  // Meeus, example 7.b
  ASSERT_TRUE(CalendarFromJulianDate(a, 2451545.0));
  EXPECT_EQ(a.CalYear, 2000);
  EXPECT_EQ(a.CalMonth, 1);
  EXPECT_DOUBLE_EQ(a.CalDay, 1.5);
  // A fraction of exactly .5 begins the next calendar day.
  ASSERT_TRUE(CalendarFromJulianDate(a, 2451544.5));
  EXPECT_DOUBLE_EQ(a.CalDay, 1.0);
  ASSERT_TRUE(CalendarFromJulianDate(a, 1684592.5));
  EXPECT_EQ(a.CalYear, -100);
  EXPECT_EQ(a.CalMonth, 3);
  EXPECT_DOUBLE_EQ(a.CalDay, 1.0);
}

TEST_F(TimeTest, JulianCalendarSwitch) {
  a.UseJulianCalendar = 1;
  EXPECT_DOUBLE_EQ(JulianDateFromCalendar(a, 1.5, 1, 2000), 2451558.0);
  ASSERT_TRUE(CalendarFromJulianDate(a, 2451545.0));
  EXPECT_EQ(a.CalYear, 1999);
  EXPECT_EQ(a.CalMonth, 12);
  EXPECT_DOUBLE_EQ(a.CalDay, 19.5);
  // The same day again under the other rule is that rule's date.
  a.UseJulianCalendar = 0;
  ASSERT_TRUE(CalendarFromJulianDate(a, 2451545.25));
  EXPECT_EQ(a.CalYear, 2000);
  EXPECT_DOUBLE_EQ(a.CalDay, 1.75);
}

TEST_F(TimeTest, AgreesWithErfaForGregorianDates) {
  // eraCal2jd/eraJd2cal: Gregorian calendar (valid from -4799), the reform at 1582-10-15.
  for (int year = 1583; year <= 2500; year += 7) {
    for (int month = 1; month <= 12; month += 1) {
      for (int day : {1, 13, 28}) {
        double djm0, djm;
        ASSERT_EQ(eraCal2jd(year, month, day, &djm0, &djm), 0);
        double want = djm0 + djm + 0.25;
        double got = JulianDateFromCalendar(a, day + 0.25, month, year);
        ASSERT_DOUBLE_EQ(got, want) << year << "-" << month << "-" << day;
        int iy, im, id;
        double fd;
        ASSERT_EQ(eraJd2cal(got, 0.0, &iy, &im, &id, &fd), 0);
        ASSERT_TRUE(CalendarFromJulianDate(a, got));
        EXPECT_EQ(a.CalYear, iy);
        EXPECT_EQ(a.CalMonth, im);
        EXPECT_NEAR(a.CalDay, id + fd, 1e-9);
      }
    }
  }
}

TEST_F(TimeTest, OverflowsAreRefused) {
  bool failed = false;
  EXPECT_EQ(JulianDateFromCalendar(a, 1, 1, 40000, &failed), 0.0);
  EXPECT_TRUE(failed);
  EXPECT_EQ(JulianDateFromCalendar(a, 1, 70000, 2000, &failed), 0.0);
  EXPECT_TRUE(failed);
  // A large but 16-bit month is arithmetic, not an error.
  EXPECT_NE(JulianDateFromCalendar(a, 1, 32767, 2000, &failed), 0.0);
  EXPECT_FALSE(failed);
  EXPECT_EQ(JulianDateFromCalendar(a, 1, 1, -32768, &failed), 0.0);  // year - 1 overflows
  EXPECT_TRUE(failed);

  a.CalYear = 7;
  EXPECT_FALSE(CalendarFromJulianDate(a, 1e12));
  EXPECT_FALSE(CalendarFromJulianDate(a, std::nan("")));
  EXPECT_FALSE(CalendarFromJulianDate(a, 2147483647.0));  // the largest day number: a year past 16 bits
  EXPECT_EQ(a.CalYear, 7);

  // ISO 8601 dates hold the years 0000..9999 only; beyond them the text is empty.
  const CalendarRule rule = CalendarRule::kGregorianFrom1582;
  EXPECT_EQ(IsoDateTime()(rule, 1721057.5), "0000-01-01T00:00:00.000Z");
  EXPECT_EQ(IsoDateTime()(rule, 1721056.5), "");
  EXPECT_EQ(IsoDateTime()(rule, 5373483.5), "9999-12-31T00:00:00.000Z");
  EXPECT_EQ(IsoDateTime()(rule, 5373484.5), "");
}

TEST_F(TimeTest, DeltaTOfNoDateIsNoNumber) {
  a.CurrentJd = std::nan("");
  EXPECT_TRUE(std::isnan(DeltaTPiecewise(a)));
}

TEST_F(TimeTest, DeltaTPiecewiseJoins) {
  auto at = [&](double t) {
    a.CurrentJd = 2451545.0 + t * 36525;
    return DeltaTPiecewise(a);
  };
  EXPECT_NEAR(at(-1.75), 10.4, 1e-12);          // 1825.0: no piece yet
  EXPECT_NEAR(at(-1.75 + 1e-9), 10.4, 1e-6);    // the 1825-1850 piece starts at 10.4
  EXPECT_NEAR(at(-2.5), 10.4, 1e-12);           // 1750
  // 1975.0 is the end of the 1950-1975 piece (tau = 0.25).
  double u = 0.25;
  EXPECT_NEAR(at(-0.25), 29.3 + 32.5 * u - 3.8 * u * u + 550.7 * u * u * u, 1e-9);
  EXPECT_NEAR(at(0.5), 65.97 + 90 * 0.5, 1e-9);
  a.CurrentJd = 2451545.0 - 3.5 * 36525;  // 1650: the parabola
  EXPECT_DOUBLE_EQ(DeltaTPiecewise(a), DeltaTParabola(a));
  a.CurrentJd = -1e300;                   // absurd dates do not break the index
  EXPECT_DOUBLE_EQ(DeltaTPiecewise(a), DeltaTParabola(a));
  // The parabola at 1900 January 0.5 is its constant term.
  a.CurrentJd = 2415020.0;
  EXPECT_DOUBLE_EQ(DeltaTParabola(a), 24.35);
}

TEST_F(TimeTest, SiderealTimeAgainstErfa) {
  EXPECT_NEAR(SiderealTime(51544.5), 18.6973745574, 1e-9);
  // eraGmst82 (IAU 1982) takes UT1 as two parts; our T0 is taken at 0h UT of the day.
  for (double mjd = 36934.0; mjd < 58849.0; mjd += 731.37) {
    double gmst = eraGmst82(2400000.5, mjd) * 12 / ERFA_DPI;
    double ours = std::fmod(SiderealTime(mjd), 24.0);
    if (ours < 0) ours += 24;
    double diff = std::remainder(ours - gmst, 24.0);
    // The T0 form drops the day-fraction terms of T's square and cube: well under 1 ms.
    EXPECT_NEAR(diff * 3600, 0.0, 1e-3) << "MJD " << mjd;
  }
}

}  // namespace
}  // namespace planova
