#include "import/zip_workbook.h"

#include <zip.h>

#include <QXmlStreamReader>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace planova {

namespace {

using Xml = QXmlStreamReader;

constexpr uint32_t kMaxRows = 1048576;  // the largest sheet, as ParseCellAddress knows it
constexpr uint32_t kMaxColumns = 16384;
// A part larger than this is not a catalogue (and would not fit the store anyway).
constexpr int64_t kMaxPartBytes = int64_t{512} << 20;
// Spaces one text:s may give; a larger count is taken as this many.
constexpr uint32_t kMaxSpaces = 65536;
// What the cells kept of one sheet may take (their texts and their bookkeeping): a
// catalogue of a few thousand rows of 17 cells takes a few megabytes, while a workbook
// of a few kilobytes can say "this 100-kB string in a million cells" (an .xlsx shared
// string, an .ods text:s of 65536 spaces).  Beyond it the sheet is refused as too large
// (docs/user-guide.md); the repeated rows and columns of an .ods file are kept as runs
// and cost nothing more.
constexpr int64_t kMaxSheetBytes = int64_t{kMaxSheetMegabytes} << 20;

// The bytes left of kMaxSheetBytes while one sheet is read.
class SheetBudget {
 public:
  // False, for good, once the cells would take more than the ceiling.
  bool Take(size_t bytes) {
    if (exceeded_ || static_cast<int64_t>(bytes) > left_) {
      exceeded_ = true;
      return false;
    }
    left_ -= static_cast<int64_t>(bytes);
    return true;
  }
  bool Exceeded() const { return exceeded_; }

 private:
  int64_t left_ = kMaxSheetBytes;
  bool exceeded_ = false;
};

// How reading a sheet ended.
enum class SheetRead { kRead, kDamaged, kTooLarge };

constexpr QLatin1String kOdfOffice("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr QLatin1String kOdfTable("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr QLatin1String kOdfText("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
constexpr QLatin1String kOoxmlRelationships("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
constexpr QLatin1String kStrictPrefix("http://purl.oclc.org/ooxml/");

std::string Utf8(QStringView text) { return text.toString().toStdString(); }

// --- Cells ------------------------------------------------------------------------

// `count` equal cells from `column` on.
struct CellRun {
  uint32_t column = 0, count = 1;
  std::string text;
};
// `count` equal rows from `row` on (zero-based), their non-empty cells by column.
struct RowRun {
  uint32_t row = 0, count = 1;
  std::vector<CellRun> cells;
};

// The first run whose range holds `key`, in runs sorted by their first index.
template <typename Run, typename First>
const Run* FindRun(const std::vector<Run>& runs, uint32_t key, First first) {
  auto it = std::upper_bound(runs.begin(), runs.end(), key, [&](uint32_t k, const Run& run) { return k < first(run); });
  if (it == runs.begin()) return nullptr;
  --it;
  return key - first(*it) < it->count ? &*it : nullptr;
}

// --- Number texts -----------------------------------------------------------------

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// The stored text of a number ("2449728.39719444", "1E+16") as the import reads a number
// cell; the empty text for anything else.
std::string NumberText(std::string_view stored) {
  stored = Trimmed(stored);
  double value = 0;
  auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
  if (stored.empty() || ec != std::errc() || end != stored.data() + stored.size() || !std::isfinite(value)) return {};
  return NumberCellText(value);
}

// Reads an unsigned number from the front of `s`; false when there is none.
bool TakeNumber(std::string_view& s, double& value) {
  size_t n = 0;
  while (n < s.size() && ((s[n] >= '0' && s[n] <= '9') || s[n] == '.')) ++n;
  if (n == 0) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + n, value);
  if (ec != std::errc() || end != s.data() + n) return false;
  s.remove_prefix(n);
  return true;
}

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// "1995-01-10" or "1995-01-10T21:31:57.6" as the spreadsheet's serial number: days since
// 1899-12-30 with the time as the fraction of a day.
std::string DateSerialText(std::string_view text) {
  text = Trimmed(text);
  double y = 0, m = 0, d = 0;
  if (!TakeNumber(text, y) || text.empty() || text[0] != '-') return {};
  text.remove_prefix(1);
  if (!TakeNumber(text, m) || text.empty() || text[0] != '-') return {};
  text.remove_prefix(1);
  if (!TakeNumber(text, d)) return {};
  if (y != std::trunc(y) || m != std::trunc(m) || d != std::trunc(d) || y > 9999 || m < 1 || m > 12 || d < 1 ||
      d > 31) {
    return {};
  }
  double seconds = 0;
  if (!text.empty()) {
    double h = 0, min = 0, s = 0;
    if (text[0] != 'T') return {};
    text.remove_prefix(1);
    if (!TakeNumber(text, h) || text.empty() || text[0] != ':') return {};
    text.remove_prefix(1);
    if (!TakeNumber(text, min) || text.empty() || text[0] != ':') return {};
    text.remove_prefix(1);
    if (!TakeNumber(text, s) || !text.empty()) return {};
    seconds = h * 3600 + min * 60 + s;
  }
  const int64_t days = DaysFromCivil(static_cast<int64_t>(y), static_cast<int64_t>(m), static_cast<int64_t>(d)) -
                       DaysFromCivil(1899, 12, 30);
  return NumberCellText(static_cast<double>(days) + seconds / 86400);
}

// An ODF duration "PT21H31M57.6S" ("P1DT2H" too) as a fraction of a day.
std::string DurationText(std::string_view text) {
  text = Trimmed(text);
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text[0] != 'P') return {};
  text.remove_prefix(1);
  double seconds = 0;
  bool inTime = false, any = false;
  while (!text.empty()) {
    if (text[0] == 'T' && !inTime) {
      inTime = true;
      text.remove_prefix(1);
      continue;
    }
    double v = 0;
    if (!TakeNumber(text, v) || text.empty()) return {};
    const char unit = text[0];
    text.remove_prefix(1);
    if (!inTime && unit == 'D')
      seconds += v * 86400;
    else if (inTime && unit == 'H')
      seconds += v * 3600;
    else if (inTime && unit == 'M')
      seconds += v * 60;
    else if (inTime && unit == 'S')
      seconds += v;
    else
      return {};
    any = true;
  }
  if (!any) return {};
  return NumberCellText((negative ? -seconds : seconds) / 86400);
}

// A positive whole number written in an attribute; false for anything else.
bool PositiveAttribute(QStringView text, uint64_t& n) {
  const QByteArray bytes = text.toLatin1();
  n = 0;
  auto [end, ec] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), n);
  if (ec == std::errc::result_out_of_range && end == bytes.data() + bytes.size()) n = UINT64_MAX;
  return !bytes.isEmpty() && end == bytes.data() + bytes.size() && n > 0;
}

// A count attribute (number-rows-repeated, text:c): a positive whole number up to `cap`,
// else 1.
uint32_t CountAttribute(QStringView text, uint32_t cap) {
  uint64_t n = 0;
  if (!PositiveAttribute(text, n)) return 1;
  return static_cast<uint32_t>(std::min<uint64_t>(n, cap));
}

// --- The archive ------------------------------------------------------------------

enum class PartRead { kRead, kMissing, kEncrypted, kFailed };

// Reads one part (archive entry) whole.
PartRead ReadPart(zip_t* archive, const std::string& name, QByteArray& out) {
  out.clear();
  const zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
  if (index < 0) return PartRead::kMissing;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) != 0) return PartRead::kFailed;
  if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) return PartRead::kEncrypted;
  if ((st.valid & ZIP_STAT_SIZE) && st.size > static_cast<zip_uint64_t>(kMaxPartBytes)) return PartRead::kFailed;
  zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) return PartRead::kFailed;
  char buffer[1 << 16];
  zip_int64_t n = 0;
  while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
    if (out.size() + n > kMaxPartBytes) {
      n = -1;
      break;
    }
    out.append(buffer, static_cast<qsizetype>(n));
  }
  zip_fclose(file);
  // Neither Office Open XML nor OpenDocument parts carry a document type declaration;
  // one could only declare entities that expand a small file a thousandfold.
  if (n >= 0 && out.contains("<!DOCTYPE")) return PartRead::kFailed;
  return n < 0 ? PartRead::kFailed : PartRead::kRead;
}

WorkbookProblem ProblemOf(PartRead read) {
  return read == PartRead::kEncrypted ? WorkbookProblem::kEncrypted : WorkbookProblem::kDamaged;
}

// True when a file starts as an OLE compound file (the .xls container, and the one an
// encrypted .xlsx travels in).
bool IsCompoundFile(const std::filesystem::path& path, std::string* content) {
  std::ifstream in(path, std::ios::binary);
  char head[8] = {};
  if (!in.read(head, sizeof head)) return false;
  if (std::string_view(head, 8) != std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) return false;
  // An encrypted package names its stream "EncryptionInfo" (UTF-16) in the directory,
  // which lies near the start of such a small file: no more than kMaxPartBytes is read.
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  content->resize(ec ? 0 : static_cast<size_t>(std::min<uintmax_t>(size, kMaxPartBytes)));
  in.seekg(0);
  in.read(content->data(), static_cast<std::streamsize>(content->size()));
  content->resize(static_cast<size_t>(in.gcount()));
  return true;
}

bool HasEncryptionInfo(const std::string& content) {
  static const std::string name = [] {
    std::string s;
    for (char c : std::string_view("EncryptionInfo")) s += {c, '\0'};
    return s;
  }();
  return content.find(name) != std::string::npos;
}

// --- Office Open XML --------------------------------------------------------------

struct Relationship {
  std::string id, type, target;
};

// The relationships part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string RelationshipsPartOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
  return folder + "_rels/" + name + ".rels";
}

// The entry name of a relationship's target, relative to the part that holds it (or to
// the root for "/xl/..."), with "." and ".." resolved.
std::string ResolveTarget(const std::string& fromPart, std::string_view target) {
  std::string path;
  if (!target.empty() && target[0] == '/') {
    target.remove_prefix(1);
  } else {
    const size_t slash = fromPart.rfind('/');
    if (slash != std::string::npos) path = fromPart.substr(0, slash + 1);
  }
  path += target;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string piece = path.substr(start, end - start);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

bool ReadRelationships(const QByteArray& xml, std::vector<Relationship>& out) {
  Xml x(xml);
  while (!x.atEnd()) {
    if (x.readNext() != Xml::StartElement || x.name() != u"Relationship") continue;
    const auto a = x.attributes();
    if (a.value(QLatin1String("TargetMode")) == u"External") continue;
    out.push_back({Utf8(a.value(QLatin1String("Id"))), Utf8(a.value(QLatin1String("Type"))),
                   Utf8(a.value(QLatin1String("Target")))});
  }
  return !x.hasError();
}

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}
bool IsStrictType(std::string_view type) { return type.rfind("http://purl.oclc.org/ooxml/", 0) == 0; }

// Walks the content of the element the reader stands on and leaves the reader on its
// end.  `onStart` is called on each start element inside: it returns true to walk into
// that element's content as part of this one (a rich-text run, a span), or false after it
// has read or skipped the element itself.  `onText` is called on each text.
template <class OnStart, class OnText>
void WalkContent(Xml& x, OnStart onStart, OnText onText) {
  int depth = 1;
  while (depth > 0 && !x.atEnd()) {
    const auto token = x.readNext();
    if (token == Xml::EndElement) {
      --depth;
    } else if (token == Xml::Characters) {
      onText();
    } else if (token == Xml::StartElement && onStart()) {
      ++depth;
    }
  }
}

// Text of a shared or inline string (<si>, <is>): its <t> texts, of rich-text runs too;
// phonetic runs and properties are left out.  The reader stands on the element's start
// and is left on its end.
std::string RichText(Xml& x) {
  std::string out;
  WalkContent(
      x,
      [&] {
        if (x.name() == u"r") return true;
        if (x.name() == u"t") {
          out += Utf8(x.readElementText(Xml::IncludeChildElements));
        } else {
          x.skipCurrentElement();
        }
        return false;
      },
      [] {});
  return out;
}

bool ReadSharedStrings(const QByteArray& xml, std::vector<std::string>& out) {
  Xml x(xml);
  while (!x.atEnd()) {
    if (x.readNext() == Xml::StartElement && x.name() == u"si") out.push_back(RichText(x));
  }
  return !x.hasError();
}

// The r:id of the first <sheet> of a workbook part; `strict` when the part is Strict.
bool FirstSheetId(const QByteArray& xml, std::string& id, bool& found, bool& strict) {
  Xml x(xml);
  found = false;
  strict = false;
  bool root = true;
  while (!x.atEnd()) {
    if (x.readNext() != Xml::StartElement) continue;
    if (root) {
      strict = x.namespaceUri().startsWith(kStrictPrefix);
      if (strict) return true;
      root = false;
    }
    if (x.name() == u"sheet") {
      id = Utf8(x.attributes().value(kOoxmlRelationships, QLatin1String("id")));
      found = true;
      return true;
    }
  }
  return !x.hasError();
}

struct XlsxCell {
  uint32_t row, column;
  std::string text;
};

// The cells of a worksheet part.  A row or cell without its reference follows the one
// before it.
SheetRead ReadXlsxSheet(const QByteArray& xml, const std::vector<std::string>& shared, std::vector<RowRun>& rows) {
  Xml x(xml);
  SheetBudget budget;
  std::vector<XlsxCell> cells;
  int64_t row = -1;
  int64_t nextColumn = 0;
  while (!x.atEnd()) {
    if (x.readNext() != Xml::StartElement) continue;
    if (x.name() == u"row") {
      uint64_t r = 0;
      row = PositiveAttribute(x.attributes().value(QLatin1String("r")), r)
                ? static_cast<int64_t>(std::min<uint64_t>(r, kMaxRows)) - 1
                : std::min<int64_t>(row + 1, kMaxRows);
      nextColumn = 0;
      continue;
    }
    if (x.name() != u"c") continue;
    const auto a = x.attributes();
    const std::string address = Utf8(a.value(QLatin1String("r")));
    const std::string type = Utf8(a.value(QLatin1String("t")));
    uint32_t cellRow = 0, cellColumn = 0;
    if (!ParseCellAddress(address, cellRow, cellColumn)) {
      cellRow = static_cast<uint32_t>(std::clamp<int64_t>(row, 0, kMaxRows));
      cellColumn = static_cast<uint32_t>(std::min<int64_t>(nextColumn, kMaxColumns));
    }
    nextColumn = int64_t{cellColumn} + 1;

    std::string value, inlineText;
    while (x.readNextStartElement()) {
      if (x.name() == u"v") {
        value = Utf8(x.readElementText(Xml::IncludeChildElements));
      } else if (x.name() == u"is") {
        inlineText = RichText(x);
      } else {
        x.skipCurrentElement();
      }
    }
    std::string text;
    if (type == "s") {
      uint32_t index = 0;
      std::string_view v = Trimmed(value);
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), index);
      if (!v.empty() && ec == std::errc() && end == v.data() + v.size() && index < shared.size()) text = shared[index];
    } else if (type == "inlineStr") {
      text = inlineText;
    } else if (type == "str") {
      text = value;
    } else if (type == "d") {
      text = DateSerialText(value);
    } else if (type == "n" || type == "b" || type.empty()) {
      text = NumberText(value);
    }  // "e": an error cell reads as empty
    if (!text.empty() && cellRow < kMaxRows && cellColumn < kMaxColumns) {
      // Kept twice for a while: as the cell read and in its row's run.
      if (!budget.Take(2 * (sizeof(XlsxCell) + text.size()))) return SheetRead::kTooLarge;
      cells.push_back({cellRow, cellColumn, std::move(text)});
    }
  }
  if (x.hasError()) return SheetRead::kDamaged;

  std::stable_sort(cells.begin(), cells.end(), [](const XlsxCell& a, const XlsxCell& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  });
  for (XlsxCell& c : cells) {
    if (rows.empty() || rows.back().row != c.row) rows.push_back({c.row, 1, {}});
    rows.back().cells.push_back({c.column, 1, std::move(c.text)});
  }
  return SheetRead::kRead;
}

// --- OpenDocument -----------------------------------------------------------------

bool ManifestHasEncryption(const QByteArray& xml) {
  Xml x(xml);
  while (!x.atEnd()) {
    if (x.readNext() == Xml::StartElement && x.name() == u"encryption-data") return true;
  }
  return false;
}

// The text of a cell: its paragraphs joined by a line end.  Within a paragraph a run of
// white space in the text counts as one blank and none at the paragraph's start or end
// (the ODF rule); text:s, text:tab and text:line-break give their characters;
// annotations and notes are left out.  The reader stands on the cell's start and is
// left on its end.
std::string OdsParagraphs(Xml& x, SheetBudget& budget) {
  std::string out;
  bool firstParagraph = true;
  while (x.readNextStartElement()) {
    if (x.namespaceUri() != kOdfText || (x.name() != u"p" && x.name() != u"h")) {
      x.skipCurrentElement();
      continue;
    }
    if (!firstParagraph) out += '\n';
    firstParagraph = false;
    const size_t start = out.size();
    bool pendingBlank = false;
    auto put = [&](std::string_view s) {
      if (!budget.Take(s.size() + 1)) return;
      if (pendingBlank && out.size() > start) out += ' ';
      pendingBlank = false;
      out += s;
    };
    WalkContent(
        x,
        [&] {
          const bool text = x.namespaceUri() == kOdfText;
          if (text && x.name() == u"s") {
            put(std::string(CountAttribute(x.attributes().value(kOdfText, QLatin1String("c")), kMaxSpaces), ' '));
          } else if (text && x.name() == u"tab") {
            put("\t");
          } else if (text && x.name() == u"line-break") {
            put("\n");
          } else if (!((text && x.name() == u"note") || x.name() == u"annotation")) {
            return true;  // a span, a link: its text counts
          }
          x.skipCurrentElement();
          return false;
        },
        [&] {
          const std::string text = Utf8(x.text());
          size_t k = 0;
          while (k < text.size()) {
            const size_t blank = text.find_first_of(" \t\r\n", k);
            if (blank != k)
              put(std::string_view(text).substr(k, blank == std::string::npos ? std::string::npos : blank - k));
            if (blank == std::string::npos) break;
            pendingBlank = true;
            k = text.find_first_not_of(" \t\r\n", blank);
            if (k == std::string::npos) break;
          }
        });
  }
  return out;
}

// A cell's value as the import reads it; the reader is left on the cell's end.
std::string OdsCellText(Xml& x, SheetBudget& budget) {
  const auto a = x.attributes();
  const QStringView type = a.value(kOdfOffice, QLatin1String("value-type"));
  std::string value;
  if (type == u"float" || type == u"percentage" || type == u"currency") {
    value = NumberText(Utf8(a.value(kOdfOffice, QLatin1String("value"))));
  } else if (type == u"date") {
    value = DateSerialText(Utf8(a.value(kOdfOffice, QLatin1String("date-value"))));
  } else if (type == u"time") {
    value = DurationText(Utf8(a.value(kOdfOffice, QLatin1String("time-value"))));
  } else if (type == u"boolean") {
    value = a.value(kOdfOffice, QLatin1String("boolean-value")) == u"true" ? "1" : "0";
  }
  std::string text = OdsParagraphs(x, budget);
  return type.isEmpty() || type == u"string" ? text : value;
}

// One table:table-row (repeated rows as one run); the reader is left on its end.
void ReadOdsRow(Xml& x, uint32_t& row, std::vector<RowRun>& rows, SheetBudget& budget) {
  const uint32_t repeat =
      CountAttribute(x.attributes().value(kOdfTable, QLatin1String("number-rows-repeated")), kMaxRows);
  RowRun run{row, 1, {}};
  uint32_t column = 0;
  while (x.readNextStartElement()) {
    if (x.namespaceUri() != kOdfTable || (x.name() != u"table-cell" && x.name() != u"covered-table-cell")) {
      x.skipCurrentElement();
      continue;
    }
    const uint32_t n =
        CountAttribute(x.attributes().value(kOdfTable, QLatin1String("number-columns-repeated")), kMaxColumns);
    std::string text = OdsCellText(x, budget);
    if (!text.empty() && column < kMaxColumns && budget.Take(sizeof(CellRun) + text.size()))
      run.cells.push_back({column, std::min(n, kMaxColumns - column), std::move(text)});
    column = std::min(column + n, kMaxColumns);
  }
  if (row < kMaxRows && !run.cells.empty() && budget.Take(sizeof(RowRun))) {
    run.count = std::min(repeat, kMaxRows - row);
    rows.push_back(std::move(run));
  }
  row = std::min(row + repeat, kMaxRows);
}

// The first table:table of content.xml; `found` false when there is none.
SheetRead ReadOdsContent(const QByteArray& xml, std::vector<RowRun>& rows, bool& found) {
  Xml x(xml);
  SheetBudget budget;
  found = false;
  while (!x.atEnd()) {
    if (x.readNext() == Xml::StartElement && x.namespaceUri() == kOdfTable && x.name() == u"table") {
      found = true;
      break;
    }
  }
  if (!found) return x.hasError() ? SheetRead::kDamaged : SheetRead::kRead;
  // Rows stand in the table or in its header-rows, row-group and rows elements.
  uint32_t row = 0;
  int depth = 1;
  while (depth > 0 && !x.atEnd() && !budget.Exceeded()) {
    const auto token = x.readNext();
    if (token == Xml::EndElement) {
      --depth;
    } else if (token == Xml::StartElement) {
      const bool table = x.namespaceUri() == kOdfTable;
      if (table && x.name() == u"table-row") {
        ReadOdsRow(x, row, rows, budget);
      } else if (table &&
                 (x.name() == u"table-header-rows" || x.name() == u"table-row-group" || x.name() == u"table-rows")) {
        ++depth;
      } else {
        x.skipCurrentElement();
      }
    }
  }
  if (budget.Exceeded()) return SheetRead::kTooLarge;
  return x.hasError() ? SheetRead::kDamaged : SheetRead::kRead;
}

WorkbookProblem ProblemOf(SheetRead read) {
  return read == SheetRead::kTooLarge ? WorkbookProblem::kTooLarge : WorkbookProblem::kDamaged;
}

}  // namespace

// --- ZipWorkbook ----------------------------------------------------------------------

struct ZipWorkbook::State {
  zip_t* archive = nullptr;
  bool ods = false;
  std::string workbookPart;  // .xlsx: the office document's part ("xl/workbook.xml")
  bool selected = false;
  std::vector<RowRun> rows;

  ~State() {
    if (archive) zip_discard(archive);
  }
};

ZipWorkbook::ZipWorkbook() = default;
ZipWorkbook::~ZipWorkbook() = default;

bool ZipWorkbook::Open(const std::filesystem::path& path) {
  Close();
  problem_ = WorkbookProblem::kNone;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::string compound;
  if (IsCompoundFile(path, &compound)) {
    problem_ = HasEncryptionInfo(compound) ? WorkbookProblem::kEncrypted : WorkbookProblem::kNotWorkbook;
    return false;
  }
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!archive) {
    problem_ = WorkbookProblem::kNotWorkbook;
    return false;
  }
  auto state = std::make_unique<State>();
  state->archive = archive;

  QByteArray xml;
  if (zip_name_locate(archive, "content.xml", 0) >= 0) {
    state->ods = true;
    const PartRead manifest = ReadPart(archive, "META-INF/manifest.xml", xml);
    if (manifest == PartRead::kEncrypted || (manifest == PartRead::kRead && ManifestHasEncryption(xml))) {
      problem_ = WorkbookProblem::kEncrypted;
      return false;
    }
  } else {
    const PartRead read = ReadPart(archive, "_rels/.rels", xml);
    if (read != PartRead::kRead) {
      problem_ = read == PartRead::kMissing ? WorkbookProblem::kNotWorkbook : ProblemOf(read);
      return false;
    }
    std::vector<Relationship> rels;
    if (!ReadRelationships(xml, rels)) {
      problem_ = WorkbookProblem::kDamaged;
      return false;
    }
    for (const Relationship& r : rels) {
      if (IsStrictType(r.type)) {
        problem_ = WorkbookProblem::kStrict;
        return false;
      }
      if (EndsWith(r.type, "/officeDocument") && state->workbookPart.empty()) {
        state->workbookPart = ResolveTarget("", r.target);
      }
    }
    if (state->workbookPart.empty()) {
      problem_ = WorkbookProblem::kNotWorkbook;
      return false;
    }
  }
  state_ = std::move(state);
  return true;
}

bool ZipWorkbook::SelectFirstSheet() {
  if (!state_) return false;
  State& s = *state_;
  s.selected = false;
  s.rows.clear();
  QByteArray xml;
  auto fail = [&](WorkbookProblem p) {
    s.rows.clear();
    problem_ = p;
    return false;
  };

  if (s.ods) {
    const PartRead read = ReadPart(s.archive, "content.xml", xml);
    if (read != PartRead::kRead) return fail(ProblemOf(read));
    bool found = false;
    const SheetRead sheet = ReadOdsContent(xml, s.rows, found);
    if (sheet != SheetRead::kRead) return fail(ProblemOf(sheet));
    if (!found) return fail(WorkbookProblem::kNoSheet);
    s.selected = true;
    return true;
  }

  PartRead read = ReadPart(s.archive, s.workbookPart, xml);
  if (read != PartRead::kRead)
    return fail(read == PartRead::kMissing ? WorkbookProblem::kNotWorkbook : ProblemOf(read));
  std::string sheetId;
  bool found = false, strict = false;
  if (!FirstSheetId(xml, sheetId, found, strict)) return fail(WorkbookProblem::kDamaged);
  if (strict) return fail(WorkbookProblem::kStrict);
  if (!found) return fail(WorkbookProblem::kNoSheet);

  std::vector<Relationship> rels;
  read = ReadPart(s.archive, RelationshipsPartOf(s.workbookPart), xml);
  if (read != PartRead::kRead || !ReadRelationships(xml, rels)) {
    return fail(read == PartRead::kMissing ? WorkbookProblem::kNoSheet : ProblemOf(read));
  }
  std::string sheetPart, stringsPart;
  for (const Relationship& r : rels) {
    if (r.id == sheetId && sheetPart.empty()) sheetPart = ResolveTarget(s.workbookPart, r.target);
    if (EndsWith(r.type, "/sharedStrings") && stringsPart.empty())
      stringsPart = ResolveTarget(s.workbookPart, r.target);
  }
  if (sheetPart.empty()) return fail(WorkbookProblem::kNoSheet);

  std::vector<std::string> shared;
  if (!stringsPart.empty()) {
    read = ReadPart(s.archive, stringsPart, xml);
    if (read == PartRead::kRead && !ReadSharedStrings(xml, shared)) return fail(WorkbookProblem::kDamaged);
    if (read != PartRead::kRead && read != PartRead::kMissing) return fail(ProblemOf(read));
  }
  read = ReadPart(s.archive, sheetPart, xml);
  if (read != PartRead::kRead) return fail(read == PartRead::kMissing ? WorkbookProblem::kNoSheet : ProblemOf(read));
  const SheetRead sheet = ReadXlsxSheet(xml, shared, s.rows);
  if (sheet != SheetRead::kRead) return fail(ProblemOf(sheet));
  s.selected = true;
  return true;
}

std::string ZipWorkbook::CellText(std::string_view address) {
  uint32_t row = 0, column = 0;
  if (!state_ || !state_->selected || !ParseCellAddress(address, row, column)) return {};
  const RowRun* r = FindRun(state_->rows, row, [](const RowRun& run) { return run.row; });
  if (!r) return {};
  const CellRun* c = FindRun(r->cells, column, [](const CellRun& run) { return run.column; });
  return c ? c->text : std::string();
}

void ZipWorkbook::Close() { state_.reset(); }

// --- TableWorkbook --------------------------------------------------------------------

bool TableWorkbook::Open(const std::filesystem::path& path) {
  Close();
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  current_ = ext == ".xls" ? static_cast<Workbook*>(&xls_) : &zip_;
  return current_->Open(path);
}

bool TableWorkbook::SelectFirstSheet() { return current_ && current_->SelectFirstSheet(); }

std::string TableWorkbook::CellText(std::string_view address) {
  return current_ ? current_->CellText(address) : std::string();
}

void TableWorkbook::Close() {
  xls_.Close();
  zip_.Close();
}

WorkbookProblem TableWorkbook::Problem() const { return current_ ? current_->Problem() : WorkbookProblem::kNone; }

}  // namespace planova
