// Window 2's epoch and frame conversions of data set 1: "Перевести из эпохи",
// "Hor -> Topo", "Topo -> Hor", "Topo -> Geo" and "Geo -> Topo".  Each record becomes a
// vector of the position table, is rotated or shifted, and is read back as longitude
// and latitude; the values before go to column 2, the results to columns 1 and 3.
#include <cmath>
#include <utility>

#include "astro/frames.h"
#include "astro/reductions.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "window2/window2_model.h"
#include "astro/theory.h"

namespace planova {

namespace {


// Radius of the Earth for the observer's position, metres.
constexpr double kEarthRadius = 6378140.0;

// The message of a conversion that cannot be made.
constexpr const char* kCalculationFailed = "Ошибка в расчетах";

double T(double jd) { return CenturiesFromJ2000(jd); }

}  // namespace

// Runs a conversion over data set 1 with the window's common frame: the observer's
// coordinates when asked, the report and the labels.  A record that the conversion
// cannot take ends it (perRecord throws a Refusal) with the records before it converted.
template <typename PerRecord>
static void RunConversion(Window2Model& f, bool needsObserver, bool frameButton, PerRecord perRecord) {
  const int p = f.Store.ObjectNumber;
  double obsL = 0, obsB = 0;
  if (!f.Store.Exists() || p < 0 || p > 11) throw Refusal{kCalculationFailed, {}};
  if (needsObserver) {
    for (auto [box, value] : {std::pair{&f.observatoryLonDeg, &obsL}, std::pair{&f.observatoryLatDeg, &obsB}}) {
      if (!Window2Model::TryBoxReal(*box, *value)) f.Refuse(*box, kCalculationFailed);
    }
  }
  f.Astro.ObserverLatitude = obsB;
  int32_t count = std::min(f.Count1, f.Store.ObsJd.Rows());
  for (int32_t i = 1; i <= count; ++i) {
    perRecord(i, p, obsL, obsB);
    f.progress.Value = static_cast<int>(static_cast<int64_t>(i) * 100 / count);
  }
  f.reportPane.Text = "координаты преобразованы в  " + std::to_string(std::max(count, 0)) + "  записях";
  f.EpochLabel2 = f.EpochLabel1;
  if (frameButton) f.EpochLabel3 = f.EpochLabel1;
}

void Window2Model::ConvertEpoch() {
  AstroState& a = Astro;
  ChooseOption(theoryJpl0);
  EpochLabel2 = EpochLabel1;
  double fromJd = 0, toJd = 0;
  if (fromEpochB1950.Value) fromJd = kJdB1950;
  if (fromEpochOther.Value) {
    double day = 0;
    int32_t month = 0, year = 0;
    if (!TryBoxReal(dateDay, day)) Refuse(dateDay, kCalculationFailed);
    if (!TryBoxInt32(dateMonth, month)) Refuse(dateMonth, kCalculationFailed);
    if (!TryBoxInt32(dateYear, year)) Refuse(dateYear, kCalculationFailed);
    bool failed = false;
    fromJd = JulianDateFromCalendar(a, day, month, year, &failed);
    if (failed) throw Refusal{kWrongDateMessage, {}};
  }
  if (toEpochOfDate.Value) {
    EpochLabel1 = "App";
    EpochLabel3 = "App";
  }
  if (toEpochJ2000.Value) {
    toJd = kJdJ2000;
    EpochLabel1 = "J2000";
    EpochLabel3 = "J2000";
  }
  // The box shows the epoch the data are now labelled with, also when a record then
  // refuses the conversion.
  epochName.Text = EpochLabel1;
  RunConversion(*this, false, false, [&](int32_t i, int p, double, double) {
    const size_t ps = static_cast<size_t>(p);
    Store.ObsJd(i, kSet2) = Store.ObsJd(i, kSet1);
    Store.ObsLon(i, kSet2) = Store.ObsLon(i, kSet1);
    Store.ObsLat(i, kSet2) = Store.ObsLat(i, kSet1);
    a.CurrentJd = Store.ObsJd(i, kSet1);
    if (fromEpochOfDate.Value) fromJd = a.CurrentJd;
    if (toEpochOfDate.Value) toJd = a.CurrentJd;
    // The body's distance from the Earth, from the two-body theory at the record's date.
    ComputeBodyPositions(a, TheorySource::kJpl0, a.CurrentJd, p);
    RelativeSpherical(a, 3, p);
    SphericalToCartesian(a, p, Store.ObsLon(i, kSet1), Store.ObsLat(i, kSet1), a.RelDist);
    a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
    if (fromEpochOfDate.Value) NutationCorrection(a, T(a.CurrentJd), a.PosX[ps], a.PosY[ps], a.PosZ[ps], 1);
    EquatorialPrecessionMatrix(a, T(fromJd), T(toJd));
    a.CurrentSlot = p;
    ApplyMatrix(a);
    if (toEpochOfDate.Value) NutationCorrection(a, T(a.CurrentJd), a.PosX[ps], a.PosY[ps], a.PosZ[ps], 0);
    RelativeSpherical(a, 3, p);
    if (!std::isfinite(a.RelLon[ps]) || !std::isfinite(a.RelLat)) throw Refusal{kCalculationFailed, {}};
    Store.ObsLon(i, kSet1) = Store.ObsLon(i, kSet3) = a.RelLon[ps];
    Store.ObsLat(i, kSet1) = Store.ObsLat(i, kSet3) = a.RelLat;
    Store.ObsJd(i, kSet3) = Store.ObsJd(i, kSet1);
  });
}

void Window2Model::HorToTopo() {
  AstroState& a = Astro;
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  RunConversion(*this, true, true, [&](int32_t i, int p, double obsL, double) {
    const size_t ps = static_cast<size_t>(p);
    a.CurrentJd = Store.ObsJd(i, kSet1);
    a.HorAzimuth = Store.ObsLon(i, kSet1);
    a.HorAltitude = Store.ObsLat(i, kSet1);
    Store.ObsJd(i, kSet2) = a.CurrentJd;
    Store.ObsLon(i, kSet2) = a.HorAzimuth;
    Store.ObsLat(i, kSet2) = a.HorAltitude;
    a.CurrentSlot = p;
    HorizontalToEquatorialVector(a, p);
    RelativeSpherical(a, 3, p);
    double alpha = OneTurn(LocalSiderealAngle(a.CurrentJd, obsL) - a.RelLon[ps]);
    if (!std::isfinite(alpha) || !std::isfinite(a.RelLat)) throw Refusal{kCalculationFailed, {}};
    Store.ObsLon(i, kSet1) = Store.ObsLon(i, kSet3) = alpha;
    Store.ObsLat(i, kSet1) = Store.ObsLat(i, kSet3) = a.RelLat;
  });
}

void Window2Model::TopoToHor() {
  AstroState& a = Astro;
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  RunConversion(*this, true, true, [&](int32_t i, int p, double obsL, double) {
    const size_t ps = static_cast<size_t>(p);
    a.CurrentJd = Store.ObsJd(i, kSet1);
    a.BodyLon[ps] = Store.ObsLon(i, kSet1);
    a.BodyLat[ps] = Store.ObsLat(i, kSet1);
    Store.ObsJd(i, kSet2) = a.CurrentJd;
    Store.ObsLon(i, kSet2) = a.BodyLon[ps];
    Store.ObsLat(i, kSet2) = a.BodyLat[ps];
    a.HourAngle = OneTurn(LocalSiderealAngle(a.CurrentJd, obsL) - a.BodyLon[ps]);
    a.CurrentSlot = p;
    EquatorialToHorizontalVector(a, p);
    RelativeSpherical(a, 3, p);
    if (!std::isfinite(a.RelLon[ps]) || !std::isfinite(a.RelLat)) throw Refusal{kCalculationFailed, {}};
    Store.ObsLon(i, kSet1) = Store.ObsLon(i, kSet3) = a.RelLon[ps];
    Store.ObsLat(i, kSet1) = Store.ObsLat(i, kSet3) = a.RelLat;
    Store.ObsJd(i, kSet3) = a.CurrentJd;
  });
}

// Topocentric and geocentric places differ by the observer's position on the Earth:
// direction +1 adds it (topocentric to geocentric), -1 takes it away.
static void ShiftObserver(Window2Model& f, double direction) {
  AstroState& a = f.Astro;
  f.ChooseOption(f.theoryJpl0);
  RunConversion(f, true, true, [&](int32_t i, int p, double obsL, double obsB) {
    const size_t ps = static_cast<size_t>(p);
    a.CurrentJd = f.Store.ObsJd(i, kSet1);
    ComputeBodyPositions(a, TheorySource::kJpl0, a.CurrentJd, p);
    RelativeSpherical(a, 3, p);
    double d = a.RelDist;
    a.BodyLon[ps] = f.Store.ObsLon(i, kSet1);
    a.BodyLat[ps] = f.Store.ObsLat(i, kSet1);
    f.Store.ObsLon(i, kSet2) = a.BodyLon[ps];
    f.Store.ObsLat(i, kSet2) = a.BodyLat[ps];
    f.Store.ObsJd(i, kSet2) = a.CurrentJd;
    SphericalToCartesian(a, p, a.BodyLon[ps], a.BodyLat[ps], d);
    SphericalToCartesian(a, 12, LocalSiderealAngle(a.CurrentJd, obsL), obsB, kEarthRadius);
    a.PosX[ps] = a.PosX[ps] + direction * a.PosX[12];
    a.PosY[ps] = a.PosY[ps] + direction * a.PosY[12];
    a.PosZ[ps] = a.PosZ[ps] + direction * a.PosZ[12];
    a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
    RelativeSpherical(a, 3, p);
    if (!std::isfinite(a.RelLon[ps]) || !std::isfinite(a.RelLat)) throw Refusal{kCalculationFailed, {}};
    f.Store.ObsLon(i, kSet1) = f.Store.ObsLon(i, kSet3) = a.RelLon[ps];
    f.Store.ObsLat(i, kSet1) = f.Store.ObsLat(i, kSet3) = a.RelLat;
  });
}

void Window2Model::TopoToGeo() { ShiftObserver(*this, 1); }

void Window2Model::GeoToTopo() { ShiftObserver(*this, -1); }

}  // namespace planova
