// Observatories by code: the MPC's ObsCodes.html as published, the program's own
// Observatories.txt, the lines each refuses, and which list a code is taken from.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "import/observatories.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = PLANOVA_SAMPLE_DIR;

// A folder holding the sample's ObsCodes.html and, when given, an Observatories.txt.
fs::path FolderWith(const std::string& name, const std::string* table) {
  const fs::path folder = test::FreshFolder("observatories-" + name);
  fs::copy_file(kSample / kMpcObsCodesFile, folder / kMpcObsCodesFile);
  if (table) test::WriteBytes(folder / kObservatoryTableFile, *table);
  return folder;
}

// The parallax constants are the file's digits; the latitudes are ERFA's eraGc2gd of them.
TEST(Observatories, MpcListAsPublished) {
  const ObservatoryList list = LoadObservatories(FolderWith("mpc", nullptr));
  EXPECT_TRUE(list.Problems.empty());
  EXPECT_FALSE(list.ProgramFromFile);
  EXPECT_EQ(list.Mpc.size(), 2704u);  // every code line between the heading and "</pre>"
  EXPECT_EQ(std::count_if(list.Mpc.begin(), list.Mpc.end(), [](const Observatory& o) { return !o.HasCoordinates; }), 26);

  struct Case {
    const char* code;
    double lon, rhoCos, rhoSin;
    const char *lonText, *latText, *name;
  };
  for (const Case& c : {Case{"000", 0.0, 0.62411, 0.77873, "0,0000", "51,4774", "Greenwich"},
                        Case{"007", 2.33675, 0.659470, 0.749223, "2,33675", "48,8364", "Paris"},
                        Case{"002", 0.62, 0.622, 0.781, "0,62", "51,6530", "Rayleigh"},
                        Case{"786", 282.9345, 0.77906, 0.62487, "-77,0655", "38,9204",
                             "U.S. Naval Obs., Washington (since 1893)"},
                        Case{"500", 0, 0, 0, "0,00000", "0,0000", "Geocentric"}}) {
    const ObservatoryFind f = list.Find(c.code);
    ASSERT_TRUE(f.Found()) << c.code;
    EXPECT_EQ(f.Site.LonDeg, c.lon) << c.code;
    EXPECT_EQ(f.Site.RhoCosPhi, c.rhoCos) << c.code;
    EXPECT_EQ(f.Site.RhoSinPhi, c.rhoSin) << c.code;
    EXPECT_EQ(f.LonText, c.lonText) << c.code;
    EXPECT_EQ(f.LatText, c.latText) << c.code;
    EXPECT_EQ(f.Name, c.name) << c.code;
  }
  for (const char* code : {"247", "C51"}) {
    EXPECT_EQ(list.Find(code).End, ObservatoryFindEnd::kNoCoordinates) << code;
  }
  EXPECT_EQ(list.Find("C51").Name, "WISE");
  EXPECT_EQ(list.Find("ZZZ").End, ObservatoryFindEnd::kUnknownCode);
}

// The program's table comes first; without a file it is the built-in one, whose texts are
// those window 2 has always shown, and the MPC's codes fill in behind it.
TEST(Observatories, ProgramTableBeforeTheMpcList) {
  const ObservatoryList builtIn = LoadObservatories(FolderWith("built-in", nullptr));
  ASSERT_EQ(builtIn.Program.size(), 15u);
  for (auto [code, lon, lat] : {std::tuple{"PARI", "2,337", "48,836"}, std::tuple{"GREN", "0,0", "51,477"},
                                std::tuple{"RADC", "-1,251", "51,76"}, std::tuple{"USNO", "-77,066", "38,921"}}) {
    const ObservatoryFind f = builtIn.Find(code);
    EXPECT_EQ(f.LonText, lon) << code;
    EXPECT_EQ(f.LatText, lat) << code;
  }
  // PARI's site is the geodetic place of the table (SiteFromGeodetic), near the MPC's 007.
  const ObserverSite pari = builtIn.Find("PARI").Site, mpc007 = builtIn.Find("007").Site;
  EXPECT_NEAR(pari.RhoCosPhi, mpc007.RhoCosPhi, 2e-5);
  EXPECT_NEAR(pari.RhoSinPhi, mpc007.RhoSinPhi, 2e-5);

  // A user's table replaces the built-in one and overrides an MPC code it lists.
  const std::string own =
      "; own sites\r\n"
      "007        2,5     48,5   100     Not the MPC's Paris\r\n"
      "KAZ      49.12    55.79           Kazan\r\n";
  const ObservatoryList user = LoadObservatories(FolderWith("user", &own));
  EXPECT_TRUE(user.ProgramFromFile);
  EXPECT_TRUE(user.Problems.empty());
  EXPECT_EQ(user.Find("007").LonText, "2,5");
  EXPECT_EQ(user.Find("007").Name, "Not the MPC's Paris");
  EXPECT_EQ(user.Find("KAZ").LonText, "49,12");
  EXPECT_EQ(user.Find("PARI").End, ObservatoryFindEnd::kUnknownCode);
  EXPECT_EQ(user.Find("000").LonText, "0,0000");

  // The sample application folder ships the built-in table as its file.
  EXPECT_EQ(test::ReadBytes(kSample / kObservatoryTableFile), DefaultObservatoryTableText());
}

// Each bad line is refused with its line number and reason; the others are kept.
TEST(Observatories, BadLinesRefusedTheRestKept) {
  using F = ObservatoryFault;
  const ObservatoryRows mpc = ParseObsCodes({
      "<html><body>",                                      // 1
      "<pre>",                                             // 2
      "Code  Long.   cos      sin    Name",                // 3
      "000   0.0000 0.62411 +0.77873 Greenwich",           // 4
      "X01   1.0",                                         // 5 short
      "X02 360.0000 0.62411 +0.77873 Beyond 360",          // 6
      "X03   1.0000 0.6x411 +0.77873 Letter",              // 7
      "X04   1.0000 0.80000 +0.80000 Too far out",         // 8
      "X05   1.0000         +0.77873 Half blank",          // 9
      "X-6   1.0000 0.62411 +0.77873 Bad code",            // 10
      "000   1.0000 0.62411 +0.77873 Twice",               // 11
      "X07 359.9999 0.00000 -1.00000 Kept",                // 12
      "</pre>",                                            // 13
      "X08 not a code line after the list",                // 14
  });
  ASSERT_EQ(mpc.Rows.size(), 2u);
  EXPECT_EQ(mpc.Rows[1].Code, "X07");
  const std::vector<std::pair<int, F>> mpcWant = {{5, F::kShortLine},      {6, F::kLongitudeRange}, {7, F::kBadNumber},
                                                  {8, F::kRhoRange},       {9, F::kBadNumber},      {10, F::kBadCode},
                                                  {11, F::kDuplicateCode}};
  ASSERT_EQ(mpc.Problems.size(), mpcWant.size());
  for (size_t i = 0; i < mpcWant.size(); ++i) {
    EXPECT_EQ(mpc.Problems[i].File, kMpcObsCodesFile);
    EXPECT_EQ(mpc.Problems[i].Line, mpcWant[i].first) << i;
    EXPECT_EQ(mpc.Problems[i].Fault, mpcWant[i].second) << i;
  }

  const ObservatoryRows table = ParseObservatoryTable({
      "; comment",                                  // 1
      "POLE        10       90  -500 001 Pole",       // 2 kept: the bounds themselves
      "OVER        10  90,0001           Over",       // 3
      "WEST   -180,01       10           West",       // 4
      "HIGH        10       10  9001     High",       // 5
      "LONGE       10       10           Long code",  // 6
      "A B         10       10           Blank",      // 7
      "NUMB       1,x       10           Number",     // 8
      "MPCC        10       10       12  Mpc code",   // 9
      "POLE        10      -90           Twice",      // 10
      "EAST       360      -90  9000     East",       // 11 kept
  });
  ASSERT_EQ(table.Rows.size(), 2u);
  EXPECT_EQ(table.Rows[0].LatText, "90");
  EXPECT_EQ(table.Rows[0].HeightM, -500);
  EXPECT_EQ(table.Rows[0].MpcCode, "001");
  EXPECT_EQ(table.Rows[1].Code, "EAST");
  const std::vector<std::pair<int, F>> tableWant = {{3, F::kLatitudeRange}, {4, F::kLongitudeRange},
                                                    {5, F::kHeightRange},   {6, F::kBadCode},
                                                    {7, F::kBadCode},       {8, F::kBadNumber},
                                                    {9, F::kBadMpcCode},    {10, F::kDuplicateCode}};
  ASSERT_EQ(table.Problems.size(), tableWant.size());
  for (size_t i = 0; i < tableWant.size(); ++i) {
    EXPECT_EQ(table.Problems[i].File, kObservatoryTableFile);
    EXPECT_EQ(table.Problems[i].Line, tableWant[i].first) << i;
    EXPECT_EQ(table.Problems[i].Fault, tableWant[i].second) << i;
  }
}

}  // namespace
}  // namespace planova
