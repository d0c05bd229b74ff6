#include "text/number_format.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace qm {
namespace {

struct Case {
  double value;
  const char* text;
};

TEST(FormatGTest, ChoosesStyleAndTrimsZeros) {
  const Case cases[] = {
      {12.5, "12.5"}, {2.5, "2.5"}, {100, "100"}, {212, "212"}, {0, "0"},
      {-0.0, "-0"}, {-273.15, "-273.15"}, {0.1 + 0.2, "0.3"},
      {123456, "123456"}, {12.5 / 1.609344, "7.76714"}, {9.41604, "9.41604"},
      {1234567, "1.23457e+006"}, {-1234567, "-1.23457e+006"},
      {1e10, "1e+010"}, {0.000025, "2.5e-005"}, {-0.00001234, "-1.234e-005"},
      {1e100, "1e+100"}, {1e-300, "1e-300"},
      {std::numeric_limits<double>::denorm_min(), "4.94066e-324"},
      {std::numeric_limits<double>::max(), "1.79769e+308"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatG(c.value), c.text);
}

TEST(FormatGTest, RoundsExactBinaryValueHalfToEven) {
  const Case cases[] = {
      // The style follows the exponent after rounding.
      {999999.4, "999999"}, {999999.5, "1e+006"}, {0.0001, "0.0001"},
      {0.00001, "1e-005"}, {99999.96, "100000"}, {9.9999996e-05, "0.0001"},
      // Exact ties go to the even digit.
      {1234565, "1.23456e+006"}, {1234575, "1.23458e+006"},
      {100000.5, "100000"}, {100001.5, "100002"},
      // Ties in decimal only: 0.1234565 is stored just below, 0.3000005 above.
      {0.1234565, "0.123456"}, {0.3000005, "0.300001"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatG(c.value), c.text);
}

// The digits of the common values come from integer arithmetic, up to 2^64
// and down to 1e-5 for amounts; the library gives the rest. Both must round
// the same way on either side of those edges.
TEST(FormatAmountTest, SameDigitsOnBothSidesOfTheExactPath) {
  const Case amounts[] = {
      {18446744073709551616.0, "1.84467440737096e+019"},  // 2^64
      {18446744073709549568.0, "1.84467440737095e+019"},  // the double below it
      {9007199254740994.0, "9.00719925474099e+015"},
      {1e-5, "1e-005"}, {9.5e-6, "9.5e-006"}, {0.000123456789012345, "0.000123456789012345"},
      // Ties go to the even digit, from integers and from halves alike.
      {1234567890123455, "1.23456789012346e+015"}, {1234567890123445, "1.23456789012344e+015"},
      {123456789012344.5, "123456789012344"}, {123456789012345.5, "123456789012346"},
      {999999999999999.5, "1e+015"}, {4503599627370495.5, "4.5035996273705e+015"},
  };
  for (const Case& c : amounts) EXPECT_EQ(FormatAmount(c.value), c.text) << c.text;
  const Case six[] = {
      {12345.25, "12345.2"}, {12345.75, "12345.8"}, {1234.125, "1234.12"},
      {1234565.5, "1.23457e+006"}, {18446744073709549568.0, "1.84467e+019"},
      {3e19, "3e+019"}, {-36893488147419099136.0, "-3.68935e+019"},  // 2^65 - 2^12
      {1e-14, "1e-014"}, {9.9999999999999e-15, "1e-014"},
  };
  for (const Case& c : six) EXPECT_EQ(FormatG(c.value), c.text) << c.text;
}

TEST(FormatGTest, SpecialValuesAndWideText) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(FormatG(inf), "inf");
  EXPECT_EQ(FormatG(-inf), "-inf");
  EXPECT_EQ(FormatG(std::copysign(nan, 1.0)), "nan");
  EXPECT_EQ(FormatG(std::copysign(nan, -1.0)), "-nan");
  EXPECT_EQ(FormatGWide(1234567), u"1.23457e+006");
  EXPECT_EQ(FormatGWide(-0.5), u"-0.5");
}

// Amounts keep fifteen digits: all a person writes, none of the noise.
TEST(FormatAmountTest, KeepsWrittenDigitsDropsNoise) {
  const Case cases[] = {
      {1234.5678, "1234.5678"}, {(6 * 0.3048 + 2 * 0.0254) / 0.0254, "74"}, {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"}, {123456789012345, "123456789012345"},
      {1234567, "1234567"}, {-40, "-40"}, {0.000025, "2.5e-005"},
      {1e15, "1e+015"}, {1e20, "1e+020"}, {1e308, "1e+308"},
      {999999999999999.4, "999999999999999"}, {999999999999999.6, "1e+015"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatAmount(c.value), c.text);
  EXPECT_EQ(FormatAmount(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(FormatAmountWide(-2.25), u"-2.25");
}

}  // namespace
}  // namespace qm
