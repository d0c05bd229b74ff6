#include "text/exact_decimal.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace qm {
namespace {

// The values themselves are checked through ScanDouble and FormatG, and
// against the C library by bench/number_exactness_check. These check which
// numbers the exact paths take: the everyday ones must not silently go to
// the slow library, and the ones they cannot be sure of must.

TEST(ReadDecimalExactlyTest, AnswersEverydayNumbersOnly) {
  if (FLT_EVAL_METHOD != 0) GTEST_SKIP() << "doubles are evaluated at a wider precision";
  struct Case {
    const char* text;
    bool answers;
    double value;
  };
  const Case cases[] = {
      {"12.5", true, 12.5}, {"0.3048", true, 0.3048}, {"1234.5678", true, 1234.5678},
      {"9007199254740992", true, 9007199254740992.0}, {"0e99999999", true, 0},
      {"1e22", true, 1e22}, {"1e-22", true, 1e-22}, {"1e37", true, 1e37},
      {"9007199254740993", false, 0}, {"1e38", false, 0}, {"1e-23", false, 0},
      {"1234567890123456789", false, 0}, {"12345678901234567890", false, 0},
      {"1e99999999999999999999", false, 0}, {"0.5e-99999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    double value = -7;
    EXPECT_EQ(ReadDecimalExactly(c.text, &value), c.answers) << c.text;
    EXPECT_EQ(value, c.answers ? c.value : -7) << c.text;
  }
}

TEST(RoundToDigitsExactlyTest, AnswersEverydayValuesOnly) {
  struct Case {
    double value;
    int precision;
    const char* digits;  // nullptr where the library must answer
    int exponent;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {12.5, 6, "125000", 1}, {-0.3048, 15, "304800000000000", -1}, {0.0, 6, "000000", 0},
      {-0.0, 1, "0", 0}, {999999.5, 6, "100000", 6}, {0.1, 17, "10000000000000001", -1},
      {18446744073709549568.0, 17, "18446744073709550", 19}, {1e-5, 15, "100000000000000", -5},
      {18446744073709551616.0, 6, nullptr, 0}, {9.5e-6, 15, nullptr, 0},
      {1e-300, 6, nullptr, 0}, {inf, 6, nullptr, 0}, {std::nan(""), 6, nullptr, 0},
      {1.0, 0, nullptr, 0}, {1.0, 18, nullptr, 0},
  };
  for (const Case& c : cases) {
    RoundedDigits out{{'x'}, 99};
    const bool answered = RoundToDigitsExactly(c.value, c.precision, &out);
    EXPECT_EQ(answered, c.digits != nullptr) << c.value << " at " << c.precision;
    if (c.digits == nullptr) {
      EXPECT_EQ(out.digits[0], 'x');
      EXPECT_EQ(out.exponent, 99);
    } else if (answered) {
      EXPECT_EQ(std::string(out.digits, static_cast<std::size_t>(c.precision)), c.digits);
      EXPECT_EQ(out.exponent, c.exponent) << c.value << " at " << c.precision;
    }
  }
}

}  // namespace
}  // namespace qm
