// Conversion of a transit-circle catalogue whose minutes of time and of declination carry
// a decimal fraction ("34.5") into the normal Dov layout that the import reads: whole
// minutes, the fraction of a minute moved into the seconds (0.5 min = 30 s).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/columns.h"

namespace planova {

// The fields of a catalogue line and where each goes in the Dov line.  Fields copied
// unchanged keep their width; the converted ones are written with the digit pattern
// given (decimal point at column 28 for the seconds of time, 62 for those of declination).
struct CatalogueField {
  const char* name;
  FixedColumns input;   // columns in the catalogue line
  FixedColumns output;  // columns in the Dov line
  const char* pattern;      // digit pattern of a converted field, nullptr for a copied one
};

enum CatalogueFieldIndex {
  kCatDateHour,
  kCatTimeMinutes,
  kCatTimeSeconds,
  kCatRaDecDegrees,
  kCatDecMinutes,
  kCatDecSeconds,
  kCatNumber,
  kCatFieldCount
};

constexpr CatalogueField kCatalogueLayout[kCatFieldCount] = {
    {"date and hour", {1, 21}, {1, 21}, nullptr},
    {"minutes of time", {23, 26}, {23, 24}, "00"},
    {"seconds of time", {28, 31}, {26, 29}, "00.0"},
    {"RA h m s and Dec degrees", {36, 55}, {34, 53}, nullptr},
    {"minutes of declination", {58, 61}, {56, 57}, "00"},
    {"seconds of declination", {64, 68}, {60, 64}, "00.00"},
    {"running number", {72, 77}, {68, 73}, nullptr},
};
constexpr int kDovLineLength = 73;
constexpr int kDovTimeSecondsPoint = 28;
constexpr int kDovDecSecondsPoint = 62;

// Whole minutes and seconds of a minutes-with-fraction field and its seconds field
// (texts with a point or a comma): s = (m - Fix(m)) * 60 + s, minutes = Fix(m).
// Seconds of 60 and more stay as they are while they fit the seconds pattern ("00.0":
// up to 99.9); from 100 on (after rounding to the pattern) whole minutes are carried
// until they fit.  False when a text is not a number of a fixed-column field (digits, a
// sign, one point or comma; no exponent) or the result does not fit the columns (minutes
// past 99, negative seconds); seconds that no carry could fit are refused before any.
bool SplitMinutesAndSeconds(const std::string& minutesText, const std::string& secondsText, const char* secondsPattern,
                            std::string& minutes, std::string& seconds);

// One catalogue data line as a Dov line of kDovLineLength columns (a short line counts
// as blank-padded); false when a minutes or seconds field does not convert.
bool ConvertCatalogueLine(const std::string& line, std::string& out);

// How a conversion ended.  Only kConverted replaces the output file.
enum class ConversionEnd {
  kConverted,
  kInputMissing,  // the input cannot be opened
  kBadLine,       // a line does not convert
  kWriteFailed,   // the output cannot be written
};

// Converts the catalogue file `input` into the Dov file `output`: the first two (heading)
// lines are copied, every further line converted.  The output is replaced only when
// every line is converted and written; otherwise it stays as it was.  `message` says
// what is wrong with the input (kInputMissing, kBadLine: the file and the line) for the
// user, and is empty otherwise.  `counted`, when given, receives the number of data
// lines written (the heading lines not counted).
ConversionEnd ConvertCatalogueToDov(const std::filesystem::path& input, const std::filesystem::path& output,
                                    std::string& message, int32_t* counted = nullptr);

}  // namespace planova
