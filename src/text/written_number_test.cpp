#include "text/written_number.h"

#include <string>

#include <gtest/gtest.h>

namespace qm {
namespace {

struct Case {
  std::u16string_view text;
  double value;
  std::size_t consumed;
};

void ExpectReads(const Case& c) {
  double value = -999;
  std::size_t consumed = 999;
  std::string shown;  // the row, its characters beyond ASCII as "?"
  for (char16_t ch : c.text) shown += ch < 0x80 ? static_cast<char>(ch) : '?';
  ASSERT_TRUE(ReadWrittenNumber(c.text, &value, &consumed)) << shown;
  EXPECT_DOUBLE_EQ(value, c.value) << shown;
  EXPECT_EQ(consumed, c.consumed) << shown;
}

TEST(ReadWrittenNumber, ThousandsAndDecimalSigns) {
  const Case cases[] = {
      // Both kinds: the last is the decimal sign.
      {u"1,234.5 km", 1234.5, 7}, {u"1.234,5 km", 1234.5, 7},
      {u"1,234,567.25", 1234567.25, 12}, {u"1.234.567,25", 1234567.25, 12},
      // Several of one kind group thousands.
      {u"1,234,567", 1234567, 9}, {u"1.234.567 m", 1234567, 9},
      // A lone comma groups only a first group and exactly three digits.
      {u"1,234 km", 1234, 5}, {u"1,5 l", 1.5, 3}, {u"12,50", 12.5, 5},
      {u"1,2345", 1.2345, 6}, {u"0,125", 0.125, 5}, {u"1234,567", 1234.567, 8},
      // A lone point is the decimal point, as it always was.
      {u"1.234 km", 1.234, 5}, {u"12.5", 12.5, 4}, {u".5 m", 0.5, 2},
      // Groups of other than three digits: the first separator is the
      // decimal sign and the next one ends the number.
      {u"2.0.1 m", 2.0, 3}, {u"12,34.5", 12.34, 5}, {u"1,23,456", 1.23, 4},
      {u"0,123,456", 0.123, 5},
      // Spaces and apostrophes group thousands before any separator.
      {u"12 500 km", 12500, 6}, {u"12\u00A0500", 12500, 6},
      {u"1\u2009234\u2009567,5", 1234567.5, 11}, {u"12\u202F990 Ft", 12990, 6},
      {u"12'500", 12500, 6}, {u"1\u2019049,95", 1049.95, 8},
      {u"12 500,5", 12500.5, 8}, {u"1 234.567", 1234.567, 9},
      // ... but not after four digits, a 0, or before other than three.
      {u"1234 567", 1234, 4}, {u"0 500", 0, 1}, {u"5 12", 5, 1},
      {u"555 1234", 555, 3}, {u"5'11\"", 5, 1}, {u"1,234 567", 1234, 5},
      // A separator ends the number unless a digit follows.
      {u"12.50.", 12.5, 5}, {u"5, 6", 5, 1}, {u"7.", 7, 1},
      // Exponents only without grouping; signs.
      {u"1.5e3 m", 1500, 5}, {u"5em", 5, 1}, {u"1,234e5", 1234, 5},
      {u"-40", -40, 3}, {u"\u221240 \u00B0C", -40, 3}, {u"+5", 5, 2},
  };
  for (const Case& c : cases) ExpectReads(c);
}

TEST(ReadWrittenNumber, Fractions) {
  const Case cases[] = {
      {u"1/2 lb", 0.5, 3}, {u"3/4", 0.75, 3}, {u"3/2", 1.5, 3},
      {u"1\u20442", 0.5, 3}, {u"3 1/2 cups", 3.5, 5}, {u"3\u00A01/2", 3.5, 5},
      {u"\u00BD lb", 0.5, 1}, {u"1\u00BD lb", 1.5, 2}, {u"3 \u00BE", 3.75, 3},
      {u"\u2153", 1.0 / 3, 1}, {u"\u2212\u00BD", -0.5, 2}, {u"-3 1/2", -3.5, 6},
      // No fraction: a zero denominator, a date, an improper mixed part,
      // decimals, and denominators nobody writes.
      {u"1/0 m", 1, 1}, {u"12/25/2020", 12, 2}, {u"2 10/2", 2, 1},
      {u"1.5/2", 1.5, 3}, {u"1/2.5", 1, 1}, {u"1/1234567890", 1, 1},
      {u"3 1/", 3, 1}, {u"3  1/2", 3, 1},
  };
  for (const Case& c : cases) ExpectReads(c);
}

TEST(ReadWrittenNumber, NoNumber) {
  for (std::u16string_view text :
       {u"", u"-", u"\u2212", u"km", u" 5", u".", u".e5", u",5", u"-,5"}) {
    double value = 7;
    std::size_t consumed = 9;
    EXPECT_FALSE(ReadWrittenNumber(text, &value, &consumed))
        << std::string(text.begin(), text.end());
    EXPECT_EQ(value, 7);
    EXPECT_EQ(consumed, 9u);
  }
}

// A megabyte of digits, groups or separators stays one linear pass.
TEST(ReadWrittenNumber, LongRuns) {
  double value = 0;
  std::size_t consumed = 0;
  std::u16string groups = u"1";
  while (groups.size() < (1u << 20)) groups += u",000";
  ASSERT_TRUE(ReadWrittenNumber(groups, &value, &consumed));
  EXPECT_EQ(consumed, groups.size());
  EXPECT_TRUE(value > 1e300);
  const std::u16string points(1 << 20, u'.');
  EXPECT_FALSE(ReadWrittenNumber(points, &value, &consumed));
}

}  // namespace
}  // namespace qm
