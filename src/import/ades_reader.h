// Optical observations in the Minor Planet Center's Astrometry Data Exchange Standard
// (ADES, versions 2017 and 2022), in both of its forms:
//
//  - PSV: a "# version=2017" line, header lines starting with "#" or "!" ("! mpcCode 568"
//    under "# observatory" names the block's station), a keyword record naming the fields,
//    then records of "|"-separated fields in the keyword record's order, blank-padded.  A
//    header line after records starts a new block with a keyword record of its own.
//  - XML: <ades version="2017"> holding <obsBlock>s, each with an <obsContext> (its
//    <observatory><mpcCode> is the block's station) and <obsData> of <optical> elements
//    whose children are the fields; unknown elements are passed over.
//
// The fields read: obsTime (ISO 8601 UTC, "2023-04-05T06:07:08.123Z"), ra and dec
// (decimal degrees, ICRS), stn, mode, astCat, rmsRA and rmsDec (arcseconds; rmsRA is of
// RA times cos(dec)), rmsCorr, precTime, precRA, precDec, and sys (a position of the
// observer given in the record: a satellite or roving observer).
//
// A reader checks the whole file's structure before it hands out the first record, so
// that a file it refuses (not ADES, a PSV without its keyword record, unknown or repeated
// keywords, XML nested too deep or not well formed) yields no record at all.  Faults of
// one record (a PSV record with the wrong number of fields, a field repeated in an
// <optical>) travel with the record; ConvertAdesRecord turns them into its Reason.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "import/source_import.h"

namespace planova {

enum AdesField {
  kAdesObsTime,
  kAdesRa,
  kAdesDec,
  kAdesStn,
  kAdesMode,
  kAdesAstCat,
  kAdesRmsRa,
  kAdesRmsDec,
  kAdesRmsCorr,
  kAdesPrecTime,
  kAdesPrecRa,
  kAdesPrecDec,
  kAdesSys,
  kAdesFieldCount
};

// The ADES names of the fields, in the order of AdesField.
inline constexpr std::array<std::string_view, kAdesFieldCount> kAdesFieldNames = {
    "obsTime", "ra", "dec", "stn", "mode", "astCat", "rmsRA", "rmsDec", "rmsCorr", "precTime", "precRA", "precDec", "sys"};

// One observation as the file gives it: the texts of the fields read (blanks trimmed,
// UTF-8; empty when the record lacks the field), the station of its block, the record as
// it stands (a PSV line; for XML its fields as "name=value" joined by " | ") and a fault
// of the record found while reading it (null when none).
struct AdesRecordTexts {
  std::array<std::string_view, kAdesFieldCount> Field{};
  std::string_view BlockStation;
  std::string_view Text;
  const char* Fault = nullptr;
};

// How a reading ended: Ok, or why the file was refused (UTF-8, with the line where it
// helps).
struct AdesReadResult {
  bool Ok = false;
  std::string Message;
  int64_t Records = 0;  // records handed out
};

using AdesRecordSink = std::function<void(const AdesRecordTexts&)>;

// Reads an ADES PSV text; each record goes to `sink` (once the whole text was found sound).
AdesReadResult ReadAdesPsv(std::string_view text, const AdesRecordSink& sink);
// Reads an ADES XML text; the same.  Elements nest at most kAdesXmlMaxDepth deep; a
// document type declaration is refused (no entities to expand).
inline constexpr int kAdesXmlMaxDepth = 32;
AdesReadResult ReadAdesXml(std::string_view text, const AdesRecordSink& sink);

// Converts one record: the date of obsTime (UTC, Gregorian calendar) to a Julian date,
// ra and dec in degrees (0 <= ra < 360, |dec| <= 90), the station (stn, else the block's),
// the uncertainties rmsRA and rmsDec (arcseconds, > 0) when given.  Numbers are decimals
// with a point and no exponent.  Refused with its Reason: a fault of the reader, a record
// with sys (the observer's place is in the record, not at a station), no obsTime, ra or
// dec, an obsTime that is not ISO 8601 UTC, a field that does not read, an impossible
// place, an uncertainty not above 0, an rmsCorr beyond -1..1.  Fills field[4..12] with
// obsTime, ra, dec, rmsRA, rmsDec, rmsCorr, mode, astCat and the station (Windows-1251).
RecordValues ConvertAdesRecord(const AdesRecordTexts& record, FieldTexts& field);

// The Julian date (UTC) of an ISO 8601 time "YYYY-MM-DDThh:mm:ss[.s…]Z" (the "Z" may be
// left out); false when the text is not one or names a day or time that does not exist.
// `exact`, when given, says whether the seconds have at most four places (trailing zeros
// aside): a time in whole 0.0001 s, which the JD stands for (RecordValues::ExactTime).
bool AdesTimeJd(std::string_view text, double& jd, bool* exact = nullptr);

}  // namespace planova
