#include "astro/jpl_ascii.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <set>
#include <string_view>
#include <system_error>

#if defined(__linux__)
#include <sys/stat.h>
#endif

#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// One number as JPL's files write it: an optional sign, digits with an optional point, an
// optional exponent with E or D ("0.243691250000000000D+07", "-1.5E-3", "1018").
// Correctly rounded to the nearest double.  False for anything else (letters, "inf", a
// value beyond the range of a double).
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

// Whether a record's header (its number in the file, its count) and start follow the
// record before it (`previousEnd`, NaN for the first).
bool RecordFollows(double number, double count, size_t index, int ncoeff, double start, double previousEnd) {
  if (number != static_cast<double>(index + 1) || count != ncoeff) return false;
  return index == 0 || start == previousEnd;
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

// JD of 1 January 0h of an astronomical year: the Julian calendar before 1583, the
// Gregorian from 1583 on (Meeus, Astronomical Algorithms, ch. 7).
double JdOfNewYear(int year) {
  const double y = year - 1.0;  // January as month 13 of the year before
  double b = 0;
  if (year >= 1583) {
    const double a = std::floor(y / 100);
    b = 2 - a + std::floor(a / 4);
  }
  return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * 14) + 1 + b - 1524.5;
}

// The blank-separated words of a text.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

// The text of a header's GROUP `number` up to the next GROUP (or the end); false when
// the header has no such group.
bool GroupText(const std::string& text, int number, std::string_view& out) {
  const std::string mark = "GROUP";
  size_t pos = 0;
  for (;;) {
    pos = text.find(mark, pos);
    if (pos == std::string::npos) return false;
    const char* p = text.data() + pos + mark.size();
    const char* end = text.data() + text.size();
    double n = 0;
    if (NextNumber(p, end, n) == 1 && n == number) {
      size_t start = static_cast<size_t>(p - text.data());
      size_t next = text.find(mark, start);
      out = std::string_view(text).substr(start, (next == std::string::npos ? text.size() : next) - start);
      return true;
    }
    pos += mark.size();
  }
}

bool IntegerValue(double v, int& out) {
  if (!(v >= -1e9 && v <= 1e9) || v != std::floor(v)) return false;
  out = static_cast<int>(v);
  return true;
}

// The value after "NAME=" in a header ("KSIZE= 2036    NCOEFF= 1018").
bool KeyValue(const std::string& text, const std::string& key, int& out) {
  size_t pos = text.find(key + "=");
  if (pos == std::string::npos) return false;
  const char* p = text.data() + pos + key.size() + 1;
  double v = 0;
  return NextNumber(p, text.data() + text.size(), v) == 1 && IntegerValue(v, out);
}

}  // namespace

JplLayout De405Layout() {
  JplLayout layout{};
  for (const De405LayoutRow& row : kDe405RecordLayout) {
    JplLayoutEntry& e = layout[static_cast<size_t>(row.Body)];
    e.FirstCoefficient = row.FirstCoefficient;
    e.CoefficientsPerComponent = row.CoefficientsPerComponent;
    e.SubIntervalDays = row.SubIntervalDays;
    e.SubIntervals = static_cast<int>(kDe405RecordDays / row.SubIntervalDays + 0.5);
  }
  return layout;
}

bool ParseJplHeader(const std::string& text, JplHeader& h, std::string& error) {
  h = JplHeader{};
  if (!KeyValue(text, "KSIZE", h.Ksize) || !KeyValue(text, "NCOEFF", h.Ncoeff)) {
    error = "нет KSIZE или NCOEFF";
    return false;
  }
  if (h.Ncoeff < 2 || h.Ksize != 2 * h.Ncoeff) {
    error = "NCOEFF ≠ KSIZE/2";
    return false;
  }
  std::string_view g;
  if (GroupText(text, 1010, g)) {
    size_t i = g.find_first_not_of(" \t\r\n");
    if (i != std::string_view::npos) {
      size_t e = g.find_first_of("\r\n", i);
      std::string_view line = g.substr(i, e == std::string_view::npos ? std::string_view::npos : e - i);
      while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
      h.Title = std::string(line);
    }
  }
  std::vector<double> span;
  if (!GroupText(text, 1030, g)) {
    error = "нет GROUP 1030";
    return false;
  }
  for (std::string_view w : Words(g)) {
    double v = 0;
    if (!ParseNumber(w, v)) break;
    span.push_back(v);
  }
  if (span.size() < 3 || !(span[1] > span[0]) || !(span[2] > 0) || !std::isfinite(span[0]) || !std::isfinite(span[1])) {
    error = "GROUP 1030 повреждена";
    return false;
  }
  h.FirstJd = span[0];
  h.LastJd = span[1];
  h.RecordDays = span[2];

  std::string_view names, values;
  if (!GroupText(text, 1040, names) || !GroupText(text, 1041, values)) {
    error = "нет GROUP 1040/1041";
    return false;
  }
  std::vector<std::string_view> nameWords = Words(names), valueWords = Words(values);
  double count = 0, valueCount = 0;
  int n = 0;
  if (nameWords.empty() || valueWords.empty() || !ParseNumber(nameWords[0], count) ||
      !ParseNumber(valueWords[0], valueCount) || !IntegerValue(count, n) || n < 0 || count != valueCount ||
      nameWords.size() < static_cast<size_t>(n) + 1 || valueWords.size() < static_cast<size_t>(n) + 1) {
    error = "GROUP 1040/1041 повреждены";
    return false;
  }
  for (size_t i = 1; i <= static_cast<size_t>(n); ++i) {
    double v = 0;
    if (!ParseNumber(valueWords[i], v)) {
      error = "GROUP 1041: не число " + std::string(valueWords[i]);
      return false;
    }
    h.Constants.Named[std::string(nameWords[i])] = v;
  }
  auto named = [&](const char* key) {
    auto it = h.Constants.Named.find(key);
    return it == h.Constants.Named.end() ? 0.0 : it->second;
  };
  h.Constants.AuKm = named("AU");
  h.Constants.Emrat = named("EMRAT");
  IntegerValue(named("DENUM"), h.DeNumber);
  if (!(h.Constants.AuKm > 0) || !(h.Constants.Emrat > 0)) {
    error = "нет AU или EMRAT";
    return false;
  }

  if (!GroupText(text, 1050, g)) {
    error = "нет GROUP 1050";
    return false;
  }
  std::vector<int> cells;
  for (std::string_view w : Words(g)) {
    double v = 0;
    int k = 0;
    if (!ParseNumber(w, v) || !IntegerValue(v, k)) break;
    cells.push_back(k);
  }
  if (cells.size() != 39 && cells.size() != 45) {
    error = "GROUP 1050: не 13 и не 15 столбцов";
    return false;
  }
  const size_t columns = cells.size() / 3;
  for (size_t body = 1; body <= 11; ++body) {
    JplLayoutEntry& e = h.Layout[body];
    e.FirstCoefficient = cells[body - 1];
    e.CoefficientsPerComponent = cells[columns + body - 1];
    e.SubIntervals = cells[2 * columns + body - 1];
    if (e.SubIntervals < 1 || e.SubIntervals > kJplMaxSubIntervals || e.CoefficientsPerComponent < 1 ||
        e.CoefficientsPerComponent > kJplMaxCoefficients || e.FirstCoefficient < 3 ||
        e.FirstCoefficient + 3 * e.CoefficientsPerComponent * e.SubIntervals - 1 > h.Ncoeff) {
      error = "GROUP 1050: тело " + std::to_string(body) + " не помещается в запись";
      return false;
    }
    e.SubIntervalDays = h.RecordDays / e.SubIntervals;
  }
  return true;
}

bool ParseJplBlockName(const std::string& name, int& year, int& deNumber) {
  if (name.size() < 10 || name.compare(0, 3, "asc") != 0 || (name[3] != 'p' && name[3] != 'm')) return false;
  size_t dot = name.find('.', 4);
  if (dot == std::string::npos || (dot - 4 != 4 && dot - 4 != 5) || dot + 1 >= name.size()) return false;
  auto digits = [&](size_t from, size_t to, int& out) {
    if (to - from > 6) return false;
    out = 0;
    for (size_t i = from; i < to; ++i) {
      if (name[i] < '0' || name[i] > '9') return false;
      out = out * 10 + (name[i] - '0');
    }
    return true;
  };
  if (!digits(4, dot, year) || !digits(dot + 1, name.size(), deNumber)) return false;
  if (name[3] == 'm') year = -year;
  return true;
}

std::string JplBlockName(int year, int deNumber, int digits) {
  char b[48];
  std::snprintf(b, sizeof b, "asc%c%0*d.%d", year < 0 ? 'm' : 'p', digits, year < 0 ? -year : year, deNumber);
  return b;
}

// The same numbers, in the same order, as RescanFile reads.
void ParseJplBlockFile(const std::string& bytes, int valuesPerRecord, int ncoeff, JplBlockCache& c) {
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  const size_t stride = static_cast<size_t>(valuesPerRecord);
  c.Values.clear();
  c.EndJdMax.clear();
  if (valuesPerRecord < 2) return;
  // A JPL record is 341 lines of 80 characters and a line end.
  size_t expected = bytes.size() / (341 * 81) + 1;
  c.Values.reserve(expected * stride);
  c.EndJdMax.reserve(expected);
  double endMax = -HUGE_VAL;
  double previousEnd = std::nan("");
  for (size_t index = 0;; ++index) {
    double number = 0, count = 0;
    if (NextNumber(p, end, number) != 1 || NextNumber(p, end, count) != 1) return;
    size_t first = c.Values.size();
    c.Values.resize(first + stride);
    for (size_t i = 0; i < stride; ++i) {
      if (NextNumber(p, end, c.Values[first + i]) != 1) {
        c.Values.resize(first);
        return;
      }
    }
    if (!RecordFollows(number, count, index, ncoeff, c.Values[first], previousEnd)) {
      c.Values.resize(first);
      return;
    }
    double recordEnd = c.Values[first + 1];
    previousEnd = recordEnd;
    if (recordEnd > endMax) endMax = recordEnd;
    c.EndJdMax.push_back(endMax);
  }
}

std::shared_ptr<JplAsciiEphemeris> JplAsciiEphemeris::Open(const fs::path& folder, int deNumber, std::string* refusal) {
  auto e = std::make_shared<JplAsciiEphemeris>();
  e->folder_ = folder;
  e->deNumber_ = deNumber;
  e->name_ = "DE" + std::to_string(deNumber);
  std::set<int> years;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    int year = 0, number = 0;
    const std::string name = it->path().filename().string();
    if (ParseJplBlockName(name, year, number) && number == deNumber) {
      years.insert(year);
      e->digits_ = static_cast<int>(name.find('.')) - 4;
    }
  }
  const fs::path header = folder / ("header." + std::to_string(deNumber));
  std::error_code hec;
  if (fs::is_regular_file(header, hec)) {
    std::string bytes, error;
    JplHeader h;
    if (!ReadWholeFile(header, 0, bytes) || !ParseJplHeader(bytes, h, error)) {
      if (refusal) *refusal = PathText(header) + ": " + (error.empty() ? "не читается" : error);
      return nullptr;
    }
    e->header_ = header;
    e->Layout = h.Layout;
    e->Ncoeff = h.Ncoeff;
    e->constants_ = h.Constants;
    e->originJd_ = h.FirstJd;
    e->lastJd_ = h.LastJd;
    e->recordDays_ = h.RecordDays;
    if (years.empty()) {
      if (refusal) *refusal = PathText(header) + ": нет файлов ascpГГГГ." + std::to_string(deNumber);
      return nullptr;
    }
    e->firstYear_ = *years.begin();
    e->lastYear_ = *years.rbegin();
    int step = 0;
    for (auto it = years.begin(), next = std::next(it); next != years.end(); ++it, ++next) {
      if (step == 0 || *next - *it < step) step = *next - *it;
    }
    // One file: it spans up to the header's last date.
    e->yearsPerFile_ = step;
  } else if (deNumber == 405) {
    e->Layout = De405Layout();
    e->Ncoeff = kDe405Coefficients;
    e->constants_.AuKm = kDe405AuKm;
    e->constants_.Emrat = kDe405Emrat;
    e->constants_.Named = {{"AU", kDe405AuKm}, {"EMRAT", kDe405Emrat}, {"DENUM", 405}};
    e->firstYear_ = kDe405FirstFileYear;
    e->lastYear_ = kDe405LastFileYear;
    e->yearsPerFile_ = kDe405YearsPerFile;
    e->lastJd_ = kDe405LastJd;
    for (int y : years) {
      if ((y - kDe405FirstFileYear) % kDe405YearsPerFile != 0) continue;
      e->firstYear_ = std::min(e->firstYear_, y);
      e->lastYear_ = std::max(e->lastYear_, y);
    }
    // A file off DE405's 20-year grid claims part of a block that another file holds
    // ("ascp1970.405" beside "ascp1960.405").
    for (int y : years) {
      const int offset = ((y - kDe405FirstFileYear) % kDe405YearsPerFile + kDe405YearsPerFile) % kDe405YearsPerFile;
      if (offset == 0 || y < e->firstYear_ || y >= e->lastYear_ + kDe405YearsPerFile) continue;
      const int block = y - offset;
      if (refusal) {
        *refusal = JplBlockName(y, 405, e->digits_) + " перекрывает блок " + JplBlockName(block, 405, e->digits_) +
                   " (годы " + std::to_string(block) + "–" + std::to_string(block + kDe405YearsPerFile - 1) + ")";
      }
      return nullptr;
    }
  } else {
    if (refusal) *refusal = PathText(folder) + ": нет файлов DE" + std::to_string(deNumber);
    return nullptr;
  }
  e->ValuesPerRecord = JplValuesPerRecord(e->Ncoeff);
  e->Record.assign(static_cast<size_t>(e->ValuesPerRecord) + 1, 0.0);
  return e;
}

bool JplAsciiEphemeris::NumberOfFile(const std::string& fileName, int& number) {
  int year = 0;
  if (ParseJplBlockName(fileName, year, number)) return true;
  return fileName.rfind("header.", 0) == 0 && ParseJplBlockName("ascp0000." + fileName.substr(7), year, number);
}

double JplAsciiEphemeris::BlockStartJd(int year) const {
  const double start = originJd_ + std::floor((JdOfNewYear(year) - originJd_) / recordDays_) * recordDays_;
  return std::max(start, originJd_);
}

namespace {
// A JD as the messages write it: one decimal, a decimal comma.
std::string JdText(double jd) {
  char b[32];
  std::snprintf(b, sizeof b, "%.1f", jd);
  std::string t = b;
  for (char& ch : t)
    if (ch == '.') ch = ',';
  return t;
}
}  // namespace

std::string JplAsciiEphemeris::OverlapOf(int year, double firstJd, double lastEndJd) const {
  if (yearsPerFile_ <= 0) return {};
  const std::string covered = JplBlockName(year, deNumber_, digits_) + " охватывает JD " + JdText(firstJd) + "–" +
                              JdText(lastEndJd);
  const int next = year + yearsPerFile_;
  if (next <= lastYear_ && lastEndJd > BlockStartJd(next) + recordDays_) {
    return covered + " и заходит в блок " + JplBlockName(next, deNumber_, digits_) + " (с JD " +
           JdText(BlockStartJd(next)) + "): блоки перекрываются";
  }
  const int previous = year - yearsPerFile_;
  if (year > firstYear_ && firstJd < BlockStartJd(year)) {
    return covered + " и заходит в блок " + JplBlockName(previous, deNumber_, digits_) + " (до JD " +
           JdText(BlockStartJd(year)) + "): блоки перекрываются";
  }
  return {};
}

JplCoverage JplAsciiEphemeris::Coverage() const {
  JplCoverage c;
  if (yearsPerFile_ <= 0) {
    c.FirstJd = BlockStartJd(firstYear_);
    c.EndJd = lastJd_;
    return c;
  }
  c.FirstJd = BlockStartJd(firstYear_);
  c.EndJd = BlockStartJd(lastYear_ + yearsPerFile_);
  if (lastJd_ > 0) c.EndJd = std::min(c.EndJd, lastJd_);
  return c;
}

bool JplAsciiEphemeris::BlockYearOf(double jd, int& year) const {
  // The block of the date asked before, which the next dates nearly always fall in.
  if (jd >= lastBlockFrom_ && jd < lastBlockTo_) {
    year = lastBlockYear_;
    return true;
  }
  const JplCoverage c = Coverage();
  if (!(jd >= c.FirstJd && jd < c.EndJd)) return false;
  if (yearsPerFile_ <= 0) {
    year = firstYear_;
    RememberBlock(year, c.FirstJd, c.EndJd);
    return true;
  }
  // The block by the mean length of its years, then the one before or after it.
  const int blocks = (lastYear_ - firstYear_) / yearsPerFile_ + 1;
  int k = static_cast<int>(std::floor((jd - c.FirstJd) / (yearsPerFile_ * 365.25)));
  k = std::clamp(k, 0, blocks - 1);
  while (k > 0 && jd < BlockStartJd(firstYear_ + k * yearsPerFile_)) --k;
  while (k + 1 < blocks && jd >= BlockStartJd(firstYear_ + (k + 1) * yearsPerFile_)) ++k;
  year = firstYear_ + k * yearsPerFile_;
  // The block starts grow with the year: every date from this block's start (the
  // ephemeris' first date for the first) to the next block's (its end for the last) is
  // this block's.
  const double from = k > 0 ? BlockStartJd(year) : c.FirstJd;
  const double to = k + 1 < blocks ? std::min(BlockStartJd(year + yearsPerFile_), c.EndJd) : c.EndJd;
  RememberBlock(year, from, to);
  return true;
}

void JplAsciiEphemeris::RememberBlock(int year, double from, double to) const {
  lastBlockYear_ = year;
  lastBlockFrom_ = from;
  lastBlockTo_ = to;
}

fs::path JplAsciiEphemeris::BlockPath(int year) const { return folder_ / JplBlockName(year, deNumber_, digits_); }

std::vector<int> JplAsciiEphemeris::FileYearsPresent() const {
  std::set<int> years;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    int year = 0, number = 0;
    if (!ParseJplBlockName(it->path().filename().string(), year, number) || number != deNumber_) continue;
    std::error_code fec;
    if (fs::is_regular_file(it->path(), fec)) years.insert(year);
  }
  return {years.begin(), years.end()};
}

std::vector<fs::path> JplAsciiEphemeris::Files() const {
  std::vector<fs::path> files;
  if (!header_.empty()) files.push_back(header_);
  for (int y : FileYearsPresent()) files.push_back(BlockPath(y));
  return files;
}

// The plain way: open the file, read record after record (a header line of two numbers,
// then the values 1..N into Record) until the record's end JD exceeds jd.  False when the
// file cannot be opened or ends, a value is not a number, or a record does not follow the
// one before, before such a record.
bool JplAsciiEphemeris::RescanFile(const fs::path& path, double jd) {
  TextInputFile file;
  if (!file.Open(path)) return false;
  LineNumberReader reader(file);
  const int n = ValuesPerRecord;
  double previousEnd = std::nan("");
  for (size_t index = 0;; ++index) {
    double recordNumber = 0, coefficientCount = 0;
    if (!reader.Next(recordNumber) || !reader.Next(coefficientCount)) return false;
    for (int i = 1; i <= n; ++i) {
      if (!reader.Next(Record[static_cast<size_t>(i)])) return false;
    }
    if (!RecordFollows(recordNumber, coefficientCount, index, Ncoeff, Record[1], previousEnd)) return false;
    previousEnd = Record[2];
    if (jd < Record[2]) return true;
  }
}

// The cached way: the block file parsed once (again when its size or modification time
// changed), the covering record found by binary search on the running maximum of the end
// JDs, which gives the record where the sequential scan stops.
bool JplAsciiEphemeris::LoadFromCache(int year, double jd) {
  JplBlockCache& c = Cache[year];
  const bool known = c.Loaded;
  fs::path built;
  if (!known) built = BlockPath(year);
  const fs::path& looked = known ? c.Path : built;
  FileStamp stamp;
  const int n = ValuesPerRecord;
  const bool checked = known && runStamp_ != 0 && c.CheckedInRun == runStamp_;
  if (!checked && !StampOf(looked, stamp)) {
    c = JplBlockCache{};
    return false;
  }
  if (!checked && (!known || c.Size != stamp.Size || c.ModifiedNs != stamp.ModifiedNs)) {
    fs::path path = looked;
    c = JplBlockCache{};
    std::string bytes;
    if (!ReadWholeFile(path, stamp.Size, bytes)) return false;
    ParseJplBlockFile(bytes, n, Ncoeff, c);
    if (!c.EndJdMax.empty()) {
      const size_t records = c.EndJdMax.size();
      c.Overlap = OverlapOf(year, c.Values[0], c.Values[(records - 1) * static_cast<size_t>(n) + 1]);
    }
    c.Loaded = true;
    c.Path = path;
    c.Size = stamp.Size;
    c.ModifiedNs = stamp.ModifiedNs;
    ++FilesParsed;
  }
  c.CheckedInRun = runStamp_;
  if (!c.Overlap.empty()) {
    problem_ = c.Overlap;
    return false;
  }
  auto it = std::upper_bound(c.EndJdMax.begin(), c.EndJdMax.end(), jd);
  if (it == c.EndJdMax.end()) return false;
  size_t record = static_cast<size_t>(it - c.EndJdMax.begin());
  const double* values = c.Values.data() + record * static_cast<size_t>(n);
  if (runStamp_ != 0) {
    Values = values - 1;  // record positions are 1-based
    // The search finds this record for every date from the running maximum of the ends
    // before it to its own; the block year is the same within the year's block.
    served_.Run = runStamp_;
    served_.From = std::max({lastBlockFrom_, values[0], record > 0 ? c.EndJdMax[record - 1] : values[0]});
    served_.To = std::min(lastBlockTo_, c.EndJdMax[record]);
    served_.Values = Values;
  } else {
    std::copy_n(values, n, Record.begin() + 1);
  }
  return true;
}

EphemerisFailure JplAsciiEphemeris::LoadRecord(double jd, fs::path* failedFile) {
  if (runStamp_ != 0 && !rescan_ && served_.Run == runStamp_ && jd >= served_.From && jd < served_.To) {
    Values = served_.Values;
    problem_.clear();
    return EphemerisFailure::kNone;
  }
  int year = 0;
  if (!BlockYearOf(jd, year)) return EphemerisFailure::kNoSuchDate;
  Values = nullptr;
  problem_.clear();
  bool ok = ValuesPerRecord >= 2 && Record.size() == static_cast<size_t>(ValuesPerRecord) + 1;
  if (ok) ok = rescan_ ? RescanFile(BlockPath(year), jd) : LoadFromCache(year, jd);
  // The record found must begin by the date: a file whose records leave a gap there does
  // not serve it.
  if (ok && (Values ? Values[1] : Record[1]) <= jd) return EphemerisFailure::kNone;
  if (failedFile) *failedFile = BlockPath(year);
  return EphemerisFailure::kReadError;
}

void JplAsciiEphemeris::BeginRun() {
  runStamp_ = ++runsBegun_;
  Values = nullptr;
}

void JplAsciiEphemeris::EndRun() {
  runStamp_ = 0;
  Values = nullptr;
}

std::uint64_t JplAsciiEphemeris::NextSerial() {
  static std::atomic<std::uint64_t> serials{0};
  return ++serials;
}

const JplLayoutEntry* JplAsciiEphemeris::ServingLayout(int k) const {
  if (k < 1 || k > 11) return nullptr;
  const JplLayoutEntry& e = Layout[static_cast<size_t>(k)];
  const int p = e.FirstCoefficient;
  const int n = e.CoefficientsPerComponent;
  const int subIntervals = e.SubIntervals;
  if (n < 1 || n > kJplMaxCoefficients || subIntervals < 1 || subIntervals > kJplMaxSubIntervals ||
      !(e.SubIntervalDays > 0) || p < 3 || p + subIntervals * 3 * n - 1 > ValuesPerRecord ||
      static_cast<size_t>(ValuesPerRecord) + 1 > Record.size()) {
    return nullptr;  // a record shorter than the layout needs
  }
  return &e;
}

EphemerisFailure JplAsciiEphemeris::BodyBound(int k, double jd, ChebyshevBound& out) const {
  const JplLayoutEntry* e = ServingLayout(k);
  if (!e) return EphemerisFailure::kReadError;
  const int n = e->CoefficientsPerComponent;
  const double len = e->SubIntervalDays;
  const double* record = Values ? Values : Record.data();
  const double hReal = Fix((jd - record[1]) / len) + 1;
  if (!(hReal >= 1 && hReal <= e->SubIntervals)) return EphemerisFailure::kReadError;
  const size_t h = static_cast<size_t>(hReal);
  const double* coefficients = record + e->FirstCoefficient + (h - 1) * 3 * static_cast<size_t>(n);
  double radius2 = 0, speed2 = 0;
  for (size_t c = 0; c < 3; ++c) {
    const double* C = coefficients + c * static_cast<size_t>(n) - 1;  // C[1] .. C[n]
    double reach = 0, rate = 0;
    for (int j = 2; j <= n; ++j) {
      reach += std::fabs(C[j]);
      rate += std::fabs(C[j]) * (j - 1) * (j - 1);
    }
    out.Centre[c] = C[1];
    radius2 += reach * reach;
    speed2 += rate * rate;
  }
  out.From = record[1] + static_cast<double>(h - 1) * len;
  out.To = out.From + len;
  out.Radius = std::sqrt(radius2);
  out.Speed = std::sqrt(speed2) * 2 / len;
  const bool finite = std::isfinite(out.Centre[0]) && std::isfinite(out.Centre[1]) && std::isfinite(out.Centre[2]) &&
                      std::isfinite(out.Radius) && std::isfinite(out.Speed) && std::isfinite(out.To);
  return finite ? EphemerisFailure::kNone : EphemerisFailure::kReadError;
}

namespace {

// Series advanced together: each step of every body's recurrence, then each term of every
// sum, is taken for all the bodies before the next, so that their chains of dependent
// multiplications and additions overlap.  Each chain keeps its own order: the results are
// those of each body summed alone.  kBodies: 1..4.
template <size_t kBodies>
void SumSeries(ChebyshevSeriesAt* s, ChebyshevState* out) {
  // T_m = 2 tau T_{m-1} - T_{m-2}, U likewise, the last two of each carried in registers.
  int most = 0;
  double twoTau[kBodies], t1[kBodies], t2[kBodies], u1[kBodies], u2[kBodies];
  for (size_t b = 0; b < kBodies; ++b) {
    twoTau[b] = 2 * s[b].Tau;
    s[b].T[0] = t2[b] = 1;
    s[b].T[1] = t1[b] = s[b].Tau;
    s[b].U[0] = u2[b] = 1;
    s[b].U[1] = u1[b] = twoTau[b];
    most = std::max(most, s[b].Count);
  }
  for (int m = 2; m <= most - 1; ++m) {
    for (size_t b = 0; b < kBodies; ++b) {
      if (m > s[b].Count - 1) continue;
      const double t = twoTau[b] * t1[b] - t2[b];
      const double u = twoTau[b] * u1[b] - u2[b];
      s[b].T[m] = t;
      s[b].U[m] = u;
      t2[b] = t1[b];
      t1[b] = t;
      u2[b] = u1[b];
      u1[b] = u;
    }
  }
  // Position: sum of C_j T_{j-1} from j = 1; derivative in tau: sum of C_j (j - 1) U_{j-2}
  // from j = 2 (here 0-based: C[j] T[j], C[j] j U[j-1]).
  double x[kBodies][3], v[kBodies][3];
  for (size_t b = 0; b < kBodies; ++b) {
    for (size_t c = 0; c < 3; ++c) x[b][c] = v[b][c] = 0;
  }
  for (int j = 0; j < most; ++j) {
    for (size_t b = 0; b < kBodies; ++b) {
      if (j >= s[b].Count) continue;
      const size_t n = static_cast<size_t>(s[b].Count);
      const double* C = s[b].Coefficients + static_cast<size_t>(j);
      for (size_t c = 0; c < 3; ++c) x[b][c] = x[b][c] + C[c * n] * s[b].T[j];
    }
  }
  for (int j = 1; j < most; ++j) {
    const double order = static_cast<double>(j);
    for (size_t b = 0; b < kBodies; ++b) {
      if (j >= s[b].Count) continue;
      const size_t n = static_cast<size_t>(s[b].Count);
      const double* C = s[b].Coefficients + static_cast<size_t>(j);
      for (size_t c = 0; c < 3; ++c) v[b][c] = v[b][c] + C[c * n] * order * s[b].U[j - 1];
    }
  }
  for (size_t b = 0; b < kBodies; ++b) {
    for (size_t c = 0; c < 3; ++c) {
      out[b].Pos[c] = x[b][c];
      out[b].Der[c] = v[b][c];
    }
    out[b].IntervalDays = s[b].IntervalDays;
  }
}

}  // namespace

EphemerisFailure JplAsciiEphemeris::PrepareSeries(int k, double jd, ChebyshevSeriesAt& s) {
  const JplLayoutEntry* layout = ServingLayout(k);
  if (!layout) return EphemerisFailure::kReadError;
  const JplLayoutEntry& e = *layout;
  const int n = e.CoefficientsPerComponent;
  const double len = e.SubIntervalDays;
  const int subIntervals = e.SubIntervals;

  const double* record = Values ? Values : Record.data();
  const double start = record[1];
  for (int i = 1; i <= subIntervals; ++i) SubIntervalStart[static_cast<size_t>(i)] = start + (i - 1) * len;

  // A power of two (DE4xx's 4, 8, 16 and 32 days) divides as its reciprocal multiplies:
  // exactly the same quotient, without a division's wait on the way to the series.
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(len);
  const std::uint64_t biased = (bits >> 52) & 0x7ff;  // len > 0: a normal power of two has no fraction bits
  const bool powerOfTwo = (bits & 0xfffffffffffffull) == 0 && biased > 1 && biased < 0x7fe;
  const double inverse = powerOfTwo ? 1 / len : 0;
  auto over = [&](double x) { return powerOfTwo ? x * inverse : x / len; };
  const double hReal = Fix(over(jd - start)) + 1;
  if (!(hReal >= 1 && hReal <= subIntervals)) return EphemerisFailure::kReadError;  // the record does not cover the epoch
  const size_t h = static_cast<size_t>(hReal);
  // The record holds, for each sub-interval, the n coefficients of x, then of y, then
  // of z; only the covering sub-interval's are read.
  s.Coefficients = record + e.FirstCoefficient + (h - 1) * 3 * static_cast<size_t>(n);
  s.Count = n;
  s.IntervalDays = len;
  s.Tau = over(2 * (jd - SubIntervalStart[h])) - 1;
  return EphemerisFailure::kNone;
}

EphemerisFailure JplAsciiEphemeris::BodyState(int k, double jd, ChebyshevState& out) {
  return BodyStates(&k, 1, jd, &out);
}

EphemerisFailure JplAsciiEphemeris::BodyStates(const int* k, size_t count, double jd, ChebyshevState* out) {
  ChebyshevSeriesAt s[kJplMaxBodiesAtOnce];
  if (count < 1 || count > kJplMaxBodiesAtOnce) return EphemerisFailure::kReadError;
  for (size_t b = 0; b < count; ++b) {
    const EphemerisFailure f = PrepareSeries(k[b], jd, s[b]);
    if (f != EphemerisFailure::kNone) return f;
  }
  switch (count) {
    case 1: SumSeries<1>(s, out); break;
    case 2: SumSeries<2>(s, out); break;
    case 3: SumSeries<3>(s, out); break;
    default: SumSeries<4>(s, out); break;
  }
  for (size_t b = 0; b < count; ++b) {
    for (size_t c = 0; c < 3; ++c) {
      if (!std::isfinite(out[b].Pos[c]) || !std::isfinite(out[b].Der[c])) return EphemerisFailure::kReadError;  // a numeric fault
    }
  }
  return EphemerisFailure::kNone;
}

EphemerisFailure JplAsciiEphemeris::State(int body, double jdTdb, ChebyshevState& out, fs::path* failedFile) {
  EphemerisFailure f = LoadRecord(jdTdb, failedFile);
  if (f != EphemerisFailure::kNone) return f;
  return BodyState(body, jdTdb, out);
}

}  // namespace planova
