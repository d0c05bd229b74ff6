#include "recognisers/currency_table.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace qm {
namespace {

// The codes of a symbol row, "PEN,ECS" -> {"PEN", "ECS"}.
std::vector<std::string_view> SplitCodes(std::string_view list) {
  std::vector<std::string_view> codes;
  std::size_t from = 0;
  for (std::size_t comma; (comma = list.find(',', from)) != list.npos;
       from = comma + 1) {
    codes.push_back(list.substr(from, comma - from));
  }
  codes.push_back(list.substr(from));
  return codes;
}

TEST(CurrencyTableTest, SizesAndOrder) {
  // The lookups are binary searches over strictly increasing keys.
  const auto currencies = CurrencyTable();
  ASSERT_EQ(currencies.size(), 204u);
  for (std::size_t i = 1; i < currencies.size(); ++i) {
    EXPECT_LT(currencies[i - 1].isoCode, currencies[i].isoCode) << i;
  }
  const auto domains = DomainCurrencyTable();
  ASSERT_EQ(domains.size(), 256u);
  for (std::size_t i = 1; i < domains.size(); ++i) {
    EXPECT_LT(domains[i - 1].domain, domains[i].domain) << i;
  }
  // Symbols go longest first, so "kr." is tried before "kr".
  const auto symbols = CurrencySymbolTable();
  ASSERT_EQ(symbols.size(), 116u);
  for (std::size_t i = 1; i < symbols.size(); ++i) {
    EXPECT_GE(symbols[i - 1].symbol.size(), symbols[i].symbol.size()) << i;
  }
  EXPECT_EQ(symbols.front().symbol, u"\u062C.\u0645.\u200F");
  EXPECT_EQ(symbols.back().symbol, u"\u20B5");
}

TEST(CurrencyTableTest, RowsAreWellFormed) {
  // Codes are three capitals; every currency has a name.
  for (const CurrencyInfo& row : CurrencyTable()) {
    ASSERT_EQ(row.isoCode.size(), 3u);
    for (char c : row.isoCode) EXPECT_TRUE(c >= 'A' && c <= 'Z') << row.isoCode;
    EXPECT_FALSE(row.displayName.empty()) << row.isoCode;
  }
  for (const DomainCurrency& row : DomainCurrencyTable()) {
    for (char c : row.domain) EXPECT_TRUE(c >= 'a' && c <= 'z') << row.domain;
  }
  EXPECT_EQ(CurrencyTable().front().isoCode, "AED");
  EXPECT_EQ(CurrencyTable().back().isoCode, "ZWG");
  EXPECT_EQ(FindCurrencyByCode("STD")->displayName,
            u"S\u00E3o Tome and Principe, Dobras");
  EXPECT_EQ(FindCurrencyByCode("TOP")->displayName, u"Tonga, Pa'anga");
  // Countries and units under their names of today.
  EXPECT_EQ(FindCurrencyByCode("PEN")->displayName, u"Peru, Soles");
  EXPECT_EQ(FindCurrencyByCode("MKD")->displayName, u"North Macedonia, Denars");
  EXPECT_EQ(FindCurrencyByCode("SZL")->displayName, u"Eswatini, Emalangeni");
}

// Every code of the domain and symbol tables has a currency row; a typo in
// any code would show here.
TEST(CurrencyTableTest, EveryCodeHasARow) {
  std::set<std::string> missing;
  for (const DomainCurrency& row : DomainCurrencyTable()) {
    if (FindCurrencyByCode(row.code) == nullptr) missing.emplace(row.code);
  }
  for (const CurrencySymbol& row : CurrencySymbolTable()) {
    for (std::string_view code : SplitCodes(row.codes)) {
      EXPECT_EQ(code.size(), 3u) << row.codes;
      if (FindCurrencyByCode(code) == nullptr) missing.emplace(code);
    }
  }
  EXPECT_EQ(missing, std::set<std::string>());
}

TEST(CurrencyTableTest, FindCurrencyByCode) {
  // Every row is found by its own code, as itself.
  for (const CurrencyInfo& row : CurrencyTable()) {
    EXPECT_EQ(FindCurrencyByCode(row.isoCode), &row) << row.isoCode;
  }
  // Exact match only: case, length, and codes between or beyond the rows.
  for (std::string_view code : {"eur", "Eur", "EU", "EURO", "", "AAA", "ZZZ",
                                "AEC", "YUN", "EUR "}) {
    EXPECT_EQ(FindCurrencyByCode(code), nullptr) << code;
  }
}

TEST(CurrencyTableTest, FindCurrencyByDomain) {
  // Every domain, first and last included, gives its code's row.
  for (const DomainCurrency& row : DomainCurrencyTable()) {
    EXPECT_EQ(FindCurrencyByDomain(row.domain), FindCurrencyByCode(row.code))
        << row.domain;
  }
  EXPECT_EQ(FindCurrencyByDomain("se")->isoCode, "SEK");
  EXPECT_EQ(FindCurrencyByDomain("at")->isoCode, "EUR");
  EXPECT_EQ(FindCurrencyByDomain("co")->isoCode, "COP");
  EXPECT_EQ(FindCurrencyByDomain("com")->isoCode, "USD");
  // El Salvador prices in dollars; the CFA francs, the East Caribbean
  // dollar and the CFP franc each serve several countries.
  EXPECT_EQ(FindCurrencyByDomain("sv")->isoCode, "USD");
  for (std::string_view domain : {"sn", "ci", "bf", "ml", "ne", "tg", "bj", "gw"}) {
    EXPECT_EQ(FindCurrencyByDomain(domain)->isoCode, "XOF") << domain;
  }
  for (std::string_view domain : {"cm", "ga", "cg", "cf", "td", "gq"}) {
    EXPECT_EQ(FindCurrencyByDomain(domain)->isoCode, "XAF") << domain;
  }
  EXPECT_EQ(FindCurrencyByDomain("lc")->isoCode, "XCD");
  EXPECT_EQ(FindCurrencyByDomain("pf")->isoCode, "XPF");
  EXPECT_EQ(FindCurrencyByDomain("ss")->isoCode, "SSP");
  EXPECT_EQ(FindCurrencyByDomain("eu")->isoCode, "EUR");
  // A code with no row, an unknown domain, or a domain not in lower case.
  for (std::string_view domain : {"xx", "SE", "", "comm"}) {
    EXPECT_EQ(FindCurrencyByDomain(domain), nullptr) << domain;
  }
}

TEST(CurrencyTableTest, DisplayText) {
  EXPECT_EQ(CurrencyDisplayText(*FindCurrencyByCode("JPY")), u"JPY Japan, Yen");
  EXPECT_EQ(CurrencyDisplayText(*FindCurrencyByCode("STN")),
            u"STN S\u00E3o Tome and Principe, Dobras");
  // Withdrawn currencies say so in the lists, and only they do.
  EXPECT_EQ(CurrencyDisplayText(*FindCurrencyByCode("STD")),
            u"STD S\u00E3o Tome and Principe, Dobras (withdrawn)");
  EXPECT_EQ(CurrencyDisplayText(*FindCurrencyByCode("DEM")),
            u"DEM Germany, Deutsche Marks (withdrawn)");
  std::size_t withdrawn = 0;
  for (const CurrencyInfo& row : CurrencyTable()) {
    const bool marked = CurrencyDisplayText(row).ends_with(u" (withdrawn)");
    EXPECT_EQ(marked, row.withdrawn) << row.isoCode;
    withdrawn += row.withdrawn;
  }
  EXPECT_EQ(withdrawn, 44u);
  EXPECT_EQ(CurrencyDisplayText(CurrencyInfo{"XTS", u""}), u"XTS");
  // Each text begins with its row's code, so in table order the texts
  // increase too: a list that sorts them shows the table's order.
  const auto currencies = CurrencyTable();
  for (std::size_t i = 1; i < currencies.size(); ++i) {
    EXPECT_LT(CurrencyDisplayText(currencies[i - 1]), CurrencyDisplayText(currencies[i])) << i;
  }
}

}  // namespace
}  // namespace qm
