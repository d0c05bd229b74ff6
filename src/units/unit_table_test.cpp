#include "units/unit_table.h"

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <string_view>
#include <tuple>

#include <gtest/gtest.h>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "support/fake_module_environment.h"
#include "text/ascii_fold.h"

namespace qm {
namespace {

// The units of the built-in catalogue, as the Convert command builds them.
struct BuiltInUnits {
  BuiltInUnits() {
    LoadCatalogue(env, "UNIT:", false, catalogue);
    BuildUnitTable(catalogue, table);
  }
  FakeModuleEnvironment env;
  SiteCatalogue catalogue;
  UnitTable table;
};

UnitTable TableFrom(std::string text, std::string_view page_domain = {}) {
  SiteCatalogue catalogue;
  ParseCatalogue(std::move(text), "UNIT:", catalogue);
  UnitTable table;
  BuildUnitTable(catalogue, table, page_domain);
  return table;
}

std::vector<std::string> UnitNames(const UnitTable& table,
                                   const std::string& category) {
  std::vector<std::string> names;
  const auto it = table.categories().find(category);
  if (it == table.categories().end()) return names;
  for (const Unit& unit : it->second.units) names.push_back(unit.name);
  return names;
}

std::string NameOf(const Unit* unit) { return unit ? unit->name : "(none)"; }

TEST(BuildUnitTable, BuiltInCatalogue) {
  const BuiltInUnits built_in;
  const UnitTable& table = built_in.table;
  std::vector<std::string> categories;
  std::size_t units = 0;
  for (const auto& [key, category] : table.categories()) {
    categories.push_back(category.name);
    EXPECT_EQ(key, category.name);
    for (const Unit& unit : category.units) {
      EXPECT_EQ(unit.category, &category);
      ++units;
    }
  }
  EXPECT_EQ(categories,
            (std::vector<std::string>{"angle", "area", "distance", "energy",
                                      "fuel consumption", "mass", "power",
                                      "pressure", "speed", "temperature",
                                      "time", "volume"}));
  EXPECT_EQ(units, 90u);
  // Sections in folded name order, each by ascending power.
  EXPECT_EQ(UnitNames(table, "distance"),
            (std::vector<std::string>{
                "fathoms", "feet", "inches", "Angstroms", "nanometres",
                "micrometres", "millimetres", "centimetres", "metres",
                "kilometres", "miles", "nautical miles (INTL)", "yards"}));
  EXPECT_EQ(UnitNames(table, "mass"),
            (std::vector<std::string>{
                "hundredweight", "grains", "milligrams", "grams",
                "kilograms", "metric ton", "hundredweight (long)", "ounces",
                "pounds", "stone", "long ton (UK)", "short ton (US)",
                "troy ounces"}));

  // Factors by repeated multiplication; offsets never scaled.
  EXPECT_EQ(table.FindName("kilometres")->factor, 1000.0);
  EXPECT_EQ(table.FindName("Angstroms")->factor, 1e-10);
  EXPECT_EQ(table.FindName("nanometres")->factor, 1e-9);
  EXPECT_EQ(table.FindName("Kelvin")->offset, -273.15);
  EXPECT_TRUE(table.FindName("mpg")->invert);
  EXPECT_FALSE(table.FindName("litres/100Km")->invert);
  // A name listed twice is indexed twice, for the same unit.
  const auto twice = table.names().equal_range("litres/100Km");
  ASSERT_EQ(std::distance(twice.first, twice.second), 2);
  EXPECT_EQ(twice.first->second, std::next(twice.first)->second);
  EXPECT_EQ(NameOf(table.FindName("'")), "feet");
  EXPECT_EQ(NameOf(table.FindName("\"")), "inches");
  EXPECT_EQ(NameOf(table.FindName("arcmin")), "minutes of arc");
}

// Every built-in unit against the physical value of its constant, from
// exact definitions (inch, pound, imperial gallon, g, pi) where there are
// some. A value x in the unit is factor * x + offset in the reference unit.
TEST(BuildUnitTable, BuiltInConstantsMatchPhysicalValues) {
  constexpr double kPi = std::numbers::pi;
  constexpr double kInch = 0.0254, kFoot = 0.3048, kPound = 0.45359237;
  constexpr double kGravity = 9.80665, kMile = 1609.344;
  constexpr double kUkGallon = 4.54609e-3, kUsGallon = 231 * kInch * kInch * kInch;
  struct Expected {
    const char* name;
    double factor;
    double offset = 0;
    bool invert = false;
    double tolerance = 1e-9;
  };
  const Expected expected[] = {
      {"metres", 1}, {"kilometres", 1e3}, {"centimetres", 1e-2},
      {"millimetres", 1e-3}, {"micrometres", 1e-6}, {"nanometres", 1e-9},
      {"Angstroms", 1e-10}, {"miles", kMile}, {"yards", 0.9144},
      {"feet", kFoot}, {"inches", kInch}, {"nautical miles (INTL)", 1852},
      {"fathoms", 6 * kFoot},
      {"Celsius", 1}, {"Fahrenheit", 5.0 / 9, -160.0 / 9}, {"Kelvin", 1, -273.15},
      {"miles per gallon (UK)", 100 * kUkGallon * 1000 / (kMile / 1000), 0, true},
      {"miles per gallon (US)", 100 * kUsGallon * 1000 / (kMile / 1000), 0, true},
      {"litres/100Km", 1},
      {"kilograms", 1}, {"metric ton", 1e3, 0, false, 1e-9},
      {"grams", 1e-3, 0, false, 1e-9}, {"milligrams", 1e-6, 0, false, 1e-9},
      {"stone", 14 * kPound, 0, false, 1e-9}, {"ounces", kPound / 16},
      {"pounds", kPound}, {"hundredweight", 100 * kPound},
      {"hundredweight (long)", 112 * kPound},
      {"long ton (UK)", 2240 * kPound}, {"short ton (US)", 2000 * kPound},
      {"grains", kPound / 7000},
      {"troy ounces", 480 * kPound / 7000},
      {"milliseconds", 1e-3}, {"seconds", 1}, {"minutes", 60}, {"hours", 3600},
      {"days", 86400}, {"days (Solar)", 86400},
      // The tropical year and the sidereal day.
      {"years", 365.242198781 * 86400}, {"years (Solar)", 365.242198781 * 86400},
      {"days (Sidereal)", 86164.09054},
      {"radians", 1}, {"degrees", kPi / 180}, {"minutes of arc", kPi / 10800},
      {"seconds of arc", kPi / 648000},
      {"square centimetres", 1e-4}, {"square metres", 1}, {"hectares", 1e4},
      {"square kilometres", 1e6}, {"square yards", 0.9144 * 0.9144}, {"square feet", kFoot * kFoot},
      {"acres", 4840 * 0.9144 * 0.9144},
      {"Cubic Metres", 1}, {"Cubic Centimetres", 1e-6}, {"litres", 1e-3},
      {"cubic feet", kFoot * kFoot * kFoot}, {"cubic inches", kInch * kInch * kInch},
      {"pints (UK)", kUkGallon / 8}, {"pints (US liquid)", kUsGallon / 8},
      {"gallons (UK)", kUkGallon}, {"gallons (US)", kUsGallon},
      {"U.K. Fluid Ounces", kUkGallon / 160}, {"U.S. Fluid Ounces", kUsGallon / 128},
      {"cups", kUsGallon / 16}, {"tablespoons", kUsGallon / 256},
      {"teaspoons", kUsGallon / 768},
      {"Kilometre/second", 1e3}, {"metre/sec", 1}, {"km/h", 1 / 3.6},
      {"miles per hour", kMile / 3600}, {"knots", 1852.0 / 3600},
      {"Millibar", 100}, {"Pascal", 1}, {"Kilopascal", 1e3, 0, false, 1e-9},
      {"bar", 1e5},
      // A torr is 1/760 atmosphere, a millimetre of mercury (13.5951 g/cm3)
      // a little more.
      {"Torr", 101325.0 / 760}, {"mmHg", 13.5951 * kGravity},
      {"atmospheres", 101325},
      {"Pounds per Square Inch", kPound * kGravity / (kInch * kInch)},
      {"watts", 1}, {"kW", 1e3},
      // The international BTU: 4.1868 J/cal(IT) * 453.59237 g/lb * 5/9.
      {"BTU/hour", 4.1868 * 453.59237 * 5 / 9 / 3600},
      // Mechanical, 550 ft lbf/s, which "hp" means; metric, 75 kgf m/s.
      {"horsepower", 550 * kFoot * kPound * kGravity, 0, false, 1e-9},
      {"horsepower (metric)", 75 * kGravity, 0, false, 1e-9},
      {"Joules", 1}, {"kJoules", 1e3}, {"megajoules", 1e6, 0, false, 1e-9},
      {"calories", 4.184},
      {"kCalorie (food)", 4184}, {"kWh", 3.6e6},
  };
  const BuiltInUnits built_in;
  std::size_t checked = 0;
  for (const Expected& e : expected) {
    const Unit* unit = built_in.table.FindName(e.name);
    ASSERT_NE(unit, nullptr) << e.name;
    ASSERT_EQ(unit->name, e.name);
    EXPECT_NEAR(unit->factor / e.factor, 1.0, e.tolerance) << e.name;
    EXPECT_NEAR(unit->offset, e.offset, std::abs(e.offset) * 1e-12) << e.name;
    EXPECT_EQ(unit->invert, e.invert) << e.name;
    ++checked;
  }
  EXPECT_EQ(checked, 90u);
}

TEST(BuildUnitTable, SectionsAndKeys) {
  const UnitTable table = TableFrom(
      // Category letter case folds; a trailing space makes another category.
      "[UNIT:A]\ncategory=Distance\nten+0=alpha\n"
      "[UNIT:B]\ncategory=distance\nten+0=beta\n"
      "[UNIT:C]\ncategory=distance \nten+0=gamma\n"
      // No usable category: no unit.
      "[UNIT:D]\ncategory=\nten+0=delta\n"
      "[UNIT:E]\nten+0=epsilon\n"
      // Empty and misspelt power keys, powers out of range.
      "[UNIT:F]\ncategory=x\nten+0=\nten0=zeta0\nten-0=zeta1\nten+03=zeta2\n"
      "ten+19=zeta3\nten-19=zeta4\nten-01=zeta5\nten+=zeta6\nten+1x=zeta7\n"
      "TEN+18=big\nten-18=small\n"
      // Unreadable numbers take their defaults; invert by first letter.
      "[UNIT:G]\ncategory=y\na=lots\nb=\ninvert=true\nten+2=eta\n"
      "[UNIT:H]\ncategory=y\na=2\nb=-3\ninvert=on\nten-1=theta\n");
  EXPECT_EQ(UnitNames(table, "distance"), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(UnitNames(table, "distance "), std::vector<std::string>{"gamma"});
  EXPECT_EQ(UnitNames(table, "x"), (std::vector<std::string>{"small", "big"}));
  EXPECT_EQ(table.categories().size(), 4u);
  EXPECT_EQ(table.FindName("delta"), nullptr);
  EXPECT_EQ(table.FindName("epsilon"), nullptr);
  EXPECT_EQ(table.FindName("big")->factor, 1e18);
  EXPECT_EQ(table.FindName("small")->factor, 1e-18);
  const Unit* eta = table.FindName("eta");
  EXPECT_EQ(eta->factor, 100.0);
  EXPECT_EQ(eta->offset, 0.0);
  EXPECT_TRUE(eta->invert);
  const Unit* theta = table.FindName("theta");
  EXPECT_EQ(theta->factor, 2.0 / 10);
  EXPECT_EQ(theta->offset, -3.0);
  EXPECT_FALSE(theta->invert);
}

// Regional names hold on the pages of the domains a section lists; the
// sections that list none give theirs to every other page. They come after
// every ordinary name.
TEST(BuildUnitTable, RegionalNames) {
  const std::string text =
      "[UNIT:A]\ncategory=v\nten+0=imperial\nregions=uk, IE\nregionalNames=gal,pt\n"
      "[UNIT:B]\ncategory=v\nten+0=us\nregionalNames=gal,pt\n"
      "[UNIT:C]\ncategory=v\nten+0=aussie,pt\nregions=au\nregionalNames=gal\n"
      "[UNIT:D]\ncategory=v\nten+3=kilo\nregionalNames=nothing\n";
  const std::pair<std::string_view, const char*> pages[] = {
      {"uk", "imperial"}, {"ie", "imperial"}, {"UK", "imperial"},
      {"com", "us"}, {"", "us"}, {"au", "aussie"}, {"u", "us"},
  };
  for (const auto& [domain, gallon] : pages) {
    const UnitTable table = TableFrom(text, domain);
    EXPECT_EQ(NameOf(table.FindName("gal")), gallon) << domain;
    EXPECT_EQ(table.FindName("nothing"), nullptr) << domain;  // no ten+0 unit
  }
  // An ordinary name comes before a regional one of the same spelling.
  EXPECT_EQ(NameOf(TableFrom(text, "uk").FindName("pt")), "aussie");
  EXPECT_EQ(NameOf(TableFrom(text, "com").FindName("pt")), "aussie");
  // Only the names of one side are indexed.
  const UnitTable uk = TableFrom(text, "uk");
  EXPECT_EQ(uk.names().count("gal"), 1u);
  // The built-in measures: a gallon, pint, fluid ounce and mpg.
  const std::tuple<std::string_view, const char*, const char*> built_in[] = {
      {"gallon", "gallons (UK)", "gallons (US)"},
      {"pints", "pints (UK)", "pints (US liquid)"},
      {"fl oz", "U.K. Fluid Ounces", "U.S. Fluid Ounces"},
      {"mpg", "miles per gallon (UK)", "miles per gallon (US)"},
  };
  const FakeModuleEnvironment env;
  SiteCatalogue catalogue;
  LoadCatalogue(env, "UNIT:", false, catalogue);
  for (std::string_view domain : {"uk", "ie", "com", "us", "de", ""}) {
    UnitTable table;
    BuildUnitTable(catalogue, table, domain);
    const bool imperial = domain == "uk" || domain == "ie";
    for (const auto& [name, uk_unit, us_unit] : built_in) {
      EXPECT_EQ(NameOf(table.FindName(name)), imperial ? uk_unit : us_unit)
          << name << " on " << domain;
    }
    // By name, the one or the other on every page.
    EXPECT_EQ(NameOf(table.FindName("US gallon")), "gallons (US)");
    EXPECT_EQ(NameOf(table.FindName("UK gallon")), "gallons (UK)");
  }
}

TEST(AddUnit, NameLists) {
  UnitTable table;
  UnitCategory& category = FindOrAddCategory(table, "Length");
  EXPECT_EQ(&FindOrAddCategory(table, "LENGTH"), &category);
  EXPECT_EQ(category.name, "length");
  // A blank first piece: no unit, and none of the later names.
  EXPECT_EQ(AddUnit(table, category, " ,one,two", 1, 0, false, 0), nullptr);
  EXPECT_EQ(AddUnit(table, category, "\t", 1, 0, false, 0), nullptr);
  EXPECT_EQ(table.FindName("one"), nullptr);
  EXPECT_TRUE(category.units.empty());
  // Empty and blank pieces are skipped; spaces around names are kept.
  const Unit* unit = AddUnit(table, category, " big ,,b, \t,big one, lead", 3, 4, true, 2);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->name, " big ");
  EXPECT_EQ(unit->factor, 300.0);
  EXPECT_EQ(unit->offset, 4.0);
  EXPECT_EQ(table.FindName(" big "), unit);
  EXPECT_EQ(table.FindName("b"), unit);
  EXPECT_EQ(table.FindName("big one"), unit);
  EXPECT_EQ(table.FindName(" lead"), unit);
  EXPECT_EQ(table.FindName("lead"), nullptr);
  EXPECT_EQ(table.names().size(), 4u);
  // Equal names: the first unit given the name keeps it.
  const Unit* other = AddUnit(table, category, "other,b", 1, 0, false, 0);
  EXPECT_EQ(table.FindName("b"), unit);
  EXPECT_EQ(category.units.size(), 2u);
  EXPECT_EQ(&category.units.back(), other);
}

TEST(FindUnitByText, LongestWholeWord) {
  const BuiltInUnits built_in;
  const UnitTable& t = built_in.table;
  const std::pair<std::string_view, const char*> cases[] = {
      // The longest name that ends a word wins, whatever follows the word.
      {"km/h and more", "km/h"}, {"km away", "kilometres"}, {"km", "kilometres"},
      {"km/hr", "km/h"}, {"in other words", "inches"},
      {"seconds of arc", "seconds of arc"}, {"second", "seconds"},
      // A plural s after a name of two or more bytes.
      {"kms", "kilometres"}, {"kgs.", "kilograms"}, {"tonnes", "metric ton"},
      {"ms", "(none)"}, {"kmsx", "(none)"}, {"Ms", "(none)"},
      // A name followed by a letter or digit is part of another word.
      {"kmh", "(none)"}, {"sq ftx", "(none)"}, {"m2", "(none)"},
      {"km\xB2", "square kilometres"}, {"m\xB2", "square metres"},
      {"m\xE8tres", "(none)"}, {"sq ft", "square feet"},
      // A name ending in a mark needs no word end after it: 45\xB0N, 5'11".
      {"\xB0N", "degrees"}, {"'11\"", "feet"}, {"\"", "inches"},
      {"\xB0 C", "Celsius"}, {"\xB0" "C", "Celsius"}, {"\xBA" "C", "Celsius"},
      {"\xB0 F", "Fahrenheit"}, {"\xB0 K", "degrees"},
      // Words the shorter names used to swallow.
      {"stone", "stone"}, {"st", "stone"}, {"grams", "grams"}, {"gr", "grains"},
      {"g", "grams"}, {"mg", "milligrams"}, {"mmHg", "mmHg"}, {"Torr", "Torr"},
      {"MJ", "megajoules"}, {"Joule", "Joules"}, {"ltr", "litres"},
      {"NM", "nautical miles (INTL)"}, {"nm", "nanometres"},
      {"nautical mile", "nautical miles (INTL)"}, {"kPa", "Kilopascal"},
      {"hp", "horsepower"}, {"PS", "horsepower (metric)"},
      {"Farenheit", "Fahrenheit"}, {"F", "Fahrenheit"},
      // Exact bytes first, then the folded copy: only lower-case names gain.
      {"KM", "kilometres"}, {"C", "Celsius"}, {"c", "(none)"},
      {"CELSIUS", "(none)"},
      // Nothing to find.
      {"", "(none)"}, {std::string_view("\0m", 2), "(none)"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(NameOf(FindUnitByText(t, text)), expected) << text;
  }
  EXPECT_EQ(FindUnitByText(UnitTable(), "km"), nullptr);
  // A megabyte of text after a name.
  EXPECT_EQ(NameOf(FindUnitByText(t, "feet " + std::string(1 << 20, 'x'))), "feet");
  EXPECT_EQ(FindUnitByText(t, "feet" + std::string(1 << 20, 'x')), nullptr);
}

TEST(EndsAWord, NextByteAndPlural) {
  const std::tuple<std::string_view, std::size_t, bool> cases[] = {
      {"km", 2, true}, {"km away", 2, true}, {"km/h", 2, true}, {"km.", 2, true},
      {"kms", 2, true}, {"kms ", 2, true}, {"kgs.", 2, true},
      {"kmh", 2, false}, {"km5", 2, false}, {"kmsx", 2, false}, {"kms5", 2, false},
      {"kmS", 2, false}, {"ms", 1, false}, {"m s", 1, true},
      {"km\xB2", 2, false}, {"km\xE9", 2, false}, {"km\x8A", 2, false},
      {"km\xB0", 2, true}, {"km\xD7", 2, true}, {"km\xA0", 2, true},
      // A name that ends in a mark is a word whatever follows.
      {"'11", 1, true}, {"\xB0" "C", 1, true}, {"m.s", 2, true}, {"\xB2x", 1, false},
  };
  for (const auto& [text, length, expected] : cases) {
    EXPECT_EQ(EndsAWord(text, length), expected) << text << " at " << length;
  }
}

TEST(FindUnitByText, FirstSectionOwnsASharedName) {
  const UnitTable table = TableFrom(
      "[UNIT:zeta]\ncategory=a\nten+0=zeds,shared\n"
      "[UNIT:Alpha]\ncategory=b\nten+0=alphas,shared\n");
  EXPECT_EQ(NameOf(FindUnitByText(table, "shared")), "alphas");
  EXPECT_EQ(NameOf(FindUnitByText(table, "SHARED")), "alphas");
}

// The same answers as trying every length from the whole text down, on
// random texts made of the pieces of unit names.
TEST(FindUnitByText, AgreesWithTryingEveryLength) {
  const BuiltInUnits built_in;
  const UnitTable& t = built_in.table;
  const auto every_length = [&](std::string_view text) -> const Unit* {
    const std::string folded = FoldAsciiCopy(text);
    for (std::size_t n = text.size(); n > 0; --n) {
      if (!EndsAWord(text, n)) continue;
      if (const Unit* u = t.FindName(text.substr(0, n))) return u;
      if (const Unit* u = t.FindName(std::string_view(folded).substr(0, n))) return u;
    }
    return nullptr;
  };
  const std::string alphabet = "kmKMsShHl/ ()cC.\xB0\xB2gGaApPtTiInN5\xE9";
  std::mt19937 random(7);
  for (int i = 0; i < 20000; ++i) {
    std::string text(random() % 12, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    ASSERT_EQ(FindUnitByText(t, text), every_length(text)) << text;
  }
}

}  // namespace
}  // namespace qm
