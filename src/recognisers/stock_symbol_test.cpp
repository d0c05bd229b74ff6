#include "recognisers/stock_symbol.h"

#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "text/char_class.h"

namespace qm {
namespace {

bool IsUpperForTest(char16_t c) { return c >= u'A' && c <= u'Z'; }
bool IsDigitForTest(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAlnumForTest(char16_t c) {
  return IsUpperForTest(c) || IsDigitForTest(c) || (c >= u'a' && c <= u'z');
}

// The end of one to `most` capitals from `at` that no letter or digit
// follows; `at` when there are none.
std::size_t SuffixEndForTest(const std::u16string& s, std::size_t at,
                             std::size_t most) {
  std::size_t i = at;
  while (i < s.size() && i - at < most && IsUpperForTest(s[i])) ++i;
  return i == at || (i < s.size() && IsAlnumForTest(s[i])) ? at : i;
}

// The search as a recursive definition, copying its text. `handed` is set
// for the search of the text from an exchange's colon on. Only fit for
// short inputs.
std::u16string ReferenceStockSymbol(const std::u16string& text,
                                    bool handed = false) {
  std::u16string s = text;
  bool cut = false;
  if (const auto open = s.find(u'('); open != std::u16string::npos) {
    s = s.substr(open + 1);
    cut = true;
  }
  if (const auto close = s.rfind(u')'); close != std::u16string::npos) {
    s = s.substr(0, close);
  }
  if (s.empty()) return text;
  // Where a number alone after the colon must begin.
  std::size_t after_colon = s.size();
  if (handed) {
    after_colon = cut ? 0 : 1;
    while (after_colon < s.size() &&
           (s[after_colon] == u' ' || s[after_colon] == u'\u00A0')) {
      ++after_colon;
    }
  }
  const auto starts_number = [&](std::size_t i) {
    if (!IsDigitForTest(s[i])) return false;
    if (i == 0) return true;
    const char16_t b = s[i - 1];
    return !IsAlnumForTest(b) && b != u'.' && b != u',' && !IsWideLower(b);
  };
  std::size_t pos = 0;
  for (;;) {
    std::size_t start = pos;
    while (start < s.size() && !IsUpperForTest(s[start]) && !starts_number(start)) {
      ++start;
    }
    if (start == s.size()) return u"";
    if (IsDigitForTest(s[start])) {
      std::size_t end = start;
      while (end < s.size() && IsDigitForTest(s[end])) ++end;
      std::size_t last = end;
      if (end < s.size() && s[end] == u'.') {
        const std::size_t suffix = SuffixEndForTest(s, end + 1, 4);
        if (suffix > end + 1) last = suffix;
      }
      const bool alone = end == s.size() || !IsAlnumForTest(s[end]);
      if (last > end || (start == after_colon && alone)) {
        return s.substr(start, last - start);
      }
      pos = end;
      continue;
    }
    std::size_t end = start;
    while (end < s.size() && (IsUpperForTest(s[end]) || s[end] == u'.')) ++end;
    if (end + 1 < s.size() && s[end] == u'-' && s[end - 1] != u'.') {
      const std::size_t suffix = SuffixEndForTest(s, end + 1, 2);
      if (suffix > end + 1) end = suffix;
    }
    const bool at_end = end == s.size();
    std::u16string candidate = s.substr(start, end - start);
    if (candidate.back() == u'.') candidate.pop_back();
    bool rejected = start > 0 && IsWideLower(s[start - 1]);
    if (!rejected) {
      if (at_end) return candidate;
      if (s[end] >= u'a' && s[end] <= u'z') {
        rejected = true;
      } else if (s[end] != u':') {
        return candidate;
      }
    }
    if (at_end) return text;
    if (s[end] == u':') {
      std::u16string inner = ReferenceStockSymbol(s.substr(end), true);
      return inner.empty() ? candidate : inner;
    }
    pos = end;
  }
}

// Exchanges' own forms: numeric symbols, exchange and class suffixes.
TEST(FindStockSymbolTest, AsExchangesWriteThem) {
  struct Case {
    std::u16string_view text;
    std::u16string_view symbol;
  };
  const Case cases[] = {
      // The exchange's prefix gives way to what follows its colon.
      {u"Toyota Motor Corp (TYO: 7203)", u"7203"},
      {u"KRX:005930", u"005930"},
      {u"HKG:\u00A00700 HK", u"0700"},
      {u"NYSE: BRK-B", u"BRK-B"},
      // A suffix belongs to the symbol.
      {u"Tencent Holdings (0700.HK)", u"0700.HK"},
      {u"Sony 6758.T rose", u"6758.T"},
      {u"Kweichow Moutai 600519.SS.", u"600519.SS"},
      {u"BRK-B", u"BRK-B"},
      {u"RDS-A, RDS-B", u"RDS-A"},
      {u"BF.B", u"BF.B"},
      // Not a number standing alone after a colon, nor a suffix.
      {u"NASDAQ: 12abc", u"NASDAQ"},
      {u"Up 3.5% to 120 MSFT", u"MSFT"},
      {u"Price: 12.50", u""},
      {u"rose 1.5 to 2", u""},
      {u"B2.HK", u"B"},
      {u"ANTI-AGING", u"ANTI"},
      {u"X-RAY", u"X"},
      {u"BRK-Bx", u"BRK"},
      {u"3M", u"M"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindStockSymbol(c.text), c.symbol) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(FindStockSymbolTest, PicksTheSymbol) {
  // Exchange prefixes defer to what follows the colon.
  EXPECT_EQ(FindStockSymbol(u"Widget Corporation (NASDAQ:MSFT)"), u"MSFT");
  EXPECT_EQ(FindStockSymbol(u"NYSE:"), u"NYSE");
  // Capitals that begin a word are skipped.
  EXPECT_EQ(FindStockSymbol(u"Shares of XYZ rose"), u"XYZ");
  // Full stops inside are kept, one at the end is not.
  EXPECT_EQ(FindStockSymbol(u"BRK.B"), u"BRK.B");
  EXPECT_EQ(FindStockSymbol(u"Buy MSFT."), u"MSFT");
  EXPECT_EQ(FindStockSymbol(u"Buy MSFT. Now"), u"MSFT");
  EXPECT_EQ(FindStockSymbol(u"R&D"), u"R");
  // Preceded by a lower-case letter of any script.
  EXPECT_EQ(FindStockSymbol(u"caf\u00E9IBM rose"), u"");
  EXPECT_EQ(FindStockSymbol(u"\u00E9IBM, IBM"), u"IBM");
}

TEST(FindStockSymbolTest, OddAnswersKept) {
  // A turned-down run reaching the end gives the text searched.
  EXPECT_EQ(FindStockSymbol(u"mixedCASE"), u"mixedCASE");
  EXPECT_EQ(FindStockSymbol(u"NYSE:mixedCASE"), u":mixedCASE");
  // No upper-case letter left to try.
  EXPECT_EQ(FindStockSymbol(u"mixedCase"), u"");
  EXPECT_EQ(FindStockSymbol(u"McKay"), u"");
  EXPECT_EQ(FindStockSymbol(u""), u"");
  // Nothing inside the parentheses.
  EXPECT_EQ(FindStockSymbol(u"()"), u"()");
  EXPECT_EQ(FindStockSymbol(u"X:()"), u"X:()");
  EXPECT_EQ(FindStockSymbol(u"(X:())"), u":()");
  // A run turned down for its lower-case neighbour still stands before an
  // empty deferred search.
  EXPECT_EQ(FindStockSymbol(u"aB:"), u"B");
  EXPECT_EQ(FindStockSymbol(u"AB:x"), u"AB");
}

TEST(FindStockSymbolTest, Parentheses) {
  // Only the text after the first "(" and before the last ")" counts.
  EXPECT_EQ(FindStockSymbol(u"ACME (acme) WIDG"), u"");
  EXPECT_EQ(FindStockSymbol(u"ACME (acme WIDG"), u"WIDG");
  EXPECT_EQ(FindStockSymbol(u"ACME) WIDG"), u"ACME");
  // Each deferred search cuts its own parentheses.
  EXPECT_EQ(FindStockSymbol(u"((A:B(C))"), u"C");
  EXPECT_EQ(FindStockSymbol(u"(A:B(c))"), u"A");
}

// The loop gives the recursive definition's answer on every short text over
// the characters that matter: letters of both cases, digits, full stops,
// hyphens, colons, parentheses, blanks and a non-ASCII lower-case letter.
TEST(FindStockSymbolTest, MatchesRecursiveDefinition) {
  constexpr std::u16string_view kAlphabet = u"AB.:a( )x\u00E97-";
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 14);
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  for (int round = 0; round < 200000; ++round) {
    std::u16string text(length(random), u' ');
    for (char16_t& c : text) c = kAlphabet[pick(random)];
    ASSERT_EQ(FindStockSymbol(text), ReferenceStockSymbol(text))
        << "round " << round;
  }
}

std::u16string Repeat(std::u16string_view piece, std::size_t times) {
  std::u16string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// Deeply nested colons and parentheses: the recursive definition's answer
// while short, and the same answer at 1 MB, where the recursion would run
// a level per colon.
TEST(FindStockSymbolTest, PathologicalInputs) {
  struct Shape {
    std::u16string (*make)(std::size_t);
    std::u16string_view answer;
  };
  const Shape shapes[] = {
      {[](std::size_t n) { return Repeat(u"A:", n); }, u"A"},
      {[](std::size_t n) { return Repeat(u"AB:", n) + u"mixedCASE"; },
       u":mixedCASE"},
      {[](std::size_t n) { return Repeat(u"(", n) + u"IBM" + Repeat(u")", n); },
       u"IBM"},
      {[](std::size_t n) { return Repeat(u"(A:", n) + Repeat(u")", n); }, u"A"},
      {[](std::size_t n) { return Repeat(u"A:(", n) + u"B" + Repeat(u")", n); },
       u"B"},
      {[](std::size_t n) {
         return Repeat(u"(x:", n) + u"aB" + Repeat(u")", n);
       },
       u""},
      {[](std::size_t n) { return Repeat(u"()", n); }, u""},
      {[](std::size_t n) { return Repeat(u")", n) + u"IBM"; }, u""},
  };
  constexpr std::size_t kMegabyte = 1 << 20;
  for (const Shape& shape : shapes) {
    for (std::size_t n = 2; n < 40; ++n) {
      const std::u16string text = shape.make(n);
      ASSERT_EQ(FindStockSymbol(text), ReferenceStockSymbol(text));
      ASSERT_EQ(FindStockSymbol(text), shape.answer);
    }
    const std::size_t growth = shape.make(2).size() - shape.make(1).size();
    const std::u16string large = shape.make(kMegabyte / growth);
    EXPECT_GE(large.size(), kMegabyte - growth);
    EXPECT_EQ(FindStockSymbol(large), shape.answer);
  }
}

TEST(CheckStockInputTest, TrimsAndRefusesBlank) {
  // Carriage returns, line feeds, spaces and tabs go from both ends only.
  const InputCheck trimmed = CheckStockInput(u"  MSFT \r\n");
  EXPECT_TRUE(trimmed.accepted);
  EXPECT_EQ(trimmed.text, u"MSFT");
  EXPECT_EQ(CheckStockInput(u"\tBRK B\t").text, u"BRK B");
  EXPECT_EQ(CheckStockInput(u"x").text, u"x");
  // Nothing left: refused with the stock message.
  for (std::u16string_view blank : {u"", u"  ", u"\r\n \t"}) {
    const InputCheck refused = CheckStockInput(blank);
    EXPECT_FALSE(refused.accepted);
    EXPECT_EQ(refused.message, kMessageStockSymbolRequired);
  }
  EXPECT_EQ(kMessageStockSymbolRequired, 143);
}

}  // namespace
}  // namespace qm
