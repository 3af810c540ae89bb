// Statistics of the residuals (O-C) of a comparison, as an astronomer publishes them:
// per coordinate (right ascension times cos δ and declination in arcseconds, the time in
// seconds where it was compared) the signed mean with its standard error, the standard
// deviation, the rms, the median and the median absolute deviation, with the weighted mean
// and χ² per degree of freedom where every record's uncertainty is known; over all records,
// per station and per calendar year.  Outliers are rejected by iterative k·σ clipping,
// and each record carries its selection in the sense of the ADES field selAst (the MPC's
// Astrometry Data Exchange Standard): 'A' accepted and 'D' deleted by the program, 'a'
// and 'd' decided by hand.
//
// Pure computation: every routine takes its records and returns its result; nothing is
// kept between calls and nothing is shown.  The windows fill the records from their
// comparison and write the texts (the summary file in Windows-1251 through the writer).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace planova {

// The coordinates of a residual, as indices into the per-coordinate arrays below.
enum ResidualCoordinate : int { kResidualRa = 0, kResidualDec = 1, kResidualTime = 2 };
inline constexpr int kResidualCoordinates = 3;

// One record's residuals.  A coordinate the record does not hold (not observed, not
// compared) has its Has flag false and takes no part in anything of that coordinate.
struct ResidualRecord {
  int32_t Number = 0;          // the record's number in its set, for the list of rejected records
  bool HasRa = false, HasDec = false, HasTime = false;
  double RaArcsec = 0;         // O-C in right ascension times cos δ, arcseconds
  double DecArcsec = 0;        // O-C in declination, arcseconds
  double TimeSeconds = 0;      // O-C in time, seconds
  double SigmaRaArcsec = 0;    // the record's uncertainty in RA·cos δ (ADES rmsRA); 0 unknown
  double SigmaDecArcsec = 0;   // the same in declination (ADES rmsDec); 0 unknown
  std::string Station;         // the observatory code
  int32_t Year = 0;            // the calendar year of the observation
  // 'A' accepted, 'D' deleted (by the clipping), 'a', 'd' (by hand), '\0' not decided
  // yet, which counts as accepted.
  char Flag = '\0';
};

// Whether a selection flag takes part in the statistics ('A', 'a' or none yet) and
// whether it was set by hand ('a', 'd').
inline bool FlagAccepted(char flag) { return flag != 'D' && flag != 'd'; }
inline bool FlagByHand(char flag) { return flag == 'a' || flag == 'd'; }

// The statistics of one coordinate over the accepted records of a group.  A value that
// the count does not define is NaN: all of them for no record, σ, the mean's error and
// χ²/dof for one.
struct CoordinateStats {
  int32_t Count = 0;     // accepted values
  int32_t Rejected = 0;  // values of the group's records flagged 'D' or 'd'
  double Mean = 0;       // signed mean
  double MeanError = 0;  // its standard error, σ/√n
  double Sigma = 0;      // sample standard deviation (divisor n-1)
  double Rms = 0;        // √(mean of x²)
  double Median = 0;     // the middle value; the mean of the two middle ones for even n
  double Mad = 0;        // median of |x - median|, raw (not scaled by 1.4826 to a σ)
  // With weights w = 1/σ², when every accepted value has its σ > 0 (never for the time):
  bool Weighted = false;
  double WeightedMean = 0;       // Σwx/Σw
  double WeightedMeanError = 0;  // 1/√Σw
  double Chi2PerDof = 0;         // Σw(x - weighted mean)²/(n-1)
};

// The statistics of a group of records: all of them, one station or one year.
struct ResidualGroupStats {
  std::string Name;  // "" for all records, the station code, or the year as digits
  int32_t Year = 0;  // the year of a group by year
  int32_t Records = 0;  // the group's records, accepted or not
  std::array<CoordinateStats, kResidualCoordinates> Coord{};
};

// A record flagged 'D' or 'd', for the list of rejected records.
struct RejectedResidual {
  int32_t Index = 0;   // its index in the records given
  int32_t Number = 0;  // its number in its set
  char Flag = 'D';
  bool HasRa = false, HasDec = false;
  double RaArcsec = 0, DecArcsec = 0;
};

struct ResidualSummary {
  ResidualGroupStats Overall;
  std::vector<ResidualGroupStats> ByStation;  // sorted by code (byte order)
  std::vector<ResidualGroupStats> ByYear;     // sorted by year
  std::vector<RejectedResidual> Rejected;     // in the order of the records
  bool HasTime = false;                       // whether any record holds a time residual
};

// The records as the statistics read them, one at a time, so that a caller that keeps its
// residuals in a form of its own (window 2 keeps a million of them compactly) need not
// copy them all into ResidualRecords first.
class ResidualSource {
 public:
  virtual ~ResidualSource() = default;
  virtual size_t Count() const = 0;
  // Record k < Count(): one the source holds, or `scratch` filled and returned.
  virtual const ResidualRecord& Record(size_t k, ResidualRecord& scratch) const = 0;
};

// Records held in a span, as a source.
class ResidualSpan : public ResidualSource {
 public:
  explicit ResidualSpan(std::span<const ResidualRecord> records) : records_(records) {}
  size_t Count() const override { return records_.size(); }
  const ResidualRecord& Record(size_t k, ResidualRecord&) const override { return records_[k]; }

 private:
  std::span<const ResidualRecord> records_;
};

// Given: records; flags, one for each record in place of its own Flag (empty: the
// records' own flags).  Returned: the statistics over all records, per station and per
// year.  The medians and MADs come from std::nth_element, not full sorts (for 65 536
// values and more, on the values between bounds taken from a sample: Floyd and Rivest's
// selection).  Linear in the records on average.
// Each record is read twice at most (once, and again for a rejected one); the statistics
// keep of each about 40 bytes while they work.
ResidualSummary SummarizeResiduals(const ResidualSource& records, std::span<const char> flags = {});
inline ResidualSummary SummarizeResiduals(std::span<const ResidualRecord> records, std::span<const char> flags = {}) {
  return SummarizeResiduals(ResidualSpan(records), flags);
}

// The statistics of one set of values (the accepted values of a coordinate): the
// building block of SummarizeResiduals, for a plot's band or a test.
// Given: values; sigmas, each value's σ (empty or any σ <= 0: no weighted statistics).
// Returned: the statistics; Rejected is 0.
CoordinateStats ComputeCoordinateStats(std::span<const double> values, std::span<const double> sigmas = {});

// --- Iterative k·σ clipping ---

// kSeparately: a record is rejected when either coordinate lies beyond k·σ of that
// coordinate's mean.  kJointly: when ((x - m_ra)/σ_ra)² + ((y - m_dec)/σ_dec)² > k².
enum class ClipMode { kSeparately, kJointly };

struct ClipRequest {
  double K = 3;  // Find_Orb's default 3σ
  ClipMode Mode = ClipMode::kSeparately;
  int32_t MaxIterations = 50;  // a cap: a set that keeps changing stops there
};

enum class ClipStatus {
  kConverged,     // the last pass changed nothing
  kIterationCap,  // MaxIterations passes, still changing: the flags of the last pass
  kBadRequest     // K not a positive finite number or MaxIterations < 1: nothing clipped
};

// The band of one coordinate (RA·cos δ or Dec) after the clipping: the mean and σ of its
// accepted values, for a ±k·σ band on a plot; Count < 3 means it was not clipped.
struct ClipBand {
  int32_t Count = 0;
  double Mean = 0, Sigma = 0;  // NaN where the count does not define them
};

struct ClipResult {
  ClipStatus Status = ClipStatus::kConverged;
  std::vector<char> Flags;  // one per record: 'a' and 'd' kept, the others 'A' or 'D'
  std::array<ClipBand, 2> Band{};  // kResidualRa, kResidualDec
  int32_t Iterations = 0;  // the passes made (the last one changed nothing when converged)
  int32_t Rejected = 0;    // records flagged 'D'
};

// Given: records (their Flag: 'a' and 'd' are kept, 'd' ones take no part; any other
// starts as accepted); request.  Returned: the flags, the final band and the passes.
// Each pass takes the mean and σ of every coordinate over the accepted records, then
// judges every record not flagged by hand against them; a record of the pass before
// comes back when it lies within the new band.  The passes go on until a pass changes
// no flag.  A coordinate with fewer than 3 accepted values is not clipped; with σ = 0
// only a value different from the mean lies beyond.  The time is never clipped.
ClipResult ClipResiduals(const ResidualSource& records, const ClipRequest& request = {});
inline ClipResult ClipResiduals(std::span<const ResidualRecord> records, const ClipRequest& request = {}) {
  return ClipResiduals(ResidualSpan(records), request);
}

// --- Texts ---

struct SummaryTextOptions {
  std::string Title;  // follows "сводка O-C: " (the set's code and object, say)
  bool Clipped = false;  // the clipping line below the title, from these:
  ClipRequest Clip;
  int32_t Iterations = 0;
  ClipStatus Status = ClipStatus::kConverged;
};

// Given: a summary; options.  Returned: its text for window 2's pane and the Summary_
// file (UTF-8, lines ending in CR LF, no final line end; the writer makes Windows-1251):
// a table per coordinate in fixed columns (group, n, mean, ±se, σ, rms, median, MAD, and
// χ²/dof where weights are known) for all records, by station and by year, in
// arcseconds and seconds with three decimals (decimal comma); then the rejected records
// by number with their O-C.
std::string ResidualSummaryText(const ResidualSummary& summary, const SummaryTextOptions& options = {});

// Given: a summary.  Returned: the same as CSV rows for Python or R (UTF-8, decimal
// point, lines ending in CR LF, a header line first): coordinate (ra_cosdec, dec, time),
// grouping (all, station, year), group, n, mean, se, sigma, rms, median, mad, wmean,
// wse, chi2dof, rejected; a value the count does not define is an empty field; text
// fields are quoted as RFC 4180 asks when they hold a comma, a quote or a line end.
std::string ResidualSummaryCsv(const ResidualSummary& summary);

}  // namespace planova
