#include "astro/de405.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#if defined(__linux__)
#include <sys/stat.h>
#endif

#include "astro/astro_state.h"
#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

namespace fs = std::filesystem;

// First JD of each 20-year block file, 1600 .. 2000, and the end of the last one
// (the coverage table of JPL's block files, half-open ranges).
constexpr double kBlockStartJd[] = {
    2305424.5, 2312752.5, 2320048.5, 2327344.5, 2334640.5, 2341968.5, 2349264.5, 2356560.5,
    2363856.5, 2371184.5, 2378480.5, 2385776.5, 2393104.5, 2400400.5, 2407696.5, 2414992.5,
    2422320.5, 2429616.5, 2436912.5, 2444208.5, 2451536.5, 2458832.5};
constexpr int kBlockCount = static_cast<int>(std::size(kBlockStartJd)) - 1;
constexpr int kFirstFileYear = kDe405FirstFileYear;
constexpr int kYearsPerFile = kDe405YearsPerFile;
static_assert(kFirstFileYear + kYearsPerFile * (kBlockCount - 1) == kDe405LastFileYear);

void ReadFailure(AstroState& a) {
  a.EphemerisFailureKind = EphemerisFailure::kReadError;
  a.EphemerisError = 1;
}

// Ephemeris body number of a program body number (0 Sun -> 11, 11 Moon -> 10, others
// unchanged), or 0 when the number is not a body of the files.
int EphemerisBody(int body) {
  if (body == 0) return 11;
  if (body == 11) return 10;
  if (body >= 1 && body <= 10) return body;
  return 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// One number as the block files write it: an optional sign, digits with an optional
// point, an optional exponent with E or D ("0.243691250000000000D+07", "-1.5E-3", "1018").
// Correctly rounded to the nearest double.  False for anything else (letters, "inf",
// a value beyond the range of a double).
bool ParseNumber(std::string_view token, double& value) {
  char buf[64];
  if (token.empty() || token.size() >= sizeof buf) return false;
  size_t i = 0;
  if (token[0] == '+') i = 1;
  size_t n = 0;
  for (; i < token.size(); ++i) {
    char c = token[i];
    buf[n++] = (c == 'D' || c == 'd') ? 'E' : c;
  }
  const char* begin = buf;
  const char* end = buf + n;
  const char* q = begin;
  if (q != end && *q == '-' && token[0] != '+') ++q;
  if (q == end || !((*q >= '0' && *q <= '9') || *q == '.')) return false;
  auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
  return ec == std::errc() && ptr == end;
}

// The next blank-separated number of [p, end): 1 read (p moves past it), 0 only blanks
// were left, -1 the next word is not a number.
int NextNumber(const char*& p, const char* end, double& value) {
  while (p != end && IsBlank(*p)) ++p;
  if (p == end) return 0;
  const char* start = p;
  while (p != end && !IsBlank(*p)) ++p;
  return ParseNumber(std::string_view(start, static_cast<size_t>(p - start)), value) ? 1 : -1;
}

// The numbers of a text file opened for sequential input, line after line.
class LineNumberReader {
 public:
  explicit LineNumberReader(TextInputFile& file) : file_(file) {}
  // True with the next number; false at the end of the file or at a word that is not a
  // number.
  bool Next(double& value) {
    for (;;) {
      const char* end = line_.data() + line_.size();
      int r = NextNumber(pos_, end, value);
      if (r != 0) return r > 0;
      if (!file_.ReadLine(line_)) return false;
      pos_ = line_.data();
    }
  }

 private:
  TextInputFile& file_;
  std::string line_;
  const char* pos_ = line_.data();
};

// The plain way: open the file, read
// record after record (a header line of two numbers, then the values 1..N into
// De405Record) until the record's end JD exceeds jd.  False when the file cannot be
// opened or ends, or a value is not a number, before such a record.
bool RescanBlockFile(AstroState& a, const fs::path& path, double jd) {
  TextInputFile file;
  if (!file.Open(path)) return false;
  LineNumberReader reader(file);
  const int n = a.De405ValuesPerRecord;
  for (;;) {
    double recordNumber = 0, coefficientCount = 0;
    if (!reader.Next(recordNumber) || !reader.Next(coefficientCount)) return false;
    for (int i = 1; i <= n; ++i) {
      if (!reader.Next(a.De405Record[static_cast<size_t>(i)])) return false;
    }
    if (jd < a.De405Record[2]) return true;
  }
}

// Whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const fs::path& path, std::uintmax_t sizeHint, std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.assign(static_cast<size_t>(sizeHint) + 1, '\0');
  size_t used = 0;
  bool ok = true;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2 + 4096);
    size_t got = std::fread(bytes.data() + used, 1, bytes.size() - used, f);
    used += got;
    if (got == 0) {
      ok = std::ferror(f) == 0;
      break;
    }
  }
  std::fclose(f);
  bytes.resize(used);
  return ok;
}

}  // namespace

// The same numbers, in the same order, as RescanBlockFile reads.
void ParseDe405BlockFile(const std::string& bytes, int valuesPerRecord, De405BlockCache& c) {
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  const size_t stride = static_cast<size_t>(valuesPerRecord);
  c.Values.clear();
  c.EndJdMax.clear();
  // A JPL record is 341 lines of 80 characters and a line end.
  size_t expected = bytes.size() / (341 * 81) + 1;
  c.Values.reserve(expected * stride);
  c.EndJdMax.reserve(expected);
  double endMax = -HUGE_VAL;
  for (;;) {
    double header = 0;
    if (NextNumber(p, end, header) != 1 || NextNumber(p, end, header) != 1) return;
    size_t first = c.Values.size();
    c.Values.resize(first + stride);
    for (size_t i = 0; i < stride; ++i) {
      if (NextNumber(p, end, c.Values[first + i]) != 1) {
        c.Values.resize(first);
        return;
      }
    }
    double recordEnd = stride >= 2 ? c.Values[first + 1] : -HUGE_VAL;
    if (recordEnd > endMax) endMax = recordEnd;
    c.EndJdMax.push_back(endMax);
  }
}

namespace {

// Size and modification time (ns) of a regular file; false when there is none.
struct FileStamp {
  std::uintmax_t Size = 0;
  std::int64_t ModifiedNs = 0;
};
bool StampOf(const fs::path& path, FileStamp& s) {
#if defined(__linux__)
  struct stat st;  // one system call instead of std::filesystem's two
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  s.Size = static_cast<std::uintmax_t>(st.st_size);
  s.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
#else
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  s.Size = fs::file_size(path, ec);
  if (ec) return false;
  auto t = fs::last_write_time(path, ec);
  if (ec) return false;
  s.ModifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
  return true;
#endif
}

std::string FileName(int fileYear) { return "ascp" + std::to_string(fileYear) + ".405"; }

// The folder of the block files: De405Folder, else the application folder's "JPL"
// (written into `app`); null when neither is known.
const fs::path* ReaderFolder(const AstroState& a, fs::path& app) {
  if (!a.De405Folder.empty()) return &a.De405Folder;
  if (!a.AppFolder) return nullptr;
  fs::path folder = a.AppFolder();
  if (folder.empty()) return nullptr;
  app = AppPath(folder, "JPL");
  return &app;
}

// The cached way: the block file parsed once (again when its folder, size or
// modification time changed), the covering record found by binary search on the running
// maximum of the end JDs, which gives the record where the sequential scan stops.
bool LoadFromCache(AstroState& a, int fileYear, const fs::path& folder, double jd) {
  De405BlockCache& c = a.De405Cache[static_cast<size_t>((fileYear - kFirstFileYear) / kYearsPerFile)];
  const bool sameFolder = c.Loaded && c.Folder.native() == folder.native();
  fs::path built;
  if (!sameFolder) built = folder / FileName(fileYear);
  const fs::path& looked = sameFolder ? c.Path : built;
  FileStamp stamp;
  const int n = a.De405ValuesPerRecord;
  const bool checked = sameFolder && a.De405RunStamp != 0 && c.CheckedInRun == a.De405RunStamp && c.ValuesPerRecord == n;
  if (!checked && !StampOf(looked, stamp)) {
    c = De405BlockCache{};
    return false;
  }
  if (!checked &&
      (!sameFolder || c.Size != stamp.Size || c.ModifiedNs != stamp.ModifiedNs || c.ValuesPerRecord != n)) {
    fs::path path = looked;
    c = De405BlockCache{};
    std::string bytes;
    if (!ReadWholeFile(path, stamp.Size, bytes)) return false;
    ParseDe405BlockFile(bytes, n, c);
    c.Loaded = true;
    c.Folder = folder;
    c.Path = path;
    c.Size = stamp.Size;
    c.ModifiedNs = stamp.ModifiedNs;
    c.ValuesPerRecord = n;
    ++a.De405FilesParsed;
  }
  c.CheckedInRun = a.De405RunStamp;
  auto it = std::upper_bound(c.EndJdMax.begin(), c.EndJdMax.end(), jd);
  if (it == c.EndJdMax.end()) return false;
  size_t record = static_cast<size_t>(it - c.EndJdMax.begin());
  const double* values = c.Values.data() + record * static_cast<size_t>(n);
  if (a.De405RunStamp != 0) {
    a.De405Values = values - 1;  // record positions are 1-based
  } else {
    std::copy_n(values, n, a.De405Record.begin() + 1);
  }
  return true;
}

}  // namespace

void InitDe405Layout(AstroState& a) {
  a.De405Layout = De405LayoutFromTable();
  a.De405ValuesPerRecord = kDe405ValuesPerRecord;
}

std::vector<int> De405FileYearsPresent(const AstroState& a) {
  std::vector<int> years;
  fs::path app;
  const fs::path* folder = ReaderFolder(a, app);
  if (!folder) return years;
  for (int i = 0; i < kBlockCount; ++i) {
    std::error_code ec;
    int year = kFirstFileYear + kYearsPerFile * i;
    if (fs::is_regular_file(*folder / FileName(year), ec)) years.push_back(year);
  }
  return years;
}

EphemerisReport EphemerisReportOf(const AstroState& a) {
  EphemerisReport r;
  r.Failure = a.EphemerisFailureKind;
  r.FileRead = a.De405FilePathRead;
  r.Folder = De405FilePath(a, kDe405FirstFileYear).parent_path();
  r.FileYearsPresent = De405FileYearsPresent(a);
  return r;
}

int De405FileYear(double jd) {
  for (int i = 0; i < kBlockCount; ++i) {
    if (jd >= kBlockStartJd[i] && jd < kBlockStartJd[i + 1]) return kFirstFileYear + kYearsPerFile * i;
  }
  return 0;
}

fs::path De405FilePath(const AstroState& a, int fileYear) {
  fs::path app;
  const fs::path* folder = ReaderFolder(a, app);
  if (!folder) return {};
  return *folder / FileName(fileYear);
}

void LoadDe405Record(AstroState& a) {
  double jd = a.CurrentJd;
  int fileYear = De405FileYear(jd);
  if (fileYear == 0) {
    a.EphemerisFailureKind = EphemerisFailure::kNoSuchDate;
    a.De405FilePathRead.clear();
    a.StopRequested = 1;
    a.EphemerisError = 1;
    return;
  }
  fs::path app;
  const fs::path* folder = ReaderFolder(a, app);
  a.De405Values = nullptr;
  bool ok = folder && a.De405ValuesPerRecord >= 2 && a.De405ValuesPerRecord <= kDe405ValuesPerRecord;
  if (ok) {
    ok = a.De405Rescan ? RescanBlockFile(a, *folder / FileName(fileYear), jd)
                       : LoadFromCache(a, fileYear, *folder, jd);
  }
  if (!ok) {
    a.De405FilePathRead = folder ? *folder / FileName(fileYear) : fs::path();
    ReadFailure(a);
  }
}

void BeginEphemerisRun(AstroState& a) {
  a.De405RunStamp = ++a.De405RunsBegun;
  a.De405Values = nullptr;
}

void EndEphemerisRun(AstroState& a) {
  a.De405RunStamp = 0;
  a.De405Values = nullptr;
}

void De405BodyState(AstroState& a, int body) {
  int k = EphemerisBody(body);
  if (k == 0) {
    ReadFailure(a);
    return;
  }
  const De405LayoutEntry& e = a.De405Layout[static_cast<size_t>(k)];
  int p = e.FirstCoefficient;
  const int n = e.CoefficientsPerComponent;
  const double len = e.SubIntervalDays;
  const int subIntervals = e.SubIntervals;
  if (n < 1 || n > kDe405MaxCoefficients || subIntervals < 1 || subIntervals > kDe405MaxSubIntervals ||
      !(len > 0) || p < 3 || p + subIntervals * 3 * n - 1 > a.De405ValuesPerRecord ||
      a.De405ValuesPerRecord > kDe405ValuesPerRecord) {
    ReadFailure(a);  // a record shorter than the layout needs
    return;
  }

  const double* record = a.De405Values ? a.De405Values : a.De405Record.data();
  const double start = record[1];
  for (int i = 1; i <= subIntervals; ++i) a.De405SubIntervalStart[static_cast<size_t>(i)] = start + (i - 1) * len;

  const double jd = a.CurrentJd;
  const double hReal = Fix((jd - start) / len) + 1;
  if (!(hReal >= 1 && hReal <= subIntervals)) {
    ReadFailure(a);  // the record does not cover the epoch
    return;
  }
  const size_t h = static_cast<size_t>(hReal);
  const double tau = 2 * (jd - a.De405SubIntervalStart[h]) / len - 1;

  double T[kDe405MaxCoefficients + 1];
  double U[kDe405MaxCoefficients + 1];
  T[0] = 1;
  T[1] = tau;
  U[0] = 1;
  U[1] = 2 * tau;
  for (int m = 2; m <= n - 1; ++m) {
    T[m] = 2 * tau * T[m - 1] - T[m - 2];
    U[m] = 2 * tau * U[m - 1] - U[m - 2];
  }

  // The record holds, for each sub-interval, the n coefficients of x, then of y, then
  // of z; only the covering sub-interval's are read.
  const double* coefficients = record + p + (h - 1) * 3 * static_cast<size_t>(n);
  double pos[4], der[4];
  for (size_t c = 1; c <= 3; ++c) {
    const double* C = coefficients + (c - 1) * static_cast<size_t>(n) - 1;  // C[1] .. C[n]
    double x = 0;
    for (int j = 1; j <= n; ++j) x = x + C[j] * T[j - 1];
    double v = 0;
    for (int j = 2; j <= n; ++j) v = v + C[j] * (j - 1) * U[j - 2];
    pos[c] = x;
    der[c] = v;
  }
  const size_t kk = static_cast<size_t>(k);
  a.RawX[kk] = pos[1];
  a.RawY[kk] = pos[2];
  a.RawZ[kk] = pos[3];
  a.RawVX[kk] = der[1];
  a.RawVY[kk] = der[2];
  a.RawVZ[kk] = der[3];
  for (size_t c = 1; c <= 3; ++c) {
    if (!std::isfinite(pos[c]) || !std::isfinite(der[c])) {
      ReadFailure(a);  // a numeric fault
      return;
    }
  }
}

// The ephemeris number of a program body for the state conversions, or 0 after a read
// failure for a number that is not a body of the files.
static size_t ConvertibleBody(AstroState& a, int body) {
  int k = EphemerisBody(body);
  if (k == 0) ReadFailure(a);
  return static_cast<size_t>(k);
}

void De405StateToEcliptic(AstroState& a, int body) {
  const size_t kk = ConvertibleBody(a, body);
  if (kk == 0) return;
  const size_t slot = static_cast<size_t>(body);
  const double eps = a.Obliquity2000;
  if (!(a.De405RotationObliquity == eps)) {
    a.De405RotationObliquity = eps;
    a.De405RotationCos = std::cos(eps);
    a.De405RotationSin = std::sin(eps);
  }
  const double ce = a.De405RotationCos, se = a.De405RotationSin;
  const double len = a.De405Layout[kk].SubIntervalDays;
  a.PosX[slot] = 1000 * a.RawX[kk];
  a.PosY[slot] = 1000 * (ce * a.RawY[kk] + se * a.RawZ[kk]);
  a.PosZ[slot] = 1000 * (ce * a.RawZ[kk] - se * a.RawY[kk]);
  if (slot <= 13) {
    a.VelX[slot] = a.RawVX[kk] * 2000 / 86400 / len;
    a.VelY[slot] = (ce * a.RawVY[kk] + se * a.RawVZ[kk]) * 2000 / 86400 / len;
    a.VelZ[slot] = (ce * a.RawVZ[kk] - se * a.RawVY[kk]) * 2000 / 86400 / len;
  }
}

void De405StateToKilometres(AstroState& a, int body) {
  const size_t kk = ConvertibleBody(a, body);
  if (kk == 0) return;
  const size_t slot = static_cast<size_t>(body);
  const double len = a.De405Layout[kk].SubIntervalDays;
  a.PosX[slot] = a.RawX[kk] / 1000;
  a.PosY[slot] = a.RawY[kk] / 1000;
  a.PosZ[slot] = a.RawZ[kk] / 1000;
  if (slot <= 13) {
    a.VelX[slot] = a.RawVX[kk] * 2 / len / 86400;
    a.VelY[slot] = a.RawVY[kk] * 2 / len / 86400;
    a.VelZ[slot] = a.RawVZ[kk] * 2 / len / 86400;
  }
}

De405Kilometres De405BodyKilometres(const AstroState& a, int body) {
  const size_t kk = static_cast<size_t>(EphemerisBody(body));
  const double perDay = 2 / a.De405Layout[kk].SubIntervalDays;
  return {{a.RawX[kk], a.RawY[kk], a.RawZ[kk]}, {a.RawVX[kk] * perDay, a.RawVY[kk] * perDay, a.RawVZ[kk] * perDay}};
}

}  // namespace planova
