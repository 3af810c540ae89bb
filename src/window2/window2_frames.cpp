// Window 2's epoch and frame conversions of data set 1: "Перевести из эпохи",
// "Hor -> Topo", "Topo -> Hor", "Topo -> Geo" and "Geo -> Topo".  The Astronomy value
// converts each record (astro/frame_conversions.h); the values before go to column 2,
// the results to columns 1 and 3.
#include <utility>

#include "astro/constants.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

// The message of a conversion that cannot be made.
constexpr const char* kCalculationFailed = "Ошибка в расчетах";

}  // namespace

// Runs a conversion over data set 1 with the window's common frame: the observer's
// coordinates when asked, each record's values before into data set 2, its converted
// place into data sets 1 and 3 (with its date when `dateToSet3`), the report and the
// labels.  A record that the conversion cannot take ends it with the records before it
// converted.
template <typename Convert>
static void RunConversion(Window2Model& f, bool needsObserver, bool frameButton, bool dateToSet3, Convert convert) {
  ObservationStore& store = f.Store;
  const int p = store.ObjectNumber;
  double obsLonDeg = 0, obsLatDeg = 0;
  if (!store.Exists() || p < 0 || p > 11) throw Refusal{kCalculationFailed, {}};
  if (needsObserver) {
    for (auto [box, value] : {std::pair{&f.observatoryLonDeg, &obsLonDeg}, std::pair{&f.observatoryLatDeg, &obsLatDeg}}) {
      if (!Window2Model::TryBoxReal(*box, *value)) f.Refuse(*box, kCalculationFailed);
    }
  }
  int32_t count = std::min(f.Count1, store.ObsJd.Rows());
  for (int32_t i = 1; i <= count; ++i) {
    store.ObsJd(i, kSet2) = store.ObsJd(i, kSet1);
    store.ObsExactTime(i, kSet2) = store.ObsExactTime(i, kSet1);
    store.ObsLon(i, kSet2) = store.ObsLon(i, kSet1);
    store.ObsLat(i, kSet2) = store.ObsLat(i, kSet1);
    const FrameRequest r{p, store.ObsJd(i, kSet1), store.ObsLon(i, kSet1), store.ObsLat(i, kSet1), obsLonDeg, obsLatDeg};
    const FrameResult c = convert(r);
    if (c.Status == FrameStatus::kNoEphemeris) {
      throw Refusal{EphemerisMessage(c.Ephemeris, f.Astro.SelectedEphemerisName()), {}};
    }
    if (c.Status != FrameStatus::kOk) throw Refusal{kCalculationFailed, {}};
    store.ObsLon(i, kSet1) = store.ObsLon(i, kSet3) = c.LonDeg;
    store.ObsLat(i, kSet1) = store.ObsLat(i, kSet3) = c.LatDeg;
    if (dateToSet3) {
      store.ObsJd(i, kSet3) = store.ObsJd(i, kSet1);
      store.ObsExactTime(i, kSet3) = store.ObsExactTime(i, kSet1);
    }
    f.progress.Value = static_cast<int>(static_cast<int64_t>(i) * 100 / count);
  }
  f.reportPane.Text = "координаты преобразованы в  " + std::to_string(std::max(count, 0)) + "  записях";
  f.EpochLabel2 = f.EpochLabel1;
  if (frameButton) f.EpochLabel3 = f.EpochLabel1;
}

void Window2Model::ConvertEpoch() {
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
    const std::optional<double> jd = Astro.JulianDate(day, month, year);
    if (!jd) throw Refusal{kWrongDateMessage, {}};
    fromJd = *jd;
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
  RunConversion(*this, false, false, true, [&](const FrameRequest& r) {
    return Astro.ConvertEpoch(r, fromJd, fromEpochOfDate.Value, toJd, toEpochOfDate.Value);
  });
}

void Window2Model::HorToTopo() {
  RunConversion(*this, true, true, false, [&](const FrameRequest& r) { return Astro.HorizontalToTopocentric(r); });
}

void Window2Model::TopoToHor() {
  RunConversion(*this, true, true, true, [&](const FrameRequest& r) { return Astro.TopocentricToHorizontal(r); });
}

// Topocentric and geocentric places differ by the observer's position on the Earth
// (towardsGeocentre: topocentric to geocentric).  The body's distance comes from the
// theory of data 2: the JPL ephemeris under "JPL2 (DE405)", which stays chosen, else the
// two-body theory, which the window then chooses.  (The distance used to come from the
// two-body theory always, the lunar series' for the Moon, whatever data 2 was.)
static void ShiftObserver(Window2Model& f, bool towardsGeocentre) {
  const bool jpl = f.theoryJpl2.Value;
  if (jpl) {
    f.Ephemerides.Use(f.ephemeris);
  } else {
    f.ChooseOption(f.theoryJpl0);
  }
  RunConversion(f, true, true, false, [&](FrameRequest r) {
    r.Theory = jpl ? TheorySource::kJpl2 : TheorySource::kJpl0;
    return f.Astro.ShiftObserverOrigin(r, towardsGeocentre);
  });
}

void Window2Model::TopoToGeo() { ShiftObserver(*this, true); }

void Window2Model::GeoToTopo() { ShiftObserver(*this, false); }

}  // namespace planova
