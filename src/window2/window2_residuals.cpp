// The residuals of window 2's comparison as an astronomer publishes them: each compared
// record is kept during the run (its O-C, station, year and the sigmas of its weights);
// at the end of a finished run the O-C are clipped at k·σ when "отбраковка k·σ" is
// ticked, records named in "исключить №" are set aside by hand, and the statistics
// (compare/residual_stats.h) follow the comparison log in the report pane.  With
// "+File" the CSV twin of Param_data_ gets each record's selection (ADES selAst) and
// sigmas, and the summary (Summary_<code><object>.txt and .csv) and the O-C as ADES PSV
// (Residuals_<code><object>.psv) are written beside the Param_data_ and Stat files,
// which stay as they were: the clipping changes none of their bytes.
#include <algorithm>
#include <cmath>
#include <future>
#include <iterator>
#include <system_error>

#include "astro/constants.h"
#include "bdl/bdl_line.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "compare/ades_residuals.h"
#include "models/messages.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

// Why a line of Weights.txt was refused, as the report pane says it.
const char* WeightFaultText(WeightRuleFault fault) {
  switch (fault) {
    case WeightRuleFault::kFieldCount: return "не шесть полей";
    case WeightRuleFault::kBadDate: return "неверная дата";
    case WeightRuleFault::kDateRange: return "последняя дата раньше первой";
    case WeightRuleFault::kBadSigma: return "сигма не число";
    case WeightRuleFault::kSigmaRange: return "сигма не больше нуля";
  }
  return "";
}

// Sorted, with overlapping or touching ranges merged, for a binary search.
void SortAndMerge(std::vector<std::pair<int32_t, int32_t>>& ranges) {
  std::sort(ranges.begin(), ranges.end());
  size_t kept = 0;
  for (const auto& range : ranges) {
    if (kept > 0 && range.first <= ranges[kept - 1].second + 1) {
      ranges[kept - 1].second = std::max(ranges[kept - 1].second, range.second);
    } else {
      ranges[kept++] = range;
    }
  }
  ranges.resize(kept);
}

// "исключить №": record numbers and inclusive ranges, separated by ";", "," or blanks, set
// aside by hand ('d'), and, each after a "+", records kept by hand whatever the clipping
// says ('a'): "5; 12-14; +30".  False for anything else (a zero, a range whose end is
// before its start).
bool ParseHandSelection(std::string_view text, HandSelection& hand) {
  hand = {};
  auto number = [](std::string_view s, int32_t& v) {
    if (s.empty() || s.size() > 9) return false;
    v = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    return v >= 1;
  };
  size_t k = 0;
  while (k < text.size()) {
    const size_t end = text.find_first_of("; ,\t", k);
    std::string_view token = text.substr(k, end == std::string_view::npos ? std::string_view::npos : end - k);
    k = end == std::string_view::npos ? text.size() : end + 1;
    if (token.empty()) continue;
    const bool keep = token.front() == '+';
    if (keep) token.remove_prefix(1);
    const size_t dash = token.find('-');
    int32_t first = 0, last = 0;
    if (dash == std::string_view::npos) {
      if (!number(token, first)) return false;
      last = first;
    } else if (!number(token.substr(0, dash), first) || !number(token.substr(dash + 1), last) || last < first) {
      return false;
    }
    (keep ? hand.Kept : hand.Excluded).emplace_back(first, last);
  }
  SortAndMerge(hand.Excluded);
  SortAndMerge(hand.Kept);
  return true;
}

}  // namespace

bool InRanges(const std::vector<std::pair<int32_t, int32_t>>& ranges, int32_t n) {
  // The last range that starts at or before n.
  auto it = std::upper_bound(ranges.begin(), ranges.end(), n,
                             [](int32_t v, const std::pair<int32_t, int32_t>& range) { return v < range.first; });
  return it != ranges.begin() && std::prev(it)->second >= n;
}

char HandSelection::FlagOf(int32_t row) const {
  return InRanges(Excluded, row) ? 'd' : InRanges(Kept, row) ? 'a' : '\0';
}

namespace {

std::string SummaryStem(const std::string& code, int32_t object) { return code + std::to_string(object); }

}  // namespace

// The clipping and the records excluded by hand, read before a run starts: k must be a
// positive number when the clipping is ticked, and the list of records must read.
void Window2Model::ReadResidualSettings(std::optional<ClipRequest>& clip, HandSelection& hand) {
  clip.reset();
  if (clipResiduals.Value) {
    const double k = BoxReal(clipK);
    if (!(k > 0) || !std::isfinite(k)) Refuse(clipK);
    ClipRequest request;
    request.K = k;
    request.Mode = clipJointly.Value ? ClipMode::kJointly : ClipMode::kSeparately;
    clip = request;
  }
  if (!ParseHandSelection(excludedRecords.Text, hand)) Refuse(excludedRecords);
}

// A new run: no record kept yet, Weights.txt read afresh, and its refused lines at the
// top of the comparison log.
void Window2Model::BeginResiduals(std::optional<ClipRequest> clip, HandSelection hand) {
  RunResiduals.clear();
  CsvRows.clear();
  CsvBlockUsed = 0;
  CsvFailed = false;
  RunStations.clear();
  RunClip = clip;
  RunHand = std::move(hand);
  LastSummary = {};
  LastClip = {};
  RunWeights = LoadWeightRules(Ui().AppFolder());
  for (const WeightRuleProblem& p : RunWeights.Problems) {
    ComparisonLog += std::string(kWeightRulesFile) + ", строка " + std::to_string(p.Line) + ": " +
                     WeightFaultText(p.Fault) + kCrLf;
  }
}

static_assert(sizeof(Window2Model::RunResidual) <= 80, "a compared record is kept in 80 bytes");

// Row i of data set 1 has been compared (DiffLDeg, DiffBDeg, and diffTDays in time).
void Window2Model::KeepResidual(int32_t i, double diffTDays, int32_t year) {
  if (RunResiduals.empty()) RunResiduals.reserve(static_cast<size_t>(std::max(0, Run.Last - Run.First + 1)));
  RunResidual r;
  r.Row = i;
  r.Jd = Store.ObsJd(i, kSet1);
  r.RaDeg = Store.ObsLon(i, kSet1);
  r.DecDeg = Store.ObsLat(i, kSet1);
  r.SetOcRa(DiffLDeg * 3600);  // after DecDeg
  r.OcDecArcsec = DiffBDeg * 3600;
  r.OcTimeSeconds = diffTDays * 86400;
  r.Year = static_cast<int16_t>(std::clamp<int32_t>(year, INT16_MIN, INT16_MAX));
  const bool hasL = HasLongitude(r.RaDeg), hasB = HasLatitude(r.DecDeg);
  r.Bits = (hasL ? RunResidual::kHasRa : 0) | (hasB ? RunResidual::kHasDec : 0);
  r.IntervalRa = static_cast<int8_t>(hasL ? Run.Stats.IntervalOf(std::fabs(DiffLDeg), false) : 0);
  r.IntervalDec = static_cast<int8_t>(hasB ? Run.Stats.IntervalOf(std::fabs(DiffBDeg), true) : 0);
  // Most runs hold one station or long stretches of one: a record with the same code as
  // the record kept before it (and, for one that names none, the same code of the store)
  // has its station, without its text being made again.
  const StationCode& code = Store.ObsStation(i, kSet1);
  const RunResidual* last = RunResiduals.empty() ? nullptr : &RunResiduals.back();
  if (last && code == RunLastStationCode &&
      (!code.empty() || RunStations[static_cast<size_t>(last->Station)] == Store.ObservatoryCode)) {
    r.Station = last->Station;
  } else {
    std::string station = Store.ObserverCode(i, kSet1);
    if (RunStations.empty() || RunStations[static_cast<size_t>(last ? last->Station : 0)] != station) {
      auto it = std::find(RunStations.begin(), RunStations.end(), station);
      if (it == RunStations.end()) it = RunStations.insert(it, std::move(station));
      r.Station = static_cast<int32_t>(it - RunStations.begin());
    } else {
      r.Station = last ? last->Station : 0;
    }
    RunLastStationCode = code;
  }
  const RecordSigmas s = RunWeights.SigmasOf(Store.SigmaRaArcsec(i, kSet1), Store.SigmaDecArcsec(i, kSet1),
                                             RunStations[static_cast<size_t>(r.Station)], r.Jd, {});
  r.SigmaRa = static_cast<float>(s.RaArcsec);
  r.SigmaDec = static_cast<float>(s.DecArcsec);
  if (s.Ra == SigmaSource::kRecord) r.Bits |= RunResidual::kOwnSigmaRa;
  if (s.Dec == SigmaSource::kRecord) r.Bits |= RunResidual::kOwnSigmaDec;
  RunResiduals.push_back(r);
  if (Run.CsvOpen()) AddCsvRow(r);
}

void Window2Model::FillResidualRecord(size_t k, ResidualRecord& out) const {
  const RunResidual& r = RunResiduals[k];
  out.Number = r.Row;
  out.HasRa = (r.Bits & RunResidual::kHasRa) != 0;
  out.HasDec = (r.Bits & RunResidual::kHasDec) != 0;
  out.HasTime = set2FromFile.Value;
  out.RaArcsec = r.OcRaCosDecArcsec();
  out.DecArcsec = r.OcDecArcsec;
  out.TimeSeconds = r.OcTimeSeconds;
  out.SigmaRaArcsec = r.SigmaRa;
  out.SigmaDecArcsec = r.SigmaDec;
  out.Station = RunStations[static_cast<size_t>(r.Station)];
  out.Year = r.Year;
  out.Flag = RunHand.FlagOf(r.Row);
}

std::vector<char> Window2Model::HandFlags() const {
  std::vector<char> flags(RunResiduals.size());
  for (size_t k = 0; k < flags.size(); ++k) {
    const char hand = RunHand.FlagOf(RunResiduals[k].Row);
    flags[k] = hand ? hand : 'A';
  }
  return flags;
}

namespace {
// The CSV rows go to the file in blocks of about this size.
constexpr size_t kCsvBlockBytes = size_t{1} << 20;
}  // namespace

void Window2Model::AddCsvRow(const RunResidual& r) {
  if (CsvRows.empty()) {
    if (CsvBlock.empty()) CsvBlock.assign(kCsvBlockBytes + CsvRowMax(), ' ');
    CsvBlockUsed = 0;
    CsvRowsFrom = Run.CsvBytesWritten();
    CsvRows.reserve(static_cast<size_t>(std::max(0, Run.Last - Run.First + 1)));
  }
  char* const start = CsvBlock.data() + CsvBlockUsed;
  char* sel = nullptr;
  char* p = CsvRowInto(start, r, 'A', &sel);
  *p++ = '\r';
  *p++ = '\n';
  CsvRows.push_back({static_cast<uint16_t>(p - start), static_cast<uint16_t>(sel - start)});
  CsvBlockUsed = static_cast<size_t>(p - CsvBlock.data());
  if (CsvBlockUsed >= kCsvBlockBytes) {
    if (!Run.WriteCsvBytes({CsvBlock.data(), CsvBlockUsed})) CsvFailed = true;
    CsvBlockUsed = 0;
  }
}

bool Window2Model::FinishCsvRows(const std::vector<char>& flags) {
  if (CsvFailed) return false;
  if (CsvBlockUsed > 0 && !Run.WriteCsvBytes({CsvBlock.data(), CsvBlockUsed})) return false;
  CsvBlockUsed = 0;
  uint64_t at = CsvRowsFrom;
  for (size_t k = 0; k < CsvRows.size(); ++k) {
    const char sel = k < flags.size() ? flags[k] : 'A';
    if (sel != 'A' && !Run.OverwriteCsv(at + CsvRows[k].Sel, sel)) return false;
    at += CsvRows[k].Length;
  }
  return true;
}

// The end of a finished run: the clipping, the statistics, the summary after the log.
void Window2Model::SummarizeRun() {
  // The statistics read the kept rows where they are rather than a copy of them all.
  class RunRecords : public ResidualSource {
   public:
    explicit RunRecords(const Window2Model& m) : m_(m) {}
    size_t Count() const override { return m_.RunResiduals.size(); }
    const ResidualRecord& Record(size_t k, ResidualRecord& scratch) const override {
      m_.FillResidualRecord(k, scratch);
      return scratch;
    }

   private:
    const Window2Model& m_;
  };
  const RunRecords records(*this);
  if (RunClip) {
    LastClip = ClipResiduals(records, *RunClip);
  } else {
    LastClip = {};
    LastClip.Flags = HandFlags();
  }
  LastSummary = SummarizeResiduals(records, LastClip.Flags);
  if (RunResiduals.empty()) return;
  SummaryTextOptions options;
  options.Title = SummaryStem(Store.ObservatoryCode, Store.ObjectNumber);
  options.Clipped = RunClip.has_value();
  if (RunClip) options.Clip = *RunClip;
  options.Iterations = LastClip.Iterations;
  options.Status = LastClip.Status;
  if (!ComparisonLog.empty() && !ComparisonLog.ends_with(kCrLf)) ComparisonLog += kCrLf;
  ComparisonLog += ResidualSummaryText(LastSummary, options);
  ComparisonLog += kCrLf;
}

// With "+File", after a finished run: Summary_<code><object>.txt (Windows-1251) and .csv
// (UTF-8), and Residuals_<code><object>.psv (ADES), each whole or not at all.
void Window2Model::WriteResidualFiles(const std::string& ephemerisName, std::future<PreparedAdesResiduals> psv) {
  if (!writeParamFile.Value || RunResiduals.empty()) return;
  if (!psv.valid()) psv = StartResidualPsv(ephemerisName);
  const std::string stem = SummaryStem(Store.ObservatoryCode, Store.ObjectNumber);
  const std::filesystem::path textPath = AppPath(Ui().AppFolder(), "Dat/Summary_" + stem + ".txt");
  const std::filesystem::path csvPath = AppPath(Ui().AppFolder(), "Dat/Summary_" + stem + ".csv");
  SummaryTextOptions options;
  options.Title = stem;
  options.Clipped = RunClip.has_value();
  if (RunClip) options.Clip = *RunClip;
  options.Iterations = LastClip.Iterations;
  options.Status = LastClip.Status;
  if (!WriteTextFile(textPath, Utf8ToCp1251(ResidualSummaryText(LastSummary, options)))) {
    throw Refusal{WriteFailureMessage(textPath), {}};
  }
  if (!WriteFileAtomically(csvPath, ResidualSummaryCsv(LastSummary))) throw Refusal{WriteFailureMessage(csvPath), {}};
  if (PreparedAdesResiduals written = psv.get(); !written.Commit()) {
    throw Refusal{WriteFailureMessage(AdesResidualsPath(Ui().AppFolder(), Store.ObservatoryCode, Store.ObjectNumber)), {}};
  }
}

std::future<PreparedAdesResiduals> Window2Model::StartResidualPsv(const std::string& ephemerisName) {
  if (!writeParamFile.Value || RunResiduals.empty()) return {};
  AdesResidualsRequest request;
  request.Body = BodyNameOf(Store.ObjectNumber);
  request.Ephemeris = ephemerisName.empty() ? "DE405" : ephemerisName;
  request.Calendar = Astro.Calendar();
  // The records are handed to the writer one at a time from the run's own residuals,
  // which nothing changes until the file is put in its place or dropped.
  class RunRows : public AdesRowSource {
   public:
    explicit RunRows(const Window2Model& m) : m_(m) {}
    size_t Count() const override { return m_.RunResiduals.size(); }
    void Fill(size_t k, AdesResidualRow& row) const override {
      const RunResidual& r = m_.RunResiduals[k];
      row.JdUtc = r.Jd;
      row.RaDeg = r.RaDeg;
      row.DecDeg = r.DecDeg;
      row.Station = m_.RunStations[static_cast<size_t>(r.Station)];
      row.RmsRaArcsec = (r.Bits & RunResidual::kOwnSigmaRa) ? r.SigmaRa : 0;
      row.RmsDecArcsec = (r.Bits & RunResidual::kOwnSigmaDec) ? r.SigmaDec : 0;
      row.ResRaArcsec = (r.Bits & RunResidual::kHasRa) ? r.OcRaCosDecArcsec() : NAN;
      row.ResDecArcsec = (r.Bits & RunResidual::kHasDec) ? r.OcDecArcsec : NAN;
      row.SelAst = k < m_.LastClip.Flags.size() ? m_.LastClip.Flags[k] : 'A';
      row.SigRaArcsec = r.SigmaRa;
      row.SigDecArcsec = r.SigmaDec;
    }

   private:
    const Window2Model& m_;
  };
  const std::filesystem::path path = AdesResidualsPath(Ui().AppFolder(), Store.ObservatoryCode, Store.ObjectNumber);
  auto form = [this, path, request = std::move(request)] { return PrepareAdesResiduals(path, request, RunRows(*this)); };
  try {
    return std::async(std::launch::async, form);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, form);  // no second thread: formed when asked for
  }
}

// On the plot of a finished run: a grey cross over each record set aside, and the
// ±k·σ band of each coordinate shown as two dashed lines in its colour.
void Window2Model::MarkClippedPoints() {
  if (!plotDifferences.Value || LastClip.Flags.size() != RunResiduals.size()) return;
  for (size_t k = 0; k < RunResiduals.size(); ++k) {
    if (FlagAccepted(LastClip.Flags[k])) continue;
    const RunResidual& r = RunResiduals[k];
    PlotRejectedMark(plotPicture, Plot, PlotOriginJd,
                     {r.Jd, r.OcRaArcsec, r.OcDecArcsec, (r.Bits & RunResidual::kHasRa) != 0,
                      (r.Bits & RunResidual::kHasDec) != 0});
  }
  if (!RunClip) return;
  // The band of RA·cos δ is drawn on the plot's dL (right ascension itself) at the mean
  // declination of the accepted records.
  double sumCos = 0;
  int32_t n = 0;
  for (size_t k = 0; k < RunResiduals.size(); ++k) {
    if (!FlagAccepted(LastClip.Flags[k]) || !(RunResiduals[k].Bits & RunResidual::kHasRa)) continue;
    sumCos += std::cos(RunResiduals[k].DecDeg / kProgramDegPerRad);
    ++n;
  }
  const ClipBand& ra = LastClip.Band[kResidualRa];
  const ClipBand& dec = LastClip.Band[kResidualDec];
  const double k = RunClip->K;
  if (Plot.ShowL && ra.Count >= 3 && n > 0 && sumCos > 0) {
    const double c = sumCos / n;
    PlotBand(plotPicture, PlotColours, Plot, (ra.Mean - k * ra.Sigma) / c, (ra.Mean + k * ra.Sigma) / c, Plot.ColourL);
  }
  if (Plot.ShowB && dec.Count >= 3) {
    PlotBand(plotPicture, PlotColours, Plot, dec.Mean - k * dec.Sigma, dec.Mean + k * dec.Sigma, Plot.ColourB);
  }
}

}  // namespace planova
