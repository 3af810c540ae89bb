// A comparison run: observations compared record by record with theory or with a second
// set, shared by window 2's comparison and window 3's correction run.  The run owns its
// rows and step state (a run can pause after a record, for a step or a stop, and go on),
// the interval statistics of the absolute O-C, and the Param_data_ file, which stays open
// for the whole run.  The windows drive it and move its results into their boxes, panes
// and plots; nothing here shows a message.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "astro/time.h"
#include "common/textfile.h"
#include "compare/csv_number.h"

namespace planova {

// The classification of absolute differences: whole arcseconds of longitude (intervals
// 1..19, the last open), quarter arcseconds of latitude (21..39), and a distance group
// (41..59) that is not filled; with the sums of the differences under 18" (longitude)
// and 4.5" (latitude) that give the mean absolute values.
struct OcStatistics {
  std::array<double, 60> IntervalEdgesDeg{};  // the upper edge of each interval, degrees
  std::array<double, 60> IntervalCounts{};
  int32_t ComparedCount = 0, AcceptedL = 0, AcceptedB = 0;
  double SumAbsDLDeg = 0, SumAbsDBDeg = 0;  // the sums of the accepted absolute differences, degrees

  void Reset();
  // One compared record: its differences in degrees; a longitude or latitude that the
  // record does not hold is not classified.
  void Add(bool hasLon, bool hasLat, double diffLDeg, double diffBDeg);
  // The Stat file's text (Windows-1251 is made by the writer): the intervals, the count
  // and the mean absolute differences.  A sum of no record is divided by one.  A named
  // `ephemeris` ("de405.bsp") stands in the heading's blank third line as "эфемериды
  // de405.bsp"; none (empty) leaves it blank.
  std::string StatText(const std::string& code, int32_t object, const std::string& ephemeris = {});
  // The interval (1..19 for longitude, 21..39 for latitude) that holds an absolute
  // difference (degrees), as Add counts it; 0 for none (an edge, or beyond the last).
  int32_t IntervalOf(double absDiffDeg, bool latitude) const;
};

// Why a run paused: all its rows are done, a stop was asked for, one step is done, or a
// record could not be computed (the ephemeris failed).
enum class RunPause { kFinished, kStopped, kStep, kFailed };

class ComparisonRun {
 public:
  int32_t CurrentRow = 0;  // next row to compare
  int32_t First = 0, Last = 0;
  bool Active = false;
  OcStatistics Stats;

  void Begin(int32_t first, int32_t last) {
    First = first;
    Last = last;
    CurrentRow = first;
    Active = true;
  }

  // Compares rows from CurrentRow on: `compareRow(row)` handles one row (false: the run
  // pauses failed at that row, which stays the current one; Active is unchanged).  After
  // each row the run ends when it passed Last, pauses when `stop` is set or in step
  // mode, and otherwise lets the window process pending events (`idle`).  The
  // Param_data_ file is flushed at a pause.
  // `show` forms the window's boxes of the last row: a few times a second while the run
  // goes on (every 64 rows the clock is looked at) and once when it pauses, not at every
  // record.
  RunPause Drive(bool stepMode, const volatile int16_t& stop, const std::function<bool(int32_t)>& compareRow,
                 const std::function<void()>& show, const std::function<void()>& idle);

  // The Param_data_ file of the run: created with its heading lines (the body and
  // observatory, a blank line, the column legend between blank lines) and kept open; false
  // when it cannot be written.  A named `ephemeris` ("de405.bsp") fills the blank second
  // line as "эфемериды de405.bsp"; none (empty) leaves it blank.  The records' columns
  // are the same either way.
  //
  // The records go to a temporary file beside the old one (TextOutputFile), which takes
  // the old file's place only when the run ends: when it has passed its last row, or
  // when a new run begins while it is paused.  While a run is paused after a step or a
  // "Stop" the old file stays as it was: an astronomer who steps through a few records
  // to look at them, or stops to look at the plot and goes on, keeps the file of the
  // last whole run until this one is done, and a run continued to its end gives one
  // file, never a partial one on the way.  A run given up for a new one has ended as far
  // as the astronomer took it: its file then holds the records the pane and the plot
  // showed, until the new run's file replaces it in its turn.  Closing the program with
  // a run paused leaves the old file; a run that does not start (DiscardRunFiles)
  // replaces nothing.
  bool OpenParamFile(const std::filesystem::path& path, const std::string& code, int32_t object,
                     const std::string& ephemeris = {});
  // One record: row, day (with its fraction), month, year, JD, O-C in longitude and
  // latitude (degrees) and in time (days), in thousandths of their units.  False when it
  // cannot be written; the file is then given up, the old one stays.
  bool WriteParamRecord(int32_t row, double day, int32_t month, int32_t year, double jd, double diffLDeg,
                        double diffBDeg, double diffTDays);
  // Ends the files (Param_data_ and the CSV file): each replaces its old one.  Returns the
  // files that failed (each old one then stays), so that a message names the file that was
  // not written; empty when all were written or none is open.
  std::vector<std::filesystem::path> CloseRunFiles();
  // Gives the files up (Param_data_ and the CSV file): the old ones stay.
  void DiscardRunFiles() {
    param_.Discard();
    csv_.Discard();
  }
  // The CSV twin of the Param_data_ file, for Python or R (UTF-8, comma-separated,
  // decimal point, a header line): opened after it, written line by line, and ended or
  // given up with it.  False when it cannot be written.
  bool OpenCsvFile(const std::filesystem::path& path, const std::string& header);
  bool WriteCsvLine(std::string_view line);
  // Whole lines, each with its CR LF, written as they are.
  bool WriteCsvBytes(std::string_view lines);
  // The bytes written to the CSV file so far, and one of them written over (false, the
  // file given up, when it cannot be).
  uint64_t CsvBytesWritten() const { return csv_.Written(); }
  bool OverwriteCsv(uint64_t offset, char c);
  const std::filesystem::path& CsvPath() const { return csvPath_; }
  bool CsvOpen() const { return csv_.IsOpen(); }
  const std::filesystem::path& ParamPath() const { return paramPath_; }

 private:
  TextOutputFile param_, csv_;
  std::filesystem::path paramPath_, csvPath_;
};

// A number of a CSV file: fixed decimals (0..9) and a decimal point, whatever the locale
// (nothing for a value that is not finite), appended to `out`.  The value is rounded to
// the last decimal through a whole number below 2^53; beyond that through std::to_chars.
void AppendCsvNumber(std::string& out, double value, int decimals);
// The same characters are written at a pointer by CsvNumberInto (compare/csv_number.h).
// A text longer than kCsvNumberMax - 1 characters (a value beyond about 10^53) is not
// written.
inline std::string CsvNumber(double value, int decimals) {
  std::string s;
  AppendCsvNumber(s, value, decimals);
  return s;
}

// A text field of a CSV file after RFC 4180: as it stands, or between double quotes (each
// quote doubled) when it holds a comma, a quote, a line break or blanks at either end.
std::string CsvField(std::string_view text);
// The fixed fields of a run's CSV records: body, theory and epoch, each a CSV field.
inline std::string CsvFixedFieldsOf(int32_t body, std::string_view theory, std::string_view epoch) {
  return std::to_string(body) + ',' + CsvField(theory) + ',' + CsvField(epoch);
}

// The first fields of a CSV record, into `line` (emptied first): the record number, its
// date as ISO 8601 (in the calendar of `rule`) and as JD, then `fixedFields` (body, theory and epoch, the same in every
// record of a run).  The fields that follow are each to be preceded by a comma.
void StartCsvRecord(std::string& line, int32_t record, IsoDateTime& date, CalendarRule rule, double jd,
                    std::string_view fixedFields);
// The same written at `p`, which has room for CsvRecordStartMax(fixedFields); returns
// the end.
char* StartCsvRecordInto(char* p, int32_t record, IsoDateTime& date, CalendarRule rule, double jd,
                         std::string_view fixedFields);
inline size_t CsvRecordStartMax(std::string_view fixedFields) {
  return 2 * kCsvNumberMax + IsoDateTime::kLength + 3 + fixedFields.size();
}

// Writes a whole text file (Windows-1251 bytes, a final CR LF), replacing the old one only
// when every byte is written; false when it fails.
bool WriteTextFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace planova

namespace planova {

// The records of a second set by date, for matching an observation with the last record
// (in the set's own order) whose date lies within a tolerance: |jd - JD[j]| <= toleranceDays.
// The dates are sorted once; the records within the tolerance form one run of the
// sorted dates, found by binary search, and the last of them in the set's order comes
// from a segment tree of maxima.  O(n log n) to build, O(log n) a query, 3n numbers.
class TimeMatchIndex {
 public:
  // jds[j] for j = 1..n (jds[0] is not used); NaN dates never match.
  void Build(const std::vector<double>& jds);
  // The largest j with |jd - jds[j]| <= toleranceDays, or 0 when there is none.
  int32_t LastWithin(double jd, double toleranceDays) const;

 private:
  std::vector<double> sortedJd_;
  std::vector<int32_t> maxRow_;  // segment tree: node i holds the largest j below it
};

}  // namespace planova
