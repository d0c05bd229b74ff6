#include "units/quantity.h"

#include <string>

#include <gtest/gtest.h>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

class QuantityTest : public ::testing::Test {
 protected:
  QuantityTest() {
    LoadCatalogue(env_, "UNIT:", false, catalogue_);
    BuildUnitTable(catalogue_, table_);
  }

  // "amount|unit name" for a selection.
  std::string Parse(std::u16string_view selection) const {
    const ParsedQuantity q = ParseQuantity(selection, table_, code_page_);
    return code_page_.ToNarrow(q.amount) + "|" + (q.unit ? q.unit->name : "-");
  }

  // "amount|result", or "not a number".
  std::string Convert(std::string_view amount, std::string_view from,
                      std::string_view to) const {
    const Conversion c = ConvertQuantity(amount, *table_.FindName(from),
                                         *table_.FindName(to), code_page_);
    return c.is_number ? c.amount + "|" + c.result : "not a number";
  }

  FakeModuleEnvironment env_;
  SiteCatalogue catalogue_;
  UnitTable table_;
  Windows1252CodePage code_page_;
};

TEST_F(QuantityTest, ParseAmountAndUnit) {
  const std::pair<std::u16string_view, const char*> cases[] = {
      // The unit after blanks, straight after the digits, or in parentheses.
      {u"12.5 km", "12.5|kilometres"}, {u"5km", "5|kilometres"},
      {u"about 3 KM away", "3|kilometres"}, {u"100 km/h", "100|km/h"},
      {u"5 ft", "5|feet"}, {u"12 (inches)", "12|inches"},
      {u"12 (inches", "12|inches"}, {u"12 (mpg (UK))", "12|miles per gallon (US)"},
      {u"12.5 km away", "12.5|kilometres"}, {u"12.5km/h", "12.5|km/h"},
      // A name counts only as a whole word, or with a plural s.
      {u"2.5 stone", "2.5|stone"}, {u"760 mmHg", "760|mmHg"},
      {u"1 NM", "1|nautical miles (INTL)"}, {u"5 kgs", "5|kilograms"},
      {u"2 tonnes", "2|metric ton"}, {u"12 kms", "12|kilometres"},
      {u"5 ms", "5|-"}, {u"3 kmh", "3|-"}, {u"4 m\u00B2", "4|square metres"},
      {u"4 km\u00B2x", "4|-"},
      {u"12 ( inches)", "12|-"},  // " inches" is no name
      // A point, then a minus, right before the digits belong to the number.
      {u"-40 \u00B0C", "-40|Celsius"}, {u"-40 \u00B0 C", "-40|Celsius"},
      {u"-40\u00B0", "-40|degrees"}, {u"72\u00B0 Fahrenheit", "72|Fahrenheit"}, {u"\u22125\u00B0", "-5|degrees"},
      {u"approx. .5 m", "0.5|metres"}, {u"x-.5 m", "-0.5|metres"},
      {u"+5 m", "5|metres"}, {u"- 5 m", "5|metres"},
      // The amount with every digit written, noise of binary arithmetic
      // aside, in the form the amount field reads.
      {u"1234567 m", "1234567|metres"}, {u"0.000025 s", "2.5e-005|seconds"},
      {u"1234.5678 acres", "1234.5678|acres"},
      {u"123456789012345678 m", "1.23456789012346e+017|metres"},
      // The unit follows the whole number, however it is grouped; a number
      // that ends at a separator leaves no unit.
      {u"2.0.1 m", "2|-"}, {u"price: 1,234.50 m", "1234.5|metres"},
      {u"12 500\u00A0km", "12500|kilometres"}, {u"12,5 km", "12.5|kilometres"},
      // Fractions.
      {u"1/2 lb", "0.5|pounds"}, {u"2 \u00BE in", "2.75|inches"},
      {u"recipe: \u00BD cup", "0.5|cups"}, {u"\u2212\u00BD lb", "-0.5|pounds"},
      // Feet and inches, pounds and ounces: one quantity in the smaller
      // unit; units that do not combine leave the first.
      {u"6 ft 2 in", "74|inches"}, {u"5'11\"", "71|inches"},
      {u"5\u2032 11\u2033", "71|inches"}, {u"5\u2019 11\u201D tall", "71|inches"},
      {u"-1 m 50 cm", "-150|centimetres"}, {u"3 lb 4\u00BD oz", "52.5|ounces"},
      {u"2 in 6 ft", "2|inches"}, {u"3 m 20 s", "3|metres"},
      {u"5 ft 3", "5|feet"}, {u"5 ft (3 in)", "5|feet"},
      {u"20 \u00B0C 5 \u00B0F", "20|Celsius"}, {u"300 K 5 \u00B0F", "300|Kelvin"}, {u"5 mpg 3 mpg", "5|miles per gallon (US)"},
      {u"5 (ft) 3 in", "5|feet"},
      // No unit, or no number at all; only 0-9 are digits.
      {u"42", "42|-"}, {u"42 \t\r\n", "42|-"}, {u"12 ()", "12|-"},
      {u"about a mile", "1|-"}, {u"", "1|-"}, {u"\u0665 km", "1|-"},
      // Characters the code page lacks become "?" and name nothing.
      {u"12 \u043A\u043C", "12|-"}, {u"12 \xD800m", "12|-"},
  };
  for (const auto& [selection, expected] : cases) {
    EXPECT_EQ(Parse(selection), expected) << code_page_.ToNarrow(selection);
  }
}

TEST_F(QuantityTest, ParseLargeSelections) {
  EXPECT_EQ(Parse(u"12 " + std::u16string(1 << 20, u'k')), "12|-");
  EXPECT_EQ(Parse(u"12 km " + std::u16string(1 << 20, u'x')), "12|kilometres");
  EXPECT_EQ(Parse(u"12 km" + std::u16string(1 << 20, u'x')), "12|-");
  std::u16string faces = u"5 nautical miles (INTL)";
  while (faces.size() < (1u << 20)) faces += u"\U0001F600";
  EXPECT_EQ(Parse(faces), "5|nautical miles (INTL)");
  EXPECT_EQ(Parse(std::u16string(1 << 20, u'9')), "inf|-");
  EXPECT_EQ(Parse(u"12" + std::u16string(1 << 20, u' ')), "12|-");
}

// The unit text starts right after the number, wherever the character
// that follows it also occurs inside the number.
TEST(ParseQuantity, UnitTextStartsAfterTheNumber) {
  SiteCatalogue catalogue;
  ParseCatalogue("[UNIT:Odd]\ncategory=odd\nten+0=dot,.1\nten+1=ee,e\n"
                 "ten+2=zero,.0\nten+3=odd,e5e\n",
                 "UNIT:", catalogue);
  UnitTable table;
  BuildUnitTable(catalogue, table);
  const Windows1252CodePage code_page;
  const ParsedQuantity dot = ParseQuantity(u"2.0.1 m", table, code_page);
  EXPECT_EQ(dot.amount, u"2");
  ASSERT_NE(dot.unit, nullptr);
  EXPECT_EQ(dot.unit->name, "dot");
  const ParsedQuantity ee = ParseQuantity(u"1e5e", table, code_page);
  EXPECT_EQ(ee.amount, u"100000");
  ASSERT_NE(ee.unit, nullptr);
  EXPECT_EQ(ee.unit->name, "ee");
}

TEST_F(QuantityTest, Conversions) {
  EXPECT_EQ(Convert("12.5", "kilometres", "miles"),
            "12.5|12.5 kilometres = 7.76714 miles");
  EXPECT_EQ(Convert("100", "Celsius", "Fahrenheit"), "100|100 Celsius = 212 Fahrenheit");
  EXPECT_EQ(Convert("212", "Farenheit", "Kelvin"), "212|212 Fahrenheit = 373.15 Kelvin");
  EXPECT_EQ(Convert("0", "Kelvin", "Celsius"), "0|0 Kelvin = -273.15 Celsius");
  EXPECT_EQ(Convert("30", "miles per gallon (UK)", "litres/100Km"),
            "30|30 miles per gallon (UK) = 9.41603 litres/100Km");
  EXPECT_EQ(Convert("9.41604", "litres/100Km", "miles per gallon (US)"),
            "9.41604|9.41604 litres/100Km = 24.9802 miles per gallon (US)");
  // The amount is read as " %lf" reads it and rewritten with every digit;
  // only the result is cut to six.
  EXPECT_EQ(Convert("  7.5 apples", "metres", "metres"), "7.5|7.5 metres = 7.5 metres");
  EXPECT_EQ(Convert("1.50000", "hours", "minutes"), "1.5|1.5 hours = 90 minutes");
  EXPECT_EQ(Convert("1234.5678", "acres", "hectares"),
            "1234.5678|1234.5678 acres = 499.612 hectares");
  EXPECT_EQ(Convert("abc", "metres", "miles"), "not a number");
  EXPECT_EQ(Convert("", "metres", "miles"), "not a number");
  // An inverse unit refuses a zero amount, and a reference at its offset.
  EXPECT_EQ(Convert("0", "miles per gallon (UK)", "litres/100Km"),
            "0|Cannot calculate answer (Division by zero)");
  EXPECT_EQ(Convert("0", "litres/100Km", "miles per gallon (US)"),
            "0|Cannot calculate answer (Division by zero)");
  EXPECT_EQ(Convert("-0", "mpg", "mpg"), "-0|Cannot calculate answer (Division by zero)");
  // A result beyond the range of numbers fails without a detail.
  EXPECT_EQ(Convert("1e308", "kilometres", "metres"), "1e+308|Cannot calculate answer ");
  EXPECT_EQ(Convert("1e999", "metres", "metres"), "inf|Cannot calculate answer ");
}

TEST(ReferenceValues, LinearInverseAndZeroFactor) {
  std::u16string detail = u"untouched";
  double value = -1;
  const Unit inverse{nullptr, "mpg", 200, 10, true};
  ASSERT_TRUE(ToReference(inverse, 4, &value, &detail));
  EXPECT_EQ(value, 60);
  ASSERT_TRUE(FromReference(inverse, 60, &value, &detail));
  EXPECT_EQ(value, 4);
  EXPECT_EQ(detail, u"untouched");
  EXPECT_FALSE(FromReference(inverse, 10, &value, &detail));
  EXPECT_EQ(detail, u"(Division by zero)");
  EXPECT_EQ(value, 4);
  // A linear unit of factor 0 takes every value to its offset and back to
  // nothing.
  const Unit nothing{nullptr, "nothing", 0, 0, false};
  detail.clear();
  ASSERT_TRUE(ToReference(nothing, 5, &value, &detail));
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(FromReference(nothing, 5, &value, &detail));
  EXPECT_EQ(detail, u"(Division by zero)");
}

TEST(ConvertQuantity, LongUnitNamesComeOutWhole) {
  const Unit from{nullptr, std::string(5000, 'a') + "\xB5", 1, 0, false};
  const Unit to{nullptr, std::string(3000, 'b'), 2, 0, false};
  const Conversion c = ConvertQuantity("4", from, to, Windows1252CodePage());
  ASSERT_TRUE(c.is_number);
  EXPECT_EQ(c.result, "4 " + from.name + " = 2 " + to.name);
}

}  // namespace
}  // namespace qm
