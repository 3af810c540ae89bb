#include "compare/residual_stats.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "common/numtext.h"
#include "common/textfile.h"
#include "compare/comparison_run.h"

namespace planova {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kCrLf = "\r\n";

bool Has(const ResidualRecord& r, int c) {
  return c == kResidualRa ? r.HasRa : c == kResidualDec ? r.HasDec : r.HasTime;
}
double Value(const ResidualRecord& r, int c) {
  return c == kResidualRa ? r.RaArcsec : c == kResidualDec ? r.DecArcsec : r.TimeSeconds;
}
double SigmaOf(const ResidualRecord& r, int c) {
  return c == kResidualRa ? r.SigmaRaArcsec : c == kResidualDec ? r.SigmaDecArcsec : 0.0;
}

// The mean in two passes (the plain mean, then the mean of the deviations from it added
// back), which keeps the last digits of values far from zero, and the sample σ about it.
void MeanAndSigma(const double* x, size_t n, double& mean, double& sigma) {
  mean = sigma = kNaN;
  if (n == 0) return;
  double sum = 0;
  for (size_t i = 0; i < n; ++i) sum += x[i];
  double m = sum / n, dev = 0;
  for (size_t i = 0; i < n; ++i) dev += x[i] - m;
  m += dev / n;
  mean = m;
  if (n < 2) return;
  double ss = 0;
  for (size_t i = 0; i < n; ++i) ss += (x[i] - m) * (x[i] - m);
  sigma = std::sqrt(ss / (n - 1));
}

// The median of x[0..n), n > 0; x is reordered (std::nth_element: linear on average).
double MedianInPlace(double* x, size_t n) {
  const size_t h = n / 2;
  std::nth_element(x, x + h, x + n);
  const double upper = x[h];
  if (n % 2 == 1) return upper;
  // Every value before h is not above x[h]: the lower middle one is their largest.
  const double lower = *std::max_element(x, x + h);
  return (lower + upper) / 2;
}

// The statistics of values[0..n) (reordered: the median and the MAD work in place) with
// their σ (null, or any σ <= 0: no weights).
CoordinateStats StatsInPlace(double* values, const double* sigmas, size_t n) {
  CoordinateStats s;
  s.Count = static_cast<int32_t>(n);
  if (n == 0) {
    s.Mean = s.MeanError = s.Sigma = s.Rms = s.Median = s.Mad = kNaN;
    s.WeightedMean = s.WeightedMeanError = s.Chi2PerDof = kNaN;
    return s;
  }
  MeanAndSigma(values, n, s.Mean, s.Sigma);
  s.MeanError = s.Sigma / std::sqrt(static_cast<double>(n));
  double squares = 0;
  for (size_t i = 0; i < n; ++i) squares += values[i] * values[i];
  s.Rms = std::sqrt(squares / n);
  s.Weighted = sigmas != nullptr;
  for (size_t i = 0; s.Weighted && i < n; ++i) s.Weighted = sigmas[i] > 0 && std::isfinite(sigmas[i]);
  s.WeightedMean = s.WeightedMeanError = s.Chi2PerDof = kNaN;
  if (s.Weighted) {
    double sw = 0, swx = 0;
    for (size_t i = 0; i < n; ++i) {
      const double w = 1 / (sigmas[i] * sigmas[i]);
      sw += w;
      swx += w * values[i];
    }
    s.WeightedMean = swx / sw;
    s.WeightedMeanError = 1 / std::sqrt(sw);
    if (n > 1) {
      double chi2 = 0;
      for (size_t i = 0; i < n; ++i) {
        const double d = (values[i] - s.WeightedMean) / sigmas[i];
        chi2 += d * d;
      }
      s.Chi2PerDof = chi2 / (n - 1);
    }
  }
  s.Median = MedianInPlace(values, n);
  for (size_t i = 0; i < n; ++i) values[i] = std::fabs(values[i] - s.Median);
  s.Mad = MedianInPlace(values, n);
  return s;
}

// The records of each group, group after group: Order holds record indices, those of
// group g from Start[g] to Start[g + 1] (a counting sort by group, records in order).
struct Grouping {
  std::vector<int32_t> Order, Start;
};

Grouping GroupRecords(const std::vector<int32_t>& groupOf, size_t groups) {
  Grouping g;
  g.Start.assign(groups + 1, 0);
  for (int32_t k : groupOf) ++g.Start[k + 1];
  for (size_t k = 1; k <= groups; ++k) g.Start[k] += g.Start[k - 1];
  g.Order.resize(groupOf.size());
  std::vector<int32_t> next(g.Start.begin(), g.Start.end() - 1);
  for (size_t i = 0; i < groupOf.size(); ++i) g.Order[next[groupOf[i]]++] = static_cast<int32_t>(i);
  return g;
}

// Renumbers groups numbered in the order they were met so that the numbers follow `less`
// on their keys; the keys are sorted with them.
template <class Key, class Less>
void SortGroups(std::vector<Key>& keys, std::vector<int32_t>& groupOf, Less less) {
  std::vector<int32_t> byKey(keys.size());
  for (size_t k = 0; k < keys.size(); ++k) byKey[k] = static_cast<int32_t>(k);
  std::sort(byKey.begin(), byKey.end(), [&](int32_t a, int32_t b) { return less(keys[a], keys[b]); });
  std::vector<int32_t> rank(keys.size());
  std::vector<Key> sorted;
  sorted.reserve(keys.size());
  for (size_t k = 0; k < byKey.size(); ++k) {
    rank[byKey[k]] = static_cast<int32_t>(k);
    sorted.push_back(keys[byKey[k]]);
  }
  for (int32_t& k : groupOf) k = rank[k];
  keys = std::move(sorted);
}

class Summarizer {
 public:
  Summarizer(std::span<const ResidualRecord> records, std::span<const char> flags) : records_(records), flags_(flags) {}

  char FlagOf(size_t i) const { return flags_.empty() ? records_[i].Flag : flags_[i]; }

  // The statistics of the records order[first..last).
  ResidualGroupStats Group(const int32_t* first, const int32_t* last) {
    ResidualGroupStats g;
    g.Records = static_cast<int32_t>(last - first);
    for (int c = 0; c < kResidualCoordinates; ++c) {
      values_.clear();
      sigmas_.clear();
      int32_t rejected = 0;
      for (const int32_t* p = first; p != last; ++p) {
        const ResidualRecord& r = records_[*p];
        if (!Has(r, c)) continue;
        if (!FlagAccepted(FlagOf(*p))) {
          ++rejected;
          continue;
        }
        values_.push_back(Value(r, c));
        sigmas_.push_back(SigmaOf(r, c));
      }
      g.Coord[c] = StatsInPlace(values_.data(), c == kResidualTime ? nullptr : sigmas_.data(), values_.size());
      g.Coord[c].Rejected = rejected;
    }
    return g;
  }

 private:
  std::span<const ResidualRecord> records_;
  std::span<const char> flags_;
  std::vector<double> values_, sigmas_;
};

}  // namespace

CoordinateStats ComputeCoordinateStats(std::span<const double> values, std::span<const double> sigmas) {
  std::vector<double> x(values.begin(), values.end());
  const bool weights = !sigmas.empty() && sigmas.size() == values.size();
  return StatsInPlace(x.data(), weights ? sigmas.data() : nullptr, x.size());
}

ResidualSummary SummarizeResiduals(std::span<const ResidualRecord> records, std::span<const char> flags) {
  if (!flags.empty() && flags.size() != records.size()) flags = {};
  ResidualSummary s;
  Summarizer sum(records, flags);
  const size_t n = records.size();

  // The groups, numbered as they are met (a record's station or year is most often its
  // neighbour's, so the last one is tried before the table).
  std::vector<int32_t> stationOf(n), yearOf(n);
  std::vector<std::string> stations;
  std::vector<int32_t> years;
  std::unordered_map<std::string_view, int32_t> stationIndex;
  std::unordered_map<int32_t, int32_t> yearIndex;
  int32_t lastStation = -1, lastYear = -1;
  for (size_t i = 0; i < n; ++i) {
    const ResidualRecord& r = records[i];
    s.HasTime = s.HasTime || r.HasTime;
    if (lastStation < 0 || stations[lastStation] != r.Station) {
      auto [it, added] = stationIndex.try_emplace(r.Station, static_cast<int32_t>(stations.size()));
      if (added) stations.push_back(r.Station);
      lastStation = it->second;
    }
    stationOf[i] = lastStation;
    if (lastYear < 0 || years[lastYear] != r.Year) {
      auto [it, added] = yearIndex.try_emplace(r.Year, static_cast<int32_t>(years.size()));
      if (added) years.push_back(r.Year);
      lastYear = it->second;
    }
    yearOf[i] = lastYear;
  }
  stationIndex.clear();  // its keys view records, not `stations`, which sorting moves
  SortGroups(stations, stationOf, std::less<std::string>());
  SortGroups(years, yearOf, std::less<int32_t>());

  std::vector<int32_t> all(n);
  for (size_t i = 0; i < n; ++i) all[i] = static_cast<int32_t>(i);
  s.Overall = sum.Group(all.data(), all.data() + n);

  const Grouping byStation = GroupRecords(stationOf, stations.size());
  for (size_t k = 0; k < stations.size(); ++k) {
    s.ByStation.push_back(sum.Group(byStation.Order.data() + byStation.Start[k], byStation.Order.data() + byStation.Start[k + 1]));
    s.ByStation.back().Name = stations[k];
  }
  const Grouping byYear = GroupRecords(yearOf, years.size());
  for (size_t k = 0; k < years.size(); ++k) {
    s.ByYear.push_back(sum.Group(byYear.Order.data() + byYear.Start[k], byYear.Order.data() + byYear.Start[k + 1]));
    s.ByYear.back().Name = std::to_string(years[k]);
    s.ByYear.back().Year = years[k];
  }

  for (size_t i = 0; i < n; ++i) {
    const char f = sum.FlagOf(i);
    if (FlagAccepted(f)) continue;
    const ResidualRecord& r = records[i];
    s.Rejected.push_back({static_cast<int32_t>(i), r.Number, f, r.HasRa, r.HasDec, r.RaArcsec, r.DecArcsec});
  }
  return s;
}

ClipResult ClipResiduals(std::span<const ResidualRecord> records, const ClipRequest& request) {
  ClipResult result;
  const size_t n = records.size();
  result.Flags.resize(n);
  const double k = request.K;
  if (!(k > 0) || !std::isfinite(k) || request.MaxIterations < 1) {
    for (size_t i = 0; i < n; ++i) result.Flags[i] = records[i].Flag;
    result.Status = ClipStatus::kBadRequest;
    return result;
  }
  std::vector<char>& flags = result.Flags;
  for (size_t i = 0; i < n; ++i) flags[i] = FlagByHand(records[i].Flag) ? records[i].Flag : 'A';

  std::vector<double> x;
  auto band = [&](int c) {
    x.clear();
    for (size_t i = 0; i < n; ++i) {
      if (Has(records[i], c) && FlagAccepted(flags[i])) x.push_back(Value(records[i], c));
    }
    ClipBand b;
    b.Count = static_cast<int32_t>(x.size());
    MeanAndSigma(x.data(), x.size(), b.Mean, b.Sigma);
    return b;
  };
  // A coordinate's normalized deviation, (x - mean)/σ, or 0 when it is not clipped.
  auto deviation = [](const ClipBand& b, double v) {
    if (b.Count < 3) return 0.0;
    const double d = std::fabs(v - b.Mean);
    if (b.Sigma > 0) return d / b.Sigma;
    return d > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  };

  result.Status = ClipStatus::kIterationCap;
  for (int32_t pass = 1; pass <= request.MaxIterations; ++pass) {
    result.Iterations = pass;
    const ClipBand ra = band(kResidualRa), dec = band(kResidualDec);
    bool changed = false;
    for (size_t i = 0; i < n; ++i) {
      if (FlagByHand(flags[i])) continue;
      const ResidualRecord& r = records[i];
      const double dRa = r.HasRa ? deviation(ra, r.RaArcsec) : 0;
      const double dDec = r.HasDec ? deviation(dec, r.DecArcsec) : 0;
      const bool out = request.Mode == ClipMode::kSeparately ? dRa > k || dDec > k : dRa * dRa + dDec * dDec > k * k;
      const char f = out ? 'D' : 'A';
      changed = changed || f != flags[i];
      flags[i] = f;
    }
    if (!changed) {
      result.Status = ClipStatus::kConverged;
      break;
    }
  }
  result.Band = {band(kResidualRa), band(kResidualDec)};
  result.Rejected = static_cast<int32_t>(std::count(flags.begin(), flags.end(), 'D'));
  return result;
}

// --- Texts ---

namespace {

// A text right-aligned in `width` characters (UTF-8 counted in characters).
void AppendRight(std::string& out, std::string_view text, size_t width) {
  const size_t len = Utf8Length(text);
  if (len < width) out.append(width - len, ' ');
  out += text;
}
void AppendLeft(std::string& out, std::string_view text, size_t width) {
  out += text;
  const size_t len = Utf8Length(text);
  if (len < width) out.append(width - len, ' ');
}
// A number with the decimals of `pattern` ("0.000"), "-" when it is not defined; a mean
// that rounds to zero from below is written without its sign.
std::string Number(double x, std::string_view pattern) {
  if (!std::isfinite(x)) return "-";
  std::string s = Format(x, pattern);
  if (s[0] == '-' && s.find_first_not_of("-0,") == std::string::npos) s.erase(0, 1);
  return s;
}

constexpr size_t kGroupWidth = 10, kCountWidth = 8, kValueWidth = 10, kChi2Width = 11;

void AppendRow(std::string& t, std::string_view name, const CoordinateStats& s, bool chi2) {
  AppendLeft(t, name, kGroupWidth);
  AppendRight(t, std::to_string(s.Count), kCountWidth);
  AppendRight(t, std::to_string(s.Rejected), kCountWidth);
  for (double v : {s.Mean, s.MeanError, s.Sigma, s.Rms, s.Median, s.Mad}) AppendRight(t, Number(v, "0.000"), kValueWidth);
  if (chi2) AppendRight(t, s.Weighted ? Number(s.Chi2PerDof, "0.00") : "-", kChi2Width);
  t += kCrLf;
}

void AppendTable(std::string& t, const ResidualSummary& s, int c, std::string_view heading) {
  bool chi2 = s.Overall.Coord[c].Weighted;
  for (const auto* groups : {&s.ByStation, &s.ByYear}) {
    for (const auto& g : *groups) chi2 = chi2 || g.Coord[c].Weighted;
  }
  t += kCrLf;
  t += heading;
  t += kCrLf;
  // The columns' heading in one text, aligned with the widths above.
  t += "группа           n   отбр.   среднее      ±ош.     сигма       rms   медиана       MAD";
  if (chi2) t += " хи2/ст.св.";
  t += kCrLf;
  AppendRow(t, "все записи", s.Overall.Coord[c], chi2);
  if (!s.ByStation.empty()) {
    t += "по станциям";
    t += kCrLf;
    for (const auto& g : s.ByStation) AppendRow(t, g.Name, g.Coord[c], chi2);
  }
  if (!s.ByYear.empty()) {
    t += "по годам";
    t += kCrLf;
    for (const auto& g : s.ByYear) AppendRow(t, g.Name, g.Coord[c], chi2);
  }
}

void AppendCsvText(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

}  // namespace

std::string ResidualSummaryText(const ResidualSummary& summary, const SummaryTextOptions& options) {
  std::string t = "сводка O-C: " + options.Title + kCrLf;
  if (options.Clipped) {
    t += "отбраковка k*сигма, k = " + RealText(options.Clip.K) +
         (options.Clip.Mode == ClipMode::kJointly ? ", по RA и Dec совместно" : ", по RA и Dec раздельно") +
         ", итераций: " + std::to_string(options.Iterations);
    if (options.Status == ClipStatus::kIterationCap) t += " (предел: набор еще меняется)";
    t += kCrLf;
  }
  t += "MAD - медиана абсолютных отклонений от медианы, без множителя 1,4826";
  t += kCrLf;
  AppendTable(t, summary, kResidualRa, "RA*cos(Dec), угловые секунды");
  AppendTable(t, summary, kResidualDec, "Dec, угловые секунды");
  if (summary.HasTime) AppendTable(t, summary, kResidualTime, "время, секунды");
  t += kCrLf;
  t += "отбраковано: " + std::to_string(summary.Rejected.size());
  if (!summary.Rejected.empty()) {
    t += kCrLf;
    t += "    запись    O-C RA   O-C Dec  флаг";
    for (const RejectedResidual& r : summary.Rejected) {
      t += kCrLf;
      AppendRight(t, std::to_string(r.Number), kValueWidth);
      AppendRight(t, r.HasRa ? Number(r.RaArcsec, "0.000") : "-", kValueWidth);
      AppendRight(t, r.HasDec ? Number(r.DecArcsec, "0.000") : "-", kValueWidth);
      t += "  ";
      t += r.Flag;
    }
  }
  return t;
}

std::string ResidualSummaryCsv(const ResidualSummary& summary) {
  static constexpr const char* kCoordinate[] = {"ra_cosdec", "dec", "time"};
  std::string t = "coordinate,grouping,group,n,mean,se,sigma,rms,median,mad,wmean,wse,chi2dof,rejected\r\n";
  auto row = [&](int c, const char* grouping, std::string_view group, const CoordinateStats& s) {
    t += kCoordinate[c];
    t += ',';
    t += grouping;
    t += ',';
    AppendCsvText(t, group);
    t += ',';
    t += std::to_string(s.Count);
    for (double v : {s.Mean, s.MeanError, s.Sigma, s.Rms, s.Median, s.Mad}) {
      t += ',';
      AppendCsvNumber(t, v, 4);
    }
    for (double v : {s.WeightedMean, s.WeightedMeanError, s.Chi2PerDof}) {
      t += ',';
      if (s.Weighted) AppendCsvNumber(t, v, 4);
    }
    t += ',';
    t += std::to_string(s.Rejected);
    t += kCrLf;
  };
  for (int c = 0; c < kResidualCoordinates; ++c) {
    if (c == kResidualTime && !summary.HasTime) break;
    row(c, "all", "", summary.Overall.Coord[c]);
    for (const auto& g : summary.ByStation) row(c, "station", g.Name, g.Coord[c]);
    for (const auto& g : summary.ByYear) row(c, "year", g.Name, g.Coord[c]);
  }
  return t;
}

}  // namespace planova
