// Conversion of a catalogue whose minutes of time and of declination carry a decimal
// fraction ("34.5") into the normal Dov layout: whole minutes, the fraction moved into the
// seconds.
#pragma once

#include <filesystem>
#include <string>

namespace planova {

// Input line fields (1-based columns) and the output layout.
//   input:  1-21 date and hour | 23-26 minutes of time with fraction | 28-31 seconds |
//           36-55 right ascension and declination degrees | 58-61 declination minutes
//           with fraction | 64-68 declination seconds | 72-77 running number
//   output: 1-21 | 23-24 minutes | 26-29 seconds "00.0" | 34-53 | 56-57 minutes |
//           60-64 seconds "00.00" | 68-73 running number
// The two heading lines are copied.  Seconds that reach 60 after the addition are written
// as they are; from 100 up, whole minutes are carried into the minutes field until the
// seconds fit their columns, so that every line keeps the layout.
//
// Converts `input` into `output` (created anew).  False with a message for the user when
// the input is missing (the output is then not created) or a field does not convert
// (both files are closed; the lines before it stay written).
bool ConvertCatalogueToDov(const std::filesystem::path& input, const std::filesystem::path& output, std::string& message);

// One data line converted; false when a field does not convert.
bool ConvertCatalogueLine(const std::string& line, std::string& out);

}  // namespace planova
