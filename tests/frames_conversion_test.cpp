// Window 2's epoch and frame conversions: round trips and the precession of 50 years.
#include <gtest/gtest.h>

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "app/application.h"
#include "astro/astro_state.h"
#include "astro/constants.h"
#include "astro/frame_conversions.h"
#include "astro/orbit.h"
#include "astro/theory.h"
#include "astro/time.h"
#include "test_support.h"

namespace planova {
namespace {

using test::kArcsec;
using test::RecordingPlatform;

struct Conversions : ::testing::Test {
  RecordingPlatform ui;
  Application app{ui};
  Window2Model& f = app.window2;
  std::vector<std::array<double, 3>> loaded;

  void SetUp() override {
    app.ShowForm("Form2");
    f.arraySize.Text = "50";
    Press("Создать массивы с N=");
    loaded.clear();
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> jd(2447000, 2452000), lon(0, 360), lat(-60, 60);
    for (int i = 1; i <= 20; ++i) {
      std::array<double, 3> r{jd(rng), lon(rng), lat(rng)};
      loaded.push_back(r);
      for (int col : {1, 3}) {
        app.Store.ObsJd(i, col) = r[0];
        app.Store.ObsLon(i, col) = r[1];
        app.Store.ObsLat(i, col) = r[2];
      }
    }
    f.Count1 = f.Count3 = 20;
    app.Store.ObjectNumber = 11;
    f.EpochLabel1 = "App";
  }
  void Press(const std::string& caption) {
    test::PressButton(f, caption, ui);
  }
  double AngleDiff(double a, double b) { return std::remainder(a - b, 360.0); }
};

TEST_F(Conversions, HorizontalToTopocentricAndBack) {
  Press("Hor -> Topo");
  EXPECT_EQ(f.reportPane.Text, "координаты преобразованы в  20  записях");
  EXPECT_EQ(app.Store.ObsLon(1, kSet2), loaded[0][1]);  // column 2 keeps the input
  Press("Topo -> Hor");
  for (int i = 1; i <= 20; ++i) {
    EXPECT_NEAR(AngleDiff(app.Store.ObsLon(i, kSet1), loaded[static_cast<size_t>(i - 1)][1]), 0, 1e-9) << i;
    EXPECT_NEAR(app.Store.ObsLat(i, kSet1), loaded[static_cast<size_t>(i - 1)][2], 1e-9) << i;
    EXPECT_EQ(app.Store.ObsLat(i, kSet3), app.Store.ObsLat(i, kSet1));
  }
  EXPECT_TRUE(ui.messages.empty());
}

// West of Greenwich (USNO) and far east: right ascensions and hour angles stay within
// one turn, and the round trip holds.
TEST_F(Conversions, WestLongitudesGiveRightAscensionsWithinOneTurn) {
  for (const char* longitude : {"-77,066", "-179,5", "179,5"}) {
    SetUp();
    f.observatoryLonDeg.Text = longitude;
    f.observatoryLatDeg.Text = "38,921";
    Press("Hor -> Topo");
    for (int i = 1; i <= 20; ++i) {
      EXPECT_GE(app.Store.ObsLon(i, kSet1), 0.0) << longitude << " " << i;
      EXPECT_LT(app.Store.ObsLon(i, kSet1), 360.0) << longitude << " " << i;
    }
    Press("Topo -> Hor");
    for (int i = 1; i <= 20; ++i) {
      EXPECT_NEAR(AngleDiff(app.Store.ObsLon(i, kSet1), loaded[static_cast<size_t>(i - 1)][1]), 0, 1e-9) << i;
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

// The local sidereal angle against ERFA's IAU 1982 GMST plus the longitude, in [0, 360)
// for every longitude of the Earth.
TEST(LocalSiderealTime, AgreesWithErfaEastAndWest) {
  constexpr double kTolerance = 1e-6;  // degrees: GMST's series as the program writes it
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> jd(2415020.5, 2469807.5), longitude(-180, 180);
  for (int k = 0; k < 2000; ++k) {
    double t = jd(rng), lon = longitude(rng);
    double got = LocalSiderealAngle(t, lon);
    ASSERT_GE(got, 0.0);
    ASSERT_LE(got, 360.0);
    double want = eraAnp(eraGmst82(t, 0) + lon / 180 * ERFA_DPI) * 180 / ERFA_DPI;
    EXPECT_NEAR(std::remainder(got - want, 360.0), 0, kTolerance) << t << " " << lon;
  }
}

TEST_F(Conversions, NutationOutAndInAtTheSameDate) {
  f.ChooseOption(f.fromEpochOfDate);  // from "JD"
  f.ChooseOption(f.toEpochOfDate);  // to "JD"
  Press("Перевести из эпохи");
  for (int i = 1; i <= 20; ++i) {
    double cosd = std::cos(loaded[static_cast<size_t>(i - 1)][2] / 57.29577951308232);
    EXPECT_NEAR(AngleDiff(app.Store.ObsLon(i, kSet1), loaded[static_cast<size_t>(i - 1)][1]) * cosd, 0, 0.01 * kArcsec) << i;
    EXPECT_NEAR(app.Store.ObsLat(i, kSet1), loaded[static_cast<size_t>(i - 1)][2], 0.01 * kArcsec) << i;
  }
  EXPECT_EQ(f.EpochLabel1, "App");
  EXPECT_TRUE(f.theoryJpl0.Value);  // the two-body theory gave the distances
}

TEST_F(Conversions, B1950ToJ2000MovesByFiftyYearsOfPrecession) {
  app.Store.ObsLon(1, kSet1) = 0;
  app.Store.ObsLat(1, kSet1) = 0;
  f.ChooseOption(f.fromEpochB1950);
  f.ChooseOption(f.toEpochJ2000);
  Press("Перевести из эпохи");
  EXPECT_EQ(f.EpochLabel1, "J2000");
  EXPECT_EQ(f.EpochLabel3, "J2000");
  EXPECT_EQ(f.epochName.Text, "J2000");
  // IAU 1976 precession over 50.0 years moves (0h, 0 deg) by m = 3.07496 s/yr and
  // n = 20.0431"/yr to first order: about 2306" in right ascension, 1002" in declination.
  EXPECT_NEAR(app.Store.ObsLon(1, kSet1) * 3600, 2306.3, 1.5);
  EXPECT_NEAR(app.Store.ObsLat(1, kSet1) * 3600, 1002.2, 1.5);
}

TEST_F(Conversions, TopocentricToGeocentricAndBack) {
  f.ChooseOption(f.theoryJpl0);  // the two-body distances: no ephemeris files here
  Press("Topo -> Geo");
  // The Moon moves by its parallax, up to about 1 degree.
  double largest = 0;
  for (int i = 1; i <= 20; ++i) {
    largest = std::max(largest, std::fabs(app.Store.ObsLat(i, kSet1) - loaded[static_cast<size_t>(i - 1)][2]));
  }
  EXPECT_GT(largest, 0.1);
  EXPECT_LT(largest, 1.1);
  Press("Geo -> Topo");
  // The topocentric distance is solved for, so the round trip comes back to the rounding.
  for (int i = 1; i <= 20; ++i) {
    EXPECT_NEAR(AngleDiff(app.Store.ObsLon(i, kSet1), loaded[static_cast<size_t>(i - 1)][1]), 0, 1e-9) << i;
    EXPECT_NEAR(app.Store.ObsLat(i, kSet1), loaded[static_cast<size_t>(i - 1)][2], 1e-9) << i;
  }
  EXPECT_TRUE(ui.messages.empty());
}

// "Topo -> Geo" and "Geo -> Topo" under "JPL2 (DE405)" against a rigorous reduction: the
// geometric DE405 vector at TT (TT - UTC from ERFA) on the true equator of date by ERFA's
// IAU 2006/2000A matrix, the observer on the WGS84 ellipsoid (eraGd2gc) turned by the
// Greenwich apparent sidereal time (eraGst06a, UT1 = the record's UT), the topocentric
// place the difference of the two.
TEST_F(Conversions, ObserverShiftAgreesWithARigorousParallax) {
  constexpr double kMoonArcsec = 0.05;
  constexpr double kPlanetArcsec = 0.003;
  app.Astro.SetJplFolder(test::De405BlockFolder());
  AstroState a;
  a.InitConstants();
  a.JplFolder = test::De405BlockFolder();
  for (const int body : {11, 4, 5}) {
    SetUp();
    f.observatoryLonDeg.Text = "-70,73";
    f.observatoryLatDeg.Text = "-30,17";
    app.Store.ObjectNumber = body;
    std::vector<std::array<double, 4>> want;  // geocentric and topocentric RA, Dec, degrees
    for (int i = 1; i <= 20; ++i) {
      const double jd = 2447892.5 + 575.3 * (i - 1);  // 1990 to 2020
      int iy, im, id;
      double fd, dat, geo[3], obs[3], npb[3][3], ra, dec, tra, tdec;
      ASSERT_EQ(eraJd2cal(jd, 0, &iy, &im, &id, &fd), 0);
      ASSERT_EQ(eraDat(iy, im, id, fd, &dat), 0);
      const double tt = jd + (dat + 32.184) / 86400;
      a.CurrentJd = tt;
      ASSERT_TRUE(ComputeBodyPositions(a, TheorySource::kJpl2, jd, body));
      const double ce = std::cos(a.Obliquity2000), se = std::sin(a.Obliquity2000);
      const double x = a.PosX[body] - a.PosX[3], y = a.PosY[body] - a.PosY[3], z = a.PosZ[body] - a.PosZ[3];
      geo[0] = x;
      geo[1] = ce * y - se * z;
      geo[2] = se * y + ce * z;
      eraPnm06a(tt, 0, npb);
      eraRxp(npb, geo, geo);
      ASSERT_EQ(eraGd2gc(ERFA_WGS84, -70.73 * ERFA_DD2R, -30.17 * ERFA_DD2R, 0, obs), 0);
      eraIr(npb);  // now R3(-GAST)
      eraRz(-eraGst06a(jd, 0, tt, 0), npb);
      eraRxp(npb, obs, obs);
      double topo[3] = {geo[0] - obs[0], geo[1] - obs[1], geo[2] - obs[2]};
      eraC2s(geo, &ra, &dec);
      eraC2s(topo, &tra, &tdec);
      want.push_back({eraAnp(ra) * ERFA_DR2D, dec * ERFA_DR2D, eraAnp(tra) * ERFA_DR2D, tdec * ERFA_DR2D});
      app.Store.ObsJd(i, kSet1) = jd;
      app.Store.ObsLon(i, kSet1) = want.back()[2];
      app.Store.ObsLat(i, kSet1) = want.back()[3];
    }
    const double tolerance = body == 11 ? kMoonArcsec : kPlanetArcsec;
    for (const int toGeo : {1, 0}) {
      Press(toGeo ? "Topo -> Geo" : "Geo -> Topo");
      ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
      EXPECT_TRUE(f.theoryJpl2.Value);  // the theory of data 2 stays chosen
      for (int i = 1; i <= 20; ++i) {
        const auto& w = want[static_cast<size_t>(i - 1)];
        const double lon = toGeo ? w[0] : w[2], lat = toGeo ? w[1] : w[3];
        EXPECT_LT(eraSeps(lon * ERFA_DD2R, lat * ERFA_DD2R, app.Store.ObsLon(i, kSet1) * ERFA_DD2R,
                          app.Store.ObsLat(i, kSet1) * ERFA_DD2R) *
                      ERFA_DR2AS,
                  tolerance)
            << body << " " << toGeo << " " << i;
      }
    }
  }
}

// The conversions as routines of one record give the window's results to the last bit;
// B1950 -> J2000 moves (0h, 0 deg) by the fifty years of precession above.
TEST_F(Conversions, RecordRoutinesGiveTheWindowsResultsExactly) {
  AstroState a;
  InitPlanetMasses(a);
  const double obsL = -77.5, obsB = 38.25;
  auto request = [&](const std::array<double, 3>& r) { return FrameRequest{11, r[0], r[1], r[2], obsL, obsB}; };
  const FrameResult zero = ConvertEpochOfPlace(a, {11, loaded[0][0], 0, 0, 0, 0}, kJdB1950, false, kJdJ2000, false);
  EXPECT_NEAR(zero.LonDeg * 3600, 2306.3, 1.5);
  EXPECT_NEAR(zero.LatDeg * 3600, 1002.2, 1.5);
  struct Case {
    std::vector<const char*> options;
    const char* caption;
    std::function<FrameResult(const FrameRequest&)> convert;
  };
  const Case cases[] = {
      {{"Option16", "Option23"}, "Перевести из эпохи",
       [&](const FrameRequest& r) { return ConvertEpochOfPlace(a, r, kJdB1950, false, kJdJ2000, false); }},
      {{"Option15", "Option22"}, "Перевести из эпохи",
       [&](const FrameRequest& r) { return ConvertEpochOfPlace(a, r, 0, true, 0, true); }},
      {{}, "Hor -> Topo", [&](const FrameRequest& r) { return HorizontalToTopocentric(a, r); }},
      {{}, "Topo -> Hor", [&](const FrameRequest& r) { return TopocentricToHorizontal(a, r); }},
      {{}, "Topo -> Geo", [&](const FrameRequest& r) { return ShiftObserverOrigin(a, r, true); }},
      {{}, "Geo -> Topo", [&](const FrameRequest& r) { return ShiftObserverOrigin(a, r, false); }},
  };
  for (const Case& c : cases) {
    SetUp();
    f.observatoryLonDeg.Text = "-77,5";
    f.observatoryLatDeg.Text = "38,25";
    for (const char* option : c.options) f.ChooseOption(option);
    Press(c.caption);
    for (size_t k = 0; k < loaded.size(); ++k) {
      const FrameResult got = c.convert(request(loaded[k]));
      const int32_t i = static_cast<int32_t>(k + 1);
      ASSERT_EQ(got.Status, FrameStatus::kOk) << c.caption;
      EXPECT_EQ(got.LonDeg, app.Store.ObsLon(i, kSet1)) << c.caption << " " << i;
      EXPECT_EQ(got.LatDeg, app.Store.ObsLat(i, kSet1)) << c.caption << " " << i;
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Conversions, BadObserverBoxGivesTheCalculationMessage) {
  f.observatoryLonDeg.Text = "";
  Press("Hor -> Topo");
  EXPECT_EQ(ui.messages.back(), "Ошибка в расчетах: ObsL");
  EXPECT_EQ(app.Store.ObsLon(1, kSet1), loaded[0][1]);
}

}  // namespace
}  // namespace planova
