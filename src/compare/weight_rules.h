// The uncertainties that weight the observations in the statistics of O-C: a record's own
// (ADES rmsRA and rmsDec, ObservationStore::SigmaRaArcsec), else the first rule of
// Weights.txt in the application folder's root that fits its station, date and mode,
// else none, and then every record counts alike.  A record holds 1 / sigma^2 as its weight.
//
// Weights.txt: Windows-1251, CR LF; ";" starts a comment that runs to the end of the
// line; blank lines are skipped.  A rule is a line of six fields separated by blanks or
// tabs (so they may stand in aligned columns, but need not):
//   station  first  last  mode  sigmaRA  sigmaDec
//   station   a station code as the records name it (Latin letters compared without
//             regard to case), or "*" for any
//   first     the first date the rule holds for: a year ("1960": from January 1), an ISO
//             date ("1960-07-01"), or "*" for no bound
//   last      the last date, inclusive: a year ("1989": to the end of December 31), an
//             ISO date (to the end of that day), or "*"
//   mode      the ADES mode of the observations ("MER" transit circle, "PHO" photographic,
//             "CCD", ...), compared without regard to case, or "*" for any (a record that
//             names no mode fits only "*")
//   sigmaRA   the uncertainty in right ascension times cos(declination), arcseconds
//   sigmaDec  the uncertainty in declination, arcseconds
// Numbers take the decimal comma or a point ("0,2" or "0.2").  Dates are UTC (UT before
// 1960), in the Gregorian calendar from 1582 October 15 and the Julian before.  The first
// rule that fits a record gives its sigmas, so a special rule goes above a general one.
// A line that is not a rule (not six fields, a date that cannot be read, a last date
// before the first, a sigma that is no number or not above zero) is refused with its
// line number and the reason; the other rules are kept.
#pragma once

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planova {

constexpr std::string_view kWeightRulesFile = "Weights.txt";

struct WeightRule {
  int Line = 0;                      // 1-based line of the file
  std::string Station;               // UTF-8; empty: any ("*")
  double FirstJd = -INFINITY;        // the rule holds for FirstJd <= JD < EndJd
  double EndJd = INFINITY;
  std::string Mode;                  // empty: any ("*")
  double SigmaRaArcsec = 0, SigmaDecArcsec = 0;
};

// Why a line of Weights.txt was refused.
enum class WeightRuleFault {
  kFieldCount,  // not six fields
  kBadDate,     // a date that is neither "*", a year nor an ISO date of the calendar
  kDateRange,   // the last date before the first
  kBadSigma,    // a sigma that is no number
  kSigmaRange,  // a sigma not above zero
};

struct WeightRuleProblem {
  int Line = 0;  // 1-based line of the file
  WeightRuleFault Fault = WeightRuleFault::kFieldCount;
};

// The sigmas of a rule that fits, and which rule it is.
struct RuleSigma {
  double RaArcsec = 0, DecArcsec = 0;
  int Line = 0;
};

// Where a record's sigma of one coordinate came from.
enum class SigmaSource { kNone, kRecord, kRule };

// A record's sigmas for its weights: arcseconds, 0 where none is known (kNone).
struct RecordSigmas {
  double RaArcsec = 0, DecArcsec = 0;
  SigmaSource Ra = SigmaSource::kNone, Dec = SigmaSource::kNone;
  int RuleLine = 0;  // the rule that gave a sigma (0: none did)
};

struct WeightRules {
  std::vector<WeightRule> Rules;
  std::vector<WeightRuleProblem> Problems;
  bool FromFile = false;  // Weights.txt was read

  // The first rule that fits (station as ObserverCode gives it, UTF-8; JD UTC; ADES mode,
  // empty when unknown); none when no rule fits.
  std::optional<RuleSigma> SigmaFor(std::string_view station, double jdUtc, std::string_view mode) const;

  // A record's sigmas: each coordinate's own sigma (above 0) wins; a coordinate without
  // one takes the sigma of the first rule that fits; without that it stays unknown.
  RecordSigmas SigmasOf(double ownRaArcsec, double ownDecArcsec, std::string_view station, double jdUtc,
                        std::string_view mode) const;
};

// Given: the lines of Weights.txt (Windows-1251 bytes, without line ends).  Returned: the
// rules in file order and the lines refused.
WeightRules ParseWeightRules(const std::vector<std::string>& lines);

// Reads Weights.txt of an application folder; a folder without it (or a file that cannot
// be opened) gives no rules.
WeightRules LoadWeightRules(const std::filesystem::path& appFolder);

}  // namespace planova
