#include "compare/comparison_run.h"

#include <bit>
#include <charconv>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <numeric>

#include "common/numtext.h"

namespace planova {

namespace {

constexpr double kBig = 1000000;
const char* const kCrLf = "\r\n";

// The heading line that names the ephemeris of the theory, or a blank line for none.
std::string EphemerisLine(const std::string& ephemeris) {
  return (ephemeris.empty() ? std::string() : "эфемериды " + ephemeris) + kCrLf;
}

}  // namespace

void OcStatistics::Reset() {
  ComparedCount = 0;
  SumAbsDLDeg = SumAbsDBDeg = 0;
  AcceptedL = AcceptedB = 0;
  IntervalEdgesDeg.fill(0);
  IntervalCounts.fill(0);
  for (int k = 0; k <= 18; ++k) IntervalEdgesDeg[static_cast<size_t>(k)] = k / 3600.0;
  IntervalEdgesDeg[19] = kBig;
  for (int k = 20; k <= 38; ++k) IntervalEdgesDeg[static_cast<size_t>(k)] = (k - 20) / 14400.0;
  IntervalEdgesDeg[39] = kBig;
  IntervalEdgesDeg[59] = kBig * kBig;
}

void OcStatistics::Add(bool hasLon, bool hasLat, double diffLDeg, double diffBDeg) {
  ComparedCount += 1;
  const auto& e = IntervalEdgesDeg;
  // One coordinate: the interval that holds its absolute difference (the edges rise, so
  // there is at most one), and the sum under the last finite edge.
  auto classify = [&](double d, bool latitude, double& sum, int32_t& accepted) {
    if (const int32_t k = IntervalOf(d, latitude); k > 0) IntervalCounts[static_cast<size_t>(k)] += 1;
    if (d < e[latitude ? 38 : 18]) {
      sum += d;
      accepted += 1;
    }
  };
  if (hasLon) classify(std::fabs(diffLDeg), false, SumAbsDLDeg, AcceptedL);
  if (hasLat) classify(std::fabs(diffBDeg), true, SumAbsDBDeg, AcceptedB);
}

int32_t OcStatistics::IntervalOf(double d, bool latitude) const {
  const auto& e = IntervalEdgesDeg;
  const size_t from = latitude ? 21 : 1, to = latitude ? 39 : 19;
  if (!(d > e[from - 1])) return 0;  // below the first edge, on it, or NaN
  // The edges are a whole number of steps (an arcsecond, a quarter arcsecond of
  // latitude) up to the last finite one: the step count of d names the interval, which
  // the edges themselves then confirm or move by one, so that a value on an edge, or one
  // that the multiplication puts on the other side of it, is classified by the edges.
  const double steps = d * (latitude ? 14400.0 : 3600.0);
  size_t k = steps < static_cast<double>(to - from) ? from + static_cast<size_t>(steps) : to;
  while (k > from && !(d > e[k - 1])) --k;
  while (k < to && !(d < e[k])) ++k;
  return d > e[k - 1] && d < e[k] ? static_cast<int32_t>(k) : 0;
}

std::string OcStatistics::StatText(const std::string& code, int32_t object, const std::string& ephemeris) {
  if (AcceptedL == 0) AcceptedL = 1;
  if (AcceptedB == 0) AcceptedB = 1;
  const auto& e = IntervalEdgesDeg;
  const auto& c = IntervalCounts;
  std::string t = "статистика данных  " + code + "  по планете " + std::to_string(object) + kCrLf +
                  "интервалы dL и dB в угловых секундах dR в тыс.км.)" + kCrLf + EphemerisLine(ephemeris);
  for (size_t k = 1; k <= 18; ++k) {
    t += Format(e[k - 1] * 3600, "00") + "..." + Format(e[k] * 3600, "00") + "   " + Format(c[k], "0000") + "        " +
         Format(e[k + 19] * 3600, "0.00") + "..." + Format(e[k + 20] * 3600, "0.00") + "   " + Format(c[k + 20], "0000") +
         "        " + Format(e[k + 39], "000.00") + "..." + Format(e[k + 40], "000.00") + "   " +
         Format(c[k + 40], "0000") + kCrLf;
  }
  t += Format(e[18] * 3600, "00") + "...     " + Format(c[19], "0000") + "        " + Format(e[38] * 3600, "0.00") +
       "...       " + Format(c[39], "0000") + "        " + Format(e[58], "000.00") + "...         " +
       Format(c[59], "0000") + kCrLf;
  t += std::string(kCrLf) + "                 общее количество точек  " + std::to_string(ComparedCount) + kCrLf;
  t += "dLsr= " + RealText(Fix(kBig * 3600 * SumAbsDLDeg / AcceptedL) / kBig) + " секунд по " + std::to_string(AcceptedL) +
       " учтенным наблюдениям долготы" + kCrLf;
  t += "dBsr= " + RealText(Fix(kBig * 3600 * SumAbsDBDeg / AcceptedB) / kBig) + " секунд по " + std::to_string(AcceptedB) +
       " учтенным наблюдениям широты";
  return t;
}

RunPause ComparisonRun::Drive(bool stepMode, const volatile int16_t& stop, const std::function<bool(int32_t)>& compareRow,
                              const std::function<void()>& show, const std::function<void()>& idle) {
  constexpr auto kShowEvery = std::chrono::milliseconds(100);
  RunPause pause = RunPause::kFinished;
  auto lastShown = std::chrono::steady_clock::now();
  for (int32_t rows = 1;; ++rows) {
    const int32_t r = CurrentRow;
    if (!compareRow(r)) {
      pause = RunPause::kFailed;
      break;
    }
    CurrentRow = r + 1;
    if (CurrentRow > Last) {
      Active = false;
      pause = RunPause::kFinished;
      break;
    }
    if (stop == 1) {
      pause = RunPause::kStopped;
      break;
    }
    if (stepMode) {
      pause = RunPause::kStep;
      break;
    }
    if (rows % 64 == 0) {
      auto now = std::chrono::steady_clock::now();
      if (now - lastShown > kShowEvery) {
        show();
        lastShown = now;
      }
    }
    idle();
  }
  show();
  if (param_.IsOpen()) param_.Flush();
  return pause;
}

bool ComparisonRun::OpenParamFile(const std::filesystem::path& path, const std::string& code, int32_t object,
                                  const std::string& ephemeris) {
  CloseRunFiles();
  paramPath_ = path;
  if (!param_.Create(path)) return false;
  param_.Write(Utf8ToCp1251("планета  № " + std::to_string(object) + "   обсерватория " + code + kCrLf));
  param_.Write(Utf8ToCp1251(EphemerisLine(ephemeris)));
  param_.Write(Utf8ToCp1251(std::string(kCrLf) +
                            "№ п/п, дата наблюдения (день с часами, месяц, год, JD), разность по долготе, широте и времени" +
                            kCrLf));
  return param_.Write(kCrLf);
}

bool ComparisonRun::WriteParamRecord(int32_t row, double day, int32_t month, int32_t year, double jd, double diffLDeg,
                                     double diffBDeg, double diffTDays) {
  // The record and its line end formed in one buffer and written at once.
  char rec[8 * kPrintFormMax + 2];
  char* p = rec;
  for (double v : {static_cast<double>(row), Fix(day * 1000), month * 1000.0, year * 1000.0, Fix(jd * 1000),
                   Fix(diffLDeg * 3600 * 1000), Fix(diffBDeg * 3600 * 1000), Fix(diffTDays * 1000 * 24 * 3600)}) {
    p = PrintFormInto(p, v);
  }
  *p++ = '\r';
  *p++ = '\n';
  if (param_.Write({rec, static_cast<size_t>(p - rec)})) return true;
  param_.Discard();
  csv_.Discard();
  return false;
}

std::vector<std::filesystem::path> ComparisonRun::CloseRunFiles() {
  std::vector<std::filesystem::path> unwritten;
  if (param_.IsOpen() && !param_.Commit()) unwritten.push_back(paramPath_);
  if (csv_.IsOpen() && !csv_.Commit()) unwritten.push_back(csvPath_);
  return unwritten;
}

uint64_t CsvRoundedExactly(double value, int decimals) {
  using csv_number_detail::kPower;
  // |value| = m 2^e with m a whole number below 2^53.
  const auto bits = std::bit_cast<uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t m = bits & ((uint64_t{1} << 52) - 1);
  int e = -1074;
  if (biased != 0) {
    m |= uint64_t{1} << 52;
    e = biased - 1075;
  }
  const unsigned __int128 scaled = static_cast<unsigned __int128>(m) * kPower[decimals];  // below 2^83
  if (e >= 0) return static_cast<uint64_t>(scaled << e);  // a whole number already
  if (-e >= 128) return 0;                                 // below 2^-45
  const int k = -e;
  const unsigned __int128 q = scaled >> k, rest = scaled - (q << k), half = static_cast<unsigned __int128>(1) << (k - 1);
  return static_cast<uint64_t>(q) + ((rest > half || (rest == half && (q & 1) != 0)) ? 1 : 0);
}

char* CsvNumberByLibraryInto(char* buf, double value, int decimals, bool plus) {
  if (!std::isfinite(value) || decimals < 0 || decimals > 9) return buf;
  // The library's text, with room before it for a plus sign.
  auto r = std::to_chars(buf + 1, buf + kCsvNumberMax, value, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return buf;
  if (plus && buf[1] != '-') {
    buf[0] = '+';
    return r.ptr;
  }
  std::memmove(buf, buf + 1, static_cast<size_t>(r.ptr - buf - 1));
  return r.ptr - 1;
}

char* CsvNumberInto(char* buf, double value, int decimals, bool plus) {
  switch (decimals) {
    case 0: return CsvNumberInto<0>(buf, value, plus);
    case 1: return CsvNumberInto<1>(buf, value, plus);
    case 2: return CsvNumberInto<2>(buf, value, plus);
    case 3: return CsvNumberInto<3>(buf, value, plus);
    case 4: return CsvNumberInto<4>(buf, value, plus);
    case 5: return CsvNumberInto<5>(buf, value, plus);
    case 6: return CsvNumberInto<6>(buf, value, plus);
    case 7: return CsvNumberInto<7>(buf, value, plus);
    case 8: return CsvNumberInto<8>(buf, value, plus);
    case 9: return CsvNumberInto<9>(buf, value, plus);
    default: return buf;
  }
}

void AppendCsvNumber(std::string& out, double value, int decimals) {
  char buf[kCsvNumberMax];
  out.append(buf, CsvNumberInto(buf, value, decimals));
}

std::string CsvField(std::string_view text) {
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

char* StartCsvRecordInto(char* p, int32_t record, IsoDateTime& date, CalendarRule rule, double jd,
                         std::string_view fixedFields) {
  p = CsvNumberInto<0>(p, record);
  *p++ = ',';
  if (char* end = date.WriteTo(p, rule, jd)) p = end;
  *p++ = ',';
  p = CsvNumberInto<8>(p, jd);
  *p++ = ',';
  std::memcpy(p, fixedFields.data(), fixedFields.size());
  return p + fixedFields.size();
}

void StartCsvRecord(std::string& line, int32_t record, IsoDateTime& date, CalendarRule rule, double jd,
                    std::string_view fixedFields) {
  line.resize(CsvRecordStartMax(fixedFields));
  line.resize(static_cast<size_t>(StartCsvRecordInto(line.data(), record, date, rule, jd, fixedFields) - line.data()));
}

bool ComparisonRun::OpenCsvFile(const std::filesystem::path& path, const std::string& header) {
  csv_.Discard();
  csvPath_ = path;
  return csv_.Create(path) && csv_.WriteLine(header);
}

bool ComparisonRun::WriteCsvLine(std::string_view line) {
  if (csv_.WriteLine(line)) return true;
  csv_.Discard();
  return false;
}

bool ComparisonRun::WriteCsvBytes(std::string_view lines) {
  if (csv_.Write(lines)) return true;
  csv_.Discard();
  return false;
}

bool ComparisonRun::OverwriteCsv(uint64_t offset, char c) {
  if (csv_.WriteAt(offset, {&c, 1})) return true;
  csv_.Discard();
  return false;
}

bool WriteTextFile(const std::filesystem::path& path, const std::string& bytes) {
  return WriteFileAtomically(path, bytes + kCrLf);
}

void TimeMatchIndex::Build(const std::vector<double>& jds) {
  std::vector<int32_t> rows;
  for (size_t j = 1; j < jds.size(); ++j) {
    if (!std::isnan(jds[j])) rows.push_back(static_cast<int32_t>(j));
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [&](int32_t a, int32_t b) { return jds[static_cast<size_t>(a)] < jds[static_cast<size_t>(b)]; });
  sortedJd_.resize(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) sortedJd_[i] = jds[static_cast<size_t>(rows[i])];
  // A segment tree of maxima over the sorted order: leaves at n .. 2n - 1.
  const size_t n = rows.size();
  maxRow_.assign(2 * n, 0);
  for (size_t i = 0; i < n; ++i) maxRow_[n + i] = rows[i];
  for (size_t i = n; i-- > 1;) maxRow_[i] = std::max(maxRow_[2 * i], maxRow_[2 * i + 1]);
}

int32_t TimeMatchIndex::LastWithin(double jd, double toleranceDays) const {
  // |jd - x| is monotone on either side of jd, so the dates within the tolerance are one
  // run of the sorted dates; the predicates below are exactly the comparison made.
  auto first = std::partition_point(sortedJd_.begin(), sortedJd_.end(),
                                    [&](double x) { return x < jd && !(std::fabs(jd - x) <= toleranceDays); });
  auto last = std::partition_point(first, sortedJd_.end(),
                                   [&](double x) { return x < jd || std::fabs(jd - x) <= toleranceDays; });
  if (first == last) return 0;
  const size_t n = sortedJd_.size();
  size_t lo = static_cast<size_t>(first - sortedJd_.begin()) + n;
  size_t hi = static_cast<size_t>(last - sortedJd_.begin()) + n;  // half-open
  int32_t best = 0;
  for (; lo < hi; lo /= 2, hi /= 2) {
    if (lo & 1) best = std::max(best, maxRow_[lo++]);
    if (hi & 1) best = std::max(best, maxRow_[--hi]);
  }
  return best;
}

}  // namespace planova
