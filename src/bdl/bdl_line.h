// BDL, the program's observation file format: five heading lines, then one line of 158
// columns per observation with the date (year, month name, day, hours, minutes, seconds),
// the longitude or right ascension (hours, minutes, seconds), the latitude or declination
// (signed degrees, minutes, seconds) and descriptive fields.  The line uses the point as
// its decimal mark.  Lines are Windows-1251 bytes; columns are 1-based byte columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "astro/time.h"
#include "common/columns.h"
#include "common/obs_store.h"

namespace planova {

constexpr int kBdlLineLength = 158;

// The layout, written once for the formatter, the parser, the loaders and the writers.
namespace bdl {
// A sexagesimal value as the line writes it: hours or degrees, minutes and whole seconds
// in two digits each, a point, and the fraction of the seconds in units of its last place.
struct SexagesimalColumns {
  FixedColumns First, Minutes, Seconds;
  int Point;
  FixedColumns Fraction;
};

constexpr FixedColumns kBody{1, 8};
constexpr FixedColumns kYear{11, 14};
constexpr FixedColumns kDay{16, 17};
constexpr FixedColumns kMonth{19, 21};
constexpr SexagesimalColumns kTime{{24, 25}, {27, 28}, {30, 31}, 32, {33, 36}};  // ten-thousandths of a second
constexpr FixedColumns kTimeScale{38, 40};        // right-aligned, ends at 40
constexpr SexagesimalColumns kLon{{44, 45}, {47, 48}, {50, 51}, 52, {53, 57}};   // hundred-thousandths of a second
constexpr int kLonConstant = 60;                  // "1.11111"
constexpr int kLatSign = 69;                      // "-" for a negative latitude
constexpr SexagesimalColumns kLat{{70, 71}, {73, 74}, {76, 77}, 78, {79, 82}};   // ten-thousandths of an arcsecond
constexpr int kLatConstant = 85;                  // "1.1111"
constexpr int kObservatory = 94;                  // left-aligned from 94
constexpr FixedColumns kStation{94, 98};          // what a loader reads of it
constexpr FixedColumns kNote{99, 158};            // the descriptive block kept as a note
constexpr int kInstrumentEnd = 117;
constexpr int kFocalLengthEnd = 123;
constexpr int kObservationTypeEnd = 130;
constexpr FixedColumns kEpoch{133, 137};          // right-aligned, ends at 137
constexpr int kLimbEnd = 141;
constexpr int kClamp = 144;
constexpr int kInitials = 147;
constexpr int kReferenceEnd = 158;
constexpr int kRowInNote = 151;                   // window 2's "+№ в примечаниях": " " + row
// An optional tail after column 158, written only for a record with an uncertainty: the
// uncertainties in right ascension times cos(dec) and in declination, arcseconds, each
// right-aligned with a decimal point (at most six significant digits, which the store's
// floats keep exactly).  Files of records without one keep lines of 158 columns.
constexpr FixedColumns kSigmaRa{160, 167};
constexpr FixedColumns kSigmaDec{169, 176};

// Lines the program shows in its panes, not written to files: the coordinates as above,
// the descriptive block replaced by figures of the program.
constexpr FixedColumns kShownJd{94, 107};         // a loader's line: JD "0000000,000000"
constexpr int kShownRow = 113;                    // a loader's line: row number
constexpr int kSavedRow = 110;                    // window 1's writer: record number
constexpr FixedColumns kMergedJd{97, 110};        // window 2's merge: JD of the merged row
constexpr int kMergedRow = 120;                   // its row in data set 3
constexpr int kMergedFrom1 = 127;                 // 1 when data set 1 gave it, else 0
constexpr int kMergedFrom2 = 129;                 // 1 when data set 2 gave it, else 0
}  // namespace bdl

// The BDL routines' working cells (the line being built or parsed and what it holds).
struct BdlState {
  std::string BdlLine;    // the output line, 158 bytes
  std::string InputLine;  // the line being parsed
  std::string BodyName;   // body name of the lines written (and of the last line read)
  std::string MonthText = "Jan";  // month cell as a name
  int32_t Month = 1;      // month cell as a number
  int32_t Year = 0;
  double Day = 0;         // day of month, whole (as read) or with its fraction (DayWithTime)
  double DayWithTime = 0; // day with the fraction of the time of day
  double Jd = 0;          // the JD of the line ParseBdlLine read last, in the line's time scale
  double Hours = 0, Minutes = 0, Seconds = 0, TenThousandths = 0;  // time fields as read
  // Split coordinates of SplitLonLat.
  double LonHours = 0, LonMinutes = 0, LonSeconds = 0;
  double LatDegrees = 0, LatMinutes = 0, LatSeconds = 0;
};

// Body name of an object number: 1 Mercury … 9 Pluto, 10 Kometa, 11 Moon, else Sun.
std::string BodyNameOf(int32_t objectNumber);

// Month name "Jan" … "Dec" of month 1..12 into MonthText; other values leave it.
void MonthAbbreviation(BdlState& b, int32_t month);
// Month 1..12 of MonthText ("Jan" … "Dec", exact case) into Month; other texts leave it.
void MonthNumber(BdlState& b);

// Longitude (degrees) as hours, minutes, seconds of time and latitude (degrees) as
// degrees, minutes, seconds, each truncated toward zero, nothing carried; seconds that
// rounding leaves just below 0 are 0; the sign of a negative latitude goes to its first
// part that is not zero.
void SplitLonLat(BdlState& b, double lonDeg, double latDeg);

// Writes date and coordinates into BdlLine at their columns: whole numbers zero-padded,
// seconds truncated to the last place written (1e-4 s of time, 1e-5 s of right
// ascension, 1e-4" of declination) after adding 1e-6 of a unit of that place (1e-5 for
// the right ascension, which its degrees hold no closer), so that a value read from a BDL
// line is written with its own digits again; 59.99999 s is still 59.9999.  Seconds that
// the addition takes to 60 carry into the minutes, and 60 minutes into the hours or
// degrees (a right ascension of 24 h is 0 h; a time is not carried to 24 h nor a
// declination to 90 degrees).
void WriteBdlFields(BdlState& b, int32_t year, const std::string& monthText, double day, double hours, double minutes,
                    double seconds, double lonH, double lonM, double lonS, double latD, double latM, double latS);

// BdlLine of row i of column 3 of the store: body name, date (in the calendar of `rule`),
// right ascension and declination; descriptive columns blank.  The time of a record whose
// JD is its source's time in whole 0.0001 s (ObsExactTime, JdHoldsTenThousandths) is
// that JD rounded to 0.0001 s, carried into the date at 24 h: the source's own digits.
// Any other JD is a computed date: its time is truncated to 0.0001 s, nothing carried.
// False for a date beyond the calendar routine's range.
bool FormatBdlLine(BdlState& b, CalendarRule rule, const ObservationStore& store, int32_t i);

// Reads body name, date and time of InputLine; b.Jd := the line's Julian date (days, in
// the calendar of `rule`).  False, with nothing shown, for a line whose
// date or time fields do not hold numbers without an exponent (a short line, letters,
// "1E5"), whose month is not one of "Jan" … "Dec", or whose hours reach 24 or minutes or
// seconds 60 (either sign).
bool ParseBdlLine(BdlState& b, CalendarRule rule);

// One observation line as the loaders of windows 2 and 3 read it: ParseBdlLine for the
// date, then right ascension from columns 44-57 and declination from columns 69-82
// (negative when column 69 or 70 holds "-"; exactly 90 deg is taken as no declination,
// 0).  The note is columns 99-158 (Windows-1251 bytes, blank-padded).  False for a line
// whose fields do not hold numbers without an exponent, whose right ascension or
// declination minutes or seconds have a sign, whose hours of right ascension reach 24
// or minutes or seconds 60, or whose declination passes 90 degrees.  The station is the
// observatory code of columns 94-98, trimmed (empty when they are blank).  A line longer
// than 158 columns may carry the uncertainty tail (bdl::kSigmaRa, bdl::kSigmaDec): read
// when both fields hold plain decimals of 0 or more, passed over otherwise, as columns
// beyond 158 always were.
struct BdlRecord {
  double Jd = 0;      // the date, JD in the line's time scale (TimeScale)
  double LonDeg = 0;  // right ascension, degrees
  double LatDeg = 0;  // declination, degrees
  std::string Note;
  StationCode Station;    // columns 94-98
  std::string TimeScale;  // columns 38-40
  std::string Epoch;      // columns 133-137
  double SigmaRa = 0, SigmaDec = 0;  // the tail's uncertainties (arcseconds), 0 without one
  // The date and time fields are whole numbers of their units (the day and the hours to
  // six places, the minutes to five, the seconds to four, the ten-thousandths whole), as
  // every line written by this program has them: Jd stands for a time in whole 0.0001 s.
  bool ExactTime = false;
};
bool ReadBdlRecord(BdlState& b, CalendarRule rule, const std::string& line, BdlRecord& out);

// Appends the uncertainty tail to a line of kBdlLineLength columns when either value is
// above 0 (arcseconds); a line without one stays as it is.
void PlaceSigmaTail(std::string& line, double sigmaRa, double sigmaDec);
// The tail's values of a line, both 0 when it has none.
void ReadSigmaTail(std::string_view line, double& sigmaRa, double& sigmaDec);

// The record as the program read it, in the BDL layout: the parsed date with its whole
// day, the coordinates, the time scale at column 38, the JD ("0000000,000000") at
// bdl::kShownJd and the row number at bdl::kShownRow.  Uses the cells ReadBdlRecord left
// in b.
std::string BdlDisplayLine(BdlState& b, const BdlRecord& r, int32_t row);

// A file's epoch field as a label: "  App" -> "App", "J2000" stays.
std::string EpochLabelOf(const std::string& epochField);
// A file's time-scale field as a label: " UT" -> "UT", "UTC" stays.
std::string TimeScaleLabelOf(const std::string& timeScaleField);

// A whole number padded with leading zeros to `width` digits ("00", "0000"); a wider
// number takes more digits.
std::string ZeroPadded(double whole, int width);

}  // namespace planova
