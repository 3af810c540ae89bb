// O-C residuals as the Minor Planet Center's Astrometry Data Exchange Standard (ADES,
// version 2017) in its pipe-separated form (PSV): Dat/Residuals_<code><object>.psv, a
// file an astronomer can hand on or read with any ADES tool.
//
// The file (UTF-8, CR LF):
//   # version=2017
//   # comment
//   ! line Planova3: O-C of Moon
//   ! line ephemeris de405.bsp                     (when one is named)
//   trkSub|mode|stn |obsTime                 |ra         |dec        |...|resRA  |resDec |selAst|...
//   Moon  |CCD |PARI|1990-01-03T20:55:30.200Z|123.4567890|+12.3456789|...|+0.123 |-0.045 |A     |...
// one record per compared observation, in the order given.  Every column is as wide as
// its widest entry (the keyword or a value), so that the "|" line up: text is written
// from the left, numbers to the right with fixed decimals, so that their decimal points
// line up too; the last column is not padded.  The optional columns (rmsRA and rmsDec,
// astCat, sigRA and sigDec) are written when some record has a value, blank where a
// record has none.
//
// The fields: trkSub, the body as the program names it (BodyNameOf: "Moon", "Mars");
// mode, the technique ("CCD" when the record does not say); stn, the record's station;
// obsTime, the UTC of the observation, ISO 8601 to the millisecond; ra and dec, the
// observed place in degrees (7 decimals, 0.4 mas), the declination signed; rmsRA (in
// RA times cos Dec) and rmsDec, the record's own uncertainties in arcseconds; astCat, the
// reference catalogue; resRA (O-C in RA times cos Dec) and resDec, arcseconds, signed,
// 3 decimals (blank for a coordinate the record does not hold); selAst, how the record
// entered the solution: "A" accepted and "D" deleted by the program, "a" and "d" by hand;
// sigRA and sigDec, the uncertainties the weights were made from (arcseconds).
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "astro/time.h"

#include "common/textfile.h"

namespace planova {

constexpr std::string_view kAdesResidualsPrefix = "Residuals_";

// One compared observation.  Arcsecond values of 0 (uncertainties) or NaN (residuals)
// are unknown and leave their field blank.
struct AdesResidualRow {
  double JdUtc = 0;                          // the observation's JD, UTC
  double RaDeg = 0, DecDeg = 0;              // the observed place
  std::string Station;                       // UTF-8 (ObservationStore::ObserverCode)
  std::string Mode;                          // ADES mode ("CCD", "PHO", "MER"); empty: "CCD"
  std::string AstCat;                        // reference catalogue; empty: unknown
  double RmsRaArcsec = 0, RmsDecArcsec = 0;  // the record's own uncertainties (RA times cos Dec)
  double ResRaArcsec = NAN, ResDecArcsec = NAN;  // O-C: RA times cos Dec, and Dec
  char SelAst = 'A';                         // 'A', 'D' (the program), 'a', 'd' (by hand)
  double SigRaArcsec = 0, SigDecArcsec = 0;  // the sigmas of the weights
};

struct AdesResidualsRequest {
  std::string Body;       // trkSub (BodyNameOf(object))
  std::string Ephemeris;  // the theory's ephemeris ("de405.bsp"); empty: none named
  std::string Program = "Planova3";
  // The calendar obsTime is written in (dates before 1582 October 15: the window's rule).
  CalendarRule Calendar = CalendarRule::kGregorianFrom1582;
  std::vector<AdesResidualRow> Rows;
};

enum class AdesWriteStatus {
  kWritten,
  kBadRecord,    // a record that cannot be written (BadRow): a date or place that is not
                 // finite, a selAst other than A, D, a, d, or a "|" or line end in a text;
                 // BadRow -1: a body with a "|" or line end, a program or ephemeris name
                 // with a line end
  kWriteFailed,  // the file could not be written; the old one stays as it was
};

struct AdesResidualsResult {
  AdesWriteStatus Status = AdesWriteStatus::kWritten;
  int32_t Records = 0;  // records in the text (or file)
  int32_t BadRow = -1;  // kBadRecord: index into Rows (-1: the request's names)
  bool Ok() const { return Status == AdesWriteStatus::kWritten; }
};

// The records of a file handed one at a time, so that a million of them are written
// without a copy of them all: Fill(k, row) sets every field of `row` (whose strings are
// reused from the record before) to record k, for k from 0 to Count() - 1.  Each record
// is asked for twice: once for the columns' widths, once for its line.
class AdesRowSource {
 public:
  virtual ~AdesRowSource() = default;
  virtual size_t Count() const = 0;
  virtual void Fill(size_t k, AdesResidualRow& row) const = 0;
};

// The PSV text of a request, into `text` (emptied first; left empty for a bad record).
AdesResidualsResult AdesResidualsText(const AdesResidualsRequest& request, std::string& text);

// Writes the PSV file whole or not at all (a temporary file renamed over the old one): a
// bad record or a failed write leaves the old file as it was.
AdesResidualsResult WriteAdesResiduals(const std::filesystem::path& path, const AdesResidualsRequest& request);
// The same with the records from `rows` (request.Rows is not read): the text goes to the
// file in blocks as it is formed, never whole in memory.
AdesResidualsResult WriteAdesResiduals(const std::filesystem::path& path, const AdesResidualsRequest& request,
                                       const AdesRowSource& rows);

// A PSV file formed and on the disk under a temporary name, for a writer that gives it
// its name only after other work has succeeded (window 2 forms it on a second thread
// while it writes the run's other files).  Dropped uncommitted, the temporary file is
// removed and the old file kept.
struct PreparedAdesResiduals {
  AdesResidualsResult Result;
  std::unique_ptr<TextOutputFile> File;  // open when Result.Ok()
  // Puts the file in its place; false (Result's status kWriteFailed) when it cannot be.
  bool Commit();
};
// As WriteAdesResiduals with `rows`, but the file left under its temporary name.
PreparedAdesResiduals PrepareAdesResiduals(const std::filesystem::path& path, const AdesResidualsRequest& request,
                                           const AdesRowSource& rows);

// Dat/Residuals_<code><object>.psv of an application folder (code in UTF-8), beside the
// Param_data_ and Stat files of the same comparison.
std::filesystem::path AdesResidualsPath(const std::filesystem::path& appFolder, const std::string& code,
                                        int32_t object);

}  // namespace planova
