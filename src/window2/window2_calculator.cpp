// Window 2's ephemeris calculator: for the body and calendar date of the window, the body's
// heliocentric equatorial J2000 position and velocity, its geocentric equatorial J2000
// position and its geocentric equatorial position of date, in thousands of kilometres
// and kilometres per second.  The ephemeris is read at ET = UT + (ET-UT); the
// precession to the equator of date uses the UT date.  With "точно (IAU 2006)" the rigorous
// astrometric and apparent geocentric places follow.
#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "window2/window2_model.h"

namespace planova {

namespace {

constexpr const char* kCrLf = "\r\n";

// Longitude, latitude and distance of the body, then its coordinates.
std::string PlaceText(const char* heading, const CalculatorPlace& s) {
  return std::string(heading) + Format(s.LonDeg, "000.000000") + "       B=  " + Format(s.LatDeg, "000.000000") +
         "      R=  " + Format(s.DistanceThousandKm, "0.000") + kCrLf + "  X=  " + Format(s.XThousandKm, "0.000") +
         "     Y=   " + Format(s.YThousandKm, "0.000") + "       Z=   " + Format(s.ZThousandKm, "0.000");
}

// A rigorous place: right ascension and declination (degrees) and the distance.
std::string PreciseText(const char* heading, const Vector3& v, double distanceKm) {
  const RaDec d = RaDecOf(v);
  std::string text = std::string(heading) + Format(d.Ra, "000.00000000") + "   Dec=  " + Format(d.Dec, "00.00000000");
  if (distanceKm > 0) text += "   R=  " + Format(distanceKm / 1000, "0.000") + "  тыс.км";
  return text;
}

// With "точно (IAU 2006)": the astrometric place (light time, ICRS axes), the GCRS place and
// the apparent place on the true equator and equinox of date, at TT of the date taken as
// UTC (from 1960 on; before, UT + ET-UT).
std::string PreciseCalculatorText(const PrecisePlace& p) {
  return std::string(kCrLf) + kCrLf + "ТОЧНО (IAU 2006/2000A)   TT=  " + Format(p.Tt, "0000000.00000") +
         "   TDB-TT=  " + Format((p.Tdb - p.Tt) * 86400, "0.000000") + " сек   свет=  " +
         Format(p.LightTimeDays * 86400, "0.000000") + " сек" + kCrLf +
         PreciseText("ГЕО астрометр. ICRS        RA=  ", p.Stages[kPreciseAstrometric], p.AstrometricKm) + kCrLf +
         PreciseText("ГЕО GCRS (J2000)            RA=  ", p.Stages[kPreciseGcrs], 0) + kCrLf +
         PreciseText("ГЕО видимое ист. JD        RA=  ", p.Stages[kPreciseTrue], 0);
}

}  // namespace

void Window2Model::EphemerisCalculator() {
  const int32_t p = BoxInt32(objectNumber);
  const int32_t year = BoxInt32(dateYear);
  const int32_t month = BoxInt32(dateMonth);
  const double day = BoxReal(dateDay);
  if (p < 1 || p > 11 || p == 10) throw Refusal{"Номер планеты должен быть от 1 до 9 или 11", {}};
  Ephemerides.Use(ephemeris);
  Store.ObjectNumber = p;
  TheoryLog.clear();
  set2Pane.Text.clear();

  const std::optional<double> jd = Astro.JulianDate(day, month, year);
  if (!jd) throw Refusal{kWrongDateMessage, {}};
  ObservationJdUt = *jd;
  const DeltaTModel deltaT = DeltaTOfBoxes();
  const JplCalculatorResult r = Astro.JplCalculator(p, ObservationJdUt, deltaT);
  // The reader's date outside the block files stops the next run, as a Stop does.
  if (r.Ephemeris.Failure == EphemerisFailure::kNoSuchDate) StopRequested = 1;
  DeltaTSeconds = r.DeltaTSeconds;
  ShiftedJdEt = r.EphemerisJd;
  etMinusUtSeconds.Text = RealText(DeltaTSeconds);
  // A failed read shows nothing of an earlier date.
  if (r.Ephemeris.Failure != EphemerisFailure::kNone) throw Refusal{EphemerisMessage(r.Ephemeris), {}};

  TheoryLog = "JDut=  " + Format(ObservationJdUt, "0000000.00000") + "         JDet=  " + Format(ShiftedJdEt, "0000000.00000") +
              kCrLf + kCrLf;
  TheoryLog += PlaceText("ГЕЛИО ЭКВ   J2000         L=  ", r.Heliocentric) + "    тыс.км" + kCrLf;
  TheoryLog += "VX=  " + Format(r.VxKmPerS, "0.0000") + "      VY=   " + Format(r.VyKmPerS, "0.0000") +
               "      VZ=   " + Format(r.VzKmPerS, "0.0000") + "      V=   " + Format(r.SpeedKmPerS, "0.0000") +
               "     км/с" + kCrLf + kCrLf;
  TheoryLog += PlaceText("ГЕО   ЭКВ   J2000           L=  ", r.GeocentricJ2000) + kCrLf + kCrLf;
  TheoryLog += PlaceText("ГЕО   ЭКВ    JD               L=  ", r.GeocentricOfDate);
  if (rigorousIau2006.Value) {
    const PreciseCalculatorResult precise = Astro.PreciseCalculator(p, ObservationJdUt, deltaT);
    if (precise.Ephemeris.Failure == EphemerisFailure::kNoSuchDate) StopRequested = 1;
    if (precise.Ephemeris.Failure != EphemerisFailure::kNone) {
      set2Pane.Text = TheoryLog;
      throw Refusal{EphemerisMessage(precise.Ephemeris), {}};
    }
    TheoryLog += PreciseCalculatorText(precise.Place);
  }
  set2Pane.Text = TheoryLog;
}

}  // namespace planova
