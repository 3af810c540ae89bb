// Import of observation sources into the observation store (window 1, "Загрузить
// исходные данные из").
//
// Five source kinds: a spreadsheet table (one observation per row, one field per
// column, the column letters chosen in window 1), fixed-column text files in the JPL,
// "Dov" and MPC 80-column layouts, and ADES files (import/ades_reader.h), each described
// by a row of one table (SourceDescription).  Every record becomes a
// Julian date and two angles in degrees in row i of column 1 of the store; accepted
// records are packed into column 3; rejected ones are logged and, with "+FileBad",
// written to \Dat\Bad_data_<stem>.txt.
//
// The record converters are free functions over one record's texts, so that each can
// be tried on its own (tests, fuzzing) without files or windows.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "astro/time.h"
#include "common/columns.h"
#include "common/obs_store.h"

namespace planova {

class Workbook;

// ---------------------------------------------------------------------------------
// Fixed-column layouts
// ---------------------------------------------------------------------------------

// JPL observation lines.  Five heading lines precede them.
enum JplField {
  kJplMark,           // "P" for an observation line
  kJplBody,           // body number; column 2 alone unless it is "0" ("011")
  kJplJd,             // Julian date x 100000
  kJplRaHours,
  kJplRaMinutes,
  kJplRaSeconds,      // whole seconds of time
  kJplRaThousandths,  // thousandths of a second of time
  kJplDecSign,        // "-" for a southern declination
  kJplDecDegrees,
  kJplDecMinutes,
  kJplDecSeconds,     // whole seconds of arc
  kJplDecHundredths,  // hundredths of a second of arc
  kJplFieldCount
};
inline constexpr FixedColumns kJplLayout[kJplFieldCount] = {  // in the order of JplField
    {1, 1},   {2, 4},   {5, 16},  {34, 35}, {36, 37}, {38, 39},
    {40, 42}, {51, 51}, {52, 53}, {54, 55}, {56, 57}, {58, 59},
};
constexpr int kJplHeadingLines = 5;

// Dov lines: a normal variant and the "+long" variant (wider time and declination
// fields); the date is in the same columns in both.  Two heading lines precede them.
enum DovField {
  kDovYear,
  kDovMonth,
  kDovDay,
  kDovHours,         // hours of time (UT)
  kDovMinutes,
  kDovSeconds,       // seconds of time, decimal point or comma
  kDovRaHours,
  kDovRaMinutes,
  kDovRaSeconds,
  kDovDecDegrees,    // with its sign ("+05", "-12")
  kDovDecMinutes,
  kDovDecSeconds,
  kDovFieldCount
};
inline constexpr FixedColumns kDovNormalLayout[kDovFieldCount] = {  // in the order of DovField
    {7, 10},  {12, 13}, {15, 16}, {20, 21}, {23, 24}, {26, 29},
    {34, 35}, {38, 39}, {42, 46}, {51, 53}, {56, 57}, {60, 64},
};
inline constexpr FixedColumns kDovLongLayout[kDovFieldCount] = {
    {7, 10},  {12, 13}, {15, 16}, {20, 24}, {26, 28}, {30, 32},
    {37, 38}, {41, 42}, {45, 49}, {54, 56}, {59, 62}, {65, 69},
};
constexpr int kDovHeadingLines = 2;

// The Minor Planet Center's 80-column optical observation lines (MPC's "Format for
// optical astrometric observations"): the date of UTC as year, month and decimal day,
// right ascension and declination of J2000, the magnitude and band, the observatory
// code.  No heading lines.
enum MpcField {
  kMpcNote1,        // column 14: the observer's note
  kMpcNote2,        // column 15: the kind of observation ("C" CCD, "P" photographic, ...)
  kMpcYear,
  kMpcMonth,
  kMpcDay,          // day with its decimal fraction of UTC
  kMpcRaHours,
  kMpcRaMinutes,
  kMpcRaSeconds,
  kMpcDecSign,
  kMpcDecDegrees,
  kMpcDecMinutes,
  kMpcDecSeconds,
  kMpcMagnitude,
  kMpcBand,
  kMpcObservatory,  // columns 78-80
  kMpcFieldCount
};
inline constexpr FixedColumns kMpcLayout[kMpcFieldCount] = {  // in the order of MpcField
    {14, 14}, {15, 15}, {16, 19}, {21, 22}, {24, 32}, {33, 34}, {36, 37}, {39, 44},
    {45, 45}, {46, 47}, {49, 50}, {52, 56}, {66, 70}, {71, 71}, {78, 80},
};

// ---------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------

// The texts cut from the current record.  Table rows: 0 the planet cell, 1..16 the
// fields of the column-letter row.  Text lines: 4 the date (JPL: the JD text), 5..12
// the coordinate texts.  Texts are Windows-1251 bytes.
using FieldTexts = std::array<std::string, 21>;

// What one record converts to.  The values are converted in the order date, longitude,
// latitude, and each one that converted is stored even when a later one fails (the
// store keeps a record "as far as it was converted").
struct RecordValues {
  bool Accepted = false;  // every field converted and the day passed its test
  bool HasJd = false, HasLon = false, HasLat = false;
  double Jd = 0;      // the date, JD in the catalogue's time scale
  // The source gives the time in whole 0.0001 s (a Dov, JPL or table time whose fields
  // have no more places than kExactDayPlaces and the others of astro/time.h allow, an MPC
  // day to six places, an ADES obsTime to four places of the second): Jd stands for it,
  // and the BDL writers give it back with its digits (ObservationStore::ObsExactTime).
  bool ExactTime = false;
  double LonDeg = 0;  // longitude or right ascension, degrees
  double LatDeg = 0;  // latitude or declination, degrees
  // Why a record was set aside, when it is no observation of the kind read or holds an
  // impossible date or place (written after it in the rejected records), or null.
  const char* Reason = nullptr;
  // The date was taken in the Gregorian calendar whatever the import's setting (an MPC
  // line that got as far as its date): the calendar the import leaves is then Gregorian.
  bool GregorianDated = false;
  // The station the line names (an MPC line's observatory code), or empty: the records of
  // a source without one are the import's observatory's.
  StationCode Station;
  // The uncertainties the record gives (an ADES record's rmsRA and rmsDec), arcseconds in
  // right ascension times cos(dec) and in declination; 0 when it gives none.
  double SigmaRa = 0, SigmaDec = 0;
};

// Choices of window 1 that act on the table.
enum class DateForm { kYmdhms, kYmday, kJd };                // "Дата наблюдений в формате"
enum class LongitudeForm { kHms, kDms, kDegrees };           // "Долгота L "
enum class Parameter { kRa, kDec, kGeo };                    // "по параметру"

struct TableOptions {
  DateForm Date = DateForm::kYmdhms;
  LongitudeForm Longitude = LongitudeForm::kHms;
  bool LatitudeDegrees = false;   // "Широта B": "D" (else "DMS")
  Parameter Param = Parameter::kGeo;
  bool PointSeparator = false;    // "разделитель в таблицах": "точка" (else "запятая")
  bool LatitudeFromPole = false;  // "Широта задана от": "полюса" (else "экватора")
};

// Converts the fields 1..16 of one table row into a Julian date (days) and a longitude
// and latitude (degrees).  Date: year, month, day with hours, minutes, seconds of UT
// ("YMDHMS"), or the day with its fraction ("YMDay"), both through
// JulianDateFromCalendar in the calendar of `rule`, or the Julian date itself.
// Longitude (unless "Dec"): hours or degrees, minutes, seconds, or decimal degrees, a
// negative value taken once round the circle.  Latitude (unless "RA"): signed degrees,
// minutes, seconds ("-0" 30 0 is south), or decimal degrees, optionally as a polar
// distance (90 - value).  A cell of just "-" counts as 0 in the sexagesimal forms and
// leaves the coordinate unread in the decimal ones.  A day over 32.5, a year or month
// beyond the 16-bit calendar cells, and a text that does not convert reject the row.
RecordValues ConvertTableRow(const FieldTexts& field, const TableOptions& options, CalendarRule rule);

// True when a JPL line is an observation ("P" in column 1) of the given body: the
// number in columns 2-4 when column 2 is "0" ("011" is 11), else column 2 alone, with
// 10 counting as 0.  A body number that does not convert belongs to no body.
bool IsJplObservationOf(std::string_view line, int32_t objectNumber);

// Converts a JPL observation line: JD = columns 5-16 / 100000; right ascension from
// hours, minutes, seconds and thousandths of time (degrees); declination from degrees,
// minutes, seconds and hundredths of arc, negative with "-" in column 51 or before the
// degrees ("-0").  Coordinate parts of blanks count as 0, but a line that holds no right
// ascension or no declination at all (every part blank or beyond its end) is rejected.
// Fields are numbers without an exponent; hours of right ascension 0..23, a right
// ascension below 24 h and a declination within 90 degrees, or the line is rejected.
// Fills field[4] (JD text) and field[5..12] (the eight coordinate parts).
RecordValues ConvertJplLine(std::string_view line, FieldTexts& field);

// Converts a Dov line (normal or "+long" variant): date and UT time to a Julian date in
// the calendar of `rule`, right ascension (degrees), declination (degrees) south
// when its degrees' text has a minus ("-00 30" too) or, under zero degrees, its first
// non-zero part is negative, or its polar distance.  Fields are numbers without an
// exponent.  A month outside 1..12, hours of time or of right ascension outside 0..23, a
// right ascension of 24 h or more, a declination beyond 90 degrees, and a day over 32.5
// with the time added reject the line; minutes and seconds of 60 and more (the
// catalogue converter's carried fields) add as they stand.  Fills field[4..12] with the
// cut texts.
RecordValues ConvertDovLine(std::string_view line, bool longVariant, bool latitudeFromPole, CalendarRule rule,
                            FieldTexts& field);

// Converts an MPC 80-column optical observation line: the date (UTC) with its decimal
// day to a Julian date in the Gregorian calendar, right ascension (degrees), declination
// (degrees, south with "-" in column 45).  Lines of other kinds are rejected with their
// reason (Reason): the first and second lines of observations from a satellite ("S",
// "s" in column 15), of a roving observer ("V", "v"), radar lines ("R", "r") and lines
// too short to hold a place.  Fields are numbers without an exponent; hours of right
// ascension outside 0..23, a right ascension of 24 h or more and a declination beyond 90
// degrees reject the line.  A month outside 1..12, a day the month does not have
// (February 30, the 31.8th of April, the 32.7th of any month) and minutes or seconds of
// right ascension or declination outside 0..60 (never carried into the next minute or
// hour) reject it with their reason, and nothing of it is stored.  Fills field[4..12]
// with the cut texts.  Station: the observatory code of columns 78-80.
RecordValues ConvertMpcLine(std::string_view line, FieldTexts& field);

// ---------------------------------------------------------------------------------
// The import
// ---------------------------------------------------------------------------------

enum class SourceKind { kTable, kJpl, kDov, kMpc, kAdes };

enum class SourceReading { kTableRows, kLines, kAdes };

// What the import knows of a source kind.  The file is
// <folder>/<name><extension> below the application folder, with the name built by the
// pattern ("{code}" the observatory code, "{object}" the object number, "{n}" the file
// number, "{stem}" SourceStem) and the first extension that names a file (the first when
// none does).  How the records are cut: the table's rows, lines after the heading lines
// through a line converter, or a whole ADES file.  The labels are what window 1's "эпоха"
// and "время" take after the import (null: the source does not say, the boxes keep what
// the user typed).
struct SourceDescription {
  SourceKind Kind;
  const char* PathPattern;  // "FileMPC/{code}{object}_{n}"
  std::array<const char*, 3> Extensions;  // tried in order; null ends the list
  SourceReading Reading;
  int HeadingLines;         // lines skipped before the records (kLines)
  const char* EpochLabel;
  const char* TimeScaleLabel;
  // Records that name a station are checked against the observatory lists (when the
  // application folder holds the MPC's list).
  bool ChecksStations;
};

// The description of a source kind.
const SourceDescription& DescribeSource(SourceKind kind);

// The controls of window 1 that the import reads (texts UTF-8).
struct ImportSettings {
  std::filesystem::path AppFolder;
  std::string ObservatoryCode;   // "Имя обсерватории"
  std::string ObjectNumberText;  // "объект наблюдения №"
  std::string FileNumber;        // "№", used as typed
  SourceKind Source = SourceKind::kDov;
  TableOptions Table;            // the table options; LatitudeFromPole acts on Dov too
  bool JulianCalendar = false;   // "календарь": "Юлиан"
  bool LongVariant = false;      // "+long"
  bool FileBad = false;          // "+FileBad"
  bool Topo = false;             // "+Topo"
  bool Hor = false;              // "+Hor"
  std::array<std::string, 17> ColumnLetters;  // Text1(0..16); 0 is not used (always A)
};

// Name part of a source: observatory code + object number + kind mark + file number,
// with the kind mark "_R_" (RA), "_D_" (Dec), "_G_" (Geo), under Geo "_T_" with
// "+Topo" and "_H_" with "+Hor" ("PARI11_G_1").
std::string SourceStem(const std::string& observatoryCode, int32_t objectNumber, Parameter param, bool topo, bool hor,
                       const std::string& fileNumber);

// How an import ended.
enum class ImportEnd {
  kFinished,       // the data ended; counts, logs and label are to be shown
  kBadSettings,    // nothing was read: "задайте правильно данные"
  kSourceMissing,  // the table or file could not be opened
  kStoreFull,      // a record would exceed N - 1: "увеличьте массив данных"
  kWriteFailed,    // the rejected-records file could not be made: nothing was read
};

struct ImportResult {
  ImportEnd End = ImportEnd::kFinished;
  // True once the count boxes are to show "0" and the panes to be emptied (every end
  // except an object number that does not convert).
  bool Started = false;
  // The message to show at the end (UTF-8), or empty.
  std::string Message;
  // Finished only: the three logs (UTF-8) and the caption of the label "в файл".
  std::string SourceLog, AcceptedLog, RejectedLog;
  std::string FileLabel;
  // The calendar the import worked in last (the setting's, Gregorian once an MPC line was
  // dated), which the program's calendar setting takes on; none when the settings were
  // refused before it was set.
  std::optional<CalendarRule> Calendar;
  // Finished only: the epoch and time scale the source's places and dates are referred to
  // (SourceDescription's labels, UTF-8), empty when it does not say.
  std::string EpochLabel, TimeScaleLabel;
  // The source file read (or looked for).
  std::filesystem::path SourcePath;
};

// Runs one import with the settings of window 1: fills columns 1 and 3 of the store (each
// record with its line's station, or none) and its counters, ObjectNumber and
// ObservatoryCode, and says the calendar it left.  `workbook` is used for the table
// source.  Shows no message itself.
ImportResult RunSourceImport(const ImportSettings& settings, ObservationStore& store, Workbook& workbook);

}  // namespace planova
