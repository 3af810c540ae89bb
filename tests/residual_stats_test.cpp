// The residual statistics against numpy (tests/data/residual_stats.txt, made by
// scripts/make_residual_stats_fixture.py), the k·σ clipping on planted outliers, the
// edge cases and the summary's texts.
#include "compare/residual_stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace planova {
namespace {

// numpy sums pairwise, the library in two passes: the results agree to a few units of
// the last place of values of a few arcseconds.
constexpr double kSumRounding = 1e-13;   // arcseconds or seconds
constexpr double kChi2Rounding = 1e-12;  // relative

double Real(const std::string& s) { return std::strtod(s.c_str(), nullptr); }

struct Fixture {
  std::map<std::string, std::vector<ResidualRecord>> sets;  // "stats", "clip"
  std::vector<std::vector<std::string>> stats;              // the "stats" lines' fields
  std::map<std::string, std::string> clipFlags;             // mode -> flags
};

const Fixture& Reference() {
  static const Fixture f = [] {
    Fixture f;
    std::ifstream in(PLANOVA_TEST_DATA "/residual_stats.txt");
    EXPECT_TRUE(in) << "tests/data/residual_stats.txt";
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream s(line);
      std::vector<std::string> w;
      for (std::string t; s >> t;) w.push_back(t);
      if (w.empty() || w[0] == "#") continue;
      if (w[0] == "record") {
        ResidualRecord r;
        r.Number = std::atoi(w[2].c_str());
        r.Station = w[3];
        r.Year = std::atoi(w[4].c_str());
        double* value[] = {&r.RaArcsec, &r.DecArcsec, &r.TimeSeconds};
        bool* has[] = {&r.HasRa, &r.HasDec, &r.HasTime};
        for (int c = 0; c < 3; ++c) {
          *value[c] = Real(w[5 + c]);
          *has[c] = !std::isnan(*value[c]);
          if (!*has[c]) *value[c] = 1e6;  // never to be read
        }
        r.SigmaRaArcsec = Real(w[8]);
        r.SigmaDecArcsec = Real(w[9]);
        r.Flag = w[10] == "-" ? '\0' : w[10][0];
        f.sets[w[1]].push_back(r);
      } else if (w[0] == "stats") {
        f.stats.push_back(w);
      } else if (w[0] == "clip") {
        f.clipFlags[w[1]] = w[2];
      }
    }
    return f;
  }();
  return f;
}

void ExpectValue(double got, const std::string& want, double tol, const std::string& what) {
  const double w = Real(want);
  if (std::isnan(w)) {
    EXPECT_TRUE(std::isnan(got)) << what << ": want nan, got " << got;
  } else {
    EXPECT_NEAR(got, w, tol) << what;
  }
}

TEST(ResidualStats, AgreeWithNumpyOverallByStationAndByYear) {
  const Fixture& f = Reference();
  const auto& records = f.sets.at("stats");
  ASSERT_EQ(records.size(), 48u);
  const ResidualSummary s = SummarizeResiduals(records);
  ASSERT_EQ(s.ByStation.size(), 3u);
  ASSERT_EQ(s.ByYear.size(), 4u);
  EXPECT_TRUE(s.HasTime);
  ASSERT_EQ(f.stats.size(), 3u * (1 + 3 + 4));
  std::map<std::string, int> coordinate = {{"ra", kResidualRa}, {"dec", kResidualDec}, {"time", kResidualTime}};
  size_t line = 0;
  auto check = [&](const ResidualGroupStats& g, const std::string& grouping, const std::string& name) {
    for (int c = 0; c < 3; ++c, ++line) {
      const auto& w = f.stats[line];
      const std::string what = grouping + " " + name + " " + w[3];
      ASSERT_EQ(w[1] + " " + w[2], grouping + " " + name);
      ASSERT_EQ(coordinate.at(w[3]), c);
      const CoordinateStats& x = g.Coord[c];
      EXPECT_EQ(x.Count, std::atoi(w[4].c_str())) << what;
      EXPECT_EQ(x.Rejected, std::atoi(w[5].c_str())) << what;
      ExpectValue(x.Mean, w[6], kSumRounding, what + " mean");
      ExpectValue(x.MeanError, w[7], kSumRounding, what + " se");
      ExpectValue(x.Sigma, w[8], kSumRounding, what + " sigma");
      ExpectValue(x.Rms, w[9], kSumRounding, what + " rms");
      EXPECT_DOUBLE_EQ(x.Median, Real(w[10])) << what << " median";
      EXPECT_DOUBLE_EQ(x.Mad, Real(w[11])) << what << " MAD";
      EXPECT_EQ(x.Weighted, !std::isnan(Real(w[12]))) << what;
      if (x.Weighted) {
        ExpectValue(x.WeightedMean, w[12], kSumRounding, what + " wmean");
        ExpectValue(x.WeightedMeanError, w[13], kSumRounding, what + " wse");
        ExpectValue(x.Chi2PerDof, w[14], kChi2Rounding * Real(w[14]), what + " chi2/dof");
      }
    }
  };
  check(s.Overall, "all", "-");
  for (const auto& g : s.ByStation) check(g, "station", g.Name);
  for (const auto& g : s.ByYear) check(g, "year", g.Name);
  // The records flagged 'd' and 'D' are listed, in order, with their numbers.
  ASSERT_EQ(s.Rejected.size(), 3u);
  EXPECT_EQ(s.Rejected[0].Number, 11);
  EXPECT_EQ(s.Rejected[0].Flag, 'd');
  EXPECT_EQ(s.Rejected[1].Number, 22);
  EXPECT_EQ(s.Rejected[1].Flag, 'D');
  EXPECT_EQ(s.Rejected[1].RaArcsec, 9.5);
}

// A station or a year that holds every record has the figures of all records, its own
// name and year.
TEST(ResidualStats, AGroupOfEveryRecordHasTheOverallFigures) {
  std::vector<ResidualRecord> records;
  for (ResidualRecord r : Reference().sets.at("stats")) {
    r.Station = "PARI";
    r.Year = 1990;
    records.push_back(r);
  }
  const ResidualSummary s = SummarizeResiduals(records);
  ASSERT_EQ(s.ByStation.size(), 1u);
  ASSERT_EQ(s.ByYear.size(), 1u);
  for (const ResidualGroupStats* g : {&s.ByStation[0], &s.ByYear[0]}) {
    EXPECT_EQ(g->Records, 48);
    for (int c = 0; c < kResidualCoordinates; ++c) {
      EXPECT_EQ(g->Coord[c].Count, s.Overall.Coord[c].Count);
      EXPECT_EQ(g->Coord[c].Mean, s.Overall.Coord[c].Mean);
      EXPECT_EQ(g->Coord[c].Median, s.Overall.Coord[c].Median);
    }
  }
  EXPECT_EQ(s.ByStation[0].Name, "PARI");
  EXPECT_EQ(s.ByYear[0].Name, "1990");
  EXPECT_EQ(s.ByYear[0].Year, 1990);
}

TEST(ResidualStats, ClippingFlagsThePlantedOutliersAndKeepsHandFlags) {
  const Fixture& f = Reference();
  const auto& records = f.sets.at("clip");
  for (auto [mode, name] : {std::pair{ClipMode::kSeparately, "separately"}, std::pair{ClipMode::kJointly, "jointly"}}) {
    ClipRequest request;
    request.Mode = mode;
    const ClipResult r = ClipResiduals(records, request);
    EXPECT_EQ(r.Status, ClipStatus::kConverged) << name;
    EXPECT_EQ(std::string(r.Flags.begin(), r.Flags.end()), f.clipFlags.at(name)) << name;
    EXPECT_EQ(r.Rejected, 5) << name;  // the planted ones: records 18, 61, 96, 131, 171
    EXPECT_EQ(r.Flags[40], 'a');       // a hand-accepted outlier
    EXPECT_EQ(r.Flags[77], 'd');       // hand-deleted
    EXPECT_EQ(r.Flags[150], 'A');      // deleted by an earlier run, back within the band
    EXPECT_GE(r.Iterations, 2) << name;
    // The band is that of the accepted records: 200 less the 5 planted and the 'd' one.
    EXPECT_EQ(r.Band[kResidualRa].Count, 194);
    const ResidualSummary s = SummarizeResiduals(records, r.Flags);
    EXPECT_EQ(s.Overall.Coord[kResidualRa].Count, 194);
    EXPECT_DOUBLE_EQ(s.Overall.Coord[kResidualRa].Mean, r.Band[kResidualRa].Mean);
    EXPECT_DOUBLE_EQ(s.Overall.Coord[kResidualDec].Sigma, r.Band[kResidualDec].Sigma);
    EXPECT_EQ(s.Rejected.size(), 6u);
  }
  // A request that cannot be met leaves the flags as they were.
  const ClipResult bad = ClipResiduals(records, ClipRequest{0, ClipMode::kSeparately, 50});
  EXPECT_EQ(bad.Status, ClipStatus::kBadRequest);
  EXPECT_EQ(bad.Flags[150], 'D');
}

// From 65536 values on the median comes from a sample's bounds and a selection among the
// values between them: the same as the middle of the sorted values, for odd and even
// counts, thousandths of arcseconds with many ties, and a skewed set.
TEST(ResidualStats, MedianOfALargeSetIsTheSortedMiddle) {
  uint64_t state = 12345;
  auto next = [&] { return (state = state * 6364136223846793005u + 1442695040888963407u) >> 11; };
  for (size_t n : {100000u, 100001u}) {
    for (int shape = 0; shape < 2; ++shape) {
      std::vector<double> x(n);
      for (double& v : x) {
        const double u = static_cast<double>(next()) / 9007199254740992.0;  // [0, 1)
        v = shape == 0 ? std::round((u - 0.5) * 2000) / 1000 : u * u * u * 50;
      }
      std::vector<double> sorted = x;
      std::sort(sorted.begin(), sorted.end());
      auto middle = [n](const std::vector<double>& s) { return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2; };
      const double median = middle(sorted);
      for (double& v : sorted) v = std::fabs(v - median);
      std::sort(sorted.begin(), sorted.end());
      const CoordinateStats s = ComputeCoordinateStats(x);
      EXPECT_EQ(s.Median, median) << n << " " << shape;
      EXPECT_EQ(s.Mad, middle(sorted)) << n << " " << shape;
    }
  }
}

ResidualRecord Rec(double ra, double dec, char flag = '\0') {
  ResidualRecord r;
  r.HasRa = r.HasDec = true;
  r.RaArcsec = ra;
  r.DecArcsec = dec;
  r.Flag = flag;
  r.Station = "500";
  r.Year = 2000;
  return r;
}

TEST(ResidualStats, FewValuesEqualValuesAndUnobservedCoordinates) {
  const CoordinateStats none = ComputeCoordinateStats({});
  EXPECT_EQ(none.Count, 0);
  EXPECT_TRUE(std::isnan(none.Mean) && std::isnan(none.Median) && std::isnan(none.Mad) && !none.Weighted);

  const double one[] = {0.25}, oneSigma[] = {0.5};
  const CoordinateStats s1 = ComputeCoordinateStats(one, oneSigma);
  EXPECT_EQ(s1.Mean, 0.25);
  EXPECT_EQ(s1.Rms, 0.25);
  EXPECT_EQ(s1.Median, 0.25);
  EXPECT_EQ(s1.Mad, 0);
  EXPECT_TRUE(std::isnan(s1.Sigma) && std::isnan(s1.MeanError) && std::isnan(s1.Chi2PerDof));
  EXPECT_EQ(s1.WeightedMean, 0.25);
  EXPECT_EQ(s1.WeightedMeanError, 0.5);

  // 1.5 and -0.5 with σ 0.5 and 0.25: weights 4 and 16.
  const double two[] = {1.5, -0.5}, twoSigma[] = {0.5, 0.25};
  const CoordinateStats s2 = ComputeCoordinateStats(two, twoSigma);
  EXPECT_EQ(s2.Mean, 0.5);
  EXPECT_DOUBLE_EQ(s2.Sigma, std::sqrt(2.0));
  EXPECT_EQ(s2.MeanError, 1);
  EXPECT_DOUBLE_EQ(s2.Rms, std::sqrt(1.25));
  EXPECT_EQ(s2.Median, 0.5);
  EXPECT_EQ(s2.Mad, 1);
  EXPECT_DOUBLE_EQ(s2.WeightedMean, -0.1);
  EXPECT_DOUBLE_EQ(s2.WeightedMeanError, 1 / std::sqrt(20.0));
  EXPECT_DOUBLE_EQ(s2.Chi2PerDof, 12.8);
  const double noSigma[] = {0.5, 0};  // one σ unknown: no weights
  EXPECT_FALSE(ComputeCoordinateStats(two, noSigma).Weighted);

  // Ten equal values, 0.1 in RA (whose plain mean is off in the last bit), 0.25 in Dec:
  // σ is 0 and nothing is clipped; a record without RA keeps a value far off out of it.
  std::vector<ResidualRecord> equal(10, Rec(0.1, 0.25));
  equal.push_back(Rec(1e3, 0.25));
  equal.back().HasRa = false;
  for (ClipMode mode : {ClipMode::kSeparately, ClipMode::kJointly}) {
    const ClipResult r = ClipResiduals(equal, {3, mode, 50});
    EXPECT_EQ(r.Rejected, 0);
    EXPECT_EQ(r.Iterations, 1);
    EXPECT_EQ(r.Band[kResidualRa].Count, 10);
    EXPECT_EQ(r.Band[kResidualRa].Sigma, 0);
    EXPECT_EQ(r.Band[kResidualDec].Sigma, 0);
  }
  const ResidualSummary s = SummarizeResiduals(equal);
  EXPECT_EQ(s.Overall.Coord[kResidualRa].Count, 10);
  EXPECT_EQ(s.Overall.Coord[kResidualRa].Mean, 0.1);
  EXPECT_EQ(s.Overall.Coord[kResidualRa].Sigma, 0);
  EXPECT_EQ(s.Overall.Coord[kResidualDec].Count, 11);
  EXPECT_EQ(s.Overall.Coord[kResidualTime].Count, 0);
  EXPECT_FALSE(s.HasTime);

  // Once the outlier (Dec 100") is gone, 1.001" lies 4.4σ off and goes too; the 20 equal
  // values left have σ 0, beyond which it stays (taken back, it would go again and again).
  // With fewer than 3 accepted values nothing is clipped, whatever they are.
  std::vector<ResidualRecord> offEqual(20, Rec(1, 1));
  offEqual.push_back(Rec(1, 1.001));
  offEqual.push_back(Rec(1, 100));
  const ClipResult off = ClipResiduals(offEqual);
  EXPECT_EQ(off.Status, ClipStatus::kConverged);
  EXPECT_EQ(off.Iterations, 3);
  EXPECT_EQ(std::string(off.Flags.end() - 3, off.Flags.end()), "ADD");
  EXPECT_EQ(off.Band[kResidualDec].Sigma, 0);
  const std::vector<ResidualRecord> few = {Rec(0, 0), Rec(100, -100), Rec(5, 5, 'd')};
  const ClipResult r = ClipResiduals(few);
  EXPECT_EQ(std::string(r.Flags.begin(), r.Flags.end()), "AAd");
  EXPECT_EQ(r.Band[kResidualDec].Count, 2);
}

TEST(ResidualStats, SummaryTextAndCsv) {
  std::vector<ResidualRecord> records = {Rec(1.5, -0.5), Rec(-0.5, 0.5), Rec(0.5, 0.25), Rec(40, 1, 'D')};
  records[1].Station = "G,96";  // a code with a comma: quoted in the CSV
  records[1].Year = 2001;
  records[3].Number = 4;
  for (auto& r : records) r.SigmaRaArcsec = 0.5;
  const ResidualSummary s = SummarizeResiduals(records);
  SummaryTextOptions o;
  o.Title = "120  объект 11";
  o.Clipped = true;
  o.Iterations = 2;
  const std::string t = ResidualSummaryText(s, o);
  EXPECT_EQ(t.substr(0, t.find("\r\n")), "сводка O-C: 120  объект 11");
  EXPECT_NE(t.find("\r\nотбраковка k*сигма, k = 3, по RA и Dec раздельно, итераций: 2\r\n"), std::string::npos);
  // RA: n 3, one rejected, mean 0,5, se 0,577, σ 1, rms 0,957, median 0,5, MAD 1, χ²/dof 4.
  EXPECT_NE(t.find("\r\nвсе записи       3       1     0,500     0,577     1,000     0,957     0,500     1,000       "
                   "4,00\r\nпо станциям\r\n500              2       1"),
            std::string::npos)
      << t;
  // One value: no σ, no error, no χ²/dof.
  EXPECT_NE(t.find("\r\nG,96             1       0    -0,500         -         -     0,500    -0,500     0,000"
                   "          -\r\n"),
            std::string::npos);
  EXPECT_NE(t.find("\r\nпо годам\r\n2000             2       1"), std::string::npos);
  EXPECT_EQ(t.find("хи2", t.find("Dec, угловые секунды")), std::string::npos);  // no σ in Dec
  EXPECT_EQ(t.substr(t.rfind("отбраковано")),
            "отбраковано: 1\r\n    запись    O-C RA   O-C Dec  флаг\r\n         4    40,000     1,000  D");
  size_t lf = 0, crlf = 0;
  for (size_t i = 0; i < t.size(); ++i) lf += t[i] == '\n', crlf += t.compare(i, 2, "\r\n") == 0;
  EXPECT_EQ(lf, crlf);

  const std::string csv = ResidualSummaryCsv(s);
  std::istringstream lines(csv);
  std::vector<std::string> l;
  for (std::string x; std::getline(lines, x);) l.push_back(x);
  ASSERT_EQ(l.size(), 1u + 2 * (1 + 2 + 2));  // no time residuals
  EXPECT_EQ(l[0], "coordinate,grouping,group,n,mean,se,sigma,rms,median,mad,wmean,wse,chi2dof,rejected\r");
  EXPECT_EQ(l[1], "ra_cosdec,all,,3,0.5000,0.5774,1.0000,0.9574,0.5000,1.0000,0.5000,0.2887,4.0000,1\r");
  EXPECT_EQ(l[3], "ra_cosdec,station,\"G,96\",1,-0.5000,,,0.5000,-0.5000,0.0000,-0.5000,0.5000,,0\r");
  EXPECT_EQ(l[6], "dec,all,,3,0.0833,0.3005,0.5204,0.4330,0.2500,0.2500,,,,1\r");
}

}  // namespace
}  // namespace planova
