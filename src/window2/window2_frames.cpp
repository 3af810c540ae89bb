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

// The converted place of a record, or the refusal of a result that is not finite.
FrameResult Finite(const FrameResult& r) {
  if (r.Status == FrameStatus::kNotFinite) throw Refusal{kCalculationFailed, {}};
  return r;
}

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
  RunConversion(*this, false, false, [&](int32_t i, int p, double obsL, double obsB) {
    Store.ObsJd(i, kSet2) = Store.ObsJd(i, kSet1);
    Store.ObsLon(i, kSet2) = Store.ObsLon(i, kSet1);
    Store.ObsLat(i, kSet2) = Store.ObsLat(i, kSet1);
    const FrameRequest r{p, Store.ObsJd(i, kSet1), Store.ObsLon(i, kSet1), Store.ObsLat(i, kSet1), obsL, obsB};
    const FrameResult c =
        Finite(Astro.ConvertEpoch(r, fromJd, fromEpochOfDate.Value, toJd, toEpochOfDate.Value));
    Store.ObsLon(i, kSet1) = Store.ObsLon(i, kSet3) = c.LonDeg;
    Store.ObsLat(i, kSet1) = Store.ObsLat(i, kSet3) = c.LatDeg;
    Store.ObsJd(i, kSet3) = Store.ObsJd(i, kSet1);
  });
}

void Window2Model::HorToTopo() {
  RunConversion(*this, true, true, [&](int32_t i, int p, double obsL, double obsB) {
    Store.ObsJd(i, kSet2) = Store.ObsJd(i, kSet1);
    Store.ObsLon(i, kSet2) = Store.ObsLon(i, kSet1);
    Store.ObsLat(i, kSet2) = Store.ObsLat(i, kSet1);
    const FrameRequest r{p, Store.ObsJd(i, kSet1), Store.ObsLon(i, kSet1), Store.ObsLat(i, kSet1), obsL, obsB};
    const FrameResult c = Finite(Astro.HorizontalToTopocentric(r));
    Store.ObsLon(i, kSet1) = Store.ObsLon(i, kSet3) = c.LonDeg;
    Store.ObsLat(i, kSet1) = Store.ObsLat(i, kSet3) = c.LatDeg;
  });
}

void Window2Model::TopoToHor() {
  RunConversion(*this, true, true, [&](int32_t i, int p, double obsL, double obsB) {
    Store.ObsJd(i, kSet2) = Store.ObsJd(i, kSet1);
    Store.ObsLon(i, kSet2) = Store.ObsLon(i, kSet1);
    Store.ObsLat(i, kSet2) = Store.ObsLat(i, kSet1);
    const FrameRequest r{p, Store.ObsJd(i, kSet1), Store.ObsLon(i, kSet1), Store.ObsLat(i, kSet1), obsL, obsB};
    const FrameResult c = Finite(Astro.TopocentricToHorizontal(r));
    Store.ObsLon(i, kSet1) = Store.ObsLon(i, kSet3) = c.LonDeg;
    Store.ObsLat(i, kSet1) = Store.ObsLat(i, kSet3) = c.LatDeg;
    Store.ObsJd(i, kSet3) = Store.ObsJd(i, kSet1);
  });
}

// Topocentric and geocentric places differ by the observer's position on the Earth
// (towardsGeocentre: topocentric to geocentric).
static void ShiftObserver(Window2Model& f, bool towardsGeocentre) {
  f.ChooseOption(f.theoryJpl0);
  RunConversion(f, true, true, [&](int32_t i, int p, double obsL, double obsB) {
    f.Store.ObsJd(i, kSet2) = f.Store.ObsJd(i, kSet1);
    f.Store.ObsLon(i, kSet2) = f.Store.ObsLon(i, kSet1);
    f.Store.ObsLat(i, kSet2) = f.Store.ObsLat(i, kSet1);
    const FrameRequest r{p, f.Store.ObsJd(i, kSet1), f.Store.ObsLon(i, kSet1), f.Store.ObsLat(i, kSet1), obsL, obsB};
    const FrameResult c = Finite(f.Astro.ShiftObserverOrigin(r, towardsGeocentre));
    f.Store.ObsLon(i, kSet1) = f.Store.ObsLon(i, kSet3) = c.LonDeg;
    f.Store.ObsLat(i, kSet1) = f.Store.ObsLat(i, kSet3) = c.LatDeg;
  });
}

void Window2Model::TopoToGeo() { ShiftObserver(*this, true); }

void Window2Model::GeoToTopo() { ShiftObserver(*this, false); }

}  // namespace planova
