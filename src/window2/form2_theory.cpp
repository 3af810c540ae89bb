// The theoretical place of one observation of data set 1, from the window's switches:
// the reduction itself is the astronomy module's; here its request is made from the
// boxes and its corrections and stages are shown.
#include "common/numtext.h"
#include "models/messages.h"
#include "window2/form2.h"

namespace planova {

namespace {

double ReadReal(const TextBox& box) {
  double v = 0;
  if (!TryParseReal(box.Text, v)) throw InputError{};
  return v;
}

// The stage log of the right pane: one line per stage of the reduction.
std::string StageLog(const ApparentPlace& place) {
  static const char* const kLabels[kStageCount] = {
      "ГЕО ЭКЛ J2000         GeoL  GeoB = ", "ГЕО ЭКЛ J2000 Azv  GeoL  GeoB = ", "ГЕО ЭКЛ J2000 Apl   GeoL  GeoB = ",
      "ГЕО ЭКЛ JD              GeoL  GeoB = ", "ГЕО ЭКВ JD              GeoL  GeoB = ",
      "ГЕО ЭКВ JD  Ref      GeoL  GeoB = ", "ГЕО ЭКВ JD  Nut      GeoL  GeoB = "};
  std::string log;
  for (int k = 0; k < kStageCount; ++k) {
    const PlaceStage& s = place.Stages[static_cast<size_t>(k)];
    log += std::string("\r\n") + kLabels[k] + RealText(s.Lon) + "    " + RealText(s.Lat);
  }
  return log;
}

}  // namespace

ApparentPlaceRequest Form2::TheoryRequest() {
  ApparentPlaceRequest r;
  r.Body = Store.ObjectNumber;
  r.Theory = Option7.Value ? TheorySource::kJpl2 : TheorySource::kJpl0;
  r.DeltaT = !Option5.Value ? DeltaTModel::kNone : Check3.Value ? DeltaTModel::kPiecewise : DeltaTModel::kParabola;
  r.Aberration = Check8.Value;
  r.PlanetaryAberration = Check9.Value;
  r.Refraction = Check6.Value;
  r.Nutation = Check7.Value;
  r.Epoch = ComparisonLabel == "B1950"   ? ComparisonEpoch::kB1950
            : ComparisonLabel == "J2000" ? ComparisonEpoch::kJ2000
                                         : ComparisonEpoch::kOfDate;
  if (r.Refraction) {
    r.ObserverLongitude = ReadReal(Text14);
    r.ObserverLatitude = ReadReal(Text15);
  }
  return r;
}

ApparentPlace Form2::ComputeObservationTheory(int32_t i) {
  const int p = Store.ObjectNumber;
  if (!IsTheoryBody(p)) throw InputError{};
  if (EpochLabel2 != EpochLabel1) EpochLabel2 = EpochLabel1;
  ObservationJd = Store.ObsJd(i, 1);
  TheoryTemplate.Jd = ObservationJd;
  LastPlace = ComputeApparentPlace(Astro, TheoryTemplate);
  LastPlaceShown = false;
  DeltaTSeconds = LastPlace.DeltaTSeconds;
  ShiftedJd = LastPlace.EphemerisJd;
  if (TheoryTemplate.DeltaT != DeltaTModel::kNone) Store.ObsJd(i, 3) = ShiftedJd;
  if (!LastPlace.Ok) {
    ShowTheory();
    return LastPlace;
  }
  Store.ObsLon(i, 3) = LastPlace.Lon;
  Store.ObsLat(i, 3) = LastPlace.Lat;
  return LastPlace;
}

void Form2::ShowTheory() {
  if (LastPlaceShown) return;
  LastPlaceShown = true;
  const ApparentPlaceRequest& r = TheoryTemplate;
  CompleteStages(LastPlace);
  const ApparentPlace& place = LastPlace;
  if (r.DeltaT != DeltaTModel::kNone) Text18.Text = RealText(place.DeltaTSeconds);
  TheoryLog.clear();
  RichTextBox2.Text.clear();
  if (!place.Ok) return;
  if (r.Aberration) Text9.Text = RealText(place.AberrationArcsec);
  if (r.PlanetaryAberration) Text13.Text = RealText(place.PlanetaryAberrationArcsec);
  if (r.Refraction) Text4.Text = RealText(place.RefractionArcsec);
  if (r.Nutation) Text7.Text = RealText(place.NutationArcsec);
  TheoryLog = StageLog(place);
}

}  // namespace planova
