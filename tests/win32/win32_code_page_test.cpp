#include "win32_code_page.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "text/windows_1252.h"

namespace qm {
namespace {

std::string Hex(std::u16string_view text) {
  std::string out;
  char buffer[8];
  for (char16_t c : text) {
    std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(c));
    out += buffer;
  }
  return out;
}

std::string Hex(std::string_view bytes) {
  std::string out;
  char buffer[8];
  for (char b : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ",
                  static_cast<unsigned>(static_cast<unsigned char>(b)));
    out += buffer;
  }
  return out;
}

// The built-in catalogue and every other host rely on the portable table;
// under the ANSI code page 1252 the system must agree with it exactly.
class Win32CodePage1252Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1252) {
      GTEST_SKIP() << "the ANSI code page is " << ::GetACP() << ", not 1252";
    }
  }

  Win32CodePage system_;
  Windows1252CodePage portable_;
};

TEST_F(Win32CodePage1252Test, EveryByteDecodesAsThePortableTable) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::u16string wide = system_.ToWide(one);
    EXPECT_EQ(wide, portable_.ToWide(one)) << "byte " << b << ": " << Hex(wide);
    // And each comes back as the same byte.
    EXPECT_EQ(system_.ToNarrow(wide), one) << "byte " << b;
    all += one;
  }
  EXPECT_EQ(system_.ToWide(all), portable_.ToWide(all));
  EXPECT_EQ(system_.ToNarrow(system_.ToWide(all)), all);
}

TEST_F(Win32CodePage1252Test, UnrepresentableCharactersBecomeAQuestionMark) {
  struct Case {
    std::u16string text;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {u"\u20AC", "\x80"},                 // euro sign, in the page
      {u"\u0081", "\x81"},                 // undefined byte kept as itself
      {u"\u0100", "?"},                    // A with macron: not "A"
      {u"\uFF02", "?"},                    // fullwidth quote: not a real one
      {u"\u4E2D", "?"},                    // CJK
      {u"\U0001F600", "?"},                // a surrogate pair is one character
      {u"a\U0001F600\U00010000b", "a??b"},
      // Lone or reversed surrogates are one unrepresentable unit each.
      {std::u16string{u'x', char16_t{0xD800}, u'y'}, "x?y"},
      {std::u16string{char16_t{0xDE00}, char16_t{0xD83D}}, "??"},
      {u"say \uFF02hi\uFF02", "say ?hi?"},
      {u"\u00E9t\u00E9 \u2014 \u0153", "\xE9t\xE9 \x97 \x9C"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(system_.ToNarrow(c.text)), Hex(c.bytes)) << Hex(c.text);
    EXPECT_EQ(Hex(portable_.ToNarrow(c.text)), Hex(c.bytes)) << Hex(c.text);
  }
}

TEST_F(Win32CodePage1252Test, EveryUtf16CodeUnitEncodesAsThePortableTable) {
  // Lone surrogates included: text from a page can hold them.
  std::vector<std::string> differences;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const std::u16string one(1, static_cast<char16_t>(c));
    const std::string expected = portable_.ToNarrow(one);
    const std::string actual = system_.ToNarrow(one);
    if (actual != expected && differences.size() < 20) {
      differences.push_back("U+" + Hex(one) + "gives " + Hex(actual) +
                            "instead of " + Hex(expected));
    }
  }
  std::string report;
  for (const std::string& d : differences) report += d + "\n";
  EXPECT_TRUE(differences.empty()) << report;
}

TEST(Win32CodePageTest, EmptyAndLongTexts) {
  const Win32CodePage code_page;
  EXPECT_EQ(code_page.ToWide(""), u"");
  EXPECT_EQ(code_page.ToNarrow(u""), "");

  // Several MiB of ASCII with NULs in it: nothing is cut or stops early.
  std::string bytes;
  for (int i = 0; i < (3 << 20); ++i) bytes.push_back(static_cast<char>(i % 128));
  const std::u16string wide = code_page.ToWide(bytes);
  ASSERT_EQ(wide.size(), bytes.size());
  EXPECT_EQ(wide[128], u'\0');
  EXPECT_EQ(wide.back(), static_cast<char16_t>(bytes.back()));
  EXPECT_EQ(code_page.ToNarrow(wide), bytes);
}

TEST(Win32CodePageTest, PiecewiseConversionMatchesWholeConversion) {
  // Surrogate pairs and unrepresentable characters at every offset of a
  // piece boundary.
  const std::u16string text =
      u"a\U0001F600b\u4E2Dcd\U0001F600\U0001F600e\u00E9\u20AC\U00010000xyz";
  const Win32CodePage whole;
  const std::string expected = whole.ToNarrow(text);
  using namespace std::string_literals;
  const std::string bytes = "plain \x80\xE9 text with\0 a NUL and more"s;
  const std::u16string expected_wide = whole.ToWide(bytes);
  for (std::size_t piece = 4; piece <= 9; ++piece) {
    const Win32CodePage pieces(piece);
    EXPECT_EQ(pieces.ToNarrow(text), expected) << "piece " << piece;
    EXPECT_EQ(pieces.ToWide(bytes), expected_wide) << "piece " << piece;
  }
}

}  // namespace
}  // namespace qm
