#include "astro/astronomy.h"

#include <algorithm>
#include <new>
#include <type_traits>

#include "astro/astro_state.h"
#include "common/textfile.h"
#include "astro/orbit.h"

namespace planova {

Astronomy::Astronomy() : state_(std::make_unique<AstroState>()) {
  state_->InitConstants();
  InitPlanetMasses(*state_);
}

Astronomy::~Astronomy() = default;

void Astronomy::SetAppFolder(std::function<std::filesystem::path()> appFolder) {
  state_->AppFolder = std::move(appFolder);
  state_->EphemerisFolderResolvedInRun = false;  // the run asks for the folder again
}
void Astronomy::SetShippedDayTableFolders(std::vector<std::filesystem::path> folders) {
  state_->ShippedDayTableFolders = std::move(folders);
}
void Astronomy::SetJplFolder(const std::filesystem::path& folder) {
  state_->JplFolder = folder;
  state_->EphemerisFolderResolvedInRun = false;  // the run asks for the folder again
}
void Astronomy::SetJplRescan(bool rescan) { state_->JplRescan = rescan; }
long Astronomy::JplFilesParsed() const { return state_->JplFilesParsed; }

std::vector<std::string> Astronomy::FindEphemerides() {
  state_->Ephemeris.reset();  // opened again at the next read: files may have come
  state_->JplAscii = nullptr;
  return planova::FindEphemerides(JplFolderOf(*state_));
}

bool Astronomy::SelectEphemeris(const std::string& name, std::string* refusal) {
  const std::filesystem::path folder = JplFolderOf(*state_);
  const std::vector<std::string> names = planova::FindEphemerides(folder);
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    if (refusal) *refusal = "нет эфемериды " + name + " в папке " + PathText(folder);
    return false;
  }
  // The block files already open under this name stay: their records, parsed once, are
  // checked against the files on disk at every run, and a comparison chooses its
  // ephemeris anew each time it starts.  A kernel is opened again (a few microseconds).
  if (state_->JplAscii && state_->JplEphemerisName == name && state_->EphemerisFolder.native() == folder.native()) {
    return true;
  }
  std::string why;
  std::shared_ptr<JplEphemeris> e = OpenEphemeris(folder, name, &why);
  if (!e) {
    if (refusal) *refusal = why;
    return false;
  }
  state_->JplEphemerisName = name;
  state_->EphemerisRefusal.clear();
  UseEphemeris(*state_, std::move(e), folder);
  return true;
}

std::string Astronomy::SelectedEphemerisName() {
  if (JplEphemeris* e = CurrentEphemeris(*state_)) return e->Name();
  if (!state_->JplEphemerisName.empty()) return state_->JplEphemerisName;
  return "DE405";
}

void Astronomy::SetCalendar(CalendarRule rule) { state_->UseJulianCalendar = rule == CalendarRule::kJulian ? 1 : 0; }
CalendarRule Astronomy::Calendar() const { return CalendarRuleOf(*state_); }

std::optional<double> Astronomy::JulianDate(double day, int32_t month, int32_t year) {
  bool failed = false;
  const double jd = JulianDateFromCalendar(*state_, day, month, year, &failed);
  if (failed) return std::nullopt;
  return jd;
}

CalendarDateResult Astronomy::CalendarDateOf(double jd) {
  CalendarDateResult r;
  r.Ok = CalendarFromJulianDate(*state_, jd);
  r.Date = {state_->CalYear, state_->CalMonth, state_->CalDay};
  return r;
}

double Astronomy::DeltaTSeconds(double jdUt, DeltaTModel model) { return planova::DeltaTSeconds(*state_, jdUt, model); }

EphemerisReport Astronomy::Outcome(bool ok) const {
  if (ok) return {};
  EphemerisReport r = EphemerisReportOf(*state_);
  // Every failure of the places is the ephemeris'; one without its kind is a record that
  // did not serve.
  if (r.Failure == EphemerisFailure::kNone) r.Failure = EphemerisFailure::kReadError;
  return r;
}

ApparentPlaceResult Astronomy::ApparentPlaceOf(const ApparentPlaceRequest& request) {
  ApparentPlaceResult r;
  r.Detail = ComputeApparentPlace(*state_, request);
  r.Ephemeris = Outcome(r.Detail.Ok);
  r.RaDeg = r.Detail.LonDeg;
  r.DecDeg = r.Detail.LatDeg;
  r.DeltaTSeconds = r.Detail.DeltaTSeconds;
  r.EphemerisJd = r.Detail.EphemerisJd;
  return r;
}

void Astronomy::ApparentPlaceInto(const ApparentPlaceRequest& request, ApparentPlace& place) {
  // Made where `place` lies rather than beside it and copied (808 bytes a place): the
  // place holds no resource, so the old one needs no destruction.
  static_assert(std::is_trivially_destructible_v<ApparentPlace>);
  ::new (static_cast<void*>(&place)) ApparentPlace(ComputeApparentPlace(*state_, request));
}

TwoBodyPlace Astronomy::TwoBodyEquatorialPlaceOf(int body, double jd) {
  const PlaceStage place = TwoBodyEquatorialPlace(*state_, body, jd);
  return {place.LonDeg, place.LatDeg};
}

namespace {

CalculatorPlace CalculatorPlaceOf(const SlotPlace& s) {
  return {s.LonDeg, s.LatDeg, s.DistThousandKm, s.XThousandKm, s.YThousandKm, s.ZThousandKm};
}

}  // namespace

JplCalculatorResult Astronomy::JplCalculator(int body, double jdUt, DeltaTModel deltaT) {
  const JplCalculatorPlaces p = ComputeJplCalculatorPlaces(*state_, body, jdUt, deltaT);
  JplCalculatorResult r;
  r.Ephemeris = Outcome(p.Ok);
  r.DeltaTSeconds = p.DeltaTSeconds;
  r.EphemerisJd = p.EphemerisJd;
  r.Heliocentric = CalculatorPlaceOf(p.Heliocentric);
  r.GeocentricJ2000 = CalculatorPlaceOf(p.GeocentricJ2000);
  r.GeocentricOfDate = CalculatorPlaceOf(p.GeocentricOfDate);
  r.VxKmPerS = p.VxKmPerS;
  r.VyKmPerS = p.VyKmPerS;
  r.VzKmPerS = p.VzKmPerS;
  r.SpeedKmPerS = p.SpeedKmPerS;
  return r;
}

PreciseCalculatorResult Astronomy::PreciseCalculator(int body, double jdUt, DeltaTModel deltaT) {
  PreciseCalculatorResult r;
  r.TtJd = PreciseTerrestrialTime(*state_, jdUt, deltaT, false, r.TtMinusUtSeconds);
  r.Place = ComputePrecisePlace(*state_, body, r.TtJd);
  state_->CurrentJd = jdUt;
  r.Ephemeris = Outcome(r.Place.Ok);
  return r;
}

FrameResult Astronomy::ConvertEpoch(const FrameRequest& r, double fromJd, bool fromOfDate, double toJd, bool toOfDate) {
  return ConvertEpochOfPlace(*state_, r, fromJd, fromOfDate, toJd, toOfDate);
}
FrameResult Astronomy::HorizontalToTopocentric(const FrameRequest& r) { return planova::HorizontalToTopocentric(*state_, r); }
FrameResult Astronomy::TopocentricToHorizontal(const FrameRequest& r) { return planova::TopocentricToHorizontal(*state_, r); }
FrameResult Astronomy::ShiftObserverOrigin(const FrameRequest& r, bool towardsGeocentre) {
  return planova::ShiftObserverOrigin(*state_, r, towardsGeocentre);
}

EphemerisRun Astronomy::BeginEphemerisRun() { return EphemerisRun(*state_); }

EphemerisReport Astronomy::JplFacts() const {
  EphemerisReport r = EphemerisReportOf(*state_);
  r.Failure = EphemerisFailure::kNone;
  r.FileRead.clear();
  return r;
}

}  // namespace planova
