// The numbers of the CSV and ADES files: fixed decimals and a point, whatever the locale.
// The common case is formed here, inline, so that a call with its decimals known where
// it stands folds its scale and divisors into constants; the rest goes to
// CsvNumberInto's library path.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace planova {

// Room a number's text needs at the pointer it is written to.
inline constexpr size_t kCsvNumberMax = 65;

// The library's text of `value` (std::to_chars), with `plus` as CsvNumberInto's; the path
// of a value near a half, beyond the whole numbers handled inline, or not finite.
char* CsvNumberByLibraryInto(char* buf, double value, int decimals, bool plus);

// |value| * 10^decimals (decimals 0..9, the product below 2^53) rounded to the nearest
// whole number, a tie to the even one, as printf rounds: exact, in integers, from the
// double's own binary digits.  For the few products within a rounding of a half.
uint64_t CsvRoundedExactly(double value, int decimals);

namespace csv_number_detail {

// 10^0 .. 10^9, as doubles (exact) and as whole numbers.
inline constexpr double kScale[10] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
inline constexpr uint64_t kPower[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Writes the digits of v backwards, ending before p, two at a time: exactly `count`
// digits (zeros in front) when count > 0, else all of v's (at least one).  Returns the
// place of the first digit.
inline char* DigitsBackward(char* p, uint32_t v, int count) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  auto pair = [&](uint32_t two) {
    *--p = kPairs[2 * two + 1];
    *--p = kPairs[2 * two];
  };
  if (count > 0) {
    for (; count >= 2; count -= 2, v /= 100) pair(v % 100);
    if (count == 1) *--p = static_cast<char>('0' + v % 10);
    return p;
  }
  for (; v >= 100; v /= 100) pair(v % 100);
  if (v >= 10) {
    pair(v);
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return p;
}

// The decimal digits of a whole number below 2^32.
inline int DigitCount(uint32_t v) {
  int n = 1;
  for (; v >= 100; v /= 100) n += 2;
  return n + (v >= 10 ? 1 : 0);
}

}  // namespace csv_number_detail

// `value` with `Decimals` (0..9) decimals at `buf` (room for kCsvNumberMax); returns the
// end (`buf` itself for a value that is not finite).  `plus` writes "+" before a text
// without a minus sign.
template <int Decimals>
inline char* CsvNumberInto(char* buf, double value, bool plus = false) {
  static_assert(Decimals >= 0 && Decimals <= 9);
  using namespace csv_number_detail;
  // The value times 10^Decimals, rounded to a whole number: the same digits as the
  // correctly rounded decimal unless the product's own rounding could have crossed a
  // half; such values (and exact halves, which printf rounds to even) are rounded
  // exactly.  Values whose whole part reaches 2^32 and values that are not finite take
  // the library's path.
  const double product = std::fabs(value) * kScale[Decimals];
  if (!(product < 9007199254740992.0)) return CsvNumberByLibraryInto(buf, value, Decimals, plus);  // 2^53
  uint64_t n = static_cast<uint64_t>(static_cast<int64_t>(product));  // truncation, exact below 2^53
  const double fraction = product - static_cast<double>(n);           // exact
  if (fraction > 0.5) ++n;
  if (!(std::fabs(fraction - 0.5) > product * 0x1p-52)) n = CsvRoundedExactly(value, Decimals);
  const uint64_t whole = n / kPower[Decimals];
  if (whole > UINT32_MAX) return CsvNumberByLibraryInto(buf, value, Decimals, plus);
  // The sign, then the digits written from the right: the decimals, the point, the
  // whole part.
  char* p = buf;
  if (value < 0 && n > 0) {
    *p++ = '-';
  } else if (plus) {
    *p++ = '+';
  }
  const auto w = static_cast<uint32_t>(whole);
  char* end = p + DigitCount(w) + (Decimals > 0 ? Decimals + 1 : 0);
  char* q = end;
  if constexpr (Decimals > 0) {
    q = DigitsBackward(q, static_cast<uint32_t>(n - whole * kPower[Decimals]), Decimals);
    *--q = '.';
  }
  DigitsBackward(q, w, 0);
  return end;
}

// The same with the decimals (0..9) given at run time; nothing for others.
char* CsvNumberInto(char* buf, double value, int decimals, bool plus = false);

}  // namespace planova
