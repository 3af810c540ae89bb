// The theoretical place of one observation: from the geometric heliocentric positions of
// the theory to the geocentric place in the frame of the observation, step by step:
// light time and aberration from the Earth's motion, planetary aberration, precession to
// the comparison epoch, equator of date, refraction and nutation.
#include <cmath>

#include "astro/frames.h"
#include "astro/reductions.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "window2/form2.h"
#include "window2/theory.h"

namespace planova {

namespace {

double ReadReal(const TextBox& box) {
  double v = 0;
  if (!TryParseReal(box.Text, v)) throw InputError{};
  return v;
}

}  // namespace

bool Form2::ComputeObservationTheory(int32_t i) {
  AstroState& a = Astro;
  const int p = Store.ObjectNumber;
  if (p < 0 || p > 11) throw InputError{};
  const size_t ps = static_cast<size_t>(p);
  auto log = [&](const char* label, double lon, double lat) {
    TheoryLog += std::string("\r\n") + label + RealText(lon) + "    " + RealText(lat);
  };

  TheoryLog.clear();
  RichTextBox2.Text.clear();
  EpochLabel2 = EpochLabel1;
  ObservationJd = Store.ObsJd(i, 1);
  a.CurrentJd = ObservationJd;
  ShiftedJd = ObservationJd;
  if (Option5.Value) {
    DeltaTSeconds = Check3.Value ? DeltaTPiecewise(a) : DeltaTParabola(a);
    ShiftedJd = ObservationJd + DeltaTSeconds / 24 / 3600;
    Text18.Text = RealText(DeltaTSeconds);
    Store.ObsJd(i, 3) = ShiftedJd;
    a.CurrentJd = ShiftedJd;
  }
  TheorySource source = Option7.Value ? TheorySource::kJpl2 : TheorySource::kJpl0;
  if (!ComputeBodyPositions(a, source, ObservationJd, p)) return false;
  a.CurrentJd = ObservationJd;

  // Geocentric.
  MakeGeocentric(a, p);
  RelativeSpherical(a, 3, p);
  a.BodyLon[12] = a.RelLon[ps];
  a.BodyLat[12] = a.RelLat;
  GeometricDistance = a.RelDist;
  a.BodyLon[ps] = a.RelLon[ps];
  a.BodyLat[ps] = a.RelLat;
  LightTime[ps] = a.RelDist / 299792500;
  log("ГЕО ЭКЛ J2000         GeoL  GeoB = ", a.BodyLon[ps], a.BodyLat[ps]);

  // Aberration from the Earth's motion.
  if (Check8.Value) {
    a.PosX[ps] = a.PosX[ps] + LightTime[ps] * a.VelX[3];
    a.PosY[ps] = a.PosY[ps] + LightTime[ps] * a.VelY[3];
    a.PosZ[ps] = a.PosZ[ps] + LightTime[ps] * a.VelZ[3];
    RelativeSpherical(a, 3, p);
    a.BodyLon[ps] = a.RelLon[ps];
    a.BodyLat[ps] = a.RelLat;
    Text9.Text = RealText((a.BodyLon[12] - a.BodyLon[ps]) * 3600);
    a.BodyLon[12] = a.BodyLon[ps];
  }
  log("ГЕО ЭКЛ J2000 Azv  GeoL  GeoB = ", a.BodyLon[ps], a.BodyLat[ps]);

  // Planetary aberration: the body where it was when its light left, three passes.
  if (Check9.Value) {
    double x0 = a.PosX[ps], y0 = a.PosY[ps], z0 = a.PosZ[ps];
    for (int pass = 0; pass < 3; ++pass) {
      a.PosX[ps] = x0 - a.VelX[ps] * LightTime[ps];
      a.PosY[ps] = y0 - a.VelY[ps] * LightTime[ps];
      a.PosZ[ps] = z0 - a.VelZ[ps] * LightTime[ps];
      RelativeSpherical(a, 3, p);
      LightTime[ps] = a.RelDist / 299792500;
    }
    a.BodyLon[ps] = a.RelLon[ps];
    a.BodyLat[ps] = a.RelLat;
    Text13.Text = RealText((a.BodyLon[12] - a.BodyLon[ps]) * 3600);
  }
  log("ГЕО ЭКЛ J2000 Apl   GeoL  GeoB = ", a.BodyLon[ps], a.BodyLat[ps]);

  // Precession to the comparison epoch.
  if (ComparisonLabel == "App") ComparisonEpochJd = a.CurrentJd;
  if (ComparisonLabel == "B1950") ComparisonEpochJd = 2433282.423;
  if (ComparisonLabel == "J2000") ComparisonEpochJd = 2451545.0;
  double te = (ComparisonEpochJd - 2451545.0) / 36525;
  EclipticPrecessionMatrix(a, 0, te);
  a.CurrentSlot = p;
  ApplyMatrix(a);
  RelativeSpherical(a, 3, p);
  log("ГЕО ЭКЛ JD              GeoL  GeoB = ", a.RelLon[ps], a.RelLat);

  // Equator of date.
  double t = (a.CurrentJd - 2451545.0) / 36525;
  EclipticToEquatorial(a, t);
  RelativeSpherical(a, 3, p);
  a.BodyLon[ps] = a.RelLon[ps];
  a.BodyLat[ps] = a.RelLat;
  a.BodyLat[12] = a.BodyLat[ps];
  log("ГЕО ЭКВ JD              GeoL  GeoB = ", a.BodyLon[ps], a.BodyLat[ps]);

  // Refraction at the observatory.
  if (Check6.Value) {
    double obsL = ReadReal(Text14), obsB = ReadReal(Text15);
    double s = SiderealTime(ObservationJd - 2400000.5);
    double frac = s / 24;
    s = 24 * FracPositive(frac);
    double theta = obsL / 15 + s;
    if (theta > 24) theta = theta - 24;
    theta = 15 * theta;
    double h = theta - a.BodyLon[ps];
    if (h < 0) h = h + 360;
    a.CurrentSlot = p;
    a.HourAngle = h;
    a.ObserverLatitude = obsB;
    EquatorialToHorizontalVector(a, p);
    RelativeSpherical(a, 3, p);
    a.HorAzimuth = a.RelLon[ps];
    a.HorAltitude = a.RelLat - Refraction(a, 90 - a.RelLat);
    HorizontalToEquatorialVector(a, p);
    RelativeSpherical(a, 3, p);
    double alpha = theta - a.RelLon[ps];
    if (alpha < 0) alpha = alpha + 360;
    a.BodyLon[ps] = alpha;
    a.BodyLat[ps] = a.RelLat;
    SphericalToCartesian(a, p, a.BodyLon[ps], a.BodyLat[ps], GeometricDistance);
    Text4.Text = RealText((a.BodyLat[12] - a.BodyLat[ps]) * 3600);
    a.BodyLat[12] = a.BodyLat[ps];
  }
  log("ГЕО ЭКВ JD  Ref      GeoL  GeoB = ", a.BodyLon[ps], a.BodyLat[ps]);

  // Nutation: mean to true equator and equinox of date.
  if (Check7.Value) {
    NutationCorrection(a, t, a.PosX[ps], a.PosY[ps], a.PosZ[ps], 0);
    RelativeSpherical(a, 3, p);
    a.BodyLon[ps] = a.RelLon[ps];
    a.BodyLat[ps] = a.RelLat;
    Text7.Text = RealText((a.BodyLat[12] - a.BodyLat[ps]) * 3600);
  }
  log("ГЕО ЭКВ JD  Nut      GeoL  GeoB = ", a.BodyLon[ps], a.BodyLat[ps]);

  Store.ObsLon(i, 3) = a.BodyLon[ps];
  Store.ObsLat(i, 3) = a.BodyLat[ps];
  return true;
}

}  // namespace planova
