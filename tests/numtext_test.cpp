// Number texts with the decimal comma, independent of the machine's locale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/numtext.h"

namespace planova {
namespace {

TEST(NumText, RealsUseTheComma) {
  double v = 0;
  EXPECT_TRUE(TryParseReal("1,5", v));
  EXPECT_DOUBLE_EQ(v, 1.5);
  EXPECT_TRUE(TryParseReal("  -12,25 ", v));
  EXPECT_DOUBLE_EQ(v, -12.25);
  EXPECT_TRUE(TryParseReal("+7", v));
  EXPECT_DOUBLE_EQ(v, 7);
  EXPECT_TRUE(TryParseReal(",5", v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  EXPECT_TRUE(TryParseReal("1,5E+3", v));
  EXPECT_DOUBLE_EQ(v, 1500);
  EXPECT_TRUE(TryParseReal("2305814", v));
  EXPECT_DOUBLE_EQ(v, 2305814);
  for (const char* bad : {"", "   ", "1.5", "12.5", "abc", "1,2,3", "-", "1e", "1\t", "\t1", "1E400", "0x10", "1 2"}) {
    EXPECT_FALSE(TryParseReal(bad, v)) << '"' << bad << '"';
  }
}

// Every shape of number reads to the double the C library's strtod gives for it, to the
// bit: the plain decimals of the fixed-column fields take a fast path of their own.
TEST(NumText, ReadsAsTheCLibraryDoes) {
  std::vector<std::string> texts = {"0", "-0", "9007199254740993", "999999999999999", "1000000000000000",
                                    "0,1", "0,3", "-2,675", "59,99995", "1,7976931348623157E308", "4,9E-324",
                                    "1E-400", "2,2250738585072014E-308", "123456789012345,6", ",000000000000001"};
  uint64_t state = 12345;
  auto next = [&state] { return (state = state * 6364136223846793005ULL + 1442695040888963407ULL) >> 33; };
  for (int n = 0; n < 20000; ++n) {
    std::string t = next() % 2 ? "-" : "";
    const int digits = 1 + static_cast<int>(next() % 19), point = static_cast<int>(next() % (digits + 1));
    for (int d = 0; d < digits; ++d) t += (d == point ? "," : "") + std::to_string(next() % 10);
    texts.push_back(t);
  }
  for (const std::string& t : texts) {
    std::string c = t;
    std::replace(c.begin(), c.end(), ',', '.');
    errno = 0;
    const double expected = std::strtod(c.c_str(), nullptr);
    const bool accepted = std::isfinite(expected) && !(errno == ERANGE && expected != 0);
    double v = 0;
    ASSERT_EQ(TryParseReal(t, v), accepted) << t;
    if (accepted) {
      ASSERT_EQ(std::memcmp(&v, &expected, sizeof v), 0) << t;
    }
  }
}

TEST(NumText, ReadingIgnoresTheMachineLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  std::setlocale(LC_NUMERIC, "C.UTF-8");
  double v = 0;
  EXPECT_TRUE(TryParseReal("3,25", v));
  EXPECT_DOUBLE_EQ(v, 3.25);
  EXPECT_EQ(Format(3.25, "0.00"), "3,25");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumText, WholeNumbersRoundAndCheckRange) {
  int16_t s = 0;
  int32_t l = 0;
  EXPECT_TRUE(TryParseInt16("1601", s));
  EXPECT_EQ(s, 1601);
  EXPECT_TRUE(TryParseInt16("2,5", s));  // halves go to even
  EXPECT_EQ(s, 2);
  EXPECT_TRUE(TryParseInt16("3,5", s));
  EXPECT_EQ(s, 4);
  EXPECT_TRUE(TryParseInt16("-32768", s));
  EXPECT_FALSE(TryParseInt16("32768", s));
  EXPECT_FALSE(TryParseInt16("1.5", s));
  EXPECT_TRUE(TryParseInt32("32768", l));
  EXPECT_EQ(l, 32768);
  EXPECT_FALSE(TryParseInt32("2147483648", l));
  EXPECT_FALSE(TryParseInt32("", l));
  EXPECT_FALSE(TryParseInt32("1E300", l));
}

TEST(NumText, FixedColumnFieldsTakeNoExponent) {
  // The typed readers take an exponent; a field of a fixed-column record does not.
  struct Case {
    const char* text;
    bool field;  // a field reader takes it (the typed readers take every one)
    double value;
  };
  for (const Case& c : {Case{" 59,99", true, 59.99}, Case{"-00", true, -0.0}, Case{"+12", true, 12}, Case{"9E20", false, 9e20},
                        Case{"1E300", false, 1e300}, Case{"1e3", false, 1000}, Case{"0,5E-1", false, 0.05}}) {
    double typed = 0, field = 0;
    ASSERT_TRUE(TryParseReal(c.text, typed)) << c.text;
    EXPECT_EQ(typed, c.value) << c.text;
    EXPECT_EQ(TryParseFieldReal(c.text, field), c.field) << c.text;
    int16_t s = 0;
    int32_t l = 0;
    if (std::fabs(c.value) < 32768) {
      EXPECT_EQ(TryParseFieldInt16(c.text, s), c.field) << c.text;
      EXPECT_EQ(TryParseFieldInt32(c.text, l), c.field) << c.text;
    }
  }
  double v = 0;
  EXPECT_TRUE(TryParseFieldReal("-00", v));
  EXPECT_TRUE(std::signbit(v)) << "the sign of a zero stays in the value";
  for (const char* bad : {"inf", "nan", "1.5", "1,2,3", "", "E5"}) EXPECT_FALSE(TryParseFieldReal(bad, v)) << bad;
}

TEST(NumText, FormatPatterns) {
  EXPECT_EQ(Format(7, "0000"), "0007");
  EXPECT_EQ(Format(12345, "0000"), "12345");
  EXPECT_EQ(Format(-5.5, "000.000000000"), "-005,500000000");
  EXPECT_EQ(Format(2451545.25, "0000000.0000000"), "2451545,2500000");
  EXPECT_EQ(Format(42.04, "00.0"), "42,0");
  EXPECT_EQ(Format(59.96, "00.0"), "60,0");      // rounding carries into the tens
  EXPECT_EQ(Format(0.285, "0.00"), "0,29");      // decimal half, rounded up
  EXPECT_EQ(Format(-0.001, "0.00"), "-0,00");
  EXPECT_EQ(Format(0.0, "00.00"), "00,00");
  EXPECT_EQ(Format(9.9999, "00.00"), "10,00");
  EXPECT_EQ(Format(1e-20, "0.000"), "0,000");
  EXPECT_EQ(Format(123.456, "0"), "123");
  EXPECT_EQ(Format(2.5, "0"), "3");
}

TEST(NumText, DotToCommaTakesTheLastPoint) {
  EXPECT_EQ(DotToComma("12.5"), "12,5");
  EXPECT_EQ(DotToComma("1.2.3"), "1.2,3");
  EXPECT_EQ(DotToComma(".5"), ".5");
  EXPECT_EQ(DotToComma("12"), "12");
  EXPECT_EQ(DotToComma(""), "");
  double v = 0;
  EXPECT_TRUE(TryParseReal(DotToComma(" 42.25"), v));
  EXPECT_DOUBLE_EQ(v, 42.25);
}

// A box takes a decimal point as the comma; a text with a comma or two points stays as
// typed (and is refused by the reader).
TEST(NumText, BoxTextTakesAPointAsTheComma) {
  const std::pair<const char*, const char*> cases[] = {
      {"0.5", "0,5"}, {"2451545.25", "2451545,25"}, {".5", ",5"}, {"-1.5E3", "-1,5E3"},
      {"1,5", "1,5"}, {"1.2.3", "1.2.3"}, {"1.5,3", "1.5,3"}, {"12", "12"}, {"", ""},
  };
  for (const auto& [typed, read] : cases) EXPECT_EQ(BoxNumberText(typed), read) << typed;
}

TEST(NumText, DefaultTextAndPrintForm) {
  EXPECT_EQ(RealText(2305814), "2305814");
  EXPECT_EQ(RealText(1.5), "1,5");
  EXPECT_EQ(RealText(-0.25), "-0,25");
  EXPECT_EQ(RealText(-0.0), "0");
  // Whole numbers: fifteen digits as they are, from 1e15 on an exponent (as %.15g).
  EXPECT_EQ(RealText(999999999999999.0), "999999999999999");
  EXPECT_EQ(RealText(-123456789012345.0), "-123456789012345");
  EXPECT_EQ(RealText(1e15), "1E+15");
  EXPECT_EQ(PrintForm(-2400777000.0), "-2400777000 ");
  EXPECT_EQ(RealText(2451545.123456789), "2451545,12345679");
  EXPECT_EQ(RealText(0.1 + 0.2), "0,3");  // 15 significant digits
  EXPECT_EQ(RealText(1e16), "1E+16");
  EXPECT_EQ(PrintForm(12), " 12 ");
  EXPECT_EQ(PrintForm(-3), "-3 ");
  EXPECT_EQ(PrintForm(0), " 0 ");
}

}  // namespace
}  // namespace planova
