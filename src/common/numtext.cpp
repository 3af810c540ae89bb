#include "common/numtext.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace planova {

std::string DotToComma(std::string_view text) {
  size_t p = text.rfind('.');
  if (p == std::string_view::npos || p == 0) return std::string(text);
  std::string out(text);
  out[p] = ',';
  return out;
}

int SignificantPlaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  // One pass for the exponent and the last decimal mark (a field is a few characters).
  size_t mark = std::string_view::npos;
  for (size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if ((c | 0x20) == 'e') return kManyPlaces;
    if (c == '.' || c == ',') mark = k;
  }
  if (mark == std::string_view::npos) return 0;
  std::string_view places = text.substr(mark + 1);
  while (!places.empty() && places.back() == '0') places.remove_suffix(1);
  for (char c : places) {
    if (c < '0' || c > '9') return kManyPlaces;
  }
  return static_cast<int>(places.size());
}

std::string BoxNumberText(std::string_view text) {
  std::string out(text);
  if (out.find(',') != std::string::npos || std::count(out.begin(), out.end(), '.') != 1) return out;
  out[out.find('.')] = ',';
  return out;
}

namespace {

// The C form of a number, "." as the decimal mark, read by strtod: what the fast reading
// below falls back on when the number is out of range or subnormal, so that those keep
// strtod's verdict (an underflow to zero is zero; an overflow or a subnormal is refused).
bool ParseCForm(const std::string& c, double& value) {
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(c.c_str(), &end);
  if (end != c.c_str() + c.size() || !std::isfinite(v)) return false;
  if (errno == ERANGE && v != 0.0) return false;
  value = v;
  return true;
}

// A plain decimal of at most 15 digits without an exponent (every field of the
// fixed-column layouts), blanks around it: its digits as a whole number divided by a
// power of ten, both exact in a double, so the one rounding of the division gives the
// correctly rounded value, the same as strtod's (Clinger's fast path).  False, with
// `value` untouched, for any other text.
bool TryParsePlainDecimal(std::string_view text, double& value) {
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  size_t k = 0, e = text.size();
  while (k < e && text[k] == ' ') ++k;
  while (e > k && text[e - 1] == ' ') --e;
  if (k == e) return false;
  const bool negative = text[k] == '-';
  if (text[k] == '+' || text[k] == '-') ++k;
  uint64_t whole = 0;
  int digits = 0, decimals = -1;
  for (; k < e; ++k) {
    const char ch = text[k];
    if (ch >= '0' && ch <= '9') {
      whole = whole * 10 + static_cast<uint64_t>(ch - '0');
      ++digits;
      if (decimals >= 0) ++decimals;
    } else if (ch == ',' && decimals < 0) {
      decimals = 0;
    } else {
      return false;
    }
  }
  if (digits == 0 || digits > 15) return false;
  // (A whole number, the common field, is exact as it stands: no division.)
  const double v = decimals > 0 ? static_cast<double>(whole) / kPowersOfTen[decimals] : static_cast<double>(whole);
  value = negative ? -v : v;
  return true;
}

// Any other number TryParseReal takes: one with an exponent or more than 15 digits.
bool TryParseOtherReal(std::string_view text, double& value) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  if (b == e) return false;

  // Rebuild the number in the C form ("." as decimal mark) after checking its shape,
  // so that no locale rules come into play; std::from_chars reads it (correctly
  // rounded, as strtod).  A number of more than kShort characters is read by strtod.
  constexpr size_t kShort = 64;
  char shortForm[kShort];
  std::string longForm;
  const bool isShort = e - b <= kShort;
  size_t n = 0;
  const auto put = [&](char ch) {
    if (isShort) {
      shortForm[n++] = ch;
    } else {
      longForm += ch;
    }
  };
  size_t i = b;
  bool plus = false;
  if (text[i] == '+' || text[i] == '-') {
    plus = text[i] == '+';
    put(text[i++]);
  }
  int digits = 0;
  bool comma = false;
  for (; i < e; ++i) {
    char ch = text[i];
    if (ch >= '0' && ch <= '9') {
      put(ch);
      ++digits;
    } else if (ch == ',' && !comma) {
      comma = true;
      put('.');
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < e && (text[i] == 'E' || text[i] == 'e')) {
    put('e');
    ++i;
    if (i < e && (text[i] == '+' || text[i] == '-')) put(text[i++]);
    int expDigits = 0;
    for (; i < e && text[i] >= '0' && text[i] <= '9'; ++i, ++expDigits) put(text[i]);
    if (expDigits == 0) return false;
  }
  if (i != e) return false;
  if (!isShort) return ParseCForm(longForm, value);

  const char* first = shortForm + (plus ? 1 : 0);  // from_chars takes no "+"
  double v = 0;
  const auto [end, ec] = std::from_chars(first, shortForm + n, v);
  if (ec != std::errc() || end != shortForm + n || (v != 0 && std::fabs(v) < DBL_MIN)) {
    return ParseCForm(std::string(shortForm, n), value);
  }
  value = v;
  return true;
}

}  // namespace

bool TryParseReal(std::string_view text, double& value) {
  return TryParsePlainDecimal(text, value) || TryParseOtherReal(text, value);
}

namespace {

bool TryParseWhole(std::string_view text, double lo, double hi, double& whole) {
  double v;
  if (!TryParseReal(text, v)) return false;
  double r = std::nearbyint(v);  // default rounding mode: halves to even
  if (r < lo || r > hi) return false;
  whole = r;
  return true;
}

// Rounds |x| to `decimals` places, half away from zero, after first taking the value to
// 15 significant decimal digits (so 0.285 formats as 0,29 although its binary value lies
// just below).  Returns the digits with the decimal point at `pointPos` from the left.
std::string RoundedDigits(double ax, int decimals, int& pointPos) {
  // d.dddddddddddddde±XX, the digits printf's "%.14e" gives, without its machinery.
  char buf[64];
  char* end = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, 14).ptr;
  std::string mant;
  mant += buf[0];
  mant.append(buf + 2, 14);
  int exp10 = 0;
  const char* e = std::find(buf, end, 'e') + 1;
  std::from_chars(e + (*e == '+' ? 1 : 0), end, exp10);
  // Value = 0.mant × 10^(exp10+1); the point stands after exp10+1 digits.
  int point = exp10 + 1;
  if (point < 0) {  // very small: prepend zeros so that the point lies inside
    mant.insert(0, static_cast<size_t>(-point), '0');
    point = 0;
  }
  int keep = point + decimals;  // digits to keep
  if (keep < 0) {
    pointPos = 1;
    return std::string(1 + static_cast<size_t>(decimals), '0');
  }
  if (static_cast<int>(mant.size()) < keep + 1) mant.append(keep + 1 - mant.size(), '0');
  bool up = mant[static_cast<size_t>(keep)] >= '5';
  std::string d = mant.substr(0, static_cast<size_t>(keep));
  if (up) {
    int k = keep - 1;
    while (k >= 0 && d[static_cast<size_t>(k)] == '9') d[static_cast<size_t>(k--)] = '0';
    if (k >= 0) {
      ++d[static_cast<size_t>(k)];
    } else {
      d.insert(d.begin(), '1');
      ++point;
    }
  }
  if (point == 0) {
    d.insert(d.begin(), '0');
    point = 1;
  }
  pointPos = point;
  return d;
}

}  // namespace

bool TryParseInt16(std::string_view text, int16_t& value) {
  double w;
  if (!TryParseWhole(text, -32768.0, 32767.0, w)) return false;
  value = static_cast<int16_t>(w);
  return true;
}

bool TryParseInt32(std::string_view text, int32_t& value) {
  double w;
  if (!TryParseWhole(text, -2147483648.0, 2147483647.0, w)) return false;
  value = static_cast<int32_t>(w);
  return true;
}

namespace {

// One plain pass: a field is a few characters, for which find_first_of's set search costs
// more than the field.
bool HasExponent(std::string_view text) {
  for (char c : text) {
    if ((c | 0x20) == 'e') return true;
  }
  return false;
}

}  // namespace

bool TryParseFieldReal(std::string_view text, double& value) {
  // A plain decimal holds no exponent: the text is looked over for one only otherwise.
  return TryParsePlainDecimal(text, value) || (!HasExponent(text) && TryParseOtherReal(text, value));
}

bool TryParseFieldInt16(std::string_view text, int16_t& value) {
  return !HasExponent(text) && TryParseInt16(text, value);
}

bool TryParseFieldInt32(std::string_view text, int32_t& value) {
  return !HasExponent(text) && TryParseInt32(text, value);
}

std::string Format(double x, std::string_view pattern) {
  size_t dot = pattern.find('.');
  int intPlaces = static_cast<int>(dot == std::string_view::npos ? pattern.size() : dot);
  int decimals = dot == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - dot - 1);
  if (!std::isfinite(x)) return x < 0 ? "-" + std::string(pattern) : std::string(pattern);

  int point = 0;
  std::string d = RoundedDigits(std::fabs(x), decimals, point);
  std::string intPart = d.substr(0, static_cast<size_t>(point));
  // Drop superfluous leading zeros, then pad to the pattern's width.
  size_t nz = intPart.find_first_not_of('0');
  intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
  if (static_cast<int>(intPart.size()) < intPlaces) intPart.insert(0, intPlaces - intPart.size(), '0');
  std::string out;
  if (x < 0) out += '-';
  out += intPart;
  if (decimals > 0) {
    out += ',';
    out += d.substr(static_cast<size_t>(point), static_cast<size_t>(decimals));
  }
  return out;
}

namespace {

// RealText's characters into buf; returns their end.
char* RealTextInto(char* buf, size_t size, double x) {
  auto copy = [&](const char* t) { return std::copy(t, t + std::strlen(t), buf); };
  if (x == 0.0) return copy("0");
  if (std::isnan(x)) return copy("NaN");
  if (std::isinf(x)) return copy(x < 0 ? "-Inf" : "Inf");
  // A whole number of up to 15 digits is what "%.15g" writes of it: its digits, with no
  // point and no exponent (the files' thousandths are such numbers).
  if (std::fabs(x) < 1e15 && x == std::trunc(x)) {
    return std::to_chars(buf, buf + size, static_cast<long long>(x)).ptr;
  }
  // The digits of printf's "%.15g", without its machinery.
  char* end = std::to_chars(buf, buf + size, x, std::chars_format::general, 15).ptr;
  for (char* c = buf; c < end; ++c) {
    if (*c == '.') *c = ',';
    if (*c == 'e') *c = 'E';
  }
  return end;
}

}  // namespace

std::string RealText(double x) {
  char buf[64];
  return std::string(buf, RealTextInto(buf, sizeof buf, x));
}

char* PrintFormInto(char* buf, double x) {
  // The text of a negative value (-Inf too) begins with its minus; -0 and NaN have none.
  char* p = buf;
  if (!(x < 0)) *p++ = ' ';
  char* end = RealTextInto(p, kPrintFormMax - 2, x);
  *end++ = ' ';
  return end;
}

void AppendPrintForm(std::string& out, double x) {
  char buf[kPrintFormMax];
  out.append(buf, PrintFormInto(buf, x));
}

std::string PrintForm(double x) {
  std::string s;
  AppendPrintForm(s, x);
  return s;
}

}  // namespace planova
