#include "astro/jpl.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <system_error>

#include "astro/astro_state.h"
#include "astro/day_table_file.h"
#include "astro/jpl_ascii.h"
#include "common/textfile.h"

namespace planova {

namespace {

namespace fs = std::filesystem;

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

// The DE number of a listed name "DE405", or 0.
int AsciiNumber(const std::string& name) {
  if (name.size() < 3 || name.size() > 8 || name.compare(0, 2, "DE") != 0) return 0;
  int n = 0;
  for (size_t i = 2; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

bool IsKernelName(const fs::path& p) {
  std::string ext = p.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".bsp";
}

// DE405 of the published blocks with no files: the span a date is checked against when no
// folder is known.
const JplAsciiEphemeris& De405WithoutFiles() {
  static const std::shared_ptr<JplAsciiEphemeris> e = JplAsciiEphemeris::Open(fs::path(), 405, nullptr);
  return *e;
}

// The calendar year of the day before a JD (the last day an ephemeris ending there
// covers): the Julian calendar before 1582 Oct 15, the Gregorian after (Meeus, ch. 7).
int YearOfDayBefore(double endJd) {
  const double jd = endJd - 1 + 0.5;
  const double z = std::floor(jd);
  double a = z;
  if (z >= 2299161) {
    const double alpha = std::floor((z - 1867216.25) / 36524.25);
    a = z + 1 + alpha - std::floor(alpha / 4);
  }
  const double b = a + 1524;
  const double c = std::floor((b - 122.1) / 365.25);
  const double d = std::floor(365.25 * c);
  const double e = std::floor((b - d) / 30.6001);
  const double month = e < 14 ? e - 1 : e - 13;
  return static_cast<int>(month > 2 ? c - 4716 : c - 4715);
}

int YearOfJd(double jd) { return YearOfDayBefore(jd + 1); }

// The ephemeris the state reads in a folder: the one named, else DE405 when present, else
// the first found there.
std::string NameToOpen(const AstroState& a, const fs::path& folder) {
  if (!a.JplEphemerisName.empty()) return a.JplEphemerisName;
  const std::vector<std::string> names = FindEphemerides(folder);
  return names.empty() ? "DE405" : names.front();
}

}  // namespace

std::vector<std::string> FindEphemerides(const fs::path& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  // One pass over the folder for both kinds: JPL's ASCII files by their DE number, kernels.
  std::set<int> numbers;
  std::vector<std::string> kernels;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    int number = 0;
    if (JplAsciiEphemeris::NumberOfFile(file, number)) numbers.insert(number);
    std::error_code fec;
    if (IsKernelName(it->path()) && fs::is_regular_file(it->path(), fec)) kernels.push_back(file);
  }
  if (numbers.count(405) != 0) names.push_back("DE405");
  for (int n : numbers) {
    if (n != 405) names.push_back("DE" + std::to_string(n));
  }
  std::sort(kernels.begin(), kernels.end());
  names.insert(names.end(), kernels.begin(), kernels.end());
  return names;
}

std::shared_ptr<JplEphemeris> OpenEphemeris(const fs::path& folder, const std::string& name, std::string* refusal) {
  if (IsKernelName(name)) {
    std::unique_ptr<JplEphemeris> kernel = OpenSpkEphemeris(folder / name, refusal);
    return std::shared_ptr<JplEphemeris>(std::move(kernel));
  }
  const int number = AsciiNumber(name);
  if (number == 0) {
    if (refusal) *refusal = "нет эфемериды " + name + " в папке " + PathText(folder);
    return nullptr;
  }
  return JplAsciiEphemeris::Open(folder, number, refusal);
}

fs::path JplFolderOf(const AstroState& a) {
  if (!a.JplFolder.empty()) return a.JplFolder;
  if (!a.AppFolder) return {};
  fs::path folder = a.AppFolder();
  if (folder.empty()) return {};
  return AppPath(folder, "JPL");
}

JplEphemeris* CurrentEphemeris(AstroState& a) {
  // Every epoch asks: the folder named outright is compared in place, the application
  // folder's is resolved once a run.
  if (a.Ephemeris) {
    if (!a.JplFolder.empty() && a.EphemerisFolder.native() == a.JplFolder.native()) return a.Ephemeris.get();
    if (a.JplFolder.empty() && a.JplRunActive && a.EphemerisFolderResolvedInRun) return a.Ephemeris.get();
  }
  const fs::path folder = JplFolderOf(a);
  if (folder.empty()) return nullptr;
  if (a.Ephemeris && a.EphemerisFolder.native() == folder.native()) {
    a.EphemerisFolderResolvedInRun = a.JplRunActive && a.JplFolder.empty();
    return a.Ephemeris.get();
  }
  a.Ephemeris.reset();
  a.JplAscii = nullptr;
  a.EphemerisRefusal.clear();
  std::shared_ptr<JplEphemeris> e = OpenEphemeris(folder, NameToOpen(a, folder), &a.EphemerisRefusal);
  UseEphemeris(a, std::move(e), folder);
  return a.Ephemeris.get();
}

void UseEphemeris(AstroState& a, std::shared_ptr<JplEphemeris> e, const fs::path& folder) {
  a.EphemerisFolderResolvedInRun = false;
  a.Ephemeris = std::move(e);
  a.EphemerisFolder = folder;
  a.JplAscii = dynamic_cast<JplAsciiEphemeris*>(a.Ephemeris.get());
  if (a.JplAscii && a.JplRunActive) a.JplAscii->BeginRun();
}

bool JplDateOutside(AstroState& a, double jd) {
  JplEphemeris* e = CurrentEphemeris(a);
  int year = 0;
  if (a.JplAscii) return !a.JplAscii->BlockYearOf(jd, year);
  if (e) {
    const JplCoverage c = e->Coverage();
    return !(jd >= c.FirstJd && jd < c.EndJd);
  }
  return JplFolderOf(a).empty() && !De405WithoutFiles().BlockYearOf(jd, year);
}

double JplEmrat(AstroState& a) {
  JplEphemeris* e = CurrentEphemeris(a);
  return e && e->Constants().Emrat > 0 ? e->Constants().Emrat : kDe405Emrat;
}

EphemerisReport EphemerisReportOf(const AstroState& a) {
  EphemerisReport r;
  r.Failure = a.EphemerisFailureKind;
  r.FileRead = a.JplFilePathRead;
  r.Folder = JplFolderOf(a);
  std::shared_ptr<const JplEphemeris> e;
  if (a.Ephemeris && a.EphemerisFolder.native() == r.Folder.native()) {
    e = a.Ephemeris;
  } else if (!r.Folder.empty()) {
    const std::string name = NameToOpen(a, r.Folder);
    std::string refusal;
    e = OpenEphemeris(r.Folder, name, &refusal);
    if (!e) r.Name = name;
  }
  if (!e && r.Folder.empty()) e = std::shared_ptr<const JplEphemeris>(&De405WithoutFiles(), [](const JplEphemeris*) {});
  r.Refusal = a.EphemerisRefusal;
  if (!e) {
    r.YearsPerFile = 0;
    return r;
  }
  r.Name = e->Name();
  const JplCoverage c = e->Coverage();
  r.FirstYear = YearOfJd(c.FirstJd);
  r.EndYear = YearOfDayBefore(c.EndJd);
  if (auto* ascii = dynamic_cast<const JplAsciiEphemeris*>(e.get())) {
    if (!r.Folder.empty()) r.FileYearsPresent = ascii->FileYearsPresent();
    r.YearsPerFile = ascii->YearsPerFile();
    r.FirstYear = ascii->FirstFileYear();
    r.FirstFile = ascii->BlockPath(ascii->FirstFileYear()).filename().string();
    r.LastFile = ascii->BlockPath(ascii->LastFileYear()).filename().string();
    const bool fiveDigits = r.FirstFile.find('.') == 9;
    r.FilePattern = (fiveDigits ? "ascpГГГГГ." : "ascpГГГГ.") + std::to_string(ascii->DeNumber());
  } else {
    r.YearsPerFile = 0;
    const std::vector<fs::path> files = e->Files();
    if (!files.empty()) r.FirstFile = r.LastFile = files.front().filename().string();
  }
  return r;
}

void LoadJplRecord(AstroState& a) {
  const double jd = a.CurrentJd;
  JplEphemeris* e = CurrentEphemeris(a);
  EphemerisFailure f = EphemerisFailure::kReadError;
  fs::path file;
  if (!e) {
    // No folder known: DE405's span still tells a date outside it; else the folder is named.
    file = JplFolderOf(a);
    int year = 0;
    if (file.empty() && !De405WithoutFiles().BlockYearOf(jd, year)) f = EphemerisFailure::kNoSuchDate;
  } else if (a.JplAscii) {
    a.JplAscii->SetRescan(a.JplRescan);
    const long before = a.JplAscii->FilesParsed;
    f = a.JplAscii->LoadRecord(jd, &file);
    a.JplFilesParsed += a.JplAscii->FilesParsed - before;
    // Block files that overlap: the reader says which, the window shows it with the file.
    if (f == EphemerisFailure::kReadError) a.EphemerisRefusal = a.JplAscii->Problem();
  } else {
    const JplCoverage c = e->Coverage();
    f = jd >= c.FirstJd && jd < c.EndJd ? EphemerisFailure::kNone : EphemerisFailure::kNoSuchDate;
  }
  if (f == EphemerisFailure::kNone) return;
  if (f == EphemerisFailure::kNoSuchDate) {
    a.EphemerisFailureKind = EphemerisFailure::kNoSuchDate;
    a.JplFilePathRead.clear();
    a.StopRequested = 1;
    a.EphemerisError = 1;
    return;
  }
  a.JplFilePathRead = file;
  ReadFailure(a);
}

void BeginEphemerisRun(AstroState& a) {
  a.JplRunActive = true;
  a.EphemerisFolderResolvedInRun = false;
  if (a.JplAscii) a.JplAscii->BeginRun();
}

void EndEphemerisRun(AstroState& a) {
  a.JplRunActive = false;
  a.EphemerisFolderResolvedInRun = false;
  if (a.JplAscii) a.JplAscii->EndRun();
  SaveDayTable(a);  // the rigorous chain's new days, for the next session
}

namespace {

// Ephemeris body k's Chebyshev state at CurrentJd from the loaded record (the kernel's
// file named after a failure).
EphemerisFailure ReadChebyshev(AstroState& a, int k, ChebyshevState& s) {
  if (a.JplAscii) return a.JplAscii->BodyState(k, a.CurrentJd, s);
  if (!a.Ephemeris) return EphemerisFailure::kReadError;
  fs::path file;
  const EphemerisFailure f = a.Ephemeris->State(k, a.CurrentJd, s, &file);
  if (f != EphemerisFailure::kNone) a.JplFilePathRead = file;
  return f;
}

}  // namespace

void JplBodyState(AstroState& a, int body) {
  const int k = EphemerisBody(body);
  if (k == 0) {
    ReadFailure(a);
    return;
  }
  ChebyshevState s;
  const EphemerisFailure f = ReadChebyshev(a, k, s);
  if (s.IntervalDays > 0) {  // the series was summed
    const size_t kk = static_cast<size_t>(k);
    a.RawX[kk] = s.Pos[0];
    a.RawY[kk] = s.Pos[1];
    a.RawZ[kk] = s.Pos[2];
    a.RawVX[kk] = s.Der[0];
    a.RawVY[kk] = s.Der[1];
    a.RawVZ[kk] = s.Der[2];
    a.RawIntervalDays[kk] = s.IntervalDays;
  }
  if (f != EphemerisFailure::kNone) ReadFailure(a);
}

bool JplBodyStatesTogether(AstroState& a, const int* bodies, size_t count) {
  int k[kJplMaxBodiesAtOnce];
  ChebyshevState s[kJplMaxBodiesAtOnce];
  if (!a.JplAscii || count < 1 || count > kJplMaxBodiesAtOnce) return false;
  for (size_t b = 0; b < count; ++b) {
    k[b] = EphemerisBody(bodies[b]);
    if (k[b] == 0) return false;
  }
  if (a.JplAscii->BodyStates(k, count, a.CurrentJd, s) != EphemerisFailure::kNone) return false;
  for (size_t b = 0; b < count; ++b) {
    const size_t kk = static_cast<size_t>(k[b]);
    a.RawX[kk] = s[b].Pos[0];
    a.RawY[kk] = s[b].Pos[1];
    a.RawZ[kk] = s[b].Pos[2];
    a.RawVX[kk] = s[b].Der[0];
    a.RawVY[kk] = s[b].Der[1];
    a.RawVZ[kk] = s[b].Der[2];
    a.RawIntervalDays[kk] = s[b].IntervalDays;
  }
  return true;
}

bool JplBodyStateKilometres(AstroState& a, int body, JplKilometres& out) {
  const int k = EphemerisBody(body);
  ChebyshevState s;
  if (k == 0 || ReadChebyshev(a, k, s) != EphemerisFailure::kNone) {
    ReadFailure(a);
    return false;
  }
  const double perDay = 2 / s.IntervalDays;
  out = {{s.Pos[0], s.Pos[1], s.Pos[2]}, {s.Der[0] * perDay, s.Der[1] * perDay, s.Der[2] * perDay}};
  return true;
}

bool JplBodyStatesKilometres(AstroState& a, const int* bodies, size_t count, JplKilometres* out) {
  int k[kJplMaxBodiesAtOnce];
  ChebyshevState s[kJplMaxBodiesAtOnce];
  bool known = a.JplAscii && count >= 1 && count <= kJplMaxBodiesAtOnce;
  for (size_t b = 0; known && b < count; ++b) {
    k[b] = EphemerisBody(bodies[b]);
    known = k[b] != 0;
  }
  // Another kind of ephemeris, or a number that is no body: one by one, as they fail.
  if (!known) {
    for (size_t b = 0; b < count; ++b) {
      if (!JplBodyStateKilometres(a, bodies[b], out[b])) return false;
    }
    return true;
  }
  if (a.JplAscii->BodyStates(k, count, a.CurrentJd, s) != EphemerisFailure::kNone) {
    ReadFailure(a);
    return false;
  }
  for (size_t b = 0; b < count; ++b) {
    const double perDay = 2 / s[b].IntervalDays;
    out[b] = {{s[b].Pos[0], s[b].Pos[1], s[b].Pos[2]}, {s[b].Der[0] * perDay, s[b].Der[1] * perDay, s[b].Der[2] * perDay}};
  }
  return true;
}

bool JplBodyBound(AstroState& a, int body, double jd, ChebyshevBound& out) {
  const int k = EphemerisBody(body);
  return k != 0 && a.JplAscii && a.JplAscii->BodyBound(k, jd, out) == EphemerisFailure::kNone;
}

// The ephemeris number of a program body for the state conversions, or 0 after a read
// failure for a number that is not a body of the files.
static size_t ConvertibleBody(AstroState& a, int body) {
  int k = EphemerisBody(body);
  if (k == 0) ReadFailure(a);
  return static_cast<size_t>(k);
}

void JplStateToEcliptic(AstroState& a, int body) {
  const size_t kk = ConvertibleBody(a, body);
  if (kk == 0) return;
  const size_t slot = static_cast<size_t>(body);
  const double eps = a.Obliquity2000;
  if (!(a.JplRotationObliquity == eps)) {
    a.JplRotationObliquity = eps;
    a.JplRotationCos = std::cos(eps);
    a.JplRotationSin = std::sin(eps);
  }
  const double ce = a.JplRotationCos, se = a.JplRotationSin;
  const double len = a.RawIntervalDays[kk];
  a.PosX[slot] = 1000 * a.RawX[kk];
  a.PosY[slot] = 1000 * (ce * a.RawY[kk] + se * a.RawZ[kk]);
  a.PosZ[slot] = 1000 * (ce * a.RawZ[kk] - se * a.RawY[kk]);
  if (slot <= 13) {
    a.VelX[slot] = a.RawVX[kk] * 2000 / 86400 / len;
    a.VelY[slot] = (ce * a.RawVY[kk] + se * a.RawVZ[kk]) * 2000 / 86400 / len;
    a.VelZ[slot] = (ce * a.RawVZ[kk] - se * a.RawVY[kk]) * 2000 / 86400 / len;
  }
}

void JplStateToKilometres(AstroState& a, int body) {
  const size_t kk = ConvertibleBody(a, body);
  if (kk == 0) return;
  const size_t slot = static_cast<size_t>(body);
  const double len = a.RawIntervalDays[kk];
  a.PosX[slot] = a.RawX[kk] / 1000;
  a.PosY[slot] = a.RawY[kk] / 1000;
  a.PosZ[slot] = a.RawZ[kk] / 1000;
  if (slot <= 13) {
    a.VelX[slot] = a.RawVX[kk] * 2 / len / 86400;
    a.VelY[slot] = a.RawVY[kk] * 2 / len / 86400;
    a.VelZ[slot] = a.RawVZ[kk] * 2 / len / 86400;
  }
}

JplKilometres JplBodyKilometres(const AstroState& a, int body) {
  const size_t kk = static_cast<size_t>(EphemerisBody(body));
  const double perDay = 2 / a.RawIntervalDays[kk];
  return {{a.RawX[kk], a.RawY[kk], a.RawZ[kk]}, {a.RawVX[kk] * perDay, a.RawVY[kk] * perDay, a.RawVZ[kk] * perDay}};
}

}  // namespace planova
