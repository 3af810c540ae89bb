// O-C as ADES PSV read back by a reader of the format's own rules, and the weights rules
// of Weights.txt: which rule serves a record, and the lines refused.
#include <gtest/gtest.h>

#include <map>

#include "common/textfile.h"
#include "compare/ades_residuals.h"
#include "compare/weight_rules.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

// What a PSV reader sees: header lines ("#", "!") aside, the first line names the
// fields, each further line is a record; fields are split at "|" and stripped of blanks.
struct Psv {
  std::vector<std::string> header, keywords;
  std::vector<std::map<std::string, std::string>> records;
  std::vector<std::string> lines;  // the keyword and record lines as written
};

std::string Strip(const std::string& s) {
  const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> out;
  size_t from = 0;
  for (size_t bar; (bar = line.find('|', from)) != std::string::npos; from = bar + 1) out.push_back(line.substr(from, bar - from));
  out.push_back(line.substr(from));
  return out;
}

Psv ReadPsv(const std::string& bytes) {
  Psv psv;
  size_t from = 0;
  for (size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2) {
    const std::string line = bytes.substr(from, end - from);
    if (line[0] == '#' || line[0] == '!') {
      psv.header.push_back(line);
      continue;
    }
    psv.lines.push_back(line);
    std::vector<std::string> fields = Split(line);
    if (psv.keywords.empty()) {
      for (auto& f : fields) psv.keywords.push_back(Strip(f));
      continue;
    }
    EXPECT_EQ(fields.size(), psv.keywords.size()) << line;
    auto& rec = psv.records.emplace_back();
    for (size_t k = 0; k < fields.size() && k < psv.keywords.size(); ++k) rec[psv.keywords[k]] = Strip(fields[k]);
  }
  EXPECT_EQ(from, bytes.size()) << "the file ends with CR LF";
  return psv;
}

// Character columns (UTF-8) of the bars of a line.
std::vector<size_t> BarColumns(const std::string& line) {
  std::vector<size_t> cols;
  size_t col = 0;
  for (unsigned char c : line) {
    if ((c & 0xC0) == 0x80) continue;
    if (c == '|') cols.push_back(col);
    ++col;
  }
  return cols;
}

constexpr double kDegHalfLastDigit = 0.5e-7;     // ra, dec: 7 decimals
constexpr double kArcsecHalfLastDigit = 0.5e-3;  // residuals and sigmas: 3 decimals

AdesResidualsRequest SampleRequest() {
  AdesResidualsRequest q;
  q.Body = "Moon";
  q.Ephemeris = "de405.bsp";
  AdesResidualRow a;  // J2000.0 itself, with its own uncertainties and catalogue
  a.JdUtc = 2451545.0;
  a.RaDeg = 123.4375;
  a.DecDeg = -0.5;
  a.Station = "G96";
  a.Mode = "CCD";
  a.AstCat = "Gaia2";
  a.RmsRaArcsec = 0.25;
  a.RmsDecArcsec = 0.125;
  a.ResRaArcsec = 0.375;
  a.ResDecArcsec = -1.5;
  a.SigRaArcsec = 0.25;
  a.SigDecArcsec = 0.125;
  AdesResidualRow b;  // the Unix epoch, a station of Cyrillic letters, no latitude compared
  b.JdUtc = 2440587.5;
  b.RaDeg = 5.0000001;
  b.DecDeg = 89.75;
  b.Station = "НИКОЛ";
  b.ResRaArcsec = -12.3456;
  b.SelAst = 'd';
  AdesResidualRow c = a;  // deleted by the program, no uncertainties of its own
  c.JdUtc = 2451545.25;
  c.Station = "PARI";
  c.Mode = "PHO";
  c.AstCat.clear();
  c.RmsRaArcsec = c.RmsDecArcsec = 0;
  c.SelAst = 'D';
  q.Rows = {a, b, c};
  return q;
}

TEST(AdesResiduals, WrittenAlignedAndReadBack) {
  const fs::path folder = test::FreshFolder("ades-residuals");
  fs::create_directories(folder / "Dat");
  const fs::path path = AdesResidualsPath(folder, "PARI", 11);
  EXPECT_EQ(path, folder / "Dat" / "Residuals_PARI11.psv");
  const AdesResidualsRequest q = SampleRequest();
  const AdesResidualsResult r = WriteAdesResiduals(path, q);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.Records, 3);

  const Psv psv = ReadPsv(test::ReadBytes(path));
  ASSERT_GE(psv.header.size(), 3u);
  EXPECT_EQ(psv.header[0], "# version=2017");
  EXPECT_EQ(psv.header[1], "# comment");
  EXPECT_NE(psv.header.back().find("de405.bsp"), std::string::npos);
  EXPECT_EQ(psv.keywords, (std::vector<std::string>{"trkSub", "mode", "stn", "obsTime", "ra", "dec", "rmsRA", "rmsDec",
                                                    "astCat", "resRA", "resDec", "selAst", "sigRA", "sigDec"}));
  ASSERT_EQ(psv.records.size(), 3u);
  // Every record's bars stand under the keyword line's, and no line ends in blanks.
  for (const std::string& line : psv.lines) {
    EXPECT_EQ(BarColumns(line), BarColumns(psv.lines[0])) << line;
    EXPECT_NE(line.back(), ' ') << line;
  }

  const char* times[] = {"2000-01-01T12:00:00.000Z", "1970-01-01T00:00:00.000Z", "2000-01-01T18:00:00.000Z"};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const AdesResidualRow& w = q.Rows[i];
    auto rec = psv.records[i];
    EXPECT_EQ(rec["trkSub"], "Moon");
    EXPECT_EQ(rec["mode"], w.Mode.empty() ? "CCD" : w.Mode);
    EXPECT_EQ(rec["stn"], w.Station);
    EXPECT_EQ(rec["obsTime"], times[i]);
    EXPECT_NEAR(std::stod(rec["ra"]), w.RaDeg, kDegHalfLastDigit);
    EXPECT_NEAR(std::stod(rec["dec"]), w.DecDeg, kDegHalfLastDigit);
    EXPECT_TRUE(rec["dec"][0] == '+' || rec["dec"][0] == '-');
    EXPECT_EQ(rec["astCat"], w.AstCat);
    EXPECT_EQ(rec["selAst"], std::string(1, w.SelAst));
    auto same = [&](const char* key, double v, bool knownIfPositive) {
      const bool known = knownIfPositive ? v > 0 : !std::isnan(v);
      if (known) EXPECT_NEAR(std::stod(rec[key]), v, kArcsecHalfLastDigit) << key;
      else EXPECT_EQ(rec[key], "") << key;
    };
    same("resRA", w.ResRaArcsec, false);
    same("resDec", w.ResDecArcsec, false);
    same("rmsRA", w.RmsRaArcsec, true);
    same("rmsDec", w.RmsDecArcsec, true);
    same("sigRA", w.SigRaArcsec, true);
    same("sigDec", w.SigDecArcsec, true);
  }

  // Without any uncertainty or catalogue those columns are left out; no ephemeris, no line.
  AdesResidualsRequest bare = q;
  bare.Ephemeris.clear();
  bare.Rows = {q.Rows[1]};
  std::string text;
  ASSERT_TRUE(AdesResidualsText(bare, text).Ok());
  const Psv p2 = ReadPsv(text);
  EXPECT_EQ(p2.keywords,
            (std::vector<std::string>{"trkSub", "mode", "stn", "obsTime", "ra", "dec", "resRA", "resDec", "selAst"}));
  EXPECT_EQ(p2.header.size(), 3u);
}

// A record that cannot be written, or a folder that is not there: nothing replaces the old file.
TEST(AdesResiduals, RefusedWholeOldFileKept) {
  const fs::path folder = test::FreshFolder("ades-residuals-refused");
  const fs::path path = folder / "Residuals_PARI11.psv";
  test::WriteBytes(path, "old");
  struct Case {
    const char* what;
    void (*spoil)(AdesResidualsRequest&);
    int32_t badRow;
  };
  for (const Case& c : {Case{"selAst X", [](AdesResidualsRequest& q) { q.Rows[2].SelAst = 'X'; }, 2},
                        Case{"NaN date", [](AdesResidualsRequest& q) { q.Rows[1].JdUtc = NAN; }, 1},
                        Case{"bar in station", [](AdesResidualsRequest& q) { q.Rows[0].Station = "A|B"; }, 0},
                        Case{"bar in body", [](AdesResidualsRequest& q) { q.Body = "Mo|on"; }, -1}}) {
    SCOPED_TRACE(c.what);
    AdesResidualsRequest q = SampleRequest();
    c.spoil(q);
    const AdesResidualsResult r = WriteAdesResiduals(path, q);
    EXPECT_EQ(r.Status, AdesWriteStatus::kBadRecord);
    EXPECT_EQ(r.BadRow, c.badRow);
    EXPECT_EQ(test::ReadBytes(path), "old");
  }
  EXPECT_EQ(WriteAdesResiduals(folder / "no-such-folder" / "R.psv", SampleRequest()).Status,
            AdesWriteStatus::kWriteFailed);
  EXPECT_TRUE(test::TemporaryFiles(folder).empty());
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  size_t from = 0;
  for (size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2) out.push_back(bytes.substr(from, end - from));
  return out;
}

// JDs of 0 h UT of dates of the Gregorian calendar (Meeus's algorithm, as JPL's Horizons gives them).
constexpr double kJd1960 = 2436934.5;        // 1960-01-01
constexpr double kJd1990 = 2447892.5;        // 1990-01-01
constexpr double kJd1985Mar01 = 2446125.5;   // 1985-03-01

TEST(WeightRules, FirstFittingRuleOwnSigmaFirstBadLinesRefused) {
  const WeightRules rules = ParseWeightRules({
      "; station-specific first",                     // 1
      "usno  1985-02-28 1985-02-28  ccd  0.15 0,16",  // 2: one day, inclusive
      "",                                             // 3
      "*     *     1959  *    1,0  1,0   ; old",      // 4
      "*     1960  *     PHO  0,5  0,5",              // 5
      "*     1960  1989  *    0,3  0,3",              // 6
      "*     1960  1989  *    0,3",                   // 7: five fields
      "*     1960  1989  *    0    0,3",              // 8: sigma zero
      "*     1960  1989  *    -0,1 0,3",              // 9: sigma negative
      "*     1990  1989  *    0,3  0,3",              // 10: last before first
      "*     1985-02-29 *  *  0,3  0,3",              // 11: no such day
      "*     60s   *     *    0,3  0,3",              // 12: no date
      "*     1960  *     *    0,3\"  0,3",            // 13: no number
  });
  ASSERT_EQ(rules.Rules.size(), 4u);
  const std::vector<std::pair<int, WeightRuleFault>> expected = {
      {7, WeightRuleFault::kFieldCount}, {8, WeightRuleFault::kSigmaRange}, {9, WeightRuleFault::kSigmaRange},
      {10, WeightRuleFault::kDateRange}, {11, WeightRuleFault::kBadDate},   {12, WeightRuleFault::kBadDate},
      {13, WeightRuleFault::kBadSigma}};
  ASSERT_EQ(rules.Problems.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(rules.Problems[k].Line, expected[k].first);
    EXPECT_EQ(rules.Problems[k].Fault, expected[k].second);
  }

  auto line = [&](std::string_view stn, double jd, std::string_view mode) {
    const auto s = rules.SigmaFor(stn, jd, mode);
    return s ? s->Line : 0;
  };
  // The one-day rule: both ends of the day, case aside; the instant after is the next day.
  EXPECT_EQ(line("USNO", kJd1985Mar01 - 1, "CCD"), 2);
  EXPECT_EQ(line(" Usno ", kJd1985Mar01 - 0.001, "ccd"), 2);
  EXPECT_EQ(line("USNO", kJd1985Mar01, "CCD"), 6);
  EXPECT_EQ(line("USNO", kJd1985Mar01 - 1, "PHO"), 5);  // the mode decides
  EXPECT_EQ(line("PARI", kJd1985Mar01 - 1, ""), 6);     // no mode fits only "*"
  // A year bound: 1959 ends where 1960 begins.
  EXPECT_EQ(line("PARI", kJd1960 - 1e-6, ""), 4);
  EXPECT_EQ(line("PARI", kJd1960, ""), 6);
  EXPECT_EQ(line("PARI", kJd1990, ""), 0);  // nothing fits: equal weights
  const auto s2 = rules.SigmaFor("USNO", kJd1985Mar01 - 0.5, "CCD");
  ASSERT_TRUE(s2);
  EXPECT_EQ(s2->RaArcsec, 0.15);
  EXPECT_EQ(s2->DecArcsec, 0.16);

  // The record's own sigma wins, coordinate by coordinate; none and no rule: unknown.
  const RecordSigmas own = rules.SigmasOf(0.05, 0, "PARI", kJd1960, "");
  EXPECT_EQ(own.Ra, SigmaSource::kRecord);
  EXPECT_EQ(own.RaArcsec, 0.05);
  EXPECT_EQ(own.Dec, SigmaSource::kRule);
  EXPECT_EQ(own.DecArcsec, 0.3);
  EXPECT_EQ(own.RuleLine, 6);
  const RecordSigmas none = rules.SigmasOf(0, 0, "PARI", kJd1990, "");
  EXPECT_EQ(none.Ra, SigmaSource::kNone);
  EXPECT_EQ(none.Dec, SigmaSource::kNone);
  EXPECT_EQ(none.RaArcsec, 0);
}

// The sample's example rules are switched off; taken out of their comments they read whole,
// each era to its last day.  A folder without the file has none.
TEST(WeightRules, SampleFileByEra) {
  const fs::path folder = test::FreshFolder("weights-sample");
  fs::copy_file(fs::path(PLANOVA_SAMPLE_DIR) / kWeightRulesFile, folder / kWeightRulesFile);
  EXPECT_TRUE(LoadWeightRules(folder).Rules.empty());
  std::string text = test::ReadBytes(folder / kWeightRulesFile);
  for (size_t at = text.find("\r\n;*"); at != std::string::npos; at = text.find("\r\n;*", at)) text.erase(at + 2, 1);
  test::WriteBytes(folder / kWeightRulesFile, text);
  const WeightRules rules = LoadWeightRules(folder);
  EXPECT_TRUE(rules.FromFile);
  EXPECT_TRUE(rules.Problems.empty());
  ASSERT_EQ(rules.Rules.size(), 3u);
  EXPECT_EQ(rules.SigmaFor("PARI", kJd1960 - 0.5, "")->RaArcsec, 1.0);
  EXPECT_EQ(rules.SigmaFor("PARI", kJd1960, "")->RaArcsec, 0.5);
  EXPECT_EQ(rules.SigmaFor("PARI", kJd1990 - 1e-6, "")->DecArcsec, 0.5);
  EXPECT_EQ(rules.SigmaFor("PARI", kJd1990, "")->DecArcsec, 0.2);
  EXPECT_EQ(Lines(test::ReadBytes(folder / kWeightRulesFile)).size(), 27u);  // CR LF throughout

  const WeightRules none = LoadWeightRules(test::FreshFolder("weights-none"));
  EXPECT_FALSE(none.FromFile);
  EXPECT_FALSE(none.SigmaFor("PARI", kJd1990, "CCD"));
}

}  // namespace
}  // namespace planova
