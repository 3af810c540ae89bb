// An SPK kernel as the program's ephemeris.  Source of the layout: NAIF's "DAF Required
// Reading" (file record, summary and name records, addresses in double words counted
// from 1) and "SPK Required Reading" (segment types 2 and 3: records of MID, RADIUS and
// the Chebyshev coefficients, then the directory INIT, INTLEN, RSIZE, N).
#include "astro/spk_ephemeris.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace planova {
namespace {

constexpr size_t kRecordBytes = 1024;  // a DAF record: 128 double words
constexpr size_t kRecordWords = 128;
constexpr double kJ2000Jd = 2451545.0;
constexpr double kDaySec = 86400.0;
constexpr int kJ2000Frame = 1;
// A summary of ND = 2 doubles and NI = 6 integers takes 5 double words; after the three
// control words a summary record holds 25 of them.
constexpr size_t kSummaryWords = 5;
constexpr size_t kMaxSummaries = (kRecordWords - 3) / kSummaryWords;
// How far a date may stand outside its record's span, in half-lengths, before the record
// is taken as damaged (the segment's last record serves its end date, tau = 1).
constexpr double kTauSlack = 1e-6;
// Coefficients per component up to which the Chebyshev polynomials are tabulated once for
// the three components (JPL's kernels use at most 14); longer series take them in the loop.
constexpr size_t kMaxTabulated = 32;

// The segments (target, centre) a body is made of: the Moon is the difference of two.
struct BodyChain {
  int Target, Center;
  int MinusTarget, MinusCenter;  // 0, 0 when there is no second segment
  const char* Name;
};
const BodyChain& ChainOf(int body) {
  static const BodyChain chains[] = {
      {1, 0, 0, 0, "Меркурий"},
      {2, 0, 0, 0, "Венера"},
      {3, 0, 0, 0, "барицентр Земля–Луна"},
      {4, 0, 0, 0, "Марс"},
      {5, 0, 0, 0, "Юпитер"},
      {6, 0, 0, 0, "Сатурн"},
      {7, 0, 0, 0, "Уран"},
      {8, 0, 0, 0, "Нептун"},
      {9, 0, 0, 0, "Плутон"},
      {301, 3, 399, 3, "Луна"},
      {10, 0, 0, 0, "Солнце"},
  };
  return chains[body - 1];
}
constexpr int kBodies = 11;

std::string FileName(const std::filesystem::path& path) { return path.filename().string(); }

std::string Refuse(std::string* refusal, std::string text) {
  if (refusal) *refusal = text;
  return text;
}

// A double in [0, limit] that is a whole number, as an index.
bool WholeUpTo(double x, double limit, size_t& out) {
  if (!(x >= 0 && x <= limit) || x != std::floor(x)) return false;
  out = static_cast<size_t>(x);
  return true;
}

// JPL's number in a text: "DE" (or "de"), an optional '-' and leading zeros, three or
// four digits not followed by another ("DE-0440LE-0440" -> 440, "de405" -> 405), not
// preceded by a letter.  0 when none.
int DeNumberIn(const std::string& text, bool atStartOnly) {
  for (size_t i = 0; i + 2 < text.size(); ++i) {
    if (atStartOnly && i > 0) break;
    if (std::toupper(static_cast<unsigned char>(text[i])) != 'D' ||
        std::toupper(static_cast<unsigned char>(text[i + 1])) != 'E')
      continue;
    if (i > 0 && std::isalpha(static_cast<unsigned char>(text[i - 1]))) continue;
    size_t j = i + 2;
    if (j < text.size() && text[j] == '-') ++j;
    size_t digits = j;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
    size_t first = j;
    while (first + 3 < digits && text[first] == '0') ++first;  // "0440" -> "440"
    if (digits - first == 3 || digits - first == 4) {
      int n = std::stoi(text.substr(first, digits - first));
      if (n >= 100) return n;
    }
  }
  return 0;
}

// JPL's published AU (km) and EMRAT of the versions listed in the header.
JplConstants ConstantsOf(int de) {
  JplConstants c;
  switch (de) {
    case 405: c.AuKm = 149597870.691; c.Emrat = 81.30056; break;
    case 421: c.AuKm = 149597870.6996262; c.Emrat = 81.3005690699153; break;
    case 430:
    case 431: c.AuKm = 149597870.700; c.Emrat = 81.30056907419062; break;
    case 440:
    case 441: c.AuKm = 149597870.700; c.Emrat = 81.3005682214972154; break;
    default: break;
  }
  return c;
}

// A mapped file, unmapped unless released.
struct Mapping {
  const unsigned char* Data = nullptr;
  size_t Size = 0;
  ~Mapping() {
    if (Data) munmap(const_cast<unsigned char*>(Data), Size);
  }
};

}  // namespace

SpkEphemeris::~SpkEphemeris() {
  if (map_) munmap(const_cast<unsigned char*>(map_), size_);
}

std::string SpkEphemeris::Name() const { return FileName(path_); }

double SpkEphemeris::Word(size_t index) const {
  uint64_t bits;
  std::memcpy(&bits, map_ + index * 8, 8);
  if (swap_) bits = __builtin_bswap64(bits);
  return std::bit_cast<double>(bits);
}

std::unique_ptr<SpkEphemeris> SpkEphemeris::Open(const std::filesystem::path& path, std::string* refusal) {
  const std::string name = FileName(path);
  const std::string notSpk = "Файл " + name + " не является ядром SPK";
  const std::string damaged = "Файл " + name + " повреждён";

  Mapping m;
  {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      if (fd >= 0) ::close(fd);
      Refuse(refusal, "Не открывается файл " + name);
      return nullptr;
    }
    m.Size = static_cast<size_t>(st.st_size);
    if (m.Size < kRecordBytes) {
      // Shorter than its file record: a DAF cut short, or a file of another kind (a text
      // kernel "KPL/...").
      char head[4] = {};
      const bool daf = ::pread(fd, head, sizeof head, 0) == sizeof head && std::memcmp(head, "DAF/", 4) == 0;
      const bool naif = std::memcmp(head, "NAIF", 4) == 0;
      ::close(fd);
      Refuse(refusal, daf || naif ? damaged : notSpk);
      return nullptr;
    }
    void* p = ::mmap(nullptr, m.Size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) {
      Refuse(refusal, "Не открывается файл " + name);
      return nullptr;
    }
    m.Data = static_cast<const unsigned char*>(p);
  }

  std::unique_ptr<SpkEphemeris> e(new SpkEphemeris());
  e->path_ = path;
  const unsigned char* d = m.Data;
  auto text = [&](size_t offset, size_t n) { return std::string(reinterpret_cast<const char*>(d + offset), n); };
  auto int32At = [&](size_t offset, bool big) {
    uint32_t v;
    std::memcpy(&v, d + offset, 4);
    if (big != (std::endian::native == std::endian::big)) v = __builtin_bswap32(v);
    return static_cast<int32_t>(v);
  };

  // The file record: LOCIDW, ND, NI, LOCIFN, FWARD, BWARD, FREE, LOCFMT.
  const std::string idWord = text(0, 8), format = text(88, 8);
  bool big;
  if (format == "LTL-IEEE") big = false;
  else if (format == "BIG-IEEE") big = true;
  else if (int32At(8, false) == 2) big = false;  // files older than LOCFMT: ND tells
  else if (int32At(8, true) == 2) big = true;
  else {
    Refuse(refusal, notSpk);
    return nullptr;
  }
  e->bigEndian_ = big;
  e->swap_ = big != (std::endian::native == std::endian::big);
  const int nd = int32At(8, big), ni = int32At(12, big);
  if (!(idWord == "DAF/SPK " || idWord == "NAIF/DAF") || nd != 2 || ni != 6) {
    Refuse(refusal, notSpk);
    return nullptr;
  }
  const int32_t forward = int32At(76, big);
  const size_t records = m.Size / kRecordBytes, words = m.Size / 8;
  e->map_ = m.Data;
  e->size_ = m.Size;
  m.Data = nullptr;  // the value owns the mapping from here

  // The chain of summary records.
  size_t record = forward >= 0 ? static_cast<size_t>(forward) : 0;
  std::vector<bool> visited(records + 1);
  while (record != 0) {
    if (record < 2 || record > records || visited[record]) {
      Refuse(refusal, damaged);
      return nullptr;
    }
    visited[record] = true;
    const size_t base = (record - 1) * kRecordWords;
    size_t next, count;
    if (!WholeUpTo(e->Word(base), static_cast<double>(records), next) ||
        !WholeUpTo(e->Word(base + 2), static_cast<double>(kMaxSummaries), count)) {
      Refuse(refusal, damaged);
      return nullptr;
    }
    for (size_t i = 0; i < count; ++i) {
      const size_t at = base + 3 + i * kSummaryWords;
      Segment s;
      s.StartSec = e->Word(at);
      s.EndSec = e->Word(at + 1);
      const size_t ints = (at + 2) * 8;
      s.Target = int32At(ints, big);
      s.Center = int32At(ints + 4, big);
      const int frame = int32At(ints + 8, big);
      s.Type = int32At(ints + 12, big);
      const int32_t initial = int32At(ints + 16, big), final = int32At(ints + 20, big);
      if ((s.Type != 2 && s.Type != 3) || frame != kJ2000Frame) continue;
      // Addresses count double words from 1; the directory is the last four.
      const size_t perCoordinate = s.Type == 2 ? 3 : 6;
      if (initial < 1 || final < initial + 3 || static_cast<size_t>(final) > words ||
          !std::isfinite(s.StartSec) || !std::isfinite(s.EndSec) || !(s.StartSec <= s.EndSec)) {
        Refuse(refusal, damaged);
        return nullptr;
      }
      s.FirstWord = static_cast<size_t>(initial) - 1;
      const size_t last = static_cast<size_t>(final) - 1;
      s.Init = e->Word(last - 3);
      s.IntervalSec = e->Word(last - 2);
      const size_t arrayWords = last - s.FirstWord + 1;
      if (!std::isfinite(s.Init) || !(s.IntervalSec > 0) || !std::isfinite(s.IntervalSec) ||
          !WholeUpTo(e->Word(last - 1), static_cast<double>(arrayWords), s.RecordWords) ||
          !WholeUpTo(e->Word(last), static_cast<double>(arrayWords), s.Records) ||
          s.RecordWords < 2 + perCoordinate || (s.RecordWords - 2) % perCoordinate != 0 || s.Records < 1 ||
          s.Records * s.RecordWords + 4 != arrayWords) {
        Refuse(refusal, damaged);
        return nullptr;
      }
      s.Coefficients = (s.RecordWords - 2) / perCoordinate;
      e->segments_.push_back(s);
    }
    record = next;
  }

  // Every body's segments, and the span all of them cover.
  auto spanOf = [&](int target, int center, double& first, double& end) {
    std::vector<std::pair<double, double>> spans;
    for (const Segment& s : e->segments_)
      if (s.Target == target && s.Center == center) spans.emplace_back(s.StartSec, s.EndSec);
    if (spans.empty()) return false;
    std::sort(spans.begin(), spans.end());
    // The longest run of segments that join or overlap.
    double runFirst = spans[0].first, runEnd = spans[0].second;
    first = runFirst;
    end = runEnd;
    for (const auto& [a, b] : spans) {
      if (a <= runEnd) {
        runEnd = std::max(runEnd, b);
      } else {
        runFirst = a;
        runEnd = b;
      }
      if (runEnd - runFirst > end - first) {
        first = runFirst;
        end = runEnd;
      }
    }
    return true;
  };
  std::vector<std::string> missing;
  double first = -HUGE_VAL, end = HUGE_VAL;
  for (int body = 1; body <= kBodies; ++body) {
    const BodyChain& c = ChainOf(body);
    double f1, e1, f2 = -HUGE_VAL, e2 = HUGE_VAL;
    bool has = spanOf(c.Target, c.Center, f1, e1);
    if (c.MinusTarget) has = spanOf(c.MinusTarget, c.MinusCenter, f2, e2) && has;
    if (!has) {
      missing.push_back(c.Name);
      continue;
    }
    first = std::max({first, f1, f2});
    end = std::min({end, e1, e2});
  }
  if (!missing.empty()) {
    std::string list;
    for (const std::string& b : missing) list += (list.empty() ? "" : ", ") + b;
    Refuse(refusal, "В файле " + name + (missing.size() == 1 ? " нет сегментов тела: " : " нет сегментов тел: ") + list);
    return nullptr;
  }
  for (int body = 1; body <= kBodies; ++body) {
    const BodyChain& c = ChainOf(body);
    for (size_t i = e->segments_.size(); i-- > 0;) {
      const Segment& s = e->segments_[i];
      if (s.Target == c.Target && s.Center == c.Center) e->plus_[body].push_back(i);
      if (c.MinusTarget && s.Target == c.MinusTarget && s.Center == c.MinusCenter) e->minus_[body].push_back(i);
    }
  }
  e->last_.assign(e->segments_.size(), Evaluation{});
  e->coverage_.FirstJd = kJ2000Jd + first / kDaySec;
  e->coverage_.EndJd = kJ2000Jd + end / kDaySec;
  if (!(e->coverage_.FirstJd < e->coverage_.EndJd)) {
    Refuse(refusal, "В файле " + name + " сегменты тел не покрывают общего интервала дат");
    return nullptr;
  }

  // The version: from the file's name, else from its internal name and its comments
  // (the records between the file record and the first summary record).
  e->deNumber_ = DeNumberIn(name, true);
  if (e->deNumber_ == 0) {
    std::string texts = text(16, 60);
    const size_t commentEnd = std::min(static_cast<size_t>(std::max(forward - 1, 1)) * kRecordBytes,
                                       std::min(m.Size, size_t{64} * kRecordBytes));
    if (commentEnd > kRecordBytes) texts += text(kRecordBytes, commentEnd - kRecordBytes);
    e->deNumber_ = DeNumberIn(texts, false);
  }
  e->constants_ = ConstantsOf(e->deNumber_);
  return e;
}

long SpkEphemeris::Covering(const std::vector<size_t>& candidates, double sec) const {
  for (size_t i : candidates) {
    const Segment& s = segments_[i];
    if (s.StartSec <= sec && sec <= s.EndSec) return static_cast<long>(i);
  }
  return -1;
}

bool SpkEphemeris::Evaluate(size_t index, double sec, double pos[3], double vel[3], double& radiusSec) {
  Evaluation& memo = last_[index];
  if (memo.Sec == sec) {
    for (int c = 0; c < 3; ++c) {
      pos[c] = memo.Pos[c];
      vel[c] = memo.Vel[c];
    }
    radiusSec = memo.RadiusSec;
    return true;
  }
  const Segment& s = segments_[index];
  double r = std::floor((sec - s.Init) / s.IntervalSec);
  const double lastRecord = static_cast<double>(s.Records - 1);
  r = std::clamp(std::isfinite(r) ? r : 0.0, 0.0, lastRecord);
  const size_t base = s.FirstWord + static_cast<size_t>(r) * s.RecordWords;
  const double mid = Word(base), radius = Word(base + 1);
  if (!std::isfinite(mid) || !(radius > 0) || !std::isfinite(radius)) return false;
  const double tau = (sec - mid) / radius;
  if (!(std::fabs(tau) <= 1 + kTauSlack)) return false;

  const size_t n = s.Coefficients;
  const size_t coef = base + 2;
  const bool type2 = s.Type == 2;
  if (n <= kMaxTabulated) {
    // T_k(tau) and its derivative T'_k by their recurrences, once for the three components.
    double T[kMaxTabulated], D[kMaxTabulated];
    T[0] = 1;
    D[0] = 0;
    if (n > 1) {
      T[1] = tau;
      D[1] = 1;
    }
    for (size_t k = 2; k < n; ++k) {
      T[k] = 2 * tau * T[k - 1] - T[k - 2];
      D[k] = 2 * T[k - 1] + 2 * tau * D[k - 1] - D[k - 2];
    }
    for (int c = 0; c < 3; ++c) {
      const size_t at = coef + static_cast<size_t>(c) * n;
      double p = 0, dp = 0, v = 0;
      if (type2) {
        for (size_t k = 0; k < n; ++k) {
          const double a = Word(at + k);
          p += a * T[k];
          dp += a * D[k];
        }
      } else {
        const size_t atV = coef + (3 + static_cast<size_t>(c)) * n;
        for (size_t k = 0; k < n; ++k) {
          p += Word(at + k) * T[k];
          v += Word(atV + k) * T[k];
        }
      }
      pos[c] = p;
      vel[c] = type2 ? dp / radius : v;  // km/s
    }
  } else {
    for (int c = 0; c < 3; ++c) {
      double t0 = 1, t1 = tau, d0 = 0, d1 = 1;
      double p = 0, dp = 0, v = 0;
      for (size_t k = 0; k < n; ++k) {
        double t, dt;
        if (k == 0) {
          t = t0;
          dt = d0;
        } else if (k == 1) {
          t = t1;
          dt = d1;
        } else {
          t = 2 * tau * t1 - t0;
          dt = 2 * t1 + 2 * tau * d1 - d0;
          t0 = t1;
          t1 = t;
          d0 = d1;
          d1 = dt;
        }
        const double a = Word(coef + static_cast<size_t>(c) * n + k);
        p += a * t;
        if (type2) dp += a * dt;
        else v += Word(coef + (3 + static_cast<size_t>(c)) * n + k) * t;
      }
      pos[c] = p;
      vel[c] = type2 ? dp / radius : v;  // km/s
    }
  }
  radiusSec = radius;
  memo.Sec = sec;
  for (int c = 0; c < 3; ++c) {
    memo.Pos[c] = pos[c];
    memo.Vel[c] = vel[c];
  }
  memo.RadiusSec = radius;
  return true;
}

EphemerisFailure SpkEphemeris::State(int body, double jdTdb, ChebyshevState& out, std::filesystem::path* failedFile) {
  auto readError = [&] {
    if (failedFile) *failedFile = path_;
    return EphemerisFailure::kReadError;
  };
  if (body < 1 || body > kBodies) return readError();
  if (!(jdTdb >= coverage_.FirstJd && jdTdb < coverage_.EndJd)) return EphemerisFailure::kNoSuchDate;
  const double sec = (jdTdb - kJ2000Jd) * kDaySec;
  const bool twoSegments = ChainOf(body).MinusTarget != 0;
  const long plus = Covering(plus_[body], sec);
  const long minus = twoSegments ? Covering(minus_[body], sec) : -1;
  if (plus < 0 || (twoSegments && minus < 0)) return EphemerisFailure::kNoSuchDate;

  double pos[3], vel[3], radius;
  if (!Evaluate(static_cast<size_t>(plus), sec, pos, vel, radius)) return readError();
  if (minus >= 0) {
    double p2[3], v2[3], r2;
    if (!Evaluate(static_cast<size_t>(minus), sec, p2, v2, r2)) return readError();
    for (int i = 0; i < 3; ++i) {
      pos[i] -= p2[i];
      vel[i] -= v2[i];
    }
  }
  ChebyshevState s;
  s.IntervalDays = 2 * radius / kDaySec;
  for (int i = 0; i < 3; ++i) {
    s.Pos[i] = pos[i];
    s.Der[i] = vel[i] * radius;  // km/s times the half-length in s: km per half interval
    if (!std::isfinite(s.Pos[i]) || !std::isfinite(s.Der[i])) return readError();
  }
  out = s;
  return EphemerisFailure::kNone;
}

std::unique_ptr<JplEphemeris> OpenSpkEphemeris(const std::filesystem::path& path, std::string* refusal) {
  return SpkEphemeris::Open(path, refusal);
}

}  // namespace planova
