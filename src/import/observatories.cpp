#include "import/observatories.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "common/columns.h"
#include "common/obs_store.h"
#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

// The program's table: 1-based columns of a row.
constexpr int kCodeWidth = 4;                  // 1-4, column 5 blank
constexpr FixedColumns kTableLon{6, 14};
constexpr FixedColumns kTableLat{16, 23};
constexpr FixedColumns kTableHeight{25, 29};
constexpr FixedColumns kTableMpc{31, 33};
constexpr int kTableName = 35;

// ObsCodes.html: 1-based columns of a code line.
constexpr FixedColumns kMpcLon{5, 13};
constexpr FixedColumns kMpcRhoCos{14, 21};
constexpr FixedColumns kMpcRhoSin{22, 30};
constexpr int kMpcName = 31;

// A little above the Earth's equatorial radius: the highest summit is 0.0014 radii up.
constexpr double kMaxRho = 1.01;

struct BuiltInObservatory {
  const char* code;
  const char* longitude;  // degrees east, as window 2 shows them
  const char* latitude;   // degrees
  const char* height;     // metres above GRS80 ("" unknown)
  const char* mpc;        // the MPC's code ("" none)
  const char* name;
};

// The program's observatories.  Longitudes and latitudes are the texts window 2 has always
// shown for these codes.  Heights are those above GRS80 of the MPC's parallax constants of
// the code beside them, to the metre.  Two texts keep what the window showed though the
// MPC's site differs: EDIN's longitude is east where 277 (Blackford Hill) lies 3.18 deg
// west, and OTTA's latitude is 0.08 deg south of 790 (Dominion Observatory).
constexpr std::array<BuiltInObservatory, 15> kBuiltIn = {{
    {"BERL", "13,393", "52,520", "39", "548", "Berlin (1835-1913)"},
    {"CAMB", "0,095", "52,214", "52", "503", "Cambridge"},
    {"CAPE", "18,475", "-33,934", "12", "051", "Royal Observatory, Cape of Good Hope"},
    {"EDIN", "3,183", "55,917", "115", "277", "Royal Observatory, Blackford Hill, Edinburgh"},
    {"GREN", "0,0", "51,477", "66", "000", "Greenwich"},
    {"GTOK", "139,542", "35,672", "60", "388", "Tokyo-Mitaka"},
    {"MADR", "80,246", "13,067", "31", "223", "Madras"},
    {"NIKO", "31,975", "46,972", "51", "089", "Mykolaiv"},
    {"OTTA", "-75,527", "45,317", "84", "790", "Dominion Observatory, Ottawa"},
    {"PARI", "2,337", "48,836", "60", "007", "Paris"},
    {"RADC", "-1,251", "51,76", "79", "996", "Radcliffe Observatory, Oxford"},
    {"STRA", "7,767", "48,583", "169", "522", "Strasbourg"},
    {"TIHO", "12,578", "55,681", "10", "035", "Copenhagen"},
    {"UCCL", "4,358", "50,799", "105", "012", "Uccle"},
    {"USNO", "-77,066", "38,921", "91", "786", "U.S. Naval Observatory, Washington"},
}};

constexpr const char* kTableHeading[] = {
    "; Planova3 observatories: the code of a BDL file's observatory and where it is.",
    "; Windows-1251 text; lines starting with \";\" are comments.  Columns (1-based):",
    ";   1-4   code (letters and digits, no blanks)",
    ";   6-14  east longitude, degrees (west negative), decimal comma",
    ";  16-23  latitude, degrees (north positive)",
    ";  25-29  height above the GRS80 ellipsoid, metres (blank: unknown, taken as 0)",
    ";  31-33  the Minor Planet Center's code of the site (blank: none)",
    ";  35-    name",
    "; Longitude -180..360, latitude -90..90, height -500..9000.  A code not listed here is",
    "; looked up among the MPC's codes of ObsCodes.html in the same folder.  The heights below",
    "; are those of the MPC's parallax constants of the code beside them.",
    ";",
    ";Cod Longitude Latitude   Hgt MPC Name",
};

std::string_view Trim(std::string_view s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

bool IsCodeChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsCode(std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsCodeChar); }

// A number of either file: the MPC's decimal point or the program's decimal comma.
bool ReadNumber(std::string_view text, double& value) {
  const std::string_view t = Trim(text);
  return !t.empty() && TryParseFieldReal(DotToComma(t), value);
}

bool Listed(const std::vector<Observatory>& rows, std::string_view code) {
  return std::any_of(rows.begin(), rows.end(), [&](const Observatory& o) { return o.Code == code; });
}

// The rows between "<pre>" and "</pre>" after the heading line; a file without "<pre>" is
// read whole, its heading line skipped.
std::pair<size_t, size_t> PreformattedRange(const std::vector<std::string>& lines) {
  auto starts = [](const std::string& line, std::string_view tag) {
    const std::string_view t = Trim(line);
    return t.size() >= tag.size() && std::equal(tag.begin(), tag.end(), t.begin(), [](char a, char b) {
             return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
           });
  };
  size_t first = 0, end = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (starts(lines[i], "<pre>")) {
      first = i + 1;
      break;
    }
  }
  for (size_t i = first; i < lines.size(); ++i) {
    if (starts(lines[i], "</pre>")) {
      end = i;
      break;
    }
  }
  if (first < end && Trim(lines[first]).substr(0, 4) == "Code") ++first;
  return {first, end};
}

std::vector<std::string> ReadLines(const std::filesystem::path& path, bool& opened) {
  std::vector<std::string> lines;
  TextInputFile file;
  opened = file.Open(path);
  for (std::string line; opened && file.ReadLine(line);) lines.push_back(line);
  return lines;
}

// The MPC's longitude text as the window shows it: east positive within -180..180, the
// list's decimals kept, decimal comma.
std::string MpcLongitudeText(std::string_view listed, double lonDeg) {
  const std::string_view t = Trim(listed);
  if (lonDeg <= 180) return DotToComma(t);
  const size_t point = t.find('.');
  const size_t decimals = point == std::string_view::npos ? 0 : t.size() - point - 1;
  return Format(lonDeg - 360, decimals == 0 ? std::string("0") : "0." + std::string(decimals, '0'));
}

}  // namespace

ObservatoryRows ParseObsCodes(const std::vector<std::string>& lines) {
  ObservatoryRows out;
  const auto [first, end] = PreformattedRange(lines);
  for (size_t i = first; i < end; ++i) {
    const std::string_view line = lines[i];
    auto refuse = [&](ObservatoryFault fault) {
      out.Problems.push_back({std::string(kMpcObsCodesFile), static_cast<int>(i + 1), fault});
    };
    if (Trim(line).empty()) continue;
    if (line.size() < static_cast<size_t>(kMpcRhoSin.last)) {
      refuse(ObservatoryFault::kShortLine);
      continue;
    }
    Observatory o;
    o.Code = std::string(line.substr(0, 3));
    if (!IsCode(o.Code) || line[3] != ' ') {
      refuse(ObservatoryFault::kBadCode);
      continue;
    }
    if (Listed(out.Rows, o.Code)) {
      refuse(ObservatoryFault::kDuplicateCode);
      continue;
    }
    o.MpcCode = o.Code;
    o.Name = std::string(Trim(line.size() > kMpcName - 1 ? line.substr(kMpcName - 1) : std::string_view()));
    const std::string_view lon = CutColumns(line, kMpcLon), rc = CutColumns(line, kMpcRhoCos), rs = CutColumns(line, kMpcRhoSin);
    if (Trim(lon).empty() && Trim(rc).empty() && Trim(rs).empty()) {
      o.HasCoordinates = false;
      out.Rows.push_back(std::move(o));
      continue;
    }
    double lonDeg = 0, rhoCos = 0, rhoSin = 0;
    if (!ReadNumber(lon, lonDeg) || !ReadNumber(rc, rhoCos) || !ReadNumber(rs, rhoSin)) {
      refuse(ObservatoryFault::kBadNumber);
    } else if (lonDeg < 0 || lonDeg >= 360) {
      refuse(ObservatoryFault::kLongitudeRange);
    } else if (rhoCos < 0 || std::hypot(rhoCos, rhoSin) > kMaxRho) {
      refuse(ObservatoryFault::kRhoRange);
    } else {
      o.Site = SiteFromParallaxConstants(lonDeg, rhoCos, rhoSin);
      o.LonText = MpcLongitudeText(lon, lonDeg);
      out.Rows.push_back(std::move(o));
    }
  }
  return out;
}

ObservatoryRows ParseObservatoryTable(const std::vector<std::string>& lines) {
  ObservatoryRows out;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    auto refuse = [&](ObservatoryFault fault) {
      out.Problems.push_back({std::string(kObservatoryTableFile), static_cast<int>(i + 1), fault});
    };
    if (Trim(line).empty() || line.front() == ';') continue;
    Observatory o;
    o.Code = std::string(Trim(line.substr(0, kCodeWidth)));
    if (line.front() == ' ' || !IsCode(o.Code) || (line.size() > kCodeWidth && line[kCodeWidth] != ' ')) {
      refuse(ObservatoryFault::kBadCode);
      continue;
    }
    if (Listed(out.Rows, o.Code)) {
      refuse(ObservatoryFault::kDuplicateCode);
      continue;
    }
    double lonDeg = 0, latDeg = 0;
    const std::string_view height = Trim(CutColumns(line, kTableHeight));
    o.MpcCode = std::string(Trim(CutColumns(line, kTableMpc)));
    if (!ReadNumber(CutColumns(line, kTableLon), lonDeg) || !ReadNumber(CutColumns(line, kTableLat), latDeg) ||
        (!height.empty() && !ReadNumber(height, o.HeightM))) {
      refuse(ObservatoryFault::kBadNumber);
    } else if (lonDeg < -180 || lonDeg > 360) {
      refuse(ObservatoryFault::kLongitudeRange);
    } else if (latDeg < -90 || latDeg > 90) {
      refuse(ObservatoryFault::kLatitudeRange);
    } else if (o.HeightM < -500 || o.HeightM > 9000) {
      refuse(ObservatoryFault::kHeightRange);
    } else if (!o.MpcCode.empty() && (o.MpcCode.size() != 3 || !IsCode(o.MpcCode))) {
      refuse(ObservatoryFault::kBadMpcCode);
    } else {
      o.Site = SiteFromGeodetic(lonDeg, latDeg, o.HeightM);
      o.LonText = DotToComma(Trim(CutColumns(line, kTableLon)));
      o.LatText = DotToComma(Trim(CutColumns(line, kTableLat)));
      o.Name = std::string(Trim(line.size() > kTableName - 1 ? line.substr(kTableName - 1) : std::string_view()));
      out.Rows.push_back(std::move(o));
    }
  }
  return out;
}

std::string DefaultObservatoryTableText() {
  std::string text;
  for (const char* line : kTableHeading) text += std::string(line) + "\r\n";
  auto right = [](std::string_view s, size_t width) { return std::string(width - s.size(), ' ') + std::string(s); };
  for (const BuiltInObservatory& o : kBuiltIn) {
    std::string line = o.code + std::string(kCodeWidth + 1 - std::string_view(o.code).size(), ' ');
    line += right(o.longitude, 9) + " " + right(o.latitude, 8) + " " + right(o.height, 5) + " ";
    line += (*o.mpc ? std::string(o.mpc) : "   ") + " " + o.name;
    text += line + "\r\n";
  }
  return text;
}

ObservatoryFind ObservatoryList::Find(std::string_view code) const {
  ObservatoryFind r;
  for (const Observatory& o : Program) {
    if (o.Code != code) continue;
    r.End = ObservatoryFindEnd::kFound;
    r.Site = o.Site;
    r.Name = o.Name;
    r.LonText = o.LonText;
    r.LatText = o.LatText;
    return r;
  }
  for (const Observatory& o : Mpc) {
    if (o.Code != code) continue;
    r.Name = o.Name;
    if (!o.HasCoordinates) {
      r.End = ObservatoryFindEnd::kNoCoordinates;
      return r;
    }
    r.End = ObservatoryFindEnd::kFound;
    r.Site = o.Site;
    r.LonText = o.LonText;
    const bool geocentre = o.Site.RhoCosPhi == 0 && o.Site.RhoSinPhi == 0;
    r.LatText = Format(geocentre ? 0.0 : GeodeticOf(o.Site).LatDeg, "0.0000");
    return r;
  }
  return r;
}

ObservatoryList LoadObservatories(const std::filesystem::path& appFolder) {
  ObservatoryList list;
  bool opened = false;
  std::vector<std::string> lines = ReadLines(AppPath(appFolder, kObservatoryTableFile), opened);
  list.ProgramFromFile = opened;
  if (!opened) {
    // The built-in table, read from the text its file is written with.
    const std::string text = DefaultObservatoryTableText();
    for (size_t a = 0, b; a < text.size(); a = b + 2) {
      b = text.find("\r\n", a);
      lines.push_back(text.substr(a, b - a));
    }
  }
  ObservatoryRows program = ParseObservatoryTable(lines);
  list.Program = std::move(program.Rows);
  list.Problems = std::move(program.Problems);
  ObservatoryRows mpc = ParseObsCodes(ReadLines(AppPath(appFolder, kMpcObsCodesFile), opened));
  list.Mpc = std::move(mpc.Rows);
  list.Problems.insert(list.Problems.end(), mpc.Problems.begin(), mpc.Problems.end());
  return list;
}

}  // namespace planova

namespace planova {

RecordObservers ResolveRecordObservers(const ObservatoryList& list, const ObservationStore& store, int column,
                                       int32_t first, int32_t last, const std::optional<ObserverSite>& windowSite) {
  RecordObservers r;
  r.First = first;
  if (last < first) return r;
  r.SiteOfRow.reserve(static_cast<size_t>(last - first + 1));
  // Stations are few and records many: each code is looked up once.
  std::map<std::string, uint16_t, std::less<>> known;
  for (int32_t i = first; i <= last; ++i) {
    const bool own = !store.ObsStation(i, column).empty();
    std::string code = store.ObserverCode(i, column);
    auto at = known.find(code);
    if (at == known.end()) {
      const ObservatoryFind found = list.Find(code);
      ObserverSite site;
      if (found.Found()) {
        site = found.Site;
      } else if (!own && found.End == ObservatoryFindEnd::kUnknownCode && windowSite) {
        site = *windowSite;
      } else {
        r.Ok = false;
        r.FailedRow = i;
        r.FailedCode = code;
        r.Why = found.End;
        r.SiteOfRow.clear();
        return r;
      }
      r.Sites.push_back(site);
      r.Codes.push_back(code);
      at = known.emplace(std::move(code), static_cast<uint16_t>(r.Sites.size() - 1)).first;
    }
    r.SiteOfRow.push_back(at->second);
  }
  return r;
}

}  // namespace planova
