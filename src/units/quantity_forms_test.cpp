// Quantities as real pages write them: grouped and comma-decimal numbers,
// other minus signs, fractions, feet and inches together, the marks and
// abbreviations of everyday text, and the measures whose meaning depends on
// the page's country. Each row is what the selection must propose.
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "catalogue/catalogue_loader.h"
#include "support/fake_module_environment.h"
#include "text/number_scan.h"
#include "text/windows_1252.h"
#include "units/quantity.h"

namespace qm {
namespace {

struct Form {
  std::string_view domain;  // the page's top-level domain
  std::u16string_view selection;
  double amount;
  std::string_view unit;  // display name, "-" for none
};

// Forms that stay unread on purpose: a "k" for thousands is as often a unit
// of its own ("10K run" is a distance, "2.5k" a sum of money).
constexpr std::u16string_view kMayStayUnread[] = {u"2.5k", u"10K run"};

constexpr Form kForms[] = {
    // Decimal commas, thousands grouped by comma, point, spaces, apostrophe.
    {"com", u"1,5 l", 1.5, "litres"},
    {"com", u"0,75 l", 0.75, "litres"},
    {"com", u"1,234.5 km", 1234.5, "kilometres"},
    {"com", u"1.234,5 km", 1234.5, "kilometres"},
    {"com", u"1,234 km", 1234, "kilometres"},
    {"com", u"12 500 km", 12500, "kilometres"},
    {"com", u"12\u00A0500 km", 12500, "kilometres"},
    {"com", u"12\u2009500 km", 12500, "kilometres"},
    {"com", u"12\u202F500 km", 12500, "kilometres"},
    {"com", u"12'500 km", 12500, "kilometres"},
    // The minus sign of typeset text.
    {"com", u"\u221240 \u00B0C", -40, "Celsius"},
    // Fractions: with a slash, mixed, and the vulgar fraction characters.
    {"com", u"1/2 lb", 0.5, "pounds"},
    {"com", u"3 1/2 lb", 3.5, "pounds"},
    {"com", u"\u00BD lb", 0.5, "pounds"},
    {"com", u"1\u00BD lb", 1.5, "pounds"},
    {"com", u"3/4 cup", 0.75, "cups"},
    // A larger and a smaller unit of one category make one quantity.
    {"com", u"6 ft 2 in", 74, "inches"},
    {"com", u"5'11\"", 71, "inches"},
    {"com", u"5\u203211\u2033", 71, "inches"},
    {"com", u"3 lb 4 oz", 52, "ounces"},
    {"com", u"5 ft 3 in", 63, "inches"},
    // Marks and abbreviations.
    {"com", u"72\u00B0 F", 72, "Fahrenheit"},
    {"com", u"37 \u00BAC", 37, "Celsius"},
    {"com", u"100 kph", 100, "km/h"},
    {"com", u"2 h", 2, "hours"},
    {"com", u"3 hr", 3, "hours"},
    {"com", u"5 ha", 5, "hectares"},
    {"com", u"1013 hPa", 1013, "Millibar"},
    {"com", u"1,200 sq ft", 1200, "square feet"},
    {"com", u"500 ft\u00B2", 500, "square feet"},
    {"com", u"80 m\u00B2", 80, "square metres"},
    {"com", u"12 km\u00B2", 12, "square kilometres"},
    {"com", u"250 kcal", 250, "kCalorie (food)"},
    {"com", u"120 Cal", 120, "kCalorie (food)"},
    {"com", u"6.5 l/100 km", 6.5, "litres/100Km"},
    {"com", u"250 mL", 250, "Cubic Centimetres"},
    {"com", u"2 cups", 2, "cups"},
    {"com", u"1 tbsp", 1, "tablespoons"},
    {"com", u"2 tsp", 2, "teaspoons"},
    {"com", u"1 troy oz", 1, "troy ounces"},
    {"com", u"12,000 BTU/hr", 12000, "BTU/hour"},
    {"com", u"2 cwt", 2, "hundredweight"},
    // US measures, except on British and Irish pages; named ones anywhere.
    {"com", u"5 gallons", 5, "gallons (US)"},
    {"uk", u"5 gallons", 5, "gallons (UK)"},
    {"com", u"2 pints", 2, "pints (US liquid)"},
    {"ie", u"2 pints", 2, "pints (UK)"},
    {"com", u"40 mpg", 40, "miles per gallon (US)"},
    {"uk", u"40 mpg", 40, "miles per gallon (UK)"},
    {"com", u"8 fl oz", 8, "U.S. Fluid Ounces"},
    {"uk", u"8 fl oz", 8, "U.K. Fluid Ounces"},
    {"uk", u"5 US gallons", 5, "gallons (US)"},
    // The amount keeps every digit written.
    {"com", u"1234.5678 acres", 1234.5678, "acres"},
    // Thousands by a letter.
    {"com", u"2.5k", 2500, "-"},
    {"com", u"10K run", 10, "kilometres"},
};

class QuantityFormsTest : public ::testing::Test {
 protected:
  QuantityFormsTest() { LoadCatalogue(env_, "UNIT:", false, catalogue_); }

  // Whether `form` is proposed as meant; `why` tells what was proposed.
  bool ReadsAsMeant(const Form& form, std::string* why) const {
    UnitTable table;
    BuildUnitTable(catalogue_, table, form.domain);
    const ParsedQuantity q = ParseQuantity(form.selection, table, code_page_);
    const std::string unit = q.unit ? q.unit->name : "-";
    *why = code_page_.ToNarrow(q.amount) + "|" + unit;
    double amount = 0;
    std::size_t consumed = 0;
    if (!ScanDouble(q.amount, &amount, &consumed) ||
        consumed != q.amount.size()) {
      return false;
    }
    return std::fabs(amount - form.amount) <= 1e-12 * std::fabs(form.amount) &&
           unit == form.unit;
  }

  FakeModuleEnvironment env_;
  SiteCatalogue catalogue_;
  Windows1252CodePage code_page_;
};

TEST_F(QuantityFormsTest, EveryFormReadsAsMeant) {
  static_assert(std::size(kForms) == 54);
  std::size_t right = 0;
  for (const Form& form : kForms) {
    std::string why;
    const bool meant = ReadsAsMeant(form, &why);
    right += meant;
    bool may_fail = false;
    for (std::u16string_view unread : kMayStayUnread) {
      may_fail = may_fail || unread == form.selection;
    }
    if (!may_fail) {
      EXPECT_TRUE(meant) << form.domain << " \""
                         << code_page_.ToNarrow(form.selection)
                         << "\" proposes " << why;
    }
  }
  std::printf("%zu of %zu forms read as meant\n", right, std::size(kForms));
  EXPECT_GE(right, 52u);
}

}  // namespace
}  // namespace qm
