// The rigorous places against astropy's (tests/data/precise_places.txt, made by
// scripts/make_precise_places.py from the same DE405): 3080 cases of the Sun, the Moon and
// Mercury..Pluto 1960-2019, GCRS, true equator and equinox of date, astrometric.  The
// topocentric places against Skyfield's (tests/data/topocentric_places.txt, made by
// scripts/make_topocentric_places.py): Pluto, Mars and the Moon from two MPC stations.
#include <gtest/gtest.h>

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "astro/apparent_place.h"
#include "astro/astro_state.h"
#include "astro/day_table_file.h"
#include "astro/jpl.h"
#include "astro/time.h"
#include "test_support.h"

namespace planova {
namespace {

// The agreement asked of the rigorous chain: 1 mas at 5 degrees from the Sun and beyond,
// 5 mas closer.
constexpr double kFarMas = 1.0;
constexpr double kNearMas = 5.0;
constexpr double kFarFromSunDeg = 5.0;
constexpr double kDistanceKm = 1e-3;  // 1 m

struct Case {
  int body;
  double tt, gcrsRa, gcrsDec, teteRa, teteDec, astrRa, astrDec, distAu, elong;
};

std::vector<Case> ReadCases() {
  return test::ReadFixture<Case>("precise_places.txt", [](std::istringstream& s, Case& c) {
    s >> c.body >> c.tt >> c.gcrsRa >> c.gcrsDec >> c.teteRa >> c.teteDec >> c.astrRa >> c.astrDec >> c.distAu >> c.elong;
  });
}

double SeparationMas(double ra1, double dec1, double ra2, double dec2) {
  return eraSeps(ra1 * ERFA_DD2R, dec1 * ERFA_DD2R, ra2 * ERFA_DD2R, dec2 * ERFA_DD2R) * ERFA_DR2AS * 1000;
}

AstroState& Astro() {
  static AstroState a = [] {
    AstroState s;
    s.InitConstants();
    s.JplFolder = test::De405BlockFolder();
    return s;
  }();
  return a;
}

TEST(PreciseDe405, AgreesWithAstropyWithinOneMasFarFromTheSun) {
  const std::vector<Case> cases = ReadCases();
  ASSERT_GE(cases.size(), 3000u);
  AstroState& a = Astro();
  EphemerisRun run(a);
  double worst[2][3] = {};  // [near, far][gcrs, true, astrometric]
  int near = 0;
  for (const Case& c : cases) {
    PrecisePlace p = ComputePrecisePlace(a, c.body, c.tt);
    ASSERT_TRUE(p.Ok) << c.body << " " << c.tt;
    const RaDec g = RaDecOf(p.Stages[kPreciseGcrs]), t = RaDecOf(p.Stages[kPreciseTrue]),
                s = RaDecOf(p.Stages[kPreciseAstrometric]);
    const double d[3] = {SeparationMas(g.Ra, g.Dec, c.gcrsRa, c.gcrsDec), SeparationMas(t.Ra, t.Dec, c.teteRa, c.teteDec),
                         SeparationMas(s.Ra, s.Dec, c.astrRa, c.astrDec)};
    const bool far = c.elong >= kFarFromSunDeg;
    near += !far;
    for (int k = 0; k < 3; ++k) {
      worst[far][k] = std::max(worst[far][k], d[k]);
      EXPECT_LE(d[k], far ? kFarMas : kNearMas) << "body " << c.body << " TT " << c.tt << " stage " << k;
    }
    EXPECT_NEAR(p.AstrometricKm, c.distAu * test::kDe405AuKm, kDistanceKm) << c.body << " " << c.tt;
  }
  EXPECT_GE(near, 380);  // the Sun itself and the epochs chosen near conjunction
  std::printf("worst, mas: far (GCRS, true, astrometric) %.4f %.4f %.4f; near %.4f %.4f %.4f\n", worst[1][0],
              worst[1][1], worst[1][2], worst[0][0], worst[0][1], worst[0][2]);
}

// The apparent-place request with the rigorous chain gives the true place for the epoch of
// date and the GCRS place for J2000, and keeps the classical chain for B1950.
TEST(PreciseDe405, RequestChoosesTheFrame) {
  const std::vector<Case> cases = ReadCases();
  AstroState& a = Astro();
  ApparentPlaceRequest r;
  r.DeltaT = DeltaTModel::kNone;  // the fixture's dates are TT already
  r.Precise = true;
  for (size_t k = 0; k < cases.size(); k += 97) {
    const Case& c = cases[k];
    r.Body = c.body;
    r.JdUt = c.tt;
    r.Epoch = ComparisonEpoch::kOfDate;
    ApparentPlace app = ComputeApparentPlace(a, r);
    ASSERT_TRUE(app.Ok && app.Precise);
    EXPECT_LE(SeparationMas(app.LonDeg, app.LatDeg, c.teteRa, c.teteDec), kNearMas);
    r.Epoch = ComparisonEpoch::kJ2000;
    ApparentPlace j2000 = ComputeApparentPlace(a, r);
    EXPECT_LE(SeparationMas(j2000.LonDeg, j2000.LatDeg, c.gcrsRa, c.gcrsDec), kNearMas);
    // The astrometric place (ICRS, light time only) for either epoch, refraction left out.
    r.Astrometric = r.Refraction = true;
    r.ObserverLatDeg = 45;
    ApparentPlace icrs = ComputeApparentPlace(a, r);
    EXPECT_LE(SeparationMas(icrs.LonDeg, icrs.LatDeg, c.astrRa, c.astrDec), c.elong >= kFarFromSunDeg ? kFarMas : kNearMas);
    EXPECT_EQ(PlaceEpochLabel(r, "J2000"), "ICRS");
    r.Epoch = ComparisonEpoch::kOfDate;
    ApparentPlace icrsOfDate = ComputeApparentPlace(a, r);
    EXPECT_EQ(icrsOfDate.LonDeg, icrs.LonDeg);
    EXPECT_EQ(icrsOfDate.LatDeg, icrs.LatDeg);
    r.Astrometric = r.Refraction = false;
    r.Epoch = ComparisonEpoch::kB1950;
    EXPECT_FALSE(ComputeApparentPlace(a, r).Precise);
    r.Astrometric = true;
    EXPECT_EQ(PlaceEpochLabel(r, "B1950"), "B1950");  // the classical chain has no astrometric place
    r.Astrometric = false;
  }
  // A date no block file covers fails as the reader does.
  for (double tt : {std::nan(""), 2473456.5, 2305424.4}) {
    EXPECT_FALSE(ComputePrecisePlace(a, 11, tt).Ok) << tt;
    EXPECT_EQ(a.EphemerisFailureKind, EphemerisFailure::kNoSuchDate) << tt;
  }
}

// The topocentric places against Skyfield's.  Skyfield shares no code with ERFA: its own
// IAU 2000A nutation, sidereal time, NOVAS-style deflection (the Sun, Jupiter, Saturn and the
// Earth's own at the site) and aberration.  Astrometric: 1 mas for the planets, 2 for the
// Moon, whose place magnifies the site's position (1 mas is 1.9 m at its distance).
// Apparent: what the two deflection models leave apart (0.93 mas at worst here): the Earth's
// deflection of light reaching the site, up to 0.6 mas near the horizon, which this chain
// leaves out, and Skyfield's Jupiter and Saturn terms, which move its places by up to
// 0.84 mas (at Mars, 2008 March 25) even far from those planets, where the deflection
// itself is a few microarcseconds.
// Distance: 2 parts in 1e13 at Pluto, Skyfield's TDB - TT (a short series, USNO Circular
// 179) times the range rate.
constexpr double kTopoAstrometricMas = 1.0;
constexpr double kTopoMoonMas = 2.0;
constexpr double kTopoApparentMas = 2.0;
constexpr double kTopoDistanceKm = 2e-3;

struct TopoCase {
  int body;
  std::string station, year, month, day;  // the MPC line's date text
  double jdUtc, jdTt, astrRa, astrDec, appRa, appDec, distKm, alt;
};

// The two stations of the fixture, by their MPC parallax constants.
ObserverSite Station(const std::string& code) {
  return code == "007" ? SiteFromParallaxConstants(2.33675, 0.659470, +0.749223)
                       : SiteFromParallaxConstants(204.5278, 0.94171, +0.33725);
}

TEST(PreciseDe405, TopocentricPlacesAgreeWithSkyfield) {
  const std::vector<TopoCase> cases = test::ReadFixture<TopoCase>("topocentric_places.txt", [](std::istringstream& s, TopoCase& c) {
    s >> c.body >> c.station >> c.year >> c.month >> c.day >> c.jdUtc >> c.jdTt >> c.astrRa >> c.astrDec >> c.appRa >>
        c.appDec >> c.distKm >> c.alt;
  });
  ASSERT_EQ(cases.size(), 180u);
  AstroState& a = Astro();
  EphemerisRun run(a);
  ApparentPlaceRequest r;
  r.DeltaT = DeltaTModel::kTable;  // TT - UTC of the leap seconds
  r.Precise = true;
  r.Epoch = ComparisonEpoch::kJ2000;
  double worst[12][2] = {};
  for (const TopoCase& c : cases) {
    r.Body = c.body;
    r.JdUt = c.jdUtc;
    r.Observer = Station(c.station);
    ASSERT_TRUE(TopocentricServes(r));
    r.Astrometric = true;
    const ApparentPlace astr = ComputeApparentPlace(a, r);
    r.Astrometric = false;
    const ApparentPlace app = ComputeApparentPlace(a, r);
    ASSERT_TRUE(astr.Ok && app.Ok) << c.body << " " << c.jdUtc;
    const double d[2] = {SeparationMas(astr.LonDeg, astr.LatDeg, c.astrRa, c.astrDec),
                         SeparationMas(app.LonDeg, app.LatDeg, c.appRa, c.appDec)};
    for (int k = 0; k < 2; ++k) worst[c.body][k] = std::max(worst[c.body][k], d[k]);
    EXPECT_LE(d[0], c.body == 11 ? kTopoMoonMas : kTopoAstrometricMas) << c.body << " " << c.station << " " << c.jdUtc;
    EXPECT_LE(d[1], kTopoApparentMas) << c.body << " " << c.station << " " << c.jdUtc;
    EXPECT_NEAR(astr.Rigorous.AstrometricKm, c.distKm, kTopoDistanceKm) << c.body << " " << c.jdUtc;
  }
  std::printf("worst, mas (astrometric, apparent): Pluto %.4f %.4f, Mars %.4f %.4f, Moon %.4f %.4f\n", worst[9][0],
              worst[9][1], worst[4][0], worst[4][1], worst[11][0], worst[11][1]);
  // A site at the geocentre gives the geocentric place to the bit.
  for (size_t k = 0; k < cases.size(); k += 31) {
    const TopoCase& c = cases[k];
    const PrecisePlace geo = ComputePrecisePlace(a, c.body, c.jdTt);
    const PreciseObserver geocentre{SiteFromParallaxConstants(123.4, 0, 0), c.jdUtc};
    const PrecisePlace centre = ComputePrecisePlace(a, c.body, c.jdTt, geocentre);
    EXPECT_EQ(centre.Stages, geo.Stages);
    EXPECT_EQ(centre.AstrometricKm, geo.AstrometricKm);
    EXPECT_EQ(centre.GeometricKm, geo.GeometricKm);
  }
}

// The day table kept in the application folder: a new session reads the days of the last
// instead of evaluating the series, and gives the same places to the bit; a damaged file
// is ignored.  The same for the copy shipped with the program, read when the application
// folder has none, and never written.
TEST(PreciseDe405, DayTableOfAnEarlierSessionGivesTheSamePlaces) {
  const std::filesystem::path folder = test::FolderForThisTest("days_");
  const std::filesystem::path shipped = folder / "shipped";
  std::filesystem::create_directories(shipped);
  auto session = [&] {
    AstroState s;
    s.InitConstants();
    s.JplFolder = test::De405BlockFolder();
    s.AppFolder = [folder] { return folder; };
    s.ShippedDayTableFolders = {folder / "none", shipped};
    return s;
  };
  // Each body on dates of three decades, a site for the Moon (the equation of the origins);
  // `added` the days the series were evaluated for.
  auto places = [](AstroState& a, long& added) {
    EphemerisRun run(a);
    std::vector<PrecisePlace> out;
    for (int body : {0, 1, 2, 4, 5, 6, 7, 8, 9, 11}) {
      for (double tt : {2437300.3, 2447000.71, 2458000.5 + body}) {
        out.push_back(ComputePrecisePlace(a, body, tt));
        if (body == 11) out.push_back(ComputePrecisePlace(a, body, tt, PreciseObserver{Station("568"), tt}));
      }
    }
    added = a.NutationDaysAdded;
    return out;
  };
  AstroState first = session();
  long added = 0;
  const std::vector<PrecisePlace> computed = places(first, added);
  EXPECT_GT(added, 0);
  const std::string bytes = test::ReadBytes(DayTableFile(folder));
  ASSERT_FALSE(bytes.empty());
  struct Later {
    const char* what;
    size_t flipped;  // the byte turned over before the session (npos: none)
    bool fromFile;   // whether the days come from the file
    bool ofProgram;  // the file is the shipped copy, the application folder has none
  };
  for (const Later& later :
       {Later{"kept", std::string::npos, true, false}, Later{"a value", bytes.size() / 2, false, false},
        Later{"the heading", 20, false, false}, Later{"the checksum", bytes.size() - 1, false, false},
        Later{"shipped", std::string::npos, true, true}, Later{"shipped, a value", bytes.size() / 2, false, true}}) {
    std::string damaged = bytes;
    if (later.flipped != std::string::npos) damaged[later.flipped] = static_cast<char>(~damaged[later.flipped]);
    std::filesystem::remove(DayTableFile(later.ofProgram ? folder : shipped));
    test::WriteBytes(DayTableFile(later.ofProgram ? shipped : folder), damaged);
    AstroState next = session();
    const std::vector<PrecisePlace> again = places(next, added);
    ASSERT_EQ(again.size(), computed.size());
    for (size_t k = 0; k < computed.size(); ++k) {
      EXPECT_TRUE(again[k].Ok && again[k].Stages == computed[k].Stages && again[k].Tdb == computed[k].Tdb)
          << later.what << " " << k;
    }
    // The file's days were not computed again; an ignored file's were, and the application
    // folder's file is written anew (the shipped copy never).
    EXPECT_EQ(added == 0, later.fromFile) << later.what;
    if (later.ofProgram) {
      EXPECT_EQ(test::ReadBytes(DayTableFile(shipped)), damaged) << later.what;
      EXPECT_EQ(test::ReadBytes(DayTableFile(folder)) == bytes, !later.fromFile) << later.what;
    } else {
      EXPECT_EQ(test::ReadBytes(DayTableFile(folder)) == damaged, later.fromFile) << later.what;
    }
  }
}

// TT - UTC from the leap-second table, at its steps; before 1960 there is no table, and the
// request falls back to the window's ET-UT model.
TEST(PreciseTime, TtFromTheLeapSecondTableFrom1960) {
  const struct {
    double jd;
    bool known;
    double seconds;
  } cases[] = {{2457754.5, true, 37 + 32.184},              // 2017 January 1, 0 h UTC: the last step
               {2457754.5 - 1.0 / 1024, true, 36 + 32.184},  // a minute and a half before it
               {2441317.5, true, 10 + 32.184},              // 1972 January 1: whole seconds begin
               {2436934.0, false, 0}};                      // 1959 December 31
  for (const auto& c : cases) {
    double seconds = 0;
    ASSERT_EQ(TtMinusUtcSeconds(c.jd, seconds), c.known) << c.jd;
    if (c.known) { EXPECT_NEAR(seconds, c.seconds, 1e-9) << c.jd; }
  }
  AstroState a;
  a.InitConstants();
  double dt = 0;
  const double tt = PreciseTerrestrialTime(a, 2436934.0, DeltaTModel::kParabola, true, dt);
  a.CurrentJd = 2436934.0;
  EXPECT_EQ(dt, DeltaTParabola(a));
  EXPECT_EQ(tt, 2436934.0 + dt / 86400);
}

// "TT-UTC по таблице": TAI - UTC of ERFA (eraDat) + 32.184 s from 1960 on, "с 1700" before;
// the same through the classical chain's ET-UT and the rigorous TT.
TEST(PreciseTime, DeltaTTableIsTtMinusUtcFrom1960AndThePiecewiseModelBefore) {
  AstroState a;
  a.InitConstants();
  struct {
    int y, m;
    double d;
  } const dates[] = {{1960, 1, 1.5}, {1968, 2, 1.0}, {1985, 7, 1.0}, {2008, 6, 15.25}, {2017, 1, 1.0}};
  for (const auto& c : dates) {
    double jd0 = 0, jd1 = 0, tai = 0;
    ASSERT_EQ(eraCal2jd(c.y, c.m, static_cast<int>(c.d), &jd0, &jd1), 0);
    const double fraction = c.d - static_cast<int>(c.d);
    ASSERT_EQ(eraDat(c.y, c.m, static_cast<int>(c.d), fraction, &tai), 0);
    const double jd = jd0 + jd1 + fraction;
    EXPECT_NEAR(DeltaTTableAt(jd), tai + 32.184, 1e-9) << jd;
    EXPECT_EQ(DeltaTSeconds(a, jd, DeltaTModel::kTable), DeltaTTableAt(jd));
  }
  for (double jd : {2436934.0, 2415020.0, 2341972.5}) {  // 1959 December 31, 1900, 1700
    EXPECT_FALSE(DeltaTTableServes(jd));
    EXPECT_EQ(DeltaTTableAt(jd), DeltaTPiecewiseAt(jd)) << jd;
    double dt = 0;
    PreciseTerrestrialTime(a, jd, DeltaTModel::kTable, true, dt);
    EXPECT_EQ(dt, DeltaTPiecewiseAt(jd)) << jd;
  }
}

}  // namespace
}  // namespace planova
