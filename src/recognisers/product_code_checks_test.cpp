#include "recognisers/product_code_checks.h"

#include <cstdint>
#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace qm {
namespace {

// Check digits computed another way than the code under test: ISBN-10 by
// the sum of running sums (weights 10 down to 1), EAN-13 and UPC-A with
// weights counted from the right-hand end.
bool ReferenceISBN10(const std::u16string& s) {
  int running = 0;
  int total = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    int value;
    if (s[i] >= u'0' && s[i] <= u'9') {
      value = s[i] - u'0';
    } else if (i == 9 && (s[i] == u'X' || s[i] == u'x')) {
      value = 10;
    } else {
      return false;
    }
    running += value;
    total += running;
  }
  return s.size() == 10 && total % 11 == 0;
}

// The digit that completes `body` when weights run 3, 1, 3 ... leftwards
// from its last character (the check digit itself weighs 1).
char16_t CheckDigitFromRight(const std::u16string& body) {
  int sum = 0;
  int weight = 3;
  for (auto it = body.rbegin(); it != body.rend(); ++it) {
    sum += weight * (*it - u'0');
    weight = 4 - weight;
  }
  return static_cast<char16_t>(u'0' + (10 - sum % 10) % 10);
}

class Digits {
 public:
  explicit Digits(std::uint32_t seed) : engine_(seed) {}
  // The engine's raw output is the same on every platform; the standard
  // distributions are not.
  unsigned Below(unsigned n) { return engine_() % n; }
  std::u16string Random(std::size_t length) {
    std::u16string s;
    for (std::size_t i = 0; i < length; ++i) {
      s.push_back(static_cast<char16_t>(u'0' + Below(10)));
    }
    return s;
  }

 private:
  std::mt19937 engine_;
};

TEST(ProductCodeChecksTest, KnownCodes) {
  EXPECT_TRUE(IsValidISBN10(u"0306406152"));
  EXPECT_TRUE(IsValidISBN10(u"080442957X"));
  EXPECT_TRUE(IsValidISBN10(u"080442957x"));
  EXPECT_TRUE(IsValidEAN13(u"9780306406157"));
  EXPECT_TRUE(IsValidEAN13(u"4006381333931"));
  EXPECT_TRUE(IsValidUPCA(u"036000291452"));
  // "X" only in the last place; lengths exact; nothing but "0".."9".
  EXPECT_FALSE(IsValidISBN10(u"08044295X7"));
  EXPECT_FALSE(IsValidISBN10(u"030640615"));
  EXPECT_FALSE(IsValidISBN10(u"03064061520"));
  EXPECT_FALSE(IsValidISBN10(u"0306 06152"));
  EXPECT_FALSE(IsValidISBN10(u""));
  EXPECT_FALSE(IsValidEAN13(u"978030640615"));
  EXPECT_FALSE(IsValidEAN13(u"978030640615X"));
  EXPECT_FALSE(IsValidUPCA(u"03600029145"));
  EXPECT_FALSE(IsValidUPCA(u"0036000291452"));
  // Fullwidth and Arabic-Indic digits are digits to a reader, not here.
  EXPECT_FALSE(IsValidISBN10(u"030640615\uFF12"));
  EXPECT_FALSE(IsValidUPCA(u"03600029145\u0662"));
  // A zero weighs nothing, so an all-zero code is valid.
  EXPECT_TRUE(IsValidEAN13(u"0000000000000"));
  EXPECT_TRUE(IsValidUPCA(u"000000000000"));
}

TEST(ProductCodeChecksTest, UPCWeightedSum) {
  int sum = -1;
  ASSERT_TRUE(UPCWeightedSum(u"03600029145", &sum));
  EXPECT_EQ(sum, 8);
  ASSERT_TRUE(UPCWeightedSum(u"", &sum));
  EXPECT_EQ(sum, 0);
  ASSERT_TRUE(UPCWeightedSum(u"1", &sum));
  EXPECT_EQ(sum, 3);
  // Any length: a million nines weigh 2,000,000 nines, 0 modulo 10.
  ASSERT_TRUE(UPCWeightedSum(std::u16string(1'000'000, u'9'), &sum));
  EXPECT_EQ(sum, 0);
  // A non-digit anywhere fails and leaves the sum alone.
  sum = 42;
  EXPECT_FALSE(UPCWeightedSum(u"0360002914 5", &sum));
  EXPECT_FALSE(UPCWeightedSum(u"X", &sum));
  EXPECT_EQ(sum, 42);
}

// Thousands of generated codes: each valid one passes; one changed digit is
// always caught; swapping two neighbours is caught by ISBN-10 whenever they
// differ, by EAN-13 and UPC-A unless they differ by 5 (3a + b = a + 3b
// modulo 10 exactly then).
TEST(ProductCodeChecksTest, GeneratedISBN10) {
  Digits rng(1);
  const std::u16string kChecks = u"0123456789X";
  for (int n = 0; n < 5000; ++n) {
    const std::u16string body = rng.Random(9);
    std::u16string code;
    for (const char16_t check : kChecks) {
      if (ReferenceISBN10(body + check)) {
        ASSERT_TRUE(code.empty()) << "two check digits";
        code = body + check;
      }
    }
    ASSERT_EQ(code.size(), 10u);
    ASSERT_TRUE(IsValidISBN10(code)) << std::string(code.begin(), code.end());

    std::u16string changed = code;
    const unsigned at = rng.Below(10);
    const std::u16string& alphabet = at == 9 ? kChecks : kChecks.substr(0, 10);
    while (changed[at] == code[at]) changed[at] = alphabet[rng.Below(alphabet.size())];
    EXPECT_FALSE(IsValidISBN10(changed));

    std::u16string swapped = code;
    const unsigned i = rng.Below(9);
    std::swap(swapped[i], swapped[i + 1]);
    EXPECT_EQ(IsValidISBN10(swapped), code[i] == code[i + 1]);
  }
  // Random strings over the ISBN alphabet, "x" included: both agree.
  const std::u16string kAny = u"0123456789Xx";
  int valid = 0;
  for (int n = 0; n < 20000; ++n) {
    std::u16string s;
    for (int k = 0; k < 10; ++k) s.push_back(kAny[rng.Below(kAny.size())]);
    ASSERT_EQ(IsValidISBN10(s), ReferenceISBN10(s)) << std::string(s.begin(), s.end());
    valid += IsValidISBN10(s);
  }
  EXPECT_GT(valid, 100);  // the comparison saw both outcomes
}

TEST(ProductCodeChecksTest, GeneratedEAN13AndUPCA) {
  Digits rng(2);
  for (const std::size_t length : {13u, 12u}) {
    const auto valid = [length](const std::u16string& s) {
      return length == 13 ? IsValidEAN13(s) : IsValidUPCA(s);
    };
    for (int n = 0; n < 5000; ++n) {
      std::u16string code = rng.Random(length - 1);
      code.push_back(CheckDigitFromRight(code));
      ASSERT_TRUE(valid(code)) << std::string(code.begin(), code.end());

      std::u16string changed = code;
      const unsigned at = rng.Below(length);
      changed[at] = static_cast<char16_t>(u'0' + (code[at] - u'0' + 1 + rng.Below(9)) % 10);
      EXPECT_FALSE(valid(changed));

      std::u16string swapped = code;
      const unsigned i = rng.Below(length - 1);
      std::swap(swapped[i], swapped[i + 1]);
      const int gap = code[i] > code[i + 1] ? code[i] - code[i + 1] : code[i + 1] - code[i];
      EXPECT_EQ(valid(swapped), gap == 0 || gap == 5);
    }
  }
}

}  // namespace
}  // namespace qm
