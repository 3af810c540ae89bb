#include "compare/ades_residuals.h"

#include <algorithm>

#include "common/textfile.h"
#include "compare/comparison_run.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

// One column of the record block: its keyword, its entries, and on which side they stand.
struct PsvColumn {
  std::string Keyword;
  bool Numeric = false;
  std::vector<std::string> Cells;
};

// A number with fixed decimals and a point; `sign` writes "+" before a value that is not
// negative.  Blank for a value that is not finite.
std::string Number(double value, int decimals, bool sign) {
  std::string s;
  if (!std::isfinite(value)) return s;
  AppendCsvNumber(s, value, decimals);
  if (sign && s.front() != '-') s.insert(s.begin(), '+');
  return s;
}

// An uncertainty: blank when unknown (0, negative or not finite).
std::string Sigma(double arcsec) { return arcsec > 0 && std::isfinite(arcsec) ? Number(arcsec, 3, false) : std::string(); }

bool FitsPsv(std::string_view text) { return text.find_first_of("|\r\n") == std::string_view::npos; }

}  // namespace

AdesResidualsResult AdesResidualsText(const AdesResidualsRequest& request, std::string& text) {
  text.clear();
  AdesResidualsResult result;
  const auto& rows = request.Rows;
  const auto oneLine = [](std::string_view t) { return t.find_first_of("\r\n") == std::string_view::npos; };
  if (!FitsPsv(request.Body) || !oneLine(request.Program) || !oneLine(request.Ephemeris)) {
    result.Status = AdesWriteStatus::kBadRecord;
    return result;
  }
  bool anyRms = false, anyCat = false, anySig = false;
  for (const AdesResidualRow& r : rows) {
    anyRms = anyRms || !Sigma(r.RmsRaArcsec).empty() || !Sigma(r.RmsDecArcsec).empty();
    anyCat = anyCat || !r.AstCat.empty();
    anySig = anySig || !Sigma(r.SigRaArcsec).empty() || !Sigma(r.SigDecArcsec).empty();
  }
  std::vector<PsvColumn> columns;
  auto add = [&](const char* keyword, bool numeric) -> std::vector<std::string>& {
    columns.push_back({keyword, numeric, {}});
    columns.back().Cells.reserve(rows.size());
    return columns.back().Cells;
  };
  // References stay valid: every column is added before any is filled.
  columns.reserve(16);
  auto& trkSub = add("trkSub", false);
  auto& mode = add("mode", false);
  auto& stn = add("stn", false);
  auto& obsTime = add("obsTime", false);
  auto& ra = add("ra", true);
  auto& dec = add("dec", true);
  std::vector<std::string>*rmsRa = nullptr, *rmsDec = nullptr, *astCat = nullptr, *sigRa = nullptr, *sigDec = nullptr;
  if (anyRms) {
    rmsRa = &add("rmsRA", true);
    rmsDec = &add("rmsDec", true);
  }
  if (anyCat) astCat = &add("astCat", false);
  auto& resRa = add("resRA", true);
  auto& resDec = add("resDec", true);
  auto& selAst = add("selAst", false);
  if (anySig) {
    sigRa = &add("sigRA", true);
    sigDec = &add("sigDec", true);
  }

  IsoDateTime iso;
  for (size_t i = 0; i < rows.size(); ++i) {
    const AdesResidualRow& r = rows[i];
    std::string time;
    const std::string& m = r.Mode.empty() ? std::string("CCD") : r.Mode;
    const bool fits = std::isfinite(r.RaDeg) && std::isfinite(r.DecDeg) && iso.AppendTo(time, request.Calendar, r.JdUtc) &&
                      std::string_view("ADad").find(r.SelAst) != std::string_view::npos && FitsPsv(m) && FitsPsv(r.Station) && FitsPsv(r.AstCat);
    if (!fits) {
      result.Status = AdesWriteStatus::kBadRecord;
      result.BadRow = static_cast<int32_t>(i);
      return result;
    }
    trkSub.push_back(request.Body);
    mode.push_back(m);
    stn.push_back(r.Station);
    obsTime.push_back(std::move(time));
    ra.push_back(Number(r.RaDeg, 7, false));
    dec.push_back(Number(r.DecDeg, 7, true));
    if (anyRms) {
      rmsRa->push_back(Sigma(r.RmsRaArcsec));
      rmsDec->push_back(Sigma(r.RmsDecArcsec));
    }
    if (anyCat) astCat->push_back(r.AstCat);
    resRa.push_back(Number(r.ResRaArcsec, 3, true));
    resDec.push_back(Number(r.ResDecArcsec, 3, true));
    selAst.push_back(std::string(1, r.SelAst));
    if (anySig) {
      sigRa->push_back(Sigma(r.SigRaArcsec));
      sigDec->push_back(Sigma(r.SigDecArcsec));
    }
  }

  for (PsvColumn& c : columns) {
    size_t width = c.Keyword.size();
    for (const std::string& s : c.Cells) width = std::max(width, Utf8Length(s));
    auto pad = [&](std::string& s, bool right) {
      const size_t fill = width - Utf8Length(s);
      if (right) s.insert(0, fill, ' ');
      else s.append(fill, ' ');
    };
    pad(c.Keyword, false);
    for (std::string& s : c.Cells) pad(s, c.Numeric);
  }
  // The last column stands at the end of the line: no blanks after it.
  auto line = [&](auto cell) {
    std::string l;
    for (size_t k = 0; k < columns.size(); ++k) {
      if (k > 0) l += '|';
      l += cell(columns[k]);
    }
    while (!l.empty() && l.back() == ' ') l.pop_back();
    text += l;
    text += kCrLf;
  };

  text = std::string("# version=2017") + kCrLf + "# comment" + kCrLf + "! line " + request.Program + ": O-C of " +
         request.Body + kCrLf;
  if (!request.Ephemeris.empty()) text += "! line ephemeris " + request.Ephemeris + kCrLf;
  line([](const PsvColumn& c) -> const std::string& { return c.Keyword; });
  for (size_t i = 0; i < rows.size(); ++i) line([i](const PsvColumn& c) -> const std::string& { return c.Cells[i]; });
  result.Records = static_cast<int32_t>(rows.size());
  return result;
}

AdesResidualsResult WriteAdesResiduals(const std::filesystem::path& path, const AdesResidualsRequest& request) {
  std::string text;
  AdesResidualsResult result = AdesResidualsText(request, text);
  if (result.Ok() && !WriteFileAtomically(path, text)) result.Status = AdesWriteStatus::kWriteFailed;
  return result;
}

std::filesystem::path AdesResidualsPath(const std::filesystem::path& appFolder, const std::string& code,
                                        int32_t object) {
  return AppPath(appFolder, "Dat/" + std::string(kAdesResidualsPrefix) + code + std::to_string(object) + ".psv");
}

}  // namespace planova
