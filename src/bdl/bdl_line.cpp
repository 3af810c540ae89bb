#include "bdl/bdl_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <cstdio>

#include "astro/time.h"
#include "common/numtext.h"
#include "common/obs_store.h"

namespace planova {

namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A field of the line read as a number (blanks around it allowed, no exponent).
bool FieldNumber(std::string_view line, FixedColumns c, double& v) {
  if (static_cast<int>(line.size()) < c.last) return false;
  return TryParseFieldReal(CutColumns(line, c), v);
}

// What a line can hold: hours of time and of right ascension below 24, minutes and
// seconds below 60, a declination within 90 degrees.  Only the parts of the time may
// be negative (window 2 lists such records as rejected); the right ascension and the
// declination's minutes and seconds have no sign, the declination's stands before its
// degrees.
constexpr double kHoursPerDay = 24;
constexpr double kSixty = 60;
constexpr double kPole = 90;
bool Below(double v, double limit) { return std::fabs(v) < limit; }
bool Part(double v, double limit) { return v >= 0 && v < limit; }

// A value read from a line lies next to its text, as often below it as above (30.2 s is
// 30.199999999999999289): before truncating to the last place written, 1e-6 of a unit of
// that place is added, so that such a value is written with its own digits again while
// any other keeps its truncation (59.99999 s is still written 59.9999).
constexpr double kTruncationSlack = 1e-6;
// A right ascension is held in degrees up to 360, whose last bit (5.7e-14 degrees,
// 1.4e-11 s of time) is more than 1e-6 of the 1e-5 s the line writes: its slack is 1e-5
// of that place (1e-10 s).
constexpr double kRightAscensionSlack = 1e-5;

// Sexagesimal parts as a line writes them: the first part (hours or degrees), minutes,
// whole seconds and the fraction of the seconds in units of the last place.
struct WrittenParts {
  double First = 0, Minutes = 0, Seconds = 0, Fraction = 0;
};

// How a carry into the first part ends at its limit: a right ascension of 24 h starts
// again from 0 h; a time of 24 h would need the next date, and a declination of 90
// degrees reads as none, so their seconds are not carried but keep their truncation.
enum class AtLimit { kWrap, kKeepTruncation };

// The parts of first, minutes, seconds with the seconds truncated to `unitsPerSecond`
// after the slack.  When the slack takes the seconds to 60 (a value just below a whole
// minute, such as 1h 01m 00s held as 1h 00m 59.99999999999s), a minute is carried, and
// 60 minutes carry into the first part up to `limit`.  Parts with a sign are truncated,
// never carried.
WrittenParts Truncated(double first, double minutes, double seconds, double unitsPerSecond, double slack, double limit,
                       AtLimit atLimit) {
  const double units = std::trunc(std::fabs(seconds) * unitsPerSecond + slack);
  const double sign = seconds < 0 ? -1 : 1;
  const double whole = std::trunc(units / unitsPerSecond);
  WrittenParts w{first, minutes, sign * whole, sign * (units - whole * unitsPerSecond)};
  if (whole < kSixty) return w;
  WrittenParts carried{first, minutes + 1, 0, 0};
  if (carried.Minutes >= kSixty) {
    carried.Minutes = 0;
    carried.First += 1;
  }
  if (carried.First >= limit && atLimit == AtLimit::kWrap) carried.First = 0;
  if (first >= 0 && minutes >= 0 && seconds >= 0 && carried.First < limit) return carried;
  // No carry: the seconds as plain truncation writes them, 59 and every last place 9.
  w.Seconds = sign * (kSixty - 1);
  w.Fraction = sign * (unitsPerSecond - 1);
  return w;
}

// Writes the parts of a sexagesimal value into their columns, zero-padded: two digits
// each for the first part, the minutes and the seconds, the fraction to its field's width.
void PlaceSexagesimal(std::string& line, const bdl::SexagesimalColumns& c, const WrittenParts& w) {
  PlaceAt(line, c.First.first, ZeroPadded(w.First, 2));
  PlaceAt(line, c.Minutes.first, ZeroPadded(w.Minutes, 2));
  PlaceAt(line, c.Seconds.first, ZeroPadded(w.Seconds, 2));
  PlaceAt(line, c.Point, ".");
  PlaceAt(line, c.Fraction.first, ZeroPadded(w.Fraction, c.Fraction.width()));
}

}  // namespace

std::string BodyNameOf(int32_t objectNumber) {
  switch (objectNumber) {
    case 1: return "Mercury";
    case 2: return "Venus";
    case 4: return "Mars";
    case 5: return "Jupiter";
    case 6: return "Saturn";
    case 7: return "Uranus";
    case 8: return "Neptune";
    case 9: return "Pluto";
    case 10: return "Kometa";
    case 11: return "Moon";
    default: return "Sun";
  }
}

void MonthAbbreviation(BdlState& b, int32_t month) {
  if (month >= 1 && month <= 12) b.MonthText = kMonths[month - 1];
}

namespace {

// The month 1..12 of a name "Jan" … "Dec" (exact case); 0 for any other text.
int32_t MonthOfName(std::string_view name) {
  // The names differ: the first that matches is the only one.
  if (name.size() != 3) return 0;
  for (int32_t k = 0; k < 12; ++k) {
    if (std::memcmp(name.data(), kMonths[k], 3) == 0) return k + 1;
  }
  return 0;
}

}  // namespace

void MonthNumber(BdlState& b) {
  if (const int32_t month = MonthOfName(b.MonthText); month != 0) b.Month = month;
}

std::string ZeroPadded(double whole, int width) {
  char buf[48];
  if (!(std::fabs(whole) < 1e18)) return std::string(static_cast<size_t>(width), '#');
  long long v = static_cast<long long>(whole);
  if (v < 0) {
    std::snprintf(buf, sizeof buf, "-%0*lld", width, -v);
  } else {
    std::snprintf(buf, sizeof buf, "%0*lld", width, v);
  }
  return buf;
}

void SplitLonLat(BdlState& b, double lonDeg, double latDeg) {
  double t = lonDeg * 24 / 360;
  b.LonHours = Fix(t);
  b.LonMinutes = Fix((t - b.LonHours) * 60);
  b.LonSeconds = (t - b.LonHours - b.LonMinutes / 60) * 3600;
  double a = std::fabs(latDeg);
  b.LatDegrees = Fix(a);
  b.LatMinutes = Fix((a - b.LatDegrees) * 60);
  b.LatSeconds = (a - b.LatDegrees - b.LatMinutes / 60) * 3600;
  // The seconds of a whole minute can come out just below zero (1 23' 00" leaves
  // -2e-13"): they are 0, or the writer would put a minus before a northern declination.
  if (t >= 0 && b.LonSeconds < 0) b.LonSeconds = 0;
  if (b.LatSeconds < 0) b.LatSeconds = 0;
  if (latDeg < 0) {
    if (a >= 1) {
      b.LatDegrees = -b.LatDegrees;
    } else if (a >= 1.0 / 60) {
      b.LatMinutes = -b.LatMinutes;
    } else {
      b.LatSeconds = -b.LatSeconds;
    }
  }
}

void WriteBdlFields(BdlState& b, int32_t year, const std::string& monthText, double day, double hours, double minutes,
                    double seconds, double lonH, double lonM, double lonS, double latD, double latM, double latS) {
  using namespace bdl;
  std::string& l = b.BdlLine;
  PlaceAt(l, kBody.first, b.BodyName);
  PlaceAt(l, kYear.first, std::to_string(year));
  PlaceAt(l, kDay.first, ZeroPadded(day, 2));
  PlaceAt(l, kMonth.first, monthText);
  PlaceSexagesimal(l, kTime, Truncated(hours, minutes, seconds, 1e4, kTruncationSlack, kHoursPerDay,
                                       AtLimit::kKeepTruncation));
  PlaceSexagesimal(l, kLon, Truncated(lonH, lonM, lonS, 1e5, kRightAscensionSlack, kHoursPerDay, AtLimit::kWrap));
  PlaceAt(l, kLonConstant, "1.11111");
  // The sign of the declination is that of its first part that is not zero: it stands in
  // column 69, and the parts are written without it.
  if (!(latD >= 0 && latM >= 0 && latS >= 0)) PlaceAt(l, kLatSign, "-");
  // Not carried to the pole: a line of exactly 90 degrees is read as no declination.
  PlaceSexagesimal(l, kLat, Truncated(std::fabs(latD), std::fabs(latM), std::fabs(latS), 1e4, kTruncationSlack, kPole,
                                      AtLimit::kKeepTruncation));
  PlaceAt(l, kLatConstant, "1.1111");
}

bool FormatBdlLine(BdlState& b, CalendarRule rule, const ObservationStore& store, int32_t i) {
  b.BdlLine.assign(kBdlLineLength, ' ');
  PlaceAt(b.BdlLine, bdl::kBody.first, b.BodyName);
  const double jd = store.ObsJd(i, kSet3);
  CalendarDate date;
  double day = 0, h = 0, m = 0, s = 0;
  if (store.ObsExactTime(i, kSet3) != 0 && JdHoldsTenThousandths(jd)) {
    // A source's time: the JD lies within 40 us of it, and rounding gives it back.
    int32_t t = 0;
    if (!CalendarFromJulianDateRounded(rule, jd, date, t)) return false;
    constexpr int32_t kPerHour = kTenThousandthsPerDay / 24, kPerMinute = kPerHour / 60;
    day = date.Day;
    h = t / kPerHour;
    m = t / kPerMinute % 60;
    s = t % kPerMinute / 1e4;
  } else {
    if (!CalendarFromJulianDate(rule, jd, date)) return false;
    double x = date.Day;
    day = Fix(x);
    h = Fix((x - day) * 24);
    m = Fix(((x - day) * 24 - h) * 60);
    s = (((x - day) * 24 - h) * 60 - m) * 60;
  }
  int32_t year = date.Year;
  MonthAbbreviation(b, date.Month);
  SplitLonLat(b, store.ObsLon(i, kSet3), store.ObsLat(i, kSet3));
  WriteBdlFields(b, year, b.MonthText, day, h, m, s, b.LonHours, b.LonMinutes, b.LonSeconds, b.LatDegrees, b.LatMinutes,
                 b.LatSeconds);
  return true;
}

bool ParseBdlLine(BdlState& b, CalendarRule rule) {
  using namespace bdl;
  const std::string& line = b.InputLine;
  double year = 0;
  // A calendar year is a 16-bit number ("9E99" reads as a real but is no year).
  if (!FieldNumber(line, kYear, year) || year != Fix(year) || std::fabs(year) > 32767 ||
      !FieldNumber(line, kDay, b.Day)) {
    return false;
  }
  b.BodyName = CutColumns(line, kBody);
  b.Year = static_cast<int32_t>(year);
  b.MonthText = CutColumns(line, kMonth);
  // MonthNumber keeps the previous month for a text it does not know; a line of the file
  // with such a month would silently take the month of the line before it.
  const int32_t month = MonthOfName(b.MonthText);
  if (month == 0) return false;
  b.Month = month;
  if (!FieldNumber(line, kTime.First, b.Hours) || !FieldNumber(line, kTime.Minutes, b.Minutes) ||
      !FieldNumber(line, kTime.Seconds, b.Seconds) || !FieldNumber(line, kTime.Fraction, b.TenThousandths) ||
      !Below(b.Hours, kHoursPerDay) || !Below(b.Minutes, kSixty) || !Below(b.Seconds, kSixty)) {
    return false;
  }
  double hours = b.Minutes / 60 + b.Hours + b.Seconds / 3600 + b.TenThousandths / 3600 / 10000;
  b.DayWithTime = hours / 24 + b.Day;
  bool failed = false;
  double jd = JulianDateFromCalendar(rule, b.DayWithTime, b.Month, b.Year, &failed);
  if (failed) return false;
  b.Jd = jd;
  return true;
}

}  // namespace planova

namespace planova {

namespace {

bool WholeField(std::string_view text, double& v) {
  int32_t n = 0;
  if (!TryParseFieldInt32(text, n)) return false;
  v = n;
  return true;
}

// The seconds of a sexagesimal value with their fraction, read across the point: the two
// fields joined by a point, the last point of the joined text read as the decimal comma.
// `padded` holds the whole record's columns.
bool SecondsField(std::string_view padded, const bdl::SexagesimalColumns& c, double& v) {
  const std::string_view seconds = CutColumns(padded, c.Seconds), fraction = CutColumns(padded, c.Fraction);
  char joined[32];
  const size_t n = seconds.size() + 1 + fraction.size();
  static_assert(sizeof joined >= 20, "the BDL's seconds and fraction fields fit");
  if (n > sizeof joined) return false;
  std::copy(seconds.begin(), seconds.end(), joined);
  joined[seconds.size()] = '.';
  std::copy(fraction.begin(), fraction.end(), joined + seconds.size() + 1);
  const std::string_view text(joined, n);
  const size_t point = text.rfind('.');
  if (point != 0) joined[point] = ',';
  return TryParseFieldReal(text, v);
}

}  // namespace

bool ReadBdlRecord(BdlState& b, CalendarRule rule, const std::string& line, BdlRecord& out) {
  using namespace bdl;
  b.InputLine = line;
  // The record's columns, blanks where a short line ends; a whole line is read in place.
  std::string shortLine;
  std::string_view padded = line;
  if (line.size() < static_cast<size_t>(kBdlLineLength)) {
    shortLine = line;
    shortLine.resize(kBdlLineLength, ' ');
    padded = shortLine;
  }
  double lonH, lonM, lonS, latD, latM, latS;
  bool ok = ParseBdlLine(b, rule) && WholeField(CutColumns(padded, kLon.First), lonH) &&
            WholeField(CutColumns(padded, kLon.Minutes), lonM) && SecondsField(padded, kLon, lonS) &&
            WholeField(CutColumns(padded, {kLatSign, kLat.First.last}), latD) &&
            WholeField(CutColumns(padded, kLat.Minutes), latM) && SecondsField(padded, kLat, latS) &&
            Part(lonH, kHoursPerDay) && Part(lonM, kSixty) && Part(lonS, kSixty) && Part(latM, kSixty) &&
            Part(latS, kSixty);
  if (!ok) return false;
  out.Jd = b.Jd;
  out.LonDeg = (lonM / 60 + lonH + lonS / 3600) * 15;
  double lat = std::fabs(latD) + latM / 60 + latS / 3600;
  if (!(lat <= kPole)) return false;
  if (padded[kLatSign - 1] == '-' || padded[kLatSign] == '-') lat = -lat;
  if (lat == 90) lat = 0;
  out.LatDeg = lat;
  out.Note = CutColumns(padded, kNote);
  out.Station = StationCode(CutColumns(padded, kStation));
  out.TimeScale = CutColumns(padded, kTimeScale);
  out.Epoch = CutColumns(padded, kEpoch);
  out.SigmaRa = out.SigmaDec = 0;
  if (line.size() > static_cast<size_t>(kBdlLineLength)) ReadSigmaTail(line, out.SigmaRa, out.SigmaDec);
  out.ExactTime = SignificantPlaces(CutColumns(padded, kDay)) <= kExactDayPlaces &&
                  SignificantPlaces(CutColumns(padded, kTime.First)) <= kExactHourPlaces &&
                  SignificantPlaces(CutColumns(padded, kTime.Minutes)) <= kExactMinutePlaces &&
                  SignificantPlaces(CutColumns(padded, kTime.Seconds)) <= kExactSecondPlaces &&
                  SignificantPlaces(CutColumns(padded, kTime.Fraction)) == 0;
  return true;
}

namespace {

// An uncertainty in at most eight columns: six significant digits (six decimals below 1"),
// fewer decimals as the value grows, none from 100000" on.
std::string SigmaText(double sigma) {
  int decimals = 6;
  for (double limit = 1; decimals > 0 && sigma >= limit - 0.5e-6 * limit; limit *= 10) --decimals;
  char text[32];
  std::snprintf(text, sizeof text, "%8.*f", decimals, sigma);
  return text;
}

// A plain decimal of 0 or more (digits with at most one point), blanks around it.
bool TailNumber(std::string_view text, double& value) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
  bool point = false, digit = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digit = true;
    } else {
      return false;
    }
  }
  if (!digit) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) value = std::strtod(std::string(text).c_str(), nullptr);
  return std::isfinite(value);
}

}  // namespace

void PlaceSigmaTail(std::string& line, double sigmaRa, double sigmaDec) {
  if (!(sigmaRa > 0) && !(sigmaDec > 0)) return;
  using namespace bdl;
  line.resize(static_cast<size_t>(kSigmaDec.last), ' ');
  PlaceAt(line, kSigmaRa.first, SigmaText(std::max(sigmaRa, 0.0)));
  PlaceAt(line, kSigmaDec.first, SigmaText(std::max(sigmaDec, 0.0)));
}

void ReadSigmaTail(std::string_view line, double& sigmaRa, double& sigmaDec) {
  sigmaRa = sigmaDec = 0;
  double ra = 0, dec = 0;
  if (TailNumber(CutColumns(line, bdl::kSigmaRa), ra) && TailNumber(CutColumns(line, bdl::kSigmaDec), dec)) {
    sigmaRa = ra;
    sigmaDec = dec;
  }
}

std::string BdlDisplayLine(BdlState& b, const BdlRecord& r, int32_t row) {
  b.BdlLine.assign(kBdlLineLength, ' ');
  SplitLonLat(b, r.LonDeg, r.LatDeg);
  double seconds = 0;
  TryParseReal(CutPadded(b.InputLine, bdl::kTime.Seconds) + "," + Format(b.TenThousandths, "0000"), seconds);
  // The whole day as the file has it (the day cell also carries the time of day).
  WriteBdlFields(b, b.Year, b.MonthText, b.Day, std::nearbyint(b.Hours), std::nearbyint(b.Minutes), seconds, b.LonHours,
                 b.LonMinutes, b.LonSeconds, b.LatDegrees, b.LatMinutes, b.LatSeconds);
  PlaceAt(b.BdlLine, bdl::kTimeScale.first, r.TimeScale);
  PlaceAt(b.BdlLine, bdl::kShownJd.first, Format(r.Jd, "0000000.000000"));
  PlaceAt(b.BdlLine, bdl::kShownRow, std::to_string(row));
  return b.BdlLine;
}

std::string EpochLabelOf(const std::string& epochField) {
  if (!epochField.empty() && epochField[0] == ' ') return epochField.size() > 2 ? epochField.substr(2, 3) : std::string();
  return epochField;
}

std::string TimeScaleLabelOf(const std::string& timeScaleField) {
  if (!timeScaleField.empty() && timeScaleField[0] == ' ') return timeScaleField.substr(1, 2);
  return timeScaleField;
}

}  // namespace planova
