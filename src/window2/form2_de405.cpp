// Window 2's DE405 calculator: for the body and calendar date of the window, the body's
// heliocentric equatorial J2000 position and velocity, its geocentric equatorial J2000
// position and its geocentric equatorial position of date, in thousands of kilometres
// and kilometres per second.  The ephemeris is read at ET = UT + (ET-UT); the
// precession to the equator of date uses the UT date.
#include <cmath>

#include "astro/de405.h"
#include "astro/frames.h"
#include "astro/reductions.h"
#include "astro/time.h"
#include "common/numtext.h"
#include "window2/form2.h"

namespace planova {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr double kEarthMoonMassRatio = 81.300585;

}  // namespace

void Form2::De405() {
  AstroState& a = Astro;
  int32_t p = 0, year = 0, month = 0;
  double day = 0;
  if (!TryParseInt32(Text8.Text, p) || !TryParseInt32(Text23.Text, year) || !TryParseInt32(Text22.Text, month) ||
      !TryParseReal(Text21.Text, day)) {
    Ui().ShowMessage("Введите правильно данные");
    return;
  }
  if (p < 1 || p > 11 || p == 10) {
    Ui().ShowMessage("Номер планеты должен быть от 1 до 9 или 11");
    return;
  }
  Store.ObjectNumber = p;
  TheoryLog.clear();
  RichTextBox2.Text.clear();

  bool failed = false;
  ObservationJd = JulianDateFromCalendar(a, day, month, year, &failed);
  if (failed) return;  // the calendar routine has said why
  a.CurrentJd = ObservationJd;
  DeltaTSeconds = Check3.Value ? DeltaTPiecewise(a) : DeltaTParabola(a);
  ShiftedJd = ObservationJd + DeltaTSeconds / 24 / 3600;
  Text18.Text = RealText(DeltaTSeconds);
  a.CurrentJd = ShiftedJd;

  // A failed read has been reported by the reader; nothing of an earlier date is shown.
  a.EphemerisError = 0;
  LoadDe405Record(a);
  for (int body : {0, static_cast<int>(p), 3}) {
    if (a.EphemerisError == 1) return;
    De405BodyState(a, body);
    if (a.EphemerisError == 1) return;
    De405StateToKilometres(a, body);
  }

  const size_t s = static_cast<size_t>(p);
  if (p == 11) {
    // The Moon of the ephemeris is geocentric already.
    Speed[s] = std::sqrt(a.VelX[s] * a.VelX[s] + a.VelY[s] * a.VelY[s] + a.VelZ[s] * a.VelZ[s]);
  } else {
    a.PosX[3] = a.PosX[3] - a.PosX[0];
    a.PosY[3] = a.PosY[3] - a.PosY[0];
    a.PosZ[3] = a.PosZ[3] - a.PosZ[0];
    if (p != 3) {
      a.PosX[s] = a.PosX[s] - a.PosX[0];
      a.PosY[s] = a.PosY[s] - a.PosY[0];
      a.PosZ[s] = a.PosZ[s] - a.PosZ[0];
    }
    a.VelX[s] = a.VelX[s] - a.VelX[0];
    a.VelY[s] = a.VelY[s] - a.VelY[0];
    a.VelZ[s] = a.VelZ[s] - a.VelZ[0];
    Speed[s] = std::sqrt(a.VelX[s] * a.VelX[s] + a.VelY[s] * a.VelY[s] + a.VelZ[s] * a.VelZ[s]);
  }
  a.PosX[0] = a.PosY[0] = a.PosZ[0] = 0;

  // Longitude, latitude and distance of the body from `origin`, then its coordinates.
  auto place = [&](int origin, const char* heading) {
    RelativeSpherical(a, origin, p);
    return std::string(heading) + Format(a.RelLon[s], "000.000000") + "       B=  " + Format(a.RelLat, "000.000000") +
           "      R=  " + Format(a.RelDist, "0.000") + kCrLf + "  X=  " + Format(a.PosX[s], "0.000") + "     Y=   " +
           Format(a.PosY[s], "0.000") + "       Z=   " + Format(a.PosZ[s], "0.000");
  };

  TheoryLog = "JDut=  " + Format(ObservationJd, "0000000.00000") + "         JDet=  " + Format(ShiftedJd, "0000000.00000") +
              kCrLf + kCrLf;
  TheoryLog += place(0, "ГЕЛИО ЭКВ   J2000         L=  ") + "    тыс.км" + kCrLf;
  TheoryLog += "VX=  " + Format(a.VelX[s], "0.0000") + "      VY=   " + Format(a.VelY[s], "0.0000") + "      VZ=   " +
               Format(a.VelZ[s], "0.0000") + "      V=   " + Format(Speed[s], "0.0000") + "     км/с" + kCrLf + kCrLf;

  if (p != 11) {
    // The Earth from the Earth-Moon barycentre, then the body from the Earth.
    De405BodyState(a, 11);
    if (a.EphemerisError == 1) {
      TheoryLog.clear();
      return;
    }
    De405StateToKilometres(a, 11);
    a.PosX[14] = a.PosX[11] / (kEarthMoonMassRatio + 1);
    a.PosY[14] = a.PosY[11] / (kEarthMoonMassRatio + 1);
    a.PosZ[14] = a.PosZ[11] / (kEarthMoonMassRatio + 1);
    a.PosX[3] = a.PosX[3] - a.PosX[14];
    a.PosY[3] = a.PosY[3] - a.PosY[14];
    a.PosZ[3] = a.PosZ[3] - a.PosZ[14];
    a.PosX[s] = a.PosX[s] - a.PosX[3];
    a.PosY[s] = a.PosY[s] - a.PosY[3];
    a.PosZ[s] = a.PosZ[s] - a.PosZ[3];
  }
  a.PosX[3] = a.PosY[3] = a.PosZ[3] = 0;
  TheoryLog += place(3, "ГЕО   ЭКВ   J2000           L=  ") + kCrLf + kCrLf;

  a.CurrentJd = ObservationJd;
  a.CurrentSlot = p;
  EquatorialPrecessionMatrix(a, 0, (ObservationJd - 2451545.0) / 36525);
  ApplyMatrix(a);
  TheoryLog += place(3, "ГЕО   ЭКВ    JD               L=  ");
  RichTextBox2.Text = TheoryLog;
}

}  // namespace planova
