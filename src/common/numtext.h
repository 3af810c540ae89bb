// Number texts as the user types them and as the program shows and writes them.
//
// Every number in a box, a pane or a data file uses the decimal comma, whatever the
// machine's locale: "1,5" is one and a half, "1.5" is not a number unless it first
// went through DotToComma.  These routines never consult the C or C++ locale.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace planova {

// Truncation toward zero and the largest integer not above x, as real numbers.
inline double Fix(double x) { return std::trunc(x); }
inline double Int(double x) { return std::floor(x); }

// Turns a number written with a decimal point into the decimal-comma form: the last "."
// becomes ",", unless it is the first character ("12.5" -> "12,5", "1.2.3" -> "1.2,3",
// ".5" and "12" unchanged).
std::string DotToComma(std::string_view text);

// The text of a box the user types a number into, as the readers below take it: a
// decimal point is read as the decimal comma ("0.5", "2451545.25"), so that a number
// typed either way is accepted.  A text with a comma, or with more than one point, is
// left as it is.  Fields of files never go through this: their layouts keep the comma.
std::string BoxNumberText(std::string_view text);

// Reads a real written with the decimal comma: optional blanks around it, an optional
// sign, digits with at most one comma, an optional exponent ("1,5E+3").  False for an
// empty text, a point, letters, tabs or a value beyond the range of a double.
bool TryParseReal(std::string_view text, double& value);

// Reads a whole number the way a typed box converts to an integer: the text is read as
// a real and rounded to the nearest integer (halves to even); false when the text is
// not a number or the result leaves the 16-bit (-32768..32767) or 32-bit range.
bool TryParseInt16(std::string_view text, int16_t& value);
bool TryParseInt32(std::string_view text, int32_t& value);

// The same readers for a field of a fixed-column record (a catalogue line, a BDL line):
// only digits, a sign and one decimal comma, no exponent.  In a field of four or five
// columns "9E20" or "1E300" is a misprint, never a number a catalogue means.
bool TryParseFieldReal(std::string_view text, double& value);
bool TryParseFieldInt16(std::string_view text, int16_t& value);
bool TryParseFieldInt32(std::string_view text, int32_t& value);

// The decimal places of a number text other than its trailing zeros: the digits after its
// last comma or point ("30.2" and "30,20" have 1, "12" and "12,000" none, "03.871877" 6),
// blanks around the text passed over.  A text with an exponent, or with anything but
// digits after its comma or point, has kManyPlaces: no small number of places says what
// it holds.
inline constexpr int kManyPlaces = 99;
int SignificantPlaces(std::string_view text);

// Format(x, pattern): every "0" of the pattern is one digit position (missing leading
// digits are zeros, more integer digits widen the text), the "." marks where the
// decimal places start and is written as the decimal comma, x is rounded half away
// from zero to the last place, and a negative x gets a leading "-".
// Format(-5.5, "000.000000000") = "-005,500000000".
std::string Format(double x, std::string_view pattern);

// The default text of a real: up to 15 significant digits, decimal comma, no trailing
// zeros, an exponent only for very large or very small values ("2305814", "1,5",
// "-0,25", "1E+16").
std::string RealText(double x);

// The print form of a number in output files: a blank before a value that is not
// negative (the minus sign stands there otherwise) and one blank after it.
std::string PrintForm(double x);
// The same appended to `out`.
void AppendPrintForm(std::string& out, double x);
// The same written at `buf`, which has room for kPrintFormMax; returns the end.
inline constexpr size_t kPrintFormMax = 66;
char* PrintFormInto(char* buf, double x);

}  // namespace planova
