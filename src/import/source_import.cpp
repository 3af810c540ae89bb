#include "import/source_import.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "astro/time.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "import/ades_reader.h"
#include "import/observatories.h"
#include "import/xls_reader.h"

namespace planova {

namespace {

constexpr const char* kCrLf = "\r\n";

// --- Number texts of the sources -------------------------------------------------

// A real with the decimal comma, after the last point has become a comma ("12.5").
bool RealViaDotToComma(std::string_view text, double& value) { return TryParseReal(DotToComma(text), value); }
// The same for a field of a fixed-column line: no exponent.
bool FieldViaDotToComma(std::string_view text, double& value) { return TryParseFieldReal(DotToComma(text), value); }

// True when a field's text carries a minus sign: "-00" degrees is a southern declination,
// which the number the text reads as (0) cannot say.
bool MinusSign(std::string_view text) {
  size_t p = text.find_first_not_of(' ');
  return p != std::string_view::npos && text[p] == '-';
}

// What a fixed-column record can hold: a month 1..12, hours of time and of right
// ascension below 24, a right ascension below 24 h and a declination within 90 degrees.
constexpr double kHoursPerDay = 24;
constexpr double kFullCircle = 360;
constexpr double kPole = 90;
bool PossibleMonth(int32_t month) { return month >= 1 && month <= 12; }
bool PossibleHours(double hours) { return hours >= 0 && hours < kHoursPerDay; }
bool PossibleRightAscension(double degrees) { return degrees >= 0 && degrees < kFullCircle; }
bool PossibleDeclination(double degrees) { return std::fabs(degrees) <= kPole; }

// Minutes and seconds of a sexagesimal field: each from 0 up to, not including, 60.
constexpr double kSixty = 60;
bool PossibleMinutesAndSeconds(double minutes, double seconds) {
  return minutes >= 0 && minutes < kSixty && seconds >= 0 && seconds < kSixty;
}

// Days of a month (1..12) of an astronomical year: February has 29 in the leap years of
// the Julian calendar (every fourth), which the Gregorian calendar keeps from 1583 on
// except in the hundredth years not divisible by 400 (the reform of 1582 October, whose
// February was no leap month under either rule).
int DaysInMonth(CalendarRule rule, int32_t year, int32_t month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month != 2) return kDays[month - 1];
  const bool julian = rule == CalendarRule::kJulian || year <= 1582;
  const bool leap = year % 4 == 0 && (julian || year % 100 != 0 || year % 400 == 0);
  return leap ? 29 : 28;
}

// A month 1..12, and a decimal day that falls within it: from the 1st at 0 h up to, not
// including, the end of its last day (February 30 and a 32.7th day are no days).
bool PossibleMonthDay(CalendarRule rule, int32_t year, int32_t month, double day) {
  return PossibleMonth(month) && day >= 1 && day < DaysInMonth(rule, year, month) + 1;
}

// A real under the table's separator choice: with "точка" the text first passes
// through DotToComma, with "запятая" only the comma is a decimal mark.
bool RealWithSeparator(std::string_view text, bool pointSeparator, double& value) {
  return pointSeparator ? RealViaDotToComma(text, value) : TryParseReal(text, value);
}

// Table fields of the sexagesimal forms: a cell holding just "-" counts as 0.
bool WholeOrDash(std::string_view text, int16_t& value) {
  if (text == "-") {
    value = 0;
    return true;
  }
  return TryParseInt16(text, value);
}
bool RealOrDash(std::string_view text, bool pointSeparator, double& value) {
  if (text == "-") {
    value = 0;
    return true;
  }
  return RealWithSeparator(text, pointSeparator, value);
}

bool AllBlanks(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// Whether a number text has no more decimal places than `places` (trailing zeros aside):
// a part of a time that keeps it a whole number of 0.0001 s (kExactDayPlaces and the
// others of astro/time.h).
bool WithinPlaces(std::string_view text, int places) { return SignificantPlaces(text) <= places; }

// The hours, minutes and seconds of time of a right ascension as a line writes them
// (the seconds with a point or a comma).
struct RightAscensionParts {
  int16_t Hours = 0, Minutes = 0;
  double Seconds = 0;
};
// The parts from their texts; false when a text is no number.
bool FieldRightAscensionParts(std::string_view hours, std::string_view minutes, std::string_view seconds,
                              RightAscensionParts& p) {
  return TryParseFieldInt16(hours, p.Hours) && TryParseFieldInt16(minutes, p.Minutes) &&
         FieldViaDotToComma(seconds, p.Seconds);
}
// Right ascension (degrees) of the parts; false when the hours are not 0..23 or the sum
// reaches 24 h (the degrees are formed all the same).
bool RightAscensionDegrees(const RightAscensionParts& p, double& degrees) {
  degrees = (p.Minutes / 60.0 + p.Hours + p.Seconds / 3600) * 360 / 24;
  return PossibleHours(p.Hours) && PossibleRightAscension(degrees);
}
// Both: false when a text is no number or the right ascension is impossible.
bool FieldRightAscension(std::string_view hours, std::string_view minutes, std::string_view seconds,
                         double& degrees) {
  RightAscensionParts p;
  return FieldRightAscensionParts(hours, minutes, seconds, p) && RightAscensionDegrees(p, degrees);
}

// A JPL coordinate part: a whole number, or 0 when it holds only blanks (or lies beyond
// the end of the line, which `blank` reports).
bool JplPart(std::string_view text, int16_t& value, bool& blank) {
  blank = AllBlanks(text);
  if (blank) {
    value = 0;
    return true;
  }
  return TryParseFieldInt16(text, value);
}

// JD of a calendar date through JulianDateFromCalendar, but false, and no message,
// when the year or the month does not fit the routine's 16-bit cells (one wrong record
// of a catalogue must not raise a message box per record).
bool CalendarJd(CalendarRule rule, double day, int32_t month, int32_t year, double& jd) {
  if (year < -32768 || year > 32767 || month < -32768 || month > 32767) return false;
  if (month < 3 && year == -32768) return false;  // January and February count in year - 1
  if (!std::isfinite(day)) return false;
  bool failed = false;
  jd = JulianDateFromCalendar(rule, day, month, year, &failed);
  return !failed;
}

}  // namespace

// --- Table rows ------------------------------------------------------------------

RecordValues ConvertTableRow(const FieldTexts& field, const TableOptions& o, CalendarRule rule) {
  RecordValues r;
  const bool point = o.PointSeparator;
  // A row whose numbers read but hold no possible date or place is refused with its
  // reason and stores nothing, as a line of the fixed-column catalogues is: a cell of
  // 1e308 seconds or a declination of 95 degrees would not fit the BDL columns.  (The
  // time of day keeps its historical carry: 24 h 61 m 75 s is the next day's 1:02:15.
  // Southern declinations are written "-4 -2 -0,14": the minutes and seconds may carry
  // the sign, and their size is what is checked.)
  const auto refused = [](const char* reason) {
    RecordValues none;
    none.Reason = reason;
    return none;
  };

  // Date.
  double jd = 0;
  if (o.Date == DateForm::kYmdhms) {
    int32_t year = 0, month = 0;
    int16_t h = 0, m = 0;
    double day = 0, s = 0;
    if (!TryParseInt32(field[1], year) || !TryParseInt32(field[2], month) || !TryParseReal(field[3], day) ||
        !TryParseInt16(field[4], h) || !TryParseInt16(field[5], m) || !RealWithSeparator(field[6], point, s)) {
      return r;
    }
    // The time of day from the absolute parts; each negative part flips the sign once.
    double f = (std::abs(m) / 60.0 + std::abs(h) + std::fabs(s) / 3600) / 24;
    if (h < 0) f = -f;
    if (m < 0) f = -f;
    if (s < 0) f = -f;
    double d = day + f;
    if (d > 32.5) return r;
    if (!CalendarJd(rule, d, month, year, jd)) return r;
    // Hours and minutes are read as whole numbers.
    r.ExactTime = WithinPlaces(field[3], kExactDayPlaces) && WithinPlaces(field[6], kExactSecondPlaces);
  } else if (o.Date == DateForm::kYmday) {
    int32_t year = 0, month = 0;
    double d = 0;
    if (!TryParseInt32(field[1], year) || !TryParseInt32(field[2], month) || !RealWithSeparator(field[13], point, d)) {
      return r;
    }
    if (d > 32.5) return r;
    if (!CalendarJd(rule, d, month, year, jd)) return r;
    r.ExactTime = WithinPlaces(field[13], kExactDayPlaces);
  } else {
    if (!RealWithSeparator(field[14], point, jd)) return r;
    // The fraction of JD + 0.5 is the time of day, with the places of the JD's.
    r.ExactTime = WithinPlaces(field[14], kExactDayPlaces);
  }
  CalendarDate inCalendar;
  if (!std::isfinite(jd) || !CalendarFromJulianDate(rule, jd, inCalendar)) return refused("дата вне календаря");
  r.Jd = jd;
  r.HasJd = true;

  // Longitude or right ascension.
  if (o.Param != Parameter::kDec) {
    if (o.Longitude == LongitudeForm::kDegrees) {
      if (field[15] != "-") {
        if (!RealViaDotToComma(field[15], r.LonDeg)) return r;
        r.HasLon = true;
      }
    } else {
      int16_t a = 0, b = 0;
      double c = 0;
      if (!WholeOrDash(field[7], a) || !WholeOrDash(field[8], b) || !RealOrDash(field[9], point, c)) return r;
      if (o.Longitude == LongitudeForm::kHms && !PossibleHours(a)) return refused("прямое восхождение: часы вне 0..23");
      if (!PossibleMinutesAndSeconds(std::abs(b), std::fabs(c))) {
        return refused(o.Longitude == LongitudeForm::kHms ? "прямое восхождение: минуты или секунды вне 0..60"
                                                           : "долгота: минуты или секунды вне 0..60");
      }
      if (o.Longitude == LongitudeForm::kHms) {
        r.LonDeg = (b / 60.0 + a + c / 3600) * 360 / 24;
      } else {
        r.LonDeg = b / 60.0 + a + c / 3600;
      }
      r.HasLon = true;
    }
    if (r.HasLon && r.LonDeg < 0) r.LonDeg += 360;
    if (r.HasLon && !PossibleRightAscension(r.LonDeg)) return refused("долгота или прямое восхождение вне 0..360");
  }

  // Latitude or declination.
  if (o.Param != Parameter::kRa) {
    if (o.LatitudeDegrees) {
      if (field[16] != "-") {
        if (!TryParseReal(field[16], r.LatDeg)) return r;
        r.HasLat = true;
      }
    } else {
      int16_t d = 0, m = 0;
      double s = 0;
      if (!WholeOrDash(field[10], d) || !WholeOrDash(field[11], m) || !RealOrDash(field[12], point, s)) return r;
      if (!PossibleMinutesAndSeconds(std::abs(m), std::fabs(s))) return refused("склонение: минуты или секунды вне 0..60");
      r.LatDeg = m / 60.0 + d + s / 3600;
      // "-0 30 0": the sign of a declination above -1 degree stands only in the text.
      if (r.LatDeg > 0 && MinusSign(field[10])) r.LatDeg = -r.LatDeg;
      r.HasLat = true;
    }
    if (r.HasLat && o.LatitudeFromPole) r.LatDeg = 90 - r.LatDeg;
    if (r.HasLat && !PossibleDeclination(r.LatDeg)) return refused("склонение или широта вне ±90");
  }

  r.Accepted = true;
  return r;
}

// --- JPL lines -------------------------------------------------------------------

bool IsJplObservationOf(std::string_view line, int32_t objectNumber) {
  if (CutColumns(line, kJplLayout[kJplMark]) != "P") return false;
  std::string_view digits = CutColumns(line, kJplLayout[kJplBody]);
  if (digits.empty()) return false;
  if (digits[0] != '0') digits = digits.substr(0, 1);
  int32_t body = 0;
  if (!TryParseFieldInt32(digits, body)) return false;
  if (body == 10) body = 0;
  return body == objectNumber;
}

RecordValues ConvertJplLine(std::string_view line, FieldTexts& field) {
  RecordValues r;
  for (int k = 4; k <= 12; ++k) field[static_cast<size_t>(k)].clear();
  std::string_view jdText = CutColumns(line, kJplLayout[kJplJd]);
  std::string_view part[8];
  for (int k = 0; k < 4; ++k) part[k] = CutColumns(line, kJplLayout[kJplRaHours + k]);
  for (int k = 0; k < 4; ++k) part[4 + k] = CutColumns(line, kJplLayout[kJplDecDegrees + k]);
  field[4] = jdText;
  for (int k = 0; k < 8; ++k) field[static_cast<size_t>(5 + k)] = part[k];

  double jdTimes100000 = 0;
  if (!TryParseFieldReal(jdText, jdTimes100000)) return r;
  r.Jd = jdTimes100000 / 100000;
  r.HasJd = true;
  // Hundred-thousandths of a day (0.864 s) and one place more keep six places of the day.
  r.ExactTime = WithinPlaces(jdText, kExactDayPlaces - 5);

  int16_t v[8] = {};
  bool blank[8] = {};
  for (int k = 0; k < 8; ++k) {
    if (!JplPart(part[k], v[k], blank[k])) return r;
  }

  // Right ascension: hours, minutes, seconds + thousandths of time.
  if (blank[0] && blank[1] && blank[2] && blank[3]) return r;
  double s = v[2] + v[3] / 1000.0;
  r.LonDeg = (v[1] / 60.0 + v[0] + s / 3600) * 360 / 24;
  if (!PossibleHours(v[0]) || !PossibleRightAscension(r.LonDeg)) return r;
  r.HasLon = true;

  // Declination: degrees, minutes, seconds + hundredths of arc; the sign in column 51, or
  // in the degrees' own text.
  if (blank[4] && blank[5] && blank[6] && blank[7]) return r;
  s = v[6] + v[7] / 100.0;
  double value = v[5] / 60.0 + std::abs(v[4]) + s / 3600;
  if (CutColumns(line, kJplLayout[kJplDecSign]) == "-" || MinusSign(part[4])) value = -value;
  if (!PossibleDeclination(value)) return r;
  r.LatDeg = value;
  r.HasLat = true;

  r.Accepted = true;
  return r;
}

// --- Dov lines -------------------------------------------------------------------

RecordValues ConvertDovLine(std::string_view line, bool longVariant, bool latitudeFromPole, CalendarRule rule,
                            FieldTexts& field) {
  RecordValues r;
  const FixedColumns* layout = longVariant ? kDovLongLayout : kDovNormalLayout;
  std::string_view t[kDovFieldCount];
  for (int k = 0; k < kDovFieldCount; ++k) t[k] = CutColumns(line, layout[k]);

  // The texts of the rejected-records entry, cut before anything is converted.
  std::string& date = field[4];
  date.assign(15, ' ');
  date.append(t[kDovYear]).append("  ").append(t[kDovMonth]).append("  ").append(t[kDovDay]);
  date.append("  ").append(t[kDovHours]).append("  ").append(t[kDovMinutes]).append("  ").append(t[kDovSeconds]);
  field[5] = t[kDovRaHours];
  field[6] = t[kDovRaMinutes];
  field[7] = t[kDovRaSeconds];
  field[8] = "  ";
  field[9] = t[kDovDecDegrees];
  field[10] = t[kDovDecMinutes];
  field[11] = t[kDovDecSeconds];
  field[12] = "  ";

  // Date and UT time.
  int32_t year = 0, month = 0;
  double day = 0, h = 0, m = 0, s = 0;
  if (!TryParseFieldInt32(t[kDovYear], year) || !TryParseFieldInt32(t[kDovMonth], month) ||
      !TryParseFieldReal(t[kDovDay], day) || !FieldViaDotToComma(t[kDovHours], h) ||
      !FieldViaDotToComma(t[kDovMinutes], m) || !FieldViaDotToComma(t[kDovSeconds], s)) {
    return r;
  }
  if (!PossibleMonth(month) || !PossibleHours(h)) return r;
  double d = (m / 60 + h + s / 3600) / 24 + day;
  if (d > 32.5) return r;
  if (!CalendarJd(rule, d, month, year, r.Jd)) return r;
  r.HasJd = true;
  r.ExactTime = WithinPlaces(t[kDovDay], kExactDayPlaces) && WithinPlaces(t[kDovHours], kExactHourPlaces) &&
                WithinPlaces(t[kDovMinutes], kExactMinutePlaces) && WithinPlaces(t[kDovSeconds], kExactSecondPlaces);

  // Right ascension.
  if (!FieldRightAscension(t[kDovRaHours], t[kDovRaMinutes], t[kDovRaSeconds], r.LonDeg)) return r;
  r.HasLon = true;

  // Declination: the sum of the absolute parts, south when the degrees' text has a minus
  // ("-00 30" too) or, under zero degrees, the first part that is not zero is negative
  // ("+00 30" is north, "-05 30" south, "+00 00 -1.8" south).
  int16_t decD = 0;
  double decM = 0, decS = 0;
  if (!TryParseFieldInt16(t[kDovDecDegrees], decD) || !FieldViaDotToComma(t[kDovDecMinutes], decM) ||
      !FieldViaDotToComma(t[kDovDecSeconds], decS)) {
    return r;
  }
  double value = std::fabs(decM / 60) + std::abs(decD) + std::fabs(decS / 3600);
  bool south = MinusSign(t[kDovDecDegrees]) || (decD == 0 && (decM != 0 ? decM < 0 : decS < 0));
  if (south) value = -value;
  if (latitudeFromPole) value = 90 - value;
  if (!PossibleDeclination(value)) return r;
  r.LatDeg = value;
  r.HasLat = true;

  r.Accepted = true;
  return r;
}

RecordValues ConvertMpcLine(std::string_view line, FieldTexts& field) {
  RecordValues r;
  std::string_view t[kMpcFieldCount];
  for (int k = 0; k < kMpcFieldCount; ++k) t[k] = CutColumns(line, kMpcLayout[k]);
  std::string& date = field[4];
  date.assign(t[kMpcYear]).append("  ").append(t[kMpcMonth]).append("  ").append(t[kMpcDay]);
  field[5] = t[kMpcRaHours];
  field[6] = t[kMpcRaMinutes];
  field[7] = t[kMpcRaSeconds];
  field[8] = t[kMpcDecSign];
  field[9] = t[kMpcDecDegrees];
  field[10] = t[kMpcDecMinutes];
  field[11] = t[kMpcDecSeconds];
  field[12] = t[kMpcObservatory];
  r.Station = StationCode(t[kMpcObservatory]);

  // Lines that hold no place of an observer on the Earth.
  switch (t[kMpcNote2].empty() ? ' ' : t[kMpcNote2][0]) {
    case 'S': r.Reason = "наблюдение со спутника: место наблюдателя во второй строке"; return r;
    case 's': r.Reason = "вторая строка наблюдения со спутника"; return r;
    case 'V': r.Reason = "наблюдение подвижного наблюдателя"; return r;
    case 'v': r.Reason = "вторая строка подвижного наблюдателя"; return r;
    case 'R': case 'r': r.Reason = "радарное наблюдение"; return r;
    default: break;
  }
  if (line.size() < static_cast<size_t>(kMpcLayout[kMpcDecSeconds].first)) {
    r.Reason = "короткая строка: нет места";
    return r;
  }

  // A line whose numbers read but hold no possible date or place is refused with its
  // reason and stores nothing (rather than a date without its place, or minutes of 75
  // carried into the next hour).
  const auto refused = [&r](const char* reason) {
    RecordValues none;
    none.Reason = reason;
    none.GregorianDated = r.GregorianDated;
    return none;
  };

  // Date of UTC: year, month, decimal day, Gregorian.
  int32_t year = 0, month = 0;
  double day = 0;
  if (!TryParseFieldInt32(t[kMpcYear], year) || !TryParseFieldInt32(t[kMpcMonth], month) ||
      !FieldViaDotToComma(t[kMpcDay], day)) {
    return r;
  }
  if (!PossibleMonth(month)) return refused("нет такого месяца");
  if (!PossibleMonthDay(CalendarRule::kGregorianFrom1582, year, month, day)) return refused("нет такого дня в месяце");
  r.GregorianDated = true;
  if (!CalendarJd(CalendarRule::kGregorianFrom1582, day, month, year, r.Jd)) return r;
  r.HasJd = true;
  r.ExactTime = WithinPlaces(t[kMpcDay], kExactDayPlaces);

  // Right ascension: hours, minutes, seconds of time.
  RightAscensionParts ra;
  if (!FieldRightAscensionParts(t[kMpcRaHours], t[kMpcRaMinutes], t[kMpcRaSeconds], ra)) return r;
  if (!PossibleMinutesAndSeconds(ra.Minutes, ra.Seconds)) {
    return refused("прямое восхождение: минуты или секунды вне 0..60");
  }
  if (!RightAscensionDegrees(ra, r.LonDeg)) return r;
  r.HasLon = true;

  // Declination: the sign in column 45, degrees, minutes, seconds of arc.
  int16_t decD = 0, decM = 0;
  double decS = 0;
  const std::string_view sign = t[kMpcDecSign];
  if ((sign != "+" && sign != "-") || !TryParseFieldInt16(t[kMpcDecDegrees], decD) ||
      !TryParseFieldInt16(t[kMpcDecMinutes], decM) || !FieldViaDotToComma(t[kMpcDecSeconds], decS)) {
    return r;
  }
  if (!PossibleMinutesAndSeconds(decM, decS)) return refused("склонение: минуты или секунды вне 0..60");
  double value = decM / 60.0 + decD + decS / 3600;
  if (sign == "-") value = -value;
  if (!PossibleDeclination(value)) return r;
  r.LatDeg = value;
  r.HasLat = true;
  r.Accepted = true;
  return r;
}

// --- The import ------------------------------------------------------------------

std::string SourceStem(const std::string& observatoryCode, int32_t objectNumber, Parameter param, bool topo, bool hor,
                       const std::string& fileNumber) {
  std::string mark = param == Parameter::kRa ? "_R_" : param == Parameter::kDec ? "_D_" : "_G_";
  if (param == Parameter::kGeo) {
    if (topo) mark = "_T_";
    if (hor) mark = "_H_";
  }
  return observatoryCode + std::to_string(objectNumber) + mark + fileNumber;
}

namespace {

// The sources, one row each.  JPL files hold every observer's lines of every body: the
// name has no object number, and only the object's lines are read.
constexpr SourceDescription kSources[] = {
    {SourceKind::kTable, "Tab{code}/{stem}", {".xls", ".xlsx", ".ods"}, SourceReading::kTableRows, 0, nullptr, nullptr,
     false},
    {SourceKind::kJpl, "FileJPL/{code}_{n}", {".txt"}, SourceReading::kLines, kJplHeadingLines, nullptr, nullptr, false},
    {SourceKind::kDov, "FileDov/{stem}", {".txt"}, SourceReading::kLines, kDovHeadingLines, nullptr, nullptr, false},
    // MPC places are of J2000 and their dates of UTC: the BDL file written says so.
    {SourceKind::kMpc, "FileMPC/{code}{object}_{n}", {".txt"}, SourceReading::kLines, 0, "J2000", "UT", true},
    // ADES places are of the ICRS (J2000) and their times UTC, as the MPC's.
    {SourceKind::kAdes, "FileADES/{code}{object}_{n}", {".psv", ".xml"}, SourceReading::kAdes, 0, "J2000", "UT", true},
};

// The pattern's name with its parts filled in.
std::string SourceName(const char* pattern, const std::string& code, int32_t object, const std::string& fileNumber,
                       const std::string& stem) {
  const std::pair<std::string_view, std::string> parts[] = {
      {"{code}", code}, {"{object}", std::to_string(object)}, {"{n}", fileNumber}, {"{stem}", stem}};
  std::string name;
  for (std::string_view p = pattern; !p.empty();) {
    bool replaced = false;
    for (const auto& [mark, value] : parts) {
      if (p.substr(0, mark.size()) == mark) {
        name += value;
        p.remove_prefix(mark.size());
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      name += p.front();
      p.remove_prefix(1);
    }
  }
  return name;
}

}  // namespace

const SourceDescription& DescribeSource(SourceKind kind) {
  for (const SourceDescription& d : kSources) {
    if (d.Kind == kind) return d;
  }
  return kSources[0];
}

namespace {

// "Ошибка записи в файл" and the path.
std::string WriteFailure(const std::filesystem::path& path) {
  return "Ошибка записи в файл" + std::string(kCrLf) + PathText(path);
}

// Working state of one import: the fields of the current record, the three logs (kept
// as Windows-1251 bytes, like the records, and converted for the panes at the end) and
// the rejected-records file.  That file is opened only once the source is open, and
// replaces the old one only when the import finishes: a missing source or a full store
// leave the rejected records of the last finished import in place.
class ImportRun {
 public:
  ImportRun(const ImportSettings& s, ObservationStore& store) : s_(s), source_(DescribeSource(s.Source)), store_(store) {}

  ImportResult Run(Workbook& workbook);

 private:
  ImportResult RunSource(Workbook& workbook);
  ImportResult RunTable(Workbook& workbook, const std::filesystem::path& path);
  ImportResult RunLines(const std::filesystem::path& path);
  ImportResult RunAdes(const std::filesystem::path& path);

  // The source file of the settings: the first of the description's extensions that
  // names a file, else the first.
  std::filesystem::path SourcePath() const;
  // The line's record converted as its kind converts it.
  RecordValues ConvertLine(const std::string& line);
  // A record accepted so far whose station the observatory lists cannot place becomes a
  // refused record with the reason (an unknown code, a station without coordinates).
  void CheckStation(RecordValues& v);

  // Counts a record read: false when the store cannot take it (record number > N - 1).
  bool CountRecord() { return ++store_.ReadCount <= capacity_ - 1; }
  // Appends Format(i, "0000") + four blanks + the record to the source log; returns
  // the record text.
  const std::string& LogSource(std::string_view record);
  // Stores what converted into row i of column 1, then accepts or rejects the record.
  void Conclude(const RecordValues& v, bool textLine);
  void Accept();
  void Reject(bool textLine, const char* reason = nullptr);

  // With "+FileBad", once the source is open: the rejected-records file with its
  // heading; false when it cannot be made.
  bool OpenBadFile();
  ImportResult BadFileFailed();
  ImportResult Finish();
  ImportResult StoreFull();
  ImportResult Missing(const char* what, const std::filesystem::path& path);

  const ImportSettings& s_;
  const SourceDescription& source_;
  ObservationStore& store_;
  ObservatoryList observatories_;  // loaded when the source's stations are checked
  std::map<std::string, const char*, std::less<>> stationFault_;  // code -> reason, or null
  CalendarRule calendar_ = CalendarRule::kGregorianFrom1582;  // of the dates read
  int32_t capacity_ = 0;  // N; 0 while the store does not exist
  std::string sourceStem_;  // SourceStem of the settings ("PARI11_G_1")
  FieldTexts FieldText;  // the fields cut from the current record
  std::string recordText_;
  std::string sourceLog_, acceptedLog_, rejectedLog_;
  TextOutputFile badFile_;
  std::filesystem::path badPath_;
};

const std::string& ImportRun::LogSource(std::string_view record) {
  recordText_ = Format(store_.ReadCount, "0000");
  recordText_ += "    ";
  recordText_ += record;
  sourceLog_ += recordText_;
  sourceLog_ += kCrLf;
  return recordText_;
}

void ImportRun::Conclude(const RecordValues& v, bool textLine) {
  const int32_t i = store_.ReadCount;
  if (v.GregorianDated) calendar_ = CalendarRule::kGregorianFrom1582;
  if (!store_.HasRow(i)) {  // no store: nothing can be kept
    Reject(textLine, v.Reason);
    return;
  }
  if (v.HasJd) {
    store_.ObsJd(i, kSet1) = v.Jd;
    store_.ObsExactTime(i, kSet1) = v.ExactTime ? 1 : 0;
  }
  if (v.HasLon) store_.ObsLon(i, kSet1) = v.LonDeg;
  if (v.HasLat) store_.ObsLat(i, kSet1) = v.LatDeg;
  store_.ObsStation(i, kSet1) = v.Station;
  // The uncertainties exist once a record gives one; a record without them then says
  // "unknown" (0) rather than keeping those of an earlier import.
  if (v.SigmaRa > 0 || v.SigmaDec > 0) store_.EnsureSigmas();
  if (store_.HasSigmas()) {
    store_.ObsSigmaRa(i, kSet1) = static_cast<float>(v.SigmaRa);
    store_.ObsSigmaDec(i, kSet1) = static_cast<float>(v.SigmaDec);
  }
  if (v.Accepted) {
    Accept();
  } else {
    Reject(textLine, v.Reason);
  }
}

void ImportRun::Accept() {
  const int32_t i = store_.ReadCount;
  acceptedLog_ += Format(i, "0000");
  acceptedLog_ += "    ";
  acceptedLog_ += Format(store_.ObsJd(i, kSet1), "0000000.0000000");
  acceptedLog_ += "    ";
  acceptedLog_ += Format(store_.ObsLon(i, kSet1), "000.000000000");
  acceptedLog_ += "    ";
  acceptedLog_ += Format(store_.ObsLat(i, kSet1), "000.000000000");
  acceptedLog_ += kCrLf;
  const int32_t g = ++store_.GoodCount;
  store_.ObsJd(g, kSet3) = store_.ObsJd(i, kSet1);
  store_.ObsExactTime(g, kSet3) = store_.ObsExactTime(i, kSet1);
  store_.ObsLon(g, kSet3) = store_.ObsLon(i, kSet1);
  store_.ObsLat(g, kSet3) = store_.ObsLat(i, kSet1);
  store_.ObsStation(g, kSet3) = store_.ObsStation(i, kSet1);
  if (store_.HasSigmas()) {
    store_.ObsSigmaRa(g, kSet3) = store_.ObsSigmaRa(i, kSet1);
    store_.ObsSigmaDec(g, kSet3) = store_.ObsSigmaDec(i, kSet1);
  }
}

void ImportRun::Reject(bool textLine, const char* reason) {
  // A text line is followed by its cut fields, joined by two blanks.
  std::string entry = recordText_;
  if (reason) entry += Utf8ToCp1251(std::string("    <- ") + reason);
  entry += kCrLf;
  if (textLine) {
    for (int k = 4; k <= 12; ++k) {
      if (k > 4) entry += "  ";
      entry += FieldText[static_cast<size_t>(k)];
    }
    entry += kCrLf;
  }
  if (s_.FileBad) {
    ++store_.BadCount;
    badFile_.Write(entry);
    badFile_.Write(kCrLf);
  }
  if (textLine && !s_.FileBad) {
    rejectedLog_ += recordText_;
    if (reason) rejectedLog_ += Utf8ToCp1251(std::string("    <- ") + reason);
  } else {
    rejectedLog_ += entry;
  }
  rejectedLog_ += kCrLf;
}

ImportResult ImportRun::Finish() {
  ImportResult r;
  r.End = ImportEnd::kFinished;
  r.Started = true;
  r.SourceLog = Cp1251ToUtf8(sourceLog_);
  r.AcceptedLog = Cp1251ToUtf8(acceptedLog_);
  r.RejectedLog = Cp1251ToUtf8(rejectedLog_);
  r.FileLabel = "в файл   " + s_.ObservatoryCode + std::to_string(store_.ObjectNumber) + "_";
  if (source_.EpochLabel) r.EpochLabel = source_.EpochLabel;
  if (source_.TimeScaleLabel) r.TimeScaleLabel = source_.TimeScaleLabel;
  // The rejected records must not be lost silently (a full disk, a file turned
  // read-only): say so once the import is shown.
  if (s_.FileBad && !badFile_.Commit()) r.Message = WriteFailure(badPath_);
  return r;
}

bool ImportRun::OpenBadFile() {
  if (!s_.FileBad) return true;
  badPath_ = AppPath(s_.AppFolder, "Dat/Bad_data_" + sourceStem_ + ".txt");
  std::string heading = kCrLf + Utf8ToCp1251("плохие данные в таблице или файле" + sourceStem_) + kCrLf;
  return badFile_.Create(badPath_) && badFile_.Write(heading) && badFile_.Write(kCrLf);
}

ImportResult ImportRun::BadFileFailed() {
  ImportResult r;
  r.End = ImportEnd::kWriteFailed;
  r.Started = true;
  r.Message = WriteFailure(badPath_);
  return r;
}

// The rejected records read so far are not written: the import did not finish.
ImportResult ImportRun::StoreFull() {
  ImportResult r;
  r.End = ImportEnd::kStoreFull;
  r.Started = true;
  r.Message = "увеличьте массив данных";
  return r;
}

ImportResult ImportRun::Missing(const char* what, const std::filesystem::path& path) {
  ImportResult r;
  r.End = ImportEnd::kSourceMissing;
  r.Started = true;
  r.Message = std::string(what) + kCrLf + PathText(path);
  return r;
}

ImportResult ImportRun::Run(Workbook& workbook) {
  int32_t objectNumber = 0;
  if (!TryParseInt32(s_.ObjectNumberText, objectNumber)) {
    ImportResult r;
    r.End = ImportEnd::kBadSettings;
    r.Message = "задайте правильно данные";
    return r;
  }
  store_.ObservatoryCode = s_.ObservatoryCode;
  store_.ObjectNumber = objectNumber;
  store_.ReadCount = 0;
  store_.GoodCount = 0;
  store_.BadCount = 0;
  calendar_ = s_.JulianCalendar ? CalendarRule::kJulian : CalendarRule::kGregorianFrom1582;
  capacity_ = store_.Exists() ? store_.ObsCapacity : 0;

  sourceLog_ = Utf8ToCp1251("исходная запись данных") + kCrLf;
  acceptedLog_ = Utf8ToCp1251("распознанные программой записи") + kCrLf;
  rejectedLog_ = Utf8ToCp1251("ЗАБРАКОВАННЫЕ ПРОГРАММОЙ ЗАПИСИ") + kCrLf;

  sourceStem_ = SourceStem(s_.ObservatoryCode, objectNumber, s_.Table.Param, s_.Topo, s_.Hor, s_.FileNumber);
  ImportResult r = RunSource(workbook);
  r.Calendar = calendar_;
  return r;
}

std::filesystem::path ImportRun::SourcePath() const {
  const std::string name =
      SourceName(source_.PathPattern, s_.ObservatoryCode, store_.ObjectNumber, s_.FileNumber, sourceStem_);
  std::filesystem::path path = AppPath(s_.AppFolder, name + source_.Extensions[0]);
  for (const char* ext : source_.Extensions) {
    if (!ext) break;
    std::error_code ec;
    std::filesystem::path candidate = AppPath(s_.AppFolder, name + ext);
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return path;
}

ImportResult ImportRun::RunSource(Workbook& workbook) {
  const std::filesystem::path path = SourcePath();
  if (source_.ChecksStations) observatories_ = LoadObservatories(s_.AppFolder);
  ImportResult r;
  switch (source_.Reading) {
    case SourceReading::kTableRows: r = RunTable(workbook, path); break;
    case SourceReading::kLines: r = RunLines(path); break;
    case SourceReading::kAdes: r = RunAdes(path); break;
    default: r = Finish(); break;
  }
  r.SourcePath = path;
  return r;
}

// The message of a table that could not be read, before its path.
const char* TableProblemText(WorkbookProblem problem) {
  switch (problem) {
    case WorkbookProblem::kNone: break;
    case WorkbookProblem::kNotWorkbook: return "Таблица не читается: это не книга .xlsx или .ods  ";
    case WorkbookProblem::kEncrypted: return "Таблица защищена паролем: сохраните ее без пароля  ";
    case WorkbookProblem::kStrict:
      return "Таблица в формате Strict Open XML: сохраните ее как книгу Excel (.xlsx)  ";
    case WorkbookProblem::kNoSheet: return "В таблице нет ни одного листа  ";
    case WorkbookProblem::kDamaged: return "Таблица повреждена и не читается  ";
    case WorkbookProblem::kTooLarge:
      static_assert(kMaxSheetMegabytes == 32, "the message names the limit");
      return "Книга слишком велика (предел 32 МБ)  ";
  }
  return "Не найдена таблица  ";
}

// Tables: Tab<code>/<stem>, the first of .xls, .xlsx and .ods that exists.
ImportResult ImportRun::RunTable(Workbook& workbook, const std::filesystem::path& path) {
  if (!workbook.Open(path) || !workbook.SelectFirstSheet()) {
    const WorkbookProblem problem = workbook.Problem();
    workbook.Close();
    return Missing(TableProblemText(problem), path);
  }
  struct CloseAtExit {
    Workbook& w;
    ~CloseAtExit() { w.Close(); }
  } closeAtExit{workbook};
  if (!OpenBadFile()) return BadFileFailed();

  std::string record;
  // Row 1 holds the headings; the data end at the first row whose column B is empty.
  // That test comes before the capacity rule, so a table of N - 1 rows fits a store of N.
  for (uint32_t row = 2;; ++row) {
    const std::string rowNumber = std::to_string(row);
    for (int k = 0; k <= 16; ++k) {
      std::string address(1, static_cast<char>('A' + k));
      FieldText[static_cast<size_t>(k)] = Utf8ToCp1251(workbook.CellText(address + rowNumber));
    }
    if (FieldText[1].empty()) break;

    if (!CountRecord()) return StoreFull();
    record.clear();
    for (int k = 0; k <= 16; ++k) {
      record += "    ";
      record += FieldText[static_cast<size_t>(k)];
    }
    LogSource(record);

    // The fields as the column-letter row of window 1 places them (the planet stays A).
    for (int k = 1; k <= 16; ++k) {
      FieldText[static_cast<size_t>(k)] =
          Utf8ToCp1251(workbook.CellText(s_.ColumnLetters[static_cast<size_t>(k)] + rowNumber));
    }
    Conclude(ConvertTableRow(FieldText, s_.Table, calendar_), false);
  }
  return Finish();
}

RecordValues ImportRun::ConvertLine(const std::string& line) {
  switch (source_.Kind) {
    case SourceKind::kJpl: return ConvertJplLine(line, FieldText);
    case SourceKind::kDov:
      return ConvertDovLine(line, s_.LongVariant, s_.Table.LatitudeFromPole, calendar_, FieldText);
    case SourceKind::kMpc: return ConvertMpcLine(line, FieldText);
    case SourceKind::kTable: case SourceKind::kAdes: break;
  }
  return {};
}

// When the application folder holds the MPC's list of codes, a record whose station
// neither list places is refused with the reason: an unknown code, or a space or roving
// observer without coordinates.  A record without a code is the window's observatory's.
void ImportRun::CheckStation(RecordValues& v) {
  if (!v.Accepted || observatories_.Mpc.empty() || v.Station.empty()) return;
  const std::string code = v.Station.str();
  auto at = stationFault_.find(code);
  if (at == stationFault_.end()) {
    const ObservatoryFindEnd end = observatories_.Find(code).End;
    const char* reason = end == ObservatoryFindEnd::kUnknownCode ? "неизвестный код станции"
                         : end == ObservatoryFindEnd::kNoCoordinates
                             ? "у станции нет координат (космический или подвижный наблюдатель)"
                             : nullptr;
    at = stationFault_.emplace(code, reason).first;
  }
  if (at->second) {
    RecordValues refused;
    refused.Reason = at->second;
    refused.GregorianDated = v.GregorianDated;
    v = refused;
  }
}

// Text sources: FileJPL/<code>_<n>.txt (the lines of the window's object), the Dov file
// FileDov/<stem>.txt, and MPC files FileMPC/<code><object>_<n>.txt, every line an
// observation of the object of window 1 (the designation columns are not read; blank
// lines are passed over).
ImportResult ImportRun::RunLines(const std::filesystem::path& path) {
  TextInputFile in;
  if (!in.Open(path)) return Missing("Не найден файл  ", path);
  if (!OpenBadFile()) return BadFileFailed();
  std::string line;
  for (int k = 0; k < source_.HeadingLines && in.ReadLine(line); ++k) {
  }
  while (in.ReadLine(line)) {
    if (source_.Kind == SourceKind::kJpl && !IsJplObservationOf(line, store_.ObjectNumber)) continue;
    if (source_.Kind == SourceKind::kMpc && line.find_first_not_of(' ') == std::string::npos) continue;
    bool fits = CountRecord();
    LogSource(line);
    if (!fits) return StoreFull();
    RecordValues v = ConvertLine(line);
    if (source_.ChecksStations) CheckStation(v);
    Conclude(v, true);
  }
  return Finish();
}

// ADES files: FileADES/<code><object>_<n>.psv, else .xml, every optical observation one
// of the object of window 1 (ADES names no Sun, Moon or planet).  A file the reader
// refuses reads no record; the message says why, and the rejected records of the last
// finished import stay in place.
ImportResult ImportRun::RunAdes(const std::filesystem::path& path) {
  std::string text;
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Missing("Не найден файл  ", path);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return Missing("Не найден файл  ", path);
  }
  if (!OpenBadFile()) return BadFileFailed();
  bool full = false;
  const AdesRecordSink sink = [&](const AdesRecordTexts& record) {
    if (full) return;
    bool fits = CountRecord();
    LogSource(Utf8ToCp1251(record.Text));
    if (!fits) {
      full = true;
      return;
    }
    RecordValues v = ConvertAdesRecord(record, FieldText);
    CheckStation(v);
    Conclude(v, true);
  };
  const bool xml = path.extension() == ".xml";
  const AdesReadResult read = xml ? ReadAdesXml(text, sink) : ReadAdesPsv(text, sink);
  if (!read.Ok) {
    ImportResult r;
    r.End = ImportEnd::kSourceMissing;
    r.Started = true;
    r.Message = read.Message + kCrLf + PathText(path);
    return r;
  }
  if (full) return StoreFull();
  return Finish();
}

}  // namespace

ImportResult RunSourceImport(const ImportSettings& settings, ObservationStore& store, Workbook& workbook) {
  ImportRun run(settings, store);
  return run.Run(workbook);
}

}  // namespace planova
