#include "text/char_class.h"

#include <string_view>

#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace std::literals;

TEST(CharClassTest, WideSpace) {
  for (char16_t c : u"\t\r \u0085\u00A0\u1680\u2000\u200A\u2028\u2029\u202F"
                    u"\u205F\u3000"sv) {
    EXPECT_TRUE(IsWideSpace(c)) << int(c);
  }
  for (char16_t c : u"\0\b\x0E\x1C\x1F!\u0084\u00A1\u180E\u200B\u2060\uFEFF"
                    u"\uFFFF"sv) {
    EXPECT_FALSE(IsWideSpace(c)) << int(c);
  }
}

TEST(CharClassTest, WideDigit) {
  for (char16_t c : u"09\u0660\u0669\u0966\u096F\u0E50\u19D9\uABF0\uFF10"
                    u"\uFF19"sv) {
    EXPECT_TRUE(IsWideDigit(c)) << int(c);
  }
  for (char16_t c : u"\0/:\u00B2\u065F\u066A\u0965\u0970\u19DA\u2460\uFF0F"
                    u"\uFF1A"sv) {
    EXPECT_FALSE(IsWideDigit(c)) << int(c);
  }
}

TEST(CharClassTest, WideLower) {
  for (char16_t c : u"az\u00B5\u00DF\u00F6\u00F8\u00FF\u0101\u0137\u0138\u013A"
                    u"\u0148\u0149\u014B\u0177\u017A\u017E\u017F\u03AC\u03C2"
                    u"\u03CE\u0430\u045F\uFF41\uFF5A"sv) {
    EXPECT_TRUE(IsWideLower(c)) << int(c);
  }
  for (char16_t c : u"\0AZ`{0\u00AA\u00C0\u00D7\u00F7\u0100\u0136\u0139\u0147"
                    u"\u014A\u0176\u0178\u0179\u017D\u0180\u0391\u03AB\u03CF"
                    u"\u0410\u042F\u0460\uFF21\uFF5B"sv) {
    EXPECT_FALSE(IsWideLower(c)) << int(c);
  }
}

}  // namespace
}  // namespace qm
