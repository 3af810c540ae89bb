// Whole BDL files as windows 2 and 3 load and write them: five heading lines, then one
// observation line per record (bdl_line.h).  The routines show nothing; they return how
// they ended, and the windows say it in their own words.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bdl/bdl_line.h"

namespace planova {

constexpr int kBdlHeadingLines = 5;

// ---------------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------------

// How a load ended.  The first four come after the heading was read: the records read
// before the end are loaded whatever it was.  The last three load nothing.
enum class BdlLoadEnd {
  kEndOfFile,      // every line was read
  kStopRequested,  // "Stop" was pressed (BdlLoadOptions::Stop)
  kStoreFull,      // the next record would pass row N - 1 of the store
  kBadLine,        // a line does not hold a record (BdlLoadResult::BadLine)
  kShortHeading,   // the file ends within its heading lines
  kOpenFailed,     // the file is missing or cannot be read
  kTooLarge,       // the size rule: more than 150 bytes of file per row of the store
};

// The records a loader's pane shows as lines.
inline constexpr int32_t kBdlShownLines = 20000;

// The pane's line after the shown records of a load with more records than it shows.
std::string BdlNotShownLine(int32_t rows, int32_t shown);

struct BdlLoadOptions {
  // Window 2: a record whose hours, minutes or seconds are negative is not loaded but
  // listed in Rejected.
  bool RejectNegativeTimes = false;
  // Called after every record loaded: the share of the file read (0..100, estimated at
  // 150 bytes a line), then the chance for the window to take a "Stop".
  std::function<void(int percent)> Progress;
  std::function<void()> ProcessEvents;
  // The caller's Stop request: set to 0 before reading, and a 1 ends the load before the
  // next line (kStopRequested).  Null: the load cannot be stopped.
  int16_t* Stop = nullptr;
  // How many records the pane shows as lines; the rest are loaded but not made into
  // lines (a pane of a million lines serves no one and costs hundreds of megabytes).
  int32_t ShownLimit = kBdlShownLines;
};

struct BdlLoadResult {
  BdlLoadEnd End = BdlLoadEnd::kEndOfFile;
  int32_t Rows = 0;              // records loaded, rows 1..Rows
  std::string Heading;           // the heading lines read, joined by CR LF
  std::string TimeScale;         // columns 38-40 of the last record loaded
  std::string LastEpochField;    // columns 133-137 of the last line taken: the last record
                                 // loaded or rejected, else the last heading line
  std::vector<std::string> Shown;     // BdlDisplayLine of the first records loaded (ShownLimit)
  std::vector<std::string> Rejected;  // the lines RejectNegativeTimes kept out
  std::string BadLine;                // kBadLine: the line that holds no record
  // True when the heading was read, so that the records read (perhaps none) are loaded.
  bool HeadingRead() const {
    return End == BdlLoadEnd::kEndOfFile || End == BdlLoadEnd::kStopRequested || End == BdlLoadEnd::kStoreFull ||
           End == BdlLoadEnd::kBadLine;
  }
};

// Loads the BDL file at `path` into rows 1.. of data set 1 or 2 (column 1 or 2 of the
// store), with the size rule first: a file of more than 150 bytes per row of the store
// is not read.  Each record keeps the station of its line (columns 94-98, trimmed), its
// note, and its time as the line's own (ObsExactTime, BdlRecord::ExactTime), so that a
// file written again gives every time back with its digits.  A load that ends after the
// heading, for whatever reason, leaves exactly the records read before its end loaded:
// for data set 1 they are copied into column 3 and Count1 = Count3 = Rows, for data set 2
// Count2 = Rows.  A load that ends before (open failure, size rule, short heading) leaves
// the store as it was.  Texts are Windows-1251 bytes.  Dates are read in the calendar of
// `rule`.
BdlLoadResult LoadBdlFile(const std::filesystem::path& path, ObservationStore& store, int column, BdlState& b,
                          CalendarRule rule, const BdlLoadOptions& options = {});

// ---------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------

// Only kWritten replaces the file at the path; after any other end it is as it was.
enum class BdlWriteEnd {
  kWritten,         // every line was written
  kCreateFailed,    // the file could not be created: nothing was written
  kCalendarFailed,  // the date of row FailedRow is beyond the calendar routine's range
  kWriteFailed,     // a line or the closing of the file failed
};

struct BdlWriteOptions {
  std::string LoadedHeading;    // the heading of the last file loaded, or empty
  std::string ObservatoryCode;  // UTF-8: the heading when none was loaded, and column 94
                                // of the records without a station of their own
  std::string TimeScale;        // bytes right-aligned ending at column 40
  std::string Epoch;            // bytes right-aligned ending at column 137
  bool RowInNote = false;       // window 2's "+№ в примечаниях": " " + row at column 151
  // Called after every line written, with the share of the rows written (0..100).
  std::function<void(int percent, const std::string& line)> Written;
};

struct BdlWriteResult {
  BdlWriteEnd End = BdlWriteEnd::kWritten;
  int32_t FailedRow = 0;  // kCalendarFailed: the row whose date could not be written
  std::string Heading;    // the heading lines written (CR LF between them)
};

// The records of an existing BDL file, counted cheaply as its lines after the five heading
// lines (a last line without its line end counts); -1 when there is no such file.
int64_t CountBdlFileRecords(const std::filesystem::path& path);

// Writes rows first..last of data set 3 (column 3 of the store) as the BDL file at
// `path`, replacing it only once every line is written (TextOutputFile): the heading
// lines, then per row FormatBdlLine with the record's station at column 94 (the
// observatory code of the options when it has none, so that the lines of a file from one
// observatory are those of that code), the note at column 99, the time scale and the
// epoch (columns 133-137 blanked first) and, if asked, the row number; dates in the
// calendar of `rule`.  The body name is that of the last file loaded, else the one of the
// store's object number.  first > last writes the heading alone.
BdlWriteResult WriteBdlFile(const std::filesystem::path& path, const ObservationStore& store, int32_t first,
                            int32_t last, BdlState& b, CalendarRule rule, const BdlWriteOptions& options);

// The heading lines a writer puts at the top of a BDL file: those of the last file loaded
// (Windows-1251, lines joined by CR LF, no final line end), or five lines of the
// observatory code (UTF-8) when none was loaded.
std::string BdlHeadingLines(const std::string& loadedHeader, const std::string& code);

}  // namespace planova
