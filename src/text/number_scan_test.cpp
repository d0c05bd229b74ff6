#include "text/number_scan.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
  const char* text;
  double value;
  std::size_t consumed;
};

template <std::size_t N>
void ExpectScans(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    double value = -1;
    std::size_t consumed = 0;
    ASSERT_TRUE(ScanDouble(c.text, &value, &consumed)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(consumed, c.consumed) << c.text;
  }
}

TEST(ScanDoubleTest, ReadsLeadingNumber) {
  const Case cases[] = {
      {"  -12.5kg", -12.5, 7}, {"5em", 5, 1}, {"5e", 5, 1}, {"5e+", 5, 1},
      {"5E-2x", 0.05, 4}, {"1e5x", 1e5, 3}, {".5", 0.5, 2}, {"5.", 5, 2},
      {"-.5", -0.5, 3}, {"+3", 3, 2}, {"0x1A", 0, 1}, {"1,234.50", 1, 1},
      {"\t\n\v\f\r 42", 42, 8}, {"0.1", 0.1, 3},
      // Out of range: the sign survives, the decimal exponent decides.
      {"1e400", kInf, 5}, {"-1e400", -kInf, 6}, {"1e-400", 0, 6},
      {"1e99999999999999999999", kInf, 22}, {"0e99999", 0, 7},
      {"0.0001e-99999999999999999999", 0, 28}, {"0.001e310", 1e307, 9},
      {"1.7976931348623159e308", kInf, 22},
      {"2.4703282292062327e-324", 0, 23},
      {"2.4703282292062328e-324", std::numeric_limits<double>::denorm_min(), 23},
  };
  ExpectScans(cases);
  for (const char* text : {"-0", "-1e-400"}) {
    double value = 1;
    std::size_t consumed = 0;
    ASSERT_TRUE(ScanDouble(text, &value, &consumed));
    EXPECT_TRUE(value == 0 && std::signbit(value)) << text;
  }
}

// Where the exact path of small significands and exponents ends: each case
// goes wrong if that path reaches one step too far.
TEST(ScanDoubleTest, EdgesOfTheExactPath) {
  const Case cases[] = {
      // The digits of 2^53 + 1 are no exact double: converting them rounds,
      // and dividing by 100 would round again. Those of 2^53 are one.
      {"90071992547409.93", 90071992547409.93, 17},
      {"9007199254740992e-2", 90071992547409.92, 19},
      // 1e22 is the last exact power of ten; 1e23 and 1e-23 are rounded.
      {"3e22", 3e22, 4}, {"3e23", 3e23, 4}, {"1e-22", 1e-22, 5}, {"1e-23", 1e-23, 5},
      {"4.5e-22", 4.5e-22, 7}, {"45e-23", 45e-23, 6},
      // Dividing by 10 is not multiplying by 0.1.
      {"0.3", 0.3, 3}, {"-7e-1", -0.7, 5},
      // Beyond 1e22 while the significand times the rest stays below 2^53.
      {"90071992547409e24", 90071992547409e24, 17},
      {"9007199254740991e23", 9007199254740991e23, 19},
      // Twenty digits, which would wrap in 64 bits: 2^64 + 5.
      {"18446744073709551621", 18446744073709551621.0, 20},
      {"0000000000000000000000012.5", 12.5, 27}, {"0.00000000000000000000000125e25", 12.5, 31},
      {"1.0000000000000000000000", 1, 24}, {"0.000e-99999", 0, 12},
  };
  ExpectScans(cases);
}

TEST(ScanDoubleTest, FailsWithoutDigitsAndLeavesOutputsAlone) {
  for (const char* text : {"", ".", "-", " ", "abc", "inf", "nan", ".e5",
                           "e5", "+-1", "- 1", "\xA0" "1"}) {
    double value = 42;
    std::size_t consumed = 7;
    EXPECT_FALSE(ScanDouble(text, &value, &consumed)) << text;
    EXPECT_EQ(value, 42);
    EXPECT_EQ(consumed, 7u);
  }
}

TEST(ScanDoubleTest, WideText) {
  double value = 0;
  std::size_t consumed = 0;
  ASSERT_TRUE(ScanDouble(u"\u00A0\u3000-12.5kg", &value, &consumed));
  EXPECT_EQ(value, -12.5);
  EXPECT_EQ(consumed, 7u);
  ASSERT_TRUE(ScanDouble(u"2.5e-3e\u00B0", &value, &consumed));
  EXPECT_EQ(value, 0.0025);
  EXPECT_EQ(consumed, 6u);
  EXPECT_FALSE(ScanDouble(u"\uFF15", &value, &consumed));  // fullwidth 5
  EXPECT_FALSE(ScanDouble(u"\u00A0", &value, &consumed));
}

TEST(ScanDoubleTest, MillionDigitNumbers) {
  const std::string third = "0." + std::string(1'000'000, '3') + "x";
  const std::string one = "0." + std::string(999'999, '0') + "1e1000000";
  const std::u16string wide_one(one.begin(), one.end());
  double value = 0;
  std::size_t consumed = 0;
  ASSERT_TRUE(ScanDouble(third, &value, &consumed));
  EXPECT_EQ(value, 1.0 / 3.0);
  EXPECT_EQ(consumed, third.size() - 1);
  ASSERT_TRUE(ScanDouble(wide_one, &value, &consumed));
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(consumed, wide_one.size());
  ASSERT_TRUE(ScanDouble(std::string(1'000'000, '9'), &value, &consumed));
  EXPECT_EQ(value, kInf);
}

}  // namespace
}  // namespace qm
