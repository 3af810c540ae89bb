#include "compare/ades_residuals.h"

#include <algorithm>
#include <cstring>

#include "common/textfile.h"
#include "compare/comparison_run.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";
// The text goes to the file in blocks of about this size.
constexpr size_t kBlockBytes = size_t{1} << 20;

// A number with fixed decimals and a point written at `buf` (room for kCsvNumberMax);
// `sign` writes "+" before a value that is not negative.  Returns the end: nothing for a
// value that is not finite.
char* NumberInto(char* buf, double value, int decimals, bool sign) {
  return std::isfinite(value) ? CsvNumberInto(buf, value, decimals, sign) : buf;
}

// `n` blanks at `p`; returns their end.  The cells' paddings are a few bytes: one fixed
// 16-byte move (the buffer has room after the line for it) instead of a library call.
char* Blanks(char* p, size_t n) {
  static constexpr char kBlanks[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  if (n <= 16) {
    std::memcpy(p, kBlanks, 16);
  } else {
    std::memset(p, ' ', n);
  }
  return p + n;
}

// An uncertainty: blank when unknown (0, negative or not finite).
bool KnownSigma(double arcsec) { return arcsec > 0 && std::isfinite(arcsec); }

bool FitsPsv(std::string_view text) {
  for (char c : text) {
    if (c == '|' || c == '\r' || c == '\n') return false;
  }
  return true;
}

enum class Field { kTrkSub, kMode, kStn, kObsTime, kRa, kDec, kRmsRa, kRmsDec, kAstCat, kResRa, kResDec, kSelAst, kSigRa, kSigDec };
constexpr size_t kFieldCount = 14;

// One column of the record block: its keyword, what it holds, on which side its entries
// stand, and how many decimals and whether a sign a number has.
struct PsvColumn {
  const char* Keyword;
  Field What;
  bool Numeric = false;
  int Decimals = 0;
  bool Sign = false;
  size_t Width = 0;
  // A numeric column's smallest and largest values written: a number's text is the
  // wider the larger its magnitude, so these two give the column's width.
  double Min = INFINITY, Max = -INFINITY;
};

const std::string& ModeOf(const AdesResidualRow& r) {
  static const std::string ccd = "CCD";
  return r.Mode.empty() ? ccd : r.Mode;
}

// The value a numeric field writes (NaN: blank).
double NumberOf(const AdesResidualRow& r, Field f) {
  switch (f) {
    case Field::kRa: return r.RaDeg;
    case Field::kDec: return r.DecDeg;
    case Field::kRmsRa: return KnownSigma(r.RmsRaArcsec) ? r.RmsRaArcsec : NAN;
    case Field::kRmsDec: return KnownSigma(r.RmsDecArcsec) ? r.RmsDecArcsec : NAN;
    case Field::kResRa: return r.ResRaArcsec;
    case Field::kResDec: return r.ResDecArcsec;
    case Field::kSigRa: return KnownSigma(r.SigRaArcsec) ? r.SigRaArcsec : NAN;
    case Field::kSigDec: return KnownSigma(r.SigDecArcsec) ? r.SigDecArcsec : NAN;
    default: return NAN;
  }
}

// The text of a text field other than obsTime.
std::string_view TextOf(const AdesResidualRow& r, Field f, const AdesResidualsRequest& q) {
  switch (f) {
    case Field::kTrkSub: return q.Body;
    case Field::kMode: return ModeOf(r);
    case Field::kStn: return r.Station;
    case Field::kAstCat: return r.AstCat;
    case Field::kSelAst: return {&r.SelAst, 1};
    default: return {};
  }
}

// The rows of a request's own vector.
class VectorRows : public AdesRowSource {
 public:
  explicit VectorRows(const std::vector<AdesResidualRow>& rows) : rows_(rows) {}
  size_t Count() const override { return rows_.size(); }
  void Fill(size_t k, AdesResidualRow& row) const override { row = rows_[k]; }

 private:
  const std::vector<AdesResidualRow>& rows_;
};

// The PSV text of a request with the records of `rows`, into `out`: handed to `file` in
// blocks when one is given, else kept whole.  Every record is checked before a byte is
// formed, so a bad record leaves nothing written; `checkOnly` stops after the checks.
AdesResidualsResult FormPsv(const AdesResidualsRequest& request, const AdesRowSource& rows, std::string& out,
                            TextOutputFile* file, bool checkOnly) {
  out.clear();
  AdesResidualsResult result;
  const auto oneLine = [](std::string_view t) { return t.find_first_of("\r\n") == std::string_view::npos; };
  if (!FitsPsv(request.Body) || !oneLine(request.Program) || !oneLine(request.Ephemeris)) {
    result.Status = AdesWriteStatus::kBadRecord;
    return result;
  }
  std::vector<PsvColumn> columns = {
      {"trkSub", Field::kTrkSub}, {"mode", Field::kMode},          {"stn", Field::kStn},
      {"obsTime", Field::kObsTime}, {"ra", Field::kRa, true, 7, false}, {"dec", Field::kDec, true, 7, true},
      {"rmsRA", Field::kRmsRa, true, 3, false}, {"rmsDec", Field::kRmsDec, true, 3, false}, {"astCat", Field::kAstCat},
      {"resRA", Field::kResRa, true, 3, true}, {"resDec", Field::kResDec, true, 3, true}, {"selAst", Field::kSelAst},
      {"sigRA", Field::kSigRa, true, 3, false}, {"sigDec", Field::kSigDec, true, 3, false}};
  for (PsvColumn& c : columns) c.Width = std::string_view(c.Keyword).size();

  // First pass: the records checked, the optional columns found, the widths measured.
  // A time that can be written is always IsoDateTime::kLength characters, and the body
  // is the same in every record.
  const size_t count = rows.Count();
  AdesResidualRow r;
  IsoDateTime iso;
  bool anyRms = false, anyCat = false, anySig = false;
  size_t modeWidth = 0, stnWidth = 0, catWidth = 0;
  const auto widen = [](PsvColumn& c, double v) {
    if (std::isfinite(v)) {
      c.Min = std::min(c.Min, v);
      c.Max = std::max(c.Max, v);
    }
  };
  PsvColumn* column[kFieldCount] = {};
  for (PsvColumn& c : columns) column[static_cast<size_t>(c.What)] = &c;
  for (size_t i = 0; i < count; ++i) {
    rows.Fill(i, r);
    const bool fits = std::isfinite(r.RaDeg) && std::isfinite(r.DecDeg) && iso.Fits(request.Calendar, r.JdUtc) &&
                      (r.SelAst == 'A' || r.SelAst == 'D' || r.SelAst == 'a' || r.SelAst == 'd') &&
                      FitsPsv(ModeOf(r)) && FitsPsv(r.Station) && FitsPsv(r.AstCat);
    if (!fits) {
      result.Status = AdesWriteStatus::kBadRecord;
      result.BadRow = static_cast<int32_t>(i);
      return result;
    }
    anyRms = anyRms || KnownSigma(r.RmsRaArcsec) || KnownSigma(r.RmsDecArcsec);
    anyCat = anyCat || !r.AstCat.empty();
    anySig = anySig || KnownSigma(r.SigRaArcsec) || KnownSigma(r.SigDecArcsec);
    for (Field f : {Field::kRa, Field::kDec, Field::kRmsRa, Field::kRmsDec, Field::kResRa, Field::kResDec, Field::kSigRa,
                    Field::kSigDec}) {
      widen(*column[static_cast<size_t>(f)], NumberOf(r, f));
    }
    modeWidth = std::max(modeWidth, Utf8Length(ModeOf(r)));
    stnWidth = std::max(stnWidth, Utf8Length(r.Station));
    catWidth = std::max(catWidth, Utf8Length(r.AstCat));
  }
  if (checkOnly) {
    result.Records = static_cast<int32_t>(count);
    return result;
  }
  for (PsvColumn& c : columns) {
    switch (c.What) {
      case Field::kTrkSub: c.Width = std::max(c.Width, count > 0 ? Utf8Length(request.Body) : 0); break;
      case Field::kMode: c.Width = std::max(c.Width, modeWidth); break;
      case Field::kStn: c.Width = std::max(c.Width, stnWidth); break;
      case Field::kObsTime: c.Width = std::max(c.Width, count > 0 ? IsoDateTime::kLength : 0); break;
      case Field::kAstCat: c.Width = std::max(c.Width, catWidth); break;
      default: break;
    }
  }
  std::erase_if(columns, [&](const PsvColumn& c) {
    return (!anyRms && (c.What == Field::kRmsRa || c.What == Field::kRmsDec)) || (!anyCat && c.What == Field::kAstCat) ||
           (!anySig && (c.What == Field::kSigRa || c.What == Field::kSigDec));
  });
  char cell[kCsvNumberMax];
  size_t lineMax = 2;  // the line end
  for (PsvColumn& c : columns) {
    if (c.Numeric && c.Min <= c.Max) {
      for (double v : {c.Min, c.Max}) {
        c.Width = std::max(c.Width, static_cast<size_t>(NumberInto(cell, v, c.Decimals, c.Sign) - cell));
      }
    }
    // A text's bytes: up to four a character.
    lineMax += 1 + (c.Numeric ? std::max(c.Width, sizeof cell) : 4 * c.Width);
  }

  // The heading, then a line a record; the last column stands at the end of the line,
  // with no blanks after it.
  const auto endLine = [&](size_t lineStart) {
    while (out.size() > lineStart && out.back() == ' ') out.pop_back();
    out += kCrLf;
  };
  out = std::string("# version=2017") + kCrLf + "# comment" + kCrLf + "! line " + request.Program + ": O-C of " +
        request.Body + kCrLf;
  if (!request.Ephemeris.empty()) out += "! line ephemeris " + request.Ephemeris + kCrLf;
  const size_t lineStart = out.size();
  for (size_t k = 0; k < columns.size(); ++k) {
    if (k > 0) out += '|';
    out += columns[k].Keyword;
    out.append(columns[k].Width - std::string_view(columns[k].Keyword).size(), ' ');
  }
  endLine(lineStart);
  // Each record's line is formed in one buffer, then added to the block whole.
  // (With room after the line for the 16-byte moves below.)
  std::string lineBuffer(lineMax + 16, ' ');
  IsoDateTime iso2;
  for (size_t i = 0; i < count; ++i) {
    rows.Fill(i, r);
    char* const line = lineBuffer.data();
    char* p = line;
    for (size_t k = 0; k < columns.size(); ++k) {
      const PsvColumn& c = columns[k];
      if (k > 0) *p++ = '|';
      if (c.Numeric) {
        const size_t n = static_cast<size_t>(NumberInto(cell, NumberOf(r, c.What), c.Decimals, c.Sign) - cell);
        const size_t pad = c.Width > n ? c.Width - n : 0;
        p = Blanks(p, pad);
        if (n <= 16) {
          std::memcpy(p, cell, 16);  // a fixed move: the bytes past n are written over next
        } else {
          std::memcpy(p, cell, n);
        }
        p += n;
      } else if (c.What == Field::kObsTime) {
        p = iso2.WriteTo(p, request.Calendar, r.JdUtc);
      } else {
        const std::string_view text = TextOf(r, c.What, request);
        if (!text.empty()) std::memcpy(p, text.data(), text.size());
        p = Blanks(p + text.size(), c.Width - Utf8Length(text));
      }
    }
    while (p > line && p[-1] == ' ') --p;
    *p++ = '\r';
    *p++ = '\n';
    out.append(line, p);
    if (file && out.size() >= kBlockBytes) {
      if (!file->Write(out)) {
        result.Status = AdesWriteStatus::kWriteFailed;
        return result;
      }
      out.clear();
    }
  }
  result.Records = static_cast<int32_t>(count);
  return result;
}

}  // namespace

AdesResidualsResult AdesResidualsText(const AdesResidualsRequest& request, std::string& text) {
  AdesResidualsResult result = FormPsv(request, VectorRows(request.Rows), text, nullptr, false);
  if (!result.Ok()) text.clear();
  return result;
}

AdesResidualsResult WriteAdesResiduals(const std::filesystem::path& path, const AdesResidualsRequest& request) {
  return WriteAdesResiduals(path, request, VectorRows(request.Rows));
}

AdesResidualsResult WriteAdesResiduals(const std::filesystem::path& path, const AdesResidualsRequest& request,
                                       const AdesRowSource& rows) {
  PreparedAdesResiduals prepared = PrepareAdesResiduals(path, request, rows);
  if (prepared.Result.Ok()) prepared.Commit();
  return prepared.Result;
}

PreparedAdesResiduals PrepareAdesResiduals(const std::filesystem::path& path, const AdesResidualsRequest& request,
                                           const AdesRowSource& rows) {
  PreparedAdesResiduals prepared;
  std::string text;
  prepared.File = std::make_unique<TextOutputFile>();
  TextOutputFile& file = *prepared.File;
  if (!file.Create(path)) {
    // A bad record is refused as such whatever the folder: the records checked alone.
    prepared.Result = FormPsv(request, rows, text, nullptr, true);
    if (prepared.Result.Ok()) prepared.Result.Status = AdesWriteStatus::kWriteFailed;
    return prepared;
  }
  prepared.Result = FormPsv(request, rows, text, &file, false);
  if (!prepared.Result.Ok()) {
    file.Discard();  // the old file kept
    return prepared;
  }
  if (!file.Write(text) || !file.Sync()) {
    file.Discard();
    prepared.Result.Status = AdesWriteStatus::kWriteFailed;
  }
  return prepared;
}

bool PreparedAdesResiduals::Commit() {
  if (!Result.Ok()) return false;
  if (!File || !File->Commit()) Result.Status = AdesWriteStatus::kWriteFailed;
  return Result.Ok();
}

std::filesystem::path AdesResidualsPath(const std::filesystem::path& appFolder, const std::string& code,
                                        int32_t object) {
  return AppPath(appFolder, "Dat/" + std::string(kAdesResidualsPrefix) + code + std::to_string(object) + ".psv");
}

}  // namespace planova
