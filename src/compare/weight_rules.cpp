#include "compare/weight_rules.h"

#include <algorithm>

#include "astro/time.h"
#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

constexpr CalendarRule kRulesCalendar = CalendarRule::kGregorianFrom1582;

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int32_t DigitsValue(std::string_view s) {
  int32_t v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

// The JD of 0 h UT of a date of the calendar; false for a date the calendar does not
// hold (month 13, February 30) or a year beyond the calendar's range.
bool DayStart(int32_t year, int32_t month, int32_t day, double& jd) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  bool failed = false;
  jd = JulianDateFromCalendar(kRulesCalendar, day, month, year, &failed);
  CalendarDate back;
  return !failed && CalendarFromJulianDate(kRulesCalendar, jd + 0.25, back) && back.Year == year &&
         back.Month == month && static_cast<int32_t>(back.Day) == day;
}

// A date field: "*" (no bound, `jd` left as it is), a year of up to four digits (with an
// optional minus), or an ISO date YYYY-MM-DD.  `last`: the bound is the end of that year
// or day, else its start.
bool ParseDateBound(std::string_view s, bool last, double& jd) {
  if (s == "*") return true;
  const bool minus = !s.empty() && s.front() == '-';
  const std::string_view digits = minus ? s.substr(1) : s;
  if (IsDigits(digits) && digits.size() <= 4) {
    const int32_t year = (minus ? -1 : 1) * DigitsValue(digits);
    return DayStart(last ? year + 1 : year, 1, 1, jd);
  }
  if (s.size() == 10 && s[4] == '-' && s[7] == '-' && IsDigits(s.substr(0, 4)) && IsDigits(s.substr(5, 2)) &&
      IsDigits(s.substr(8, 2))) {
    if (!DayStart(DigitsValue(s.substr(0, 4)), DigitsValue(s.substr(5, 2)), DigitsValue(s.substr(8, 2)), jd)) return false;
    if (last) jd += 1;
    return true;
  }
  return false;
}

// A sigma field, with the decimal comma or a point.
bool ParseSigma(std::string_view s, double& value) { return TryParseFieldReal(BoxNumberText(s), value); }

std::string UpperAscii(std::string_view s) {
  std::string u(s);
  for (char& c : u) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return u;
}

bool SameCode(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k], y = b[k];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

WeightRules ParseWeightRules(const std::vector<std::string>& lines) {
  WeightRules out;
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    line = line.substr(0, line.find(';'));
    std::vector<std::string_view> fields;
    for (size_t k = 0; k < line.size();) {
      if (line[k] == ' ' || line[k] == '\t') {
        ++k;
        continue;
      }
      const size_t end = std::min(line.find_first_of(" \t", k), line.size());
      fields.push_back(line.substr(k, end - k));
      k = end;
    }
    if (fields.empty()) continue;
    const int lineNo = static_cast<int>(n + 1);
    auto refuse = [&](WeightRuleFault fault) { out.Problems.push_back({lineNo, fault}); };
    if (fields.size() != 6) {
      refuse(WeightRuleFault::kFieldCount);
      continue;
    }
    WeightRule r;
    r.Line = lineNo;
    if (!ParseDateBound(fields[1], false, r.FirstJd) || !ParseDateBound(fields[2], true, r.EndJd)) {
      refuse(WeightRuleFault::kBadDate);
      continue;
    }
    if (r.EndJd <= r.FirstJd) {
      refuse(WeightRuleFault::kDateRange);
      continue;
    }
    if (!ParseSigma(fields[4], r.SigmaRaArcsec) || !ParseSigma(fields[5], r.SigmaDecArcsec)) {
      refuse(WeightRuleFault::kBadSigma);
      continue;
    }
    if (!(r.SigmaRaArcsec > 0 && r.SigmaDecArcsec > 0)) {
      refuse(WeightRuleFault::kSigmaRange);
      continue;
    }
    if (fields[0] != "*") r.Station = UpperAscii(Cp1251ToUtf8(fields[0]));
    if (fields[3] != "*") r.Mode = UpperAscii(fields[3]);
    out.Rules.push_back(std::move(r));
  }
  return out;
}

WeightRules LoadWeightRules(const std::filesystem::path& appFolder) {
  TextInputFile in;
  if (!in.Open(AppPath(appFolder, kWeightRulesFile))) return {};
  std::vector<std::string> lines;
  std::string line;
  while (in.ReadLine(line)) lines.push_back(line);
  WeightRules rules = ParseWeightRules(lines);
  rules.FromFile = true;
  return rules;
}

std::optional<RuleSigma> WeightRules::SigmaFor(std::string_view station, double jdUtc, std::string_view mode) const {
  station = Trimmed(station);
  mode = Trimmed(mode);
  for (const WeightRule& r : Rules) {
    if (!r.Station.empty() && !SameCode(r.Station, station)) continue;
    if (!r.Mode.empty() && !SameCode(r.Mode, mode)) continue;
    if (!(jdUtc >= r.FirstJd && jdUtc < r.EndJd)) continue;
    return RuleSigma{r.SigmaRaArcsec, r.SigmaDecArcsec, r.Line};
  }
  return std::nullopt;
}

RecordSigmas WeightRules::SigmasOf(double ownRaArcsec, double ownDecArcsec, std::string_view station, double jdUtc,
                                   std::string_view mode) const {
  RecordSigmas s;
  const bool ownRa = ownRaArcsec > 0 && std::isfinite(ownRaArcsec);
  const bool ownDec = ownDecArcsec > 0 && std::isfinite(ownDecArcsec);
  if (ownRa) {
    s.RaArcsec = ownRaArcsec;
    s.Ra = SigmaSource::kRecord;
  }
  if (ownDec) {
    s.DecArcsec = ownDecArcsec;
    s.Dec = SigmaSource::kRecord;
  }
  if (ownRa && ownDec) return s;
  const std::optional<RuleSigma> rule = SigmaFor(station, jdUtc, mode);
  if (!rule) return s;
  s.RuleLine = rule->Line;
  if (!ownRa) {
    s.RaArcsec = rule->RaArcsec;
    s.Ra = SigmaSource::kRule;
  }
  if (!ownDec) {
    s.DecArcsec = rule->DecArcsec;
    s.Dec = SigmaSource::kRule;
  }
  return s;
}

}  // namespace planova
