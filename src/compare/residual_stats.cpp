#include "compare/residual_stats.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

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

// The median of x[0..n), n > 0, by Floyd and Rivest's selection (Comm. ACM 18, 165,
// 1975): a sorted sample of the values gives two bounds that hold the middle rank with
// near certainty, one pass counts the values below them and gathers those between, and
// std::nth_element finds the middle among these few.  When the bounds miss (or the set
// is small) std::nth_element runs on the whole set.  x may be reordered; `scratch` is
// the caller's buffer, kept to save allocations.
//
// The buffer for the values between the bounds: room for every value, of which only the
// few written are ever touched (it is not cleared, so a large one costs its pages only
// where written).
struct MedianScratch {
  std::unique_ptr<double[]> Data;
  size_t Size = 0;
  double* Room(size_t n) {
    if (n > Size) {
      Data.reset(new double[n]);
      Size = n;
    }
    return Data.get();
  }
};

double Median(double* x, size_t n, MedianScratch& scratch) {
  constexpr size_t kSample = 4096, kSampledFrom = 65536;
  const size_t h = n / 2, lowRank = n % 2 == 1 ? h : h - 1;
  if (n >= kSampledFrom) {
    double sample[kSample];
    uint64_t state = 0x9E3779B97F4A7C15u ^ n;  // a fixed sequence (Knuth's MMIX generator)
    for (double& s : sample) {
      state = state * 6364136223846793005u + 1442695040888963407u;
      s = x[(state >> 32) % n];
    }
    // The middle's rank in the sample has a standard deviation below √kSample/2 = 32:
    // bounds 4 of them (and a little) either side, selected in the sample as well.
    constexpr size_t kLow = kSample / 2 - (4 * 32 + 8), kHigh = kSample / 2 + (4 * 32 + 8);
    std::nth_element(sample, sample + kHigh, sample + kSample);
    std::nth_element(sample, sample + kLow, sample + kHigh);
    const double a = sample[kLow], b = sample[kHigh];
    // Without branches: which side of a bound a value lies is a coin's toss.
    size_t below = 0, m = 0;
    double* s = scratch.Room(n);
    for (size_t i = 0; i < n; ++i) {
      const double v = x[i];
      below += v < a;
      s[m] = v;
      m += (a <= v) & (v <= b);
    }
    if (below <= lowRank && h < below + m) {
      const size_t k = h - below;
      std::nth_element(s, s + k, s + m);
      const double upper = s[k];
      if (n % 2 == 1) return upper;
      return (*std::max_element(s, s + k) + upper) / 2;
    }
  }
  return MedianInPlace(x, n);
}

// The statistics of values[0..n) (reordered: the median and the MAD work in place) with
// their σ (null, or any σ <= 0: no weights).
CoordinateStats StatsInPlace(double* values, const double* sigmas, size_t n, MedianScratch& scratch) {
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
  s.Median = Median(values, n, scratch);
  for (size_t i = 0; i < n; ++i) values[i] = std::fabs(values[i] - s.Median);
  s.Mad = Median(values, n, scratch);
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

// A coordinate's values in the order of the records, with their σ and their state:
// kAbsent (not held), kTaken (accepted) or kLeft (rejected).  Reading them from these
// arrays rather than from the records keeps the passes over a million records in cache.
// A column no record holds is not made (the time when no time was compared), nor its σ
// while every σ is 0 (unknown), as is the common case: both read as absent or 0.
enum : uint8_t { kAbsent, kTaken, kLeft };
struct CoordinateColumn {
  std::vector<double> Value, Sigma;
  std::vector<uint8_t> State;
};

class Summarizer {
 public:
  // Reads every record once: its values and states, and its station's and year's group,
  // numbered in the order the groups are met.
  Summarizer(const ResidualSource& records, std::span<const char> flags) : n_(records.Count()) {
    stationOf.resize(n_);
    yearOf.resize(n_);
    // A record's station or year is most often its neighbour's: the last one is tried
    // before the table.
    std::unordered_map<std::string, int32_t> stationIndex;
    std::unordered_map<int32_t, int32_t> yearIndex;
    int32_t lastStation = -1, lastYear = -1;
    ResidualRecord scratch;
    for (size_t i = 0; i < n_; ++i) {
      const ResidualRecord& r = records.Record(i, scratch);
      const bool accepted = FlagAccepted(flags.empty() ? r.Flag : flags[i]);
      for (int c = 0; c < kResidualCoordinates; ++c) {
        CoordinateColumn& col = columns_[c];
        const bool has = Has(r, c);
        if (col.State.empty()) {
          if (!has) continue;
          col.Value.resize(n_);
          col.State.resize(n_);
        }
        col.Value[i] = Value(r, c);
        col.State[i] = !has ? kAbsent : accepted ? kTaken : kLeft;
        const double sigma = SigmaOf(r, c);
        if (sigma != 0 && col.Sigma.empty()) col.Sigma.resize(n_);
        if (!col.Sigma.empty()) col.Sigma[i] = sigma;
      }
      HasTime = HasTime || r.HasTime;
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
  }

  // The statistics of the records order[first..last), their values gathered in record
  // order (the order the sums take them in).
  ResidualGroupStats Group(const int32_t* first, const int32_t* last) {
    const size_t n = static_cast<size_t>(last - first);
    return Gathered(n, [first](size_t k) { return static_cast<size_t>(first[k]); },
                    [this, n](const CoordinateColumn& col) {
                      values_.resize(std::max(values_.size(), n));
                      if (!col.Sigma.empty()) sigmas_.resize(std::max(sigmas_.size(), n));
                      return std::pair{values_.data(), sigmas_.data()};
                    });
  }

  // The statistics of all records, gathered within the columns themselves (no copy of
  // a million values beside them): the columns serve no group after this one.
  ResidualGroupStats AllInPlace() {
    return Gathered(n_, [](size_t k) { return k; },
                    [](CoordinateColumn& col) { return std::pair{col.Value.data(), col.Sigma.data()}; });
  }

  std::vector<int32_t> stationOf, yearOf;
  std::vector<std::string> stations;
  std::vector<int32_t> years;
  bool HasTime = false;

 private:
  size_t n_;
  // The statistics of the n records index(0..n): each coordinate's accepted values and
  // their σ gathered, in record order, into the arrays `into(column)` gives (which may be
  // the column's own: a value is never written past the one read), then reordered by the
  // statistics.  Without a column of σ every σ is 0, which allows no weights, as no σ does.
  template <class Index, class Into>
  ResidualGroupStats Gathered(size_t n, Index index, Into into) {
    ResidualGroupStats g;
    g.Records = static_cast<int32_t>(n);
    for (int c = 0; c < kResidualCoordinates; ++c) {
      CoordinateColumn& col = columns_[c];
      const bool sigmas = !col.Sigma.empty();
      const auto [values, sigmaValues] = into(col);
      size_t m = 0;
      int32_t rejected = 0;
      for (size_t k = 0; k < n && !col.State.empty(); ++k) {
        const size_t i = index(k);
        const uint8_t state = col.State[i];
        if (state == kTaken) {
          values[m] = col.Value[i];
          if (sigmas) sigmaValues[m] = col.Sigma[i];
          ++m;
        } else if (state == kLeft) {
          ++rejected;
        }
      }
      g.Coord[c] = StatsInPlace(values, c == kResidualTime || !sigmas ? nullptr : sigmaValues, m, scratch_);
      g.Coord[c].Rejected = rejected;
    }
    return g;
  }

  std::array<CoordinateColumn, kResidualCoordinates> columns_;
  std::vector<double> values_, sigmas_;
  MedianScratch scratch_;
};

}  // namespace

CoordinateStats ComputeCoordinateStats(std::span<const double> values, std::span<const double> sigmas) {
  std::vector<double> x(values.begin(), values.end());
  MedianScratch scratch;
  const bool weights = !sigmas.empty() && sigmas.size() == values.size();
  return StatsInPlace(x.data(), weights ? sigmas.data() : nullptr, x.size(), scratch);
}

ResidualSummary SummarizeResiduals(const ResidualSource& records, std::span<const char> flags) {
  const size_t n = records.Count();
  if (!flags.empty() && flags.size() != n) flags = {};
  ResidualSummary s;
  Summarizer sum(records, flags);
  s.HasTime = sum.HasTime;
  SortGroups(sum.stations, sum.stationOf, std::less<std::string>());
  SortGroups(sum.years, sum.yearOf, std::less<int32_t>());

  // The groups first, then all records within the columns.  A group of every record
  // (one station, one year) has the statistics of all records, the same values in the
  // same order: they are taken from those rather than computed twice.
  // Each list's group numbers are dropped once its groups are made.
  const auto groups = [&](std::vector<int32_t>& groupOf, size_t count, std::vector<ResidualGroupStats>& out) {
    Grouping g;
    if (count > 1) g = GroupRecords(groupOf, count);
    std::vector<int32_t>().swap(groupOf);
    if (count == 1) out.emplace_back().Records = -1;  // every record: filled below
    for (size_t k = 0; count > 1 && k < count; ++k) {
      const int32_t* first = g.Order.data() + g.Start[k];
      const int32_t* last = g.Order.data() + g.Start[k + 1];
      out.push_back(sum.Group(first, last));
    }
  };
  groups(sum.stationOf, sum.stations.size(), s.ByStation);
  groups(sum.yearOf, sum.years.size(), s.ByYear);
  s.Overall = sum.AllInPlace();
  for (auto* list : {&s.ByStation, &s.ByYear}) {
    for (ResidualGroupStats& g : *list) {
      if (g.Records < 0) g = s.Overall;
    }
  }
  for (size_t k = 0; k < sum.stations.size(); ++k) s.ByStation[k].Name = sum.stations[k];
  for (size_t k = 0; k < sum.years.size(); ++k) {
    s.ByYear[k].Name = std::to_string(sum.years[k]);
    s.ByYear[k].Year = sum.years[k];
  }

  ResidualRecord scratch;
  for (size_t i = 0; i < n; ++i) {
    if (!flags.empty() && FlagAccepted(flags[i])) continue;
    const ResidualRecord& r = records.Record(i, scratch);
    const char f = flags.empty() ? r.Flag : flags[i];
    if (FlagAccepted(f)) continue;
    s.Rejected.push_back({static_cast<int32_t>(i), r.Number, f, r.HasRa, r.HasDec, r.RaArcsec, r.DecArcsec});
  }
  return s;
}

ClipResult ClipResiduals(const ResidualSource& records, const ClipRequest& request) {
  ClipResult result;
  const size_t n = records.Count();
  result.Flags.resize(n);
  const double k = request.K;
  ResidualRecord scratch;
  if (!(k > 0) || !std::isfinite(k) || request.MaxIterations < 1) {
    for (size_t i = 0; i < n; ++i) result.Flags[i] = records.Record(i, scratch).Flag;
    result.Status = ClipStatus::kBadRequest;
    return result;
  }
  std::vector<char>& flags = result.Flags;
  // The two coordinates in arrays of their own (NaN where not held), and whether each
  // record is taken (accepted) in this pass.
  std::vector<double> ra(n), dec(n);
  std::vector<uint8_t> taken(n);
  for (size_t i = 0; i < n; ++i) {
    const ResidualRecord& r = records.Record(i, scratch);
    ra[i] = r.HasRa ? r.RaArcsec : kNaN;
    dec[i] = r.HasDec ? r.DecArcsec : kNaN;
    flags[i] = FlagByHand(r.Flag) ? r.Flag : 'A';
    taken[i] = FlagAccepted(flags[i]);
  }

  // A coordinate's normalized deviation, |x - mean|/σ: 0 when the value is not held or
  // the coordinate is not clipped (fewer than 3 values); with σ = 0, infinite for a value
  // off the mean.
  auto deviation = [](const ClipBand& b, double v) {
    if (b.Count < 3 || v != v) return 0.0;
    const double d = std::fabs(v - b.Mean);
    if (b.Sigma > 0) return d / b.Sigma;
    return d > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  };

  // The mean and σ of the taken values of each coordinate, as MeanAndSigma gives them
  // for the same values gathered in order, both coordinates in each sweep.
  // (A single sweep about a shifted origin would cost less, but with equal values its σ
  // is rounding noise that need not cover the mean's own rounding, and equal values
  // could be rejected; about the two-pass mean every deviation is within σ·√(n/(n-1)).)
  auto bands = [&] {
    double sum[2] = {0, 0}, dev[2] = {0, 0}, ss[2] = {0, 0}, m[2];
    size_t count[2] = {0, 0};
    for (size_t i = 0; i < n; ++i) {
      if (!taken[i]) continue;
      if (ra[i] == ra[i]) sum[0] += ra[i], ++count[0];
      if (dec[i] == dec[i]) sum[1] += dec[i], ++count[1];
    }
    for (int c = 0; c < 2; ++c) m[c] = count[c] ? sum[c] / count[c] : 0;
    for (size_t i = 0; i < n; ++i) {
      if (!taken[i]) continue;
      if (ra[i] == ra[i]) dev[0] += ra[i] - m[0];
      if (dec[i] == dec[i]) dev[1] += dec[i] - m[1];
    }
    for (int c = 0; c < 2; ++c) m[c] += count[c] ? dev[c] / count[c] : 0;
    for (size_t i = 0; i < n; ++i) {
      if (!taken[i]) continue;
      if (ra[i] == ra[i]) ss[0] += (ra[i] - m[0]) * (ra[i] - m[0]);
      if (dec[i] == dec[i]) ss[1] += (dec[i] - m[1]) * (dec[i] - m[1]);
    }
    std::array<ClipBand, 2> b;
    for (int c = 0; c < 2; ++c) {
      b[c].Count = static_cast<int32_t>(count[c]);
      b[c].Mean = count[c] ? m[c] : kNaN;
      b[c].Sigma = count[c] > 1 ? std::sqrt(ss[c] / (count[c] - 1)) : kNaN;
    }
    return b;
  };

  result.Status = ClipStatus::kIterationCap;
  for (int32_t pass = 1; pass <= request.MaxIterations; ++pass) {
    result.Iterations = pass;
    const auto [bRa, bDec] = bands();
    bool changed = false;
    for (size_t i = 0; i < n; ++i) {
      if (FlagByHand(flags[i])) continue;
      const double dRa = deviation(bRa, ra[i]), dDec = deviation(bDec, dec[i]);
      const bool out = request.Mode == ClipMode::kSeparately ? dRa > k || dDec > k : dRa * dRa + dDec * dDec > k * k;
      if (out == !taken[i]) continue;
      changed = true;
      taken[i] = !out;
      flags[i] = out ? 'D' : 'A';
    }
    if (!changed) {
      result.Status = ClipStatus::kConverged;
      break;
    }
  }
  result.Band = bands();
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
