// The astronomy value: its calendar setting, and failures that come back in the result
// of the request that met them and in no later one.
#include <gtest/gtest.h>

#include "astro/astronomy.h"

namespace planova {
namespace {

TEST(Astronomy, CalendarSettingAndRefusedDates) {
  Astronomy astro;
  EXPECT_EQ(astro.JulianDate(1.5, 1, 2000), 2451545.0);  // J2000.0
  astro.SetCalendar(CalendarRule::kJulian);
  EXPECT_EQ(astro.Calendar(), CalendarRule::kJulian);
  EXPECT_EQ(astro.JulianDate(1.5, 1, 2000), 2451558.0);  // 13 days later (Meeus, ch. 7)
  const CalendarDateResult d = astro.CalendarDateOf(2451545.0);
  ASSERT_TRUE(d.Ok);
  EXPECT_EQ(d.Date.Year, 1999);
  EXPECT_EQ(d.Date.Month, 12);
  EXPECT_EQ(d.Date.Day, 19.5);
  EXPECT_FALSE(astro.JulianDate(1, 1, 40000).has_value());  // the year passes 16 bits
  EXPECT_FALSE(astro.CalendarDateOf(2147483647.0).Ok);
}

TEST(Astronomy, EphemerisFailureComesBackWithItsRequestOnly) {
  Astronomy astro;
  astro.SetJplFolder("no-such-folder");
  ApparentPlaceRequest r;
  r.Body = 4;
  r.JdUt = 2200000.5;  // 1311, before the first block file
  const ApparentPlaceResult outside = astro.ApparentPlaceOf(r);
  EXPECT_EQ(outside.Ephemeris.Failure, EphemerisFailure::kNoSuchDate);
  EXPECT_EQ(outside.Ephemeris.Folder, std::filesystem::path("no-such-folder"));
  EXPECT_TRUE(outside.Ephemeris.FileYearsPresent.empty());
  r.JdUt = 2451545.0;  // covered, but no file in the folder
  EXPECT_EQ(astro.ApparentPlaceOf(r).Ephemeris.Failure, EphemerisFailure::kReadError);
  r.Theory = TheorySource::kJpl0;
  const ApparentPlaceResult twoBody = astro.ApparentPlaceOf(r);
  EXPECT_EQ(twoBody.Ephemeris.Failure, EphemerisFailure::kNone);
  EXPECT_GE(twoBody.RaDeg, 0.0);
  EXPECT_LT(twoBody.RaDeg, 360.0);
  EXPECT_EQ(astro.JplCalculator(4, 2200000.5, DeltaTModel::kParabola).Ephemeris.Failure,
            EphemerisFailure::kNoSuchDate);
}

}  // namespace
}  // namespace planova
