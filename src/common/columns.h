// Fixed-column lines: the BDL line, the JPL and Dov source lines and the catalogue lines
// all name a field by its first and last column.  Columns are 1-based byte columns of a
// Windows-1251 line.
#pragma once

#include <string>
#include <string_view>

namespace planova {

// One field of a fixed-column line: its first and last column.
struct FixedColumns {
  int first, last;
  constexpr int width() const { return last - first + 1; }
};

// The bytes of a field as far as the line reaches: a short line gives a shorter or empty
// text, never an error.
std::string_view CutColumns(std::string_view line, FixedColumns c);

// The bytes of a field with blanks where the line ends before it: always width() bytes.
std::string CutPadded(std::string_view line, FixedColumns c);

// Placement in a line: a text written at a column replaces as many characters as it
// has and never changes the length of the line (what would pass its end is dropped);
// a right-aligned text of length n ending at column c starts at c + 1 - n.  False when
// the text would start before column 1.
bool PlaceAt(std::string& line, int column, std::string_view text);
bool PlaceEndingAt(std::string& line, int endColumn, std::string_view text);

// Writes a text that fills a field exactly; false, with the line unchanged, for a text
// of another width.
bool PlaceFilling(std::string& line, FixedColumns c, std::string_view text);

}  // namespace planova
