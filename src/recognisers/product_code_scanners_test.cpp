#include "recognisers/product_code_scanners.h"

#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "recognisers/product_code_checks.h"
#include "support/start_by_start_ean13.h"

namespace qm {
namespace {

using Scanner = bool (*)(std::u16string_view, std::u16string*);

// What a scanner makes of `text`: its output, "-" when it fails. Failure
// must leave the output as it was.
std::u16string Scan(Scanner scan, std::u16string_view text) {
  std::u16string out = u"untouched";
  if (scan(text, &out)) return out;
  EXPECT_EQ(out, u"untouched");
  return u"-";
}


TEST(FindISBN10Test, RunsOfTenWithSpacesAndHyphens) {
  EXPECT_EQ(Scan(FindISBN10, u"ISBN 0-306-40615-2"), u"0306406152");
  EXPECT_EQ(Scan(FindISBN10, u"ISBN:0306406152."), u"0306406152");
  EXPECT_EQ(Scan(FindISBN10, u"0306406152a"), u"0306406152");
  // The first valid run wins; an invalid one is skipped.
  EXPECT_EQ(Scan(FindISBN10, u"0306406153, 1861972717; 0306406152"), u"1861972717");
  // A full stop ends the run, so a dotted ISBN is four short runs.
  EXPECT_EQ(Scan(FindISBN10, u"0.306.40615.2"), u"-");
  // Eleven or more digits are no ISBN, whatever ten of them say.
  EXPECT_EQ(Scan(FindISBN10, u"1 0-306-40615-2"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u"0306406152-1"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u"978-0-306-40615-7"), u"-");
  // Any script's digits count towards the length but fail the check.
  EXPECT_EQ(Scan(FindISBN10, u"\u0663 0306406152"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u"\uFF10\uFF13\uFF10\uFF16\uFF14\uFF10\uFF16\uFF11\uFF15\uFF12"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u""), u"-");
}

TEST(FindISBN10Test, XOnlyAfterTheNinthDigit) {
  EXPECT_EQ(Scan(FindISBN10, u"0-8044-2957-x"), u"080442957X");
  EXPECT_EQ(Scan(FindISBN10, u"0-8044-2957 - X)"), u"080442957X");
  EXPECT_EQ(Scan(FindISBN10, u"080442957XX"), u"080442957X");
  // Anywhere else an "X" ends the run.
  EXPECT_EQ(Scan(FindISBN10, u"08044X2957"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u"X0306406152"), u"0306406152");
  EXPECT_EQ(Scan(FindISBN10, u"0306406152X"), u"0306406152");
  EXPECT_EQ(Scan(FindISBN10, u"080442957X1"), u"-");
}

// Typographic hyphens and no-break spaces part the groups as "-" does.
TEST(FindISBN10Test, TypographicSeparators) {
  // Each text with its hyphens replaced by the separator.
  const auto written = [](std::u16string text, char16_t separator) {
    for (char16_t& c : text) {
      if (c == u'-') c = separator;
    }
    return text;
  };
  for (const char16_t separator : {u'\u2010', u'\u2011', u'\u2012', u'\u2013', u'\u2212',
                                   u'\u00A0', u'\u2007', u'\u202F'}) {
    EXPECT_EQ(Scan(FindISBN10, written(u"ISBN 0-306-40615-2", separator)), u"0306406152")
        << static_cast<int>(separator);
    EXPECT_EQ(Scan(FindUPCA, written(u"0-36000-29145-2", separator)), u"036000291452");
    // Still no more than ten digits to a run.
    EXPECT_EQ(Scan(FindISBN10, written(u"1-0306406152", separator)), u"-");
  }
  // Other dashes and spaces still end a run.
  EXPECT_EQ(Scan(FindISBN10, u"0\u2014306\u201440615\u20142"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u"0\u2009306\u200940615\u20092"), u"-");
}

// The number of a label is no digit of the code after it.
TEST(FindISBN10Test, LabelsAreNotDigits) {
  for (const std::u16string_view label :
       {u"ISBN-10 ", u"ISBN10 ", u"ISBN 10 ", u"isbn-10: ", u"ISBN\u201110 ", u"ISBN-13 "}) {
    EXPECT_EQ(Scan(FindISBN10, std::u16string(label) + u"0306406152"), u"0306406152")
        << std::string(label.begin(), label.end());
  }
  // Not a label: another word, a longer number, or digits right after.
  EXPECT_EQ(Scan(FindISBN10, u"No. 10 0306406152"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u"ISBN 1-86197-271-7"), u"1861972717");
  EXPECT_EQ(Scan(FindISBN10, u"ISBN 103 0306406152"), u"-");
  EXPECT_EQ(Scan(FindISBN10, u"ISBN--10 0306406152"), u"-");
}

TEST(FindEAN13Test, LabelsAreNotDigits) {
  // "1397880720425" passes the check, so reading the label's "13" as
  // digits would find that instead.
  EXPECT_EQ(Scan(FindEAN13, u"ISBN-13: 978-80-7204-250-0"), u"9788072042500");
  EXPECT_EQ(Scan(FindEAN13, u"ISBN-13 9788072042500"), u"9788072042500");
  EXPECT_EQ(Scan(FindEAN13, u"isbn13 978 80 7204 250 0"), u"9788072042500");
  EXPECT_EQ(Scan(FindEAN13, u"EAN-13 4006381333931"), u"4006381333931");
  EXPECT_EQ(Scan(FindEAN13, u"ISBN-10 0306406152, ISBN-13 9780306406157"), u"9780306406157");
}

// Thirteen digits with a digit right before or after them are a piece of
// a longer number, not a code.
TEST(FindEAN13Test, CodesStandApart) {
  // 9789722287227 passes, and so would the first thirteen of these.
  EXPECT_EQ(Scan(FindEAN13, u"97897222872272"), u"-");
  EXPECT_EQ(Scan(FindEAN13, u"19780306406157"), u"-");
  EXPECT_EQ(Scan(FindEAN13, u"9780306406157 / 97897222872272"), u"9780306406157");
  // Anything but a digit between keeps them apart.
  EXPECT_EQ(Scan(FindEAN13, u"1 9780306406157 2"), u"9780306406157");
  EXPECT_EQ(Scan(FindEAN13, u"1-978-0-306-40615-7-2"), u"9780306406157");
}

TEST(FindEAN13Test, ThirteenDigitsAcrossPunctuation) {
  EXPECT_EQ(Scan(FindEAN13, u"978-0-306-40615-7"), u"9780306406157");
  EXPECT_EQ(Scan(FindEAN13, u"EAN 4006381333931"), u"4006381333931");
  // Extra digits in front: the search slides on one digit at a time.
  EXPECT_EQ(Scan(FindEAN13, u"12.9780306406157"), u"9780306406157");
  // Anything that is neither an ASCII digit nor an ASCII letter is passed
  // over, other scripts' digits and letters included.
  EXPECT_EQ(Scan(FindEAN13, u"978\u00A00306\u2013406157"), u"9780306406157");
  EXPECT_EQ(Scan(FindEAN13, u"978\u06630306\uFF21406157"), u"9780306406157");
  // An ASCII letter among the thirteen spoils every start before it.
  EXPECT_EQ(Scan(FindEAN13, u"978030640615a7"), u"-");
  EXPECT_EQ(Scan(FindEAN13, u"97803064061x5 9780306406157"), u"9780306406157");
  EXPECT_EQ(Scan(FindEAN13, u"0.306.40615.2"), u"-");
  EXPECT_EQ(Scan(FindEAN13, u"978030640615"), u"-");
  EXPECT_EQ(Scan(FindEAN13, u""), u"-");
}

// The one-pass search agrees with start-by-start on texts full of near
// misses: digit runs with separators, letters and other scripts between.
TEST(FindEAN13Test, SameAsStartByStart) {
  std::mt19937 rng(3);
  const std::u16string kOther = u" -.,/:a Z\u00A0\u0663\uFF11\u00E9";
  int found = 0;
  for (int n = 0; n < 20000; ++n) {
    std::u16string text;
    const std::size_t length = rng() % 48;
    while (text.size() < length) {
      if (rng() % 4 != 0) {
        text.push_back(static_cast<char16_t>(u'0' + rng() % 10));
      } else {
        text.push_back(kOther[rng() % kOther.size()]);
      }
    }
    std::u16string expected = u"untouched";
    const bool expected_found = StartByStartEAN13(text, &expected);
    std::u16string out = u"untouched";
    ASSERT_EQ(FindEAN13(text, &out), expected_found) << std::string(text.begin(), text.end());
    ASSERT_EQ(out, expected) << std::string(text.begin(), text.end());
    found += expected_found;
  }
  EXPECT_GT(found, 500);
  EXPECT_LT(found, 19000);
}

TEST(EAN13ToISBN10Test, Only978Codes) {
  EXPECT_EQ(Scan(EAN13ToISBN10, u"9780306406157"), u"0306406152");
  EXPECT_EQ(Scan(EAN13ToISBN10, u"9781861972712"), u"1861972717");
  EXPECT_EQ(Scan(EAN13ToISBN10, u"9780804429573"), u"080442957X");
  EXPECT_EQ(Scan(EAN13ToISBN10, u"9791234567896"), u"-");
  EXPECT_EQ(Scan(EAN13ToISBN10, u"4006381333931"), u"-");
  EXPECT_EQ(Scan(EAN13ToISBN10, u"9780306406158"), u"-");
  EXPECT_EQ(Scan(EAN13ToISBN10, u"978-0306406157"), u"-");
  EXPECT_EQ(Scan(EAN13ToISBN10, u"978"), u"-");
}

TEST(EAN13ToISBNTest, BookCodesOf978And979ButNot9790) {
  struct Case {
    const char16_t* ean;
    const char16_t* book;  // "-": no book number
  };
  const Case cases[] = {
      // 978 keeps becoming its ISBN-10, check digit recomputed.
      {u"9780306406157", u"0306406152"},
      {u"9780804429573", u"080442957X"},
      // 979 has no ISBN-10: the code itself is the book number.
      {u"9791090636071", u"9791090636071"},
      {u"9791234567896", u"9791234567896"},
      // 979-0 numbers printed music.
      {u"9790230671187", u"-"},
      // A wrong check digit, another prefix, or no bare EAN-13 at all.
      {u"9791090636072", u"-"},
      {u"4006381333931", u"-"},
      {u"979-1090636071", u"-"},
      {u"979109063607", u"-"},
      {u"", u"-"},
  };
  for (const Case& c : cases) {
    const std::u16string_view ean = c.ean;
    EXPECT_EQ(Scan(EAN13ToISBN, ean), c.book) << std::string(ean.begin(), ean.end());
  }
}

TEST(FindUPCATest, TwelveDigitRuns) {
  EXPECT_EQ(Scan(FindUPCA, u"0 36000 29145 2"), u"036000291452");
  EXPECT_EQ(Scan(FindUPCA, u"code: 036000-291452."), u"036000291452");
  EXPECT_EQ(Scan(FindUPCA, u"036000291453/036000291452"), u"036000291452");
  // Eleven or thirteen digits, or another script's digit in the run: none.
  EXPECT_EQ(Scan(FindUPCA, u"36000291452"), u"-");
  EXPECT_EQ(Scan(FindUPCA, u"1 036000291452"), u"-");
  EXPECT_EQ(Scan(FindUPCA, u"036000291452\u0661"), u"-");
  EXPECT_EQ(Scan(FindUPCA, u"03600029145x"), u"-");
  // Thirteen digits starting with 0: the EAN-13 of the same item.
  EXPECT_EQ(Scan(FindUPCA, u"0036000291452"), u"036000291452");
  EXPECT_EQ(Scan(FindUPCA, u"EAN 0 036000 291452"), u"036000291452");
  EXPECT_EQ(Scan(FindUPCA, u"0036000291453"), u"-");
  EXPECT_EQ(Scan(FindUPCA, u"4006381333931"), u"-");
}

TEST(FindPaddedUPCATest, TenToTwelveDigitsWithLeadingZeros) {
  EXPECT_EQ(Scan(FindPaddedUPCA, u"36000291452"), u"036000291452");
  EXPECT_EQ(Scan(FindPaddedUPCA, u"12-3456-7895"), u"001234567895");
  EXPECT_EQ(Scan(FindPaddedUPCA, u"0 36000 29145 2"), u"036000291452");
  // The first candidate that passes wins, short or not.
  EXPECT_EQ(Scan(FindPaddedUPCA, u"1234567895, 036000291452"), u"001234567895");
  // Padded with zeros, eleven digits of a real code usually fail.
  EXPECT_EQ(Scan(FindPaddedUPCA, u"03600029145"), u"-");
  EXPECT_EQ(Scan(FindPaddedUPCA, u"234567895"), u"-");
  EXPECT_EQ(Scan(FindPaddedUPCA, u"0036000291452"), u"-");
}

TEST(CompleteUPCATest, ElevenAdjacentDigitsGetTheirCheckDigit) {
  EXPECT_EQ(Scan(CompleteUPCA, u"UPC 03600029145"), u"036000291452");
  EXPECT_EQ(Scan(CompleteUPCA, u"10000000009"), u"100000000090");
  EXPECT_EQ(Scan(CompleteUPCA, u"x01234567890 03600029145"), u"012345678905");
  // Nothing is passed over, and the run must be exactly eleven long.
  EXPECT_EQ(Scan(CompleteUPCA, u"03600-029145"), u"-");
  EXPECT_EQ(Scan(CompleteUPCA, u"0 3600029145"), u"-");
  EXPECT_EQ(Scan(CompleteUPCA, u"036000291452"), u"-");
  EXPECT_EQ(Scan(CompleteUPCA, u"036000291452 3600029145"), u"-");
  EXPECT_EQ(Scan(CompleteUPCA, u"0360002914\u0665"), u"-");
}

// Huge or strange input ends with a definite answer from every scanner.
TEST(ProductCodeScannersTest, BoundedOnLargeAndOddInput) {
  const Scanner all[] = {FindISBN10, FindEAN13, FindUPCA, FindPaddedUPCA, CompleteUPCA};
  const std::size_t kMegabyte = 1 << 20;
  // All ones: one endless run, and every 13 ones sum to 25.
  const std::u16string ones(kMegabyte, u'1');
  for (const Scanner scan : all) EXPECT_EQ(Scan(scan, ones), u"-");

  std::u16string dotted;
  while (dotted.size() < kMegabyte) dotted += u"1 .";
  for (const Scanner scan : all) EXPECT_EQ(Scan(scan, dotted), u"-");
  EXPECT_EQ(Scan(FindEAN13, dotted + u"x 978 0306406157"), u"9780306406157");

  // The digits of a code far apart, with ever longer stretches of
  // punctuation between them and stray digits before.
  std::u16string sparse;
  for (std::size_t gap = 1; sparse.size() < kMegabyte; gap *= 2) {
    sparse += u'1';
    sparse.append(gap, u'.');
  }
  sparse += u"x";
  for (const char16_t c : std::u16string(u"978030640615")) {
    sparse += c;
    sparse.append(60000, u' ');
  }
  EXPECT_EQ(Scan(FindEAN13, sparse), u"-");
  EXPECT_EQ(Scan(FindEAN13, sparse + u"7"), u"9780306406157");

  const std::u16string odd = {0xD800, u'0', 0xDFFF, 0xFFFF, 0x0000, u'3', 0xFEFF, u'-'};
  for (const Scanner scan : all) EXPECT_EQ(Scan(scan, odd), u"-");
  for (const Scanner scan : all) EXPECT_EQ(Scan(scan, u""), u"-");
}

}  // namespace
}  // namespace qm
