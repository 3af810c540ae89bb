// The theoretical place of one observation of data set 1, from the window's switches:
// the reduction itself is the astronomy module's; here its request is made from the
// boxes and its corrections and stages are shown.
#include <utility>

#include "common/numtext.h"
#include "models/messages.h"
#include "window2/places_ahead.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

// The stage log of the right pane: one line per stage of the reduction.
std::string StageLog(const ApparentPlace& place) {
  static const char* const kLabels[kStageCount] = {
      "ГЕО ЭКЛ J2000         GeoL  GeoB = ", "ГЕО ЭКЛ J2000 Azv  GeoL  GeoB = ", "ГЕО ЭКЛ J2000 Apl   GeoL  GeoB = ",
      "ГЕО ЭКЛ JD              GeoL  GeoB = ", "ГЕО ЭКВ JD              GeoL  GeoB = ",
      "ГЕО ЭКВ JD  Ref      GeoL  GeoB = ", "ГЕО ЭКВ JD  Nut      GeoL  GeoB = "};
  std::string log;
  for (int k = 0; k < kStageCount; ++k) {
    const PlaceStage& s = place.Stages[static_cast<size_t>(k)];
    log += std::string("\r\n") + kLabels[k] + RealText(s.LonDeg) + "    " + RealText(s.LatDeg);
  }
  return log;
}

// The stage log of the rigorous reduction: each stage's right ascension and declination
// (degrees, in the stage's frame) and its size, the angle from the stage before
// (arcseconds).
std::string PreciseStageLog(const ApparentPlace& place, const ApparentPlaceRequest& r) {
  static const char* const kLabels[kPreciseStageCount] = {
      "ГЕО ICRS геометрич.       RA  Dec = ", "ГЕО ICRS световое время   RA  Dec = ",
      "ГЕО ICRS отклонение света RA  Dec = ", "GCRS аберрация            RA  Dec = ",
      "ГЕО ЭКВ JD ср. (B+P)      RA  Dec = ", "ГЕО ЭКВ JD ист. (Nut)     RA  Dec = "};
  static const char* const kSizes[kPreciseStageCount] = {
      "", "    свет. время ", "    откл. ", "    аберр. ", "    смещ.+прец. ", "    нутация "};
  const PrecisePlace& rp = place.Rigorous;
  std::string log = "\r\nТОЧНО (IAU 2006/2000A)  TT= " + RealText(rp.Tt) + "  TT-UT= " +
                    RealText(place.DeltaTSeconds) + " сек  TDB-TT= " + RealText((rp.Tdb - rp.Tt) * 86400) + " сек  свет= " + RealText(place.LightTimeSeconds) + " сек";
  for (int k = 0; k < kPreciseStageCount; ++k) {
    const PlaceStage& st = place.PreciseStages[static_cast<size_t>(k)];
    log += std::string("\r\n") + kLabels[k] + RealText(st.LonDeg) + "    " + RealText(st.LatDeg);
    if (k > 0) log += kSizes[k] + RealText(place.PreciseSizes[static_cast<size_t>(k)]) + "\"";
  }
  if (r.Refraction && !r.Astrometric) {
    log += "\r\nГЕО ЭКВ JD  Ref           RA  Dec = " + RealText(place.Refracted.LonDeg) + "    " + RealText(place.Refracted.LatDeg);
  }
  log += std::string("\r\nрезультат ") + (r.Astrometric ? "ICRS " : r.Epoch == ComparisonEpoch::kOfDate ? "App  " : "J2000") +
         "           RA  Dec = " + RealText(place.LonDeg) + "    " + RealText(place.LatDeg);
  return log;
}

// The observer of a topocentric place (or why the place stays geocentric), which ET-UT
// the place was dated with when the table was asked for (the leap-second table from 1960
// on, "с 1700" before), and an astrometric place asked for where the rigorous reduction
// does not serve.
std::string KindNotes(const ApparentPlaceRequest& r, bool topocentricAsked, const std::string& observerCode) {
  std::string notes;
  if (TopocentricServes(r)) {
    notes += "\r\nтопоцентр.: станция " + observerCode;
  } else if (topocentricAsked && !UsesPreciseChain(r)) {
    notes += "\r\n";
    notes += kTopocentricGeocentricNote;
  }
  if (r.DeltaT == DeltaTModel::kTable) {
    notes += "\r\n";
    notes += DeltaTTableServes(r.JdUt) ? "ET-UT: TT-UTC по таблице (ERFA)" : "ET-UT: с 1700 (до 1960 таблицы нет)";
  }
  if (r.Astrometric && !UsesPreciseChain(r)) {
    notes += "\r\n";
    notes += "астрометрическое (ICRS) - только с \"точно (IAU 2006)\", JPL2 и эпохой App или J2000: место видимое";
  }
  return notes;
}

// The ephemeris the places came from, one line at the top of the stage log (none for
// DE405: messages.h).
void NameEphemeris(std::string& log, const ApparentPlaceRequest& r, const std::string& selected) {
  const std::string name = EphemerisNamedInOutput(r.Theory == TheorySource::kJpl2, selected);
  if (!name.empty()) log = "\r\n" + std::string("эфемериды: ") + name + log;
}

}  // namespace

bool Window2Model::RigorousServes(const std::string& epochLabel) const {
  const TheorySource theory = theoryJpl2.Value ? TheorySource::kJpl2 : TheorySource::kJpl0;
  return PreciseChainServes(rigorousIau2006.Value, theory, EpochOfLabel(epochLabel));
}

bool Window2Model::CheckHeld(const std::string& name) const {
  if (!RigorousServes(EpochLabel1)) return false;
  const ControlEntry* check = Find(name);
  return check &&
         (check->Target == &addAberration || check->Target == &addPlanetaryAberration || check->Target == &addNutation);
}

DeltaTModel Window2Model::DeltaTOfBoxes() const {
  return deltaTFromTable.Value ? DeltaTModel::kTable : deltaTSince1700.Value ? DeltaTModel::kPiecewise : DeltaTModel::kParabola;
}

ApparentPlaceRequest Window2Model::TheoryRequest() {
  ApparentPlaceRequest r;
  r.Body = Store.ObjectNumber;
  r.Theory = theoryJpl2.Value ? TheorySource::kJpl2 : TheorySource::kJpl0;
  r.DeltaT = set1FromFile.Value ? DeltaTOfBoxes() : DeltaTModel::kNone;
  r.Aberration = addAberration.Value;
  r.PlanetaryAberration = addPlanetaryAberration.Value;
  r.Refraction = addRefraction.Value;
  r.Nutation = addNutation.Value;
  r.Precise = rigorousIau2006.Value;
  r.Astrometric = astrometricPlace.Value;
  r.Epoch = EpochOfLabel(ComparisonLabel);
  if (r.Refraction) {
    r.ObserverLonDeg = BoxReal(observatoryLonDeg);
    r.ObserverLatDeg = BoxReal(observatoryLatDeg);
  }
  return r;
}

void Window2Model::RowRequestSource::Fill(int32_t i, ApparentPlaceRequest& r) const {
  r.JdUt = Jd[i];
  r.Observer.reset();
  if (SiteRows > 0 && i >= 1 && static_cast<size_t>(i) <= SiteRows) r.Observer = Sites[SiteOfRow[i - First]];
}

Window2Model::RowRequestSource Window2Model::RowRequests() const {
  return {&Store.ObsJd(0, kSet1), RowObservers.SiteOfRow.data(), RowObservers.SiteOfRow.size(), RowObservers.First,
          RowObservers.Sites.data()};
}

PlacesAhead::RowPlace Window2Model::ComputeObservationTheory(int32_t i) {
  const int p = Store.ObjectNumber;
  if (!IsTheoryBody(p)) throw Refusal{};
  if (EpochLabel2 != EpochLabel1) EpochLabel2 = EpochLabel1;
  ObservationJdUt = Store.ObsJd(i, kSet1);
  RowRequests().Fill(i, TheoryTemplate);
  if (TheoryTemplate.Observer) LastObserverCode = RowObservers.Codes[RowObservers.IndexOf(i)];
  // The place computed ahead on the run's second thread (LastPlace then follows when it
  // is shown), or now; a place that failed is computed again here for its report.
  PlacesAhead::RowPlace place;
  if (Ahead) place = Ahead->At(i);
  if (Ahead && place.Ok) {
    LastPlaceRow = i;
  } else {
    if (Ahead) Ahead->Hold();
    LastPlaceRow = 0;
    Astro.ApparentPlaceInto(TheoryTemplate, LastPlace);
    place = PlacesAhead::RowPlace::Of(LastPlace);
  }
  if (!place.Ok) {
    LastEphemeris = Astro.PlaceFailure();
    // The reader's date outside the block files stops the run, as a Stop does.
    if (LastEphemeris.Failure == EphemerisFailure::kNoSuchDate) StopRequested = 1;
  }
  LastPlaceShown = false;
  DeltaTSeconds = place.DeltaTSeconds;
  ShiftedJdEt = place.EphemerisJd;
  // Row i of data set 3 becomes a place of theory, a computed result: its date, even one
  // left as observed, is written as computed dates are.
  Store.ObsExactTime(i, kSet3) = 0;
  if (TheoryTemplate.DeltaT != DeltaTModel::kNone) Store.ObsJd(i, kSet3) = ShiftedJdEt;
  if (!place.Ok) {
    ShowTheory();
    return place;
  }
  Store.ObsLon(i, kSet3) = place.LonDeg;
  Store.ObsLat(i, kSet3) = place.LatDeg;
  return place;
}

void Window2Model::CatchUpLastPlace() {
  if (LastPlaceRow == 0) return;
  RowRequests().Fill(LastPlaceRow, TheoryTemplate);
  Astro.ApparentPlaceInto(TheoryTemplate, LastPlace);
  LastPlaceRow = 0;
}

void Window2Model::ShowTheory() {
  if (LastPlaceShown) return;
  LastPlaceShown = true;
  const ApparentPlaceRequest& r = TheoryTemplate;
  CompleteStages(LastPlace);
  const ApparentPlace& place = LastPlace;
  if (r.DeltaT != DeltaTModel::kNone) etMinusUtSeconds.Text = RealText(place.DeltaTSeconds);
  TheoryLog.clear();
  set2Pane.Text.clear();
  if (!place.Ok) return;
  if (place.Precise) {
    // Every stage of the rigorous reduction is applied; the boxes show its light time and
    // aberration in right ascension and its nutation in declination.
    aberrationArcsec.Text = RealText(place.AberrationArcsec);
    planetaryAberrationArcsec.Text = RealText(place.PlanetaryAberrationArcsec);
    if (r.Refraction && !r.Astrometric) refractionArcsec.Text = RealText(place.RefractionArcsec);
    nutationArcsec.Text = RealText(place.NutationArcsec);
    TheoryLog = KindNotes(r, topocentricPlace.Value, LastObserverCode) + PreciseStageLog(place, r);
    NameEphemeris(TheoryLog, r, Astro.SelectedEphemerisName());
    return;
  }
  if (r.Aberration) aberrationArcsec.Text = RealText(place.AberrationArcsec);
  if (r.PlanetaryAberration) planetaryAberrationArcsec.Text = RealText(place.PlanetaryAberrationArcsec);
  if (r.Refraction) refractionArcsec.Text = RealText(place.RefractionArcsec);
  if (r.Nutation) nutationArcsec.Text = RealText(place.NutationArcsec);
  TheoryLog = KindNotes(r, topocentricPlace.Value, LastObserverCode) + StageLog(place);
  if (r.Precise) TheoryLog = "\r\n" + PreciseClassicalNote(ComparisonLabel, r.Theory == TheorySource::kJpl2) + TheoryLog;
  NameEphemeris(TheoryLog, r, Astro.SelectedEphemerisName());
}

}  // namespace planova
