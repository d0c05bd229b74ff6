// The built-in currency tables: the world's currencies by ISO 4217 code,
// the currency of each country's top-level domain, and the currency symbols
// that recognition looks for in a selection.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qm {

// One currency. Rows live as long as the program and are compared by
// address: two pointers to the same currency are equal.
struct CurrencyInfo {
  std::string_view isoCode;         // three upper-case ASCII letters, "EUR"
  std::u16string_view displayName;  // country, comma, space, plural unit name
  // No longer in use: replaced by another currency (DEM by EUR, TRL by
  // TRY). Such rows stay so that a user can still pick them.
  bool withdrawn = false;
};

// A top-level domain (lower case, without the dot) and the code of the
// currency its country uses today.
struct DomainCurrency {
  std::string_view domain;
  std::string_view code;
};

// A currency symbol and the codes of the currencies that use it, separated
// by commas ("DKK,NOK,SEK,ISK"); the first is taken when the page's own
// currency is not among them. A symbol that outlived a redenomination
// names the currency of today; one of a currency the euro replaced keeps
// that currency, since an amount in marks is not an amount in euros.
struct CurrencySymbol {
  std::u16string_view symbol;
  std::string_view codes;
};

// 204 currencies, sorted by isoCode byte by byte. Withdrawn currencies keep
// their rows, so a user can still pick them; a few local issues without an
// ISO code of their own (GGP, JEP, IMP, TVD, SPL) have rows too.
std::span<const CurrencyInfo> CurrencyTable();

// 256 domains, sorted by domain byte by byte: every country code of
// ISO 3166-1 but Antarctica's, "uk", "eu", the generic com, edu, mil, net
// and org (USD), and "yu", which keeps Yugoslavia's last currency. No other
// domain names a withdrawn currency.
std::span<const DomainCurrency> DomainCurrencyTable();

// 116 symbols in the order recognition tries them: longest first (five
// characters down to one), so "kr." is found before "kr". There is no row
// for a bare "$", which means a different currency on every continent.
std::span<const CurrencySymbol> CurrencySymbolTable();

// The row whose isoCode is exactly `code` (letter case matters), or null.
//   FindCurrencyByCode("JPY")->displayName == u"Japan, Yen"
//   FindCurrencyByCode("eur") == nullptr
const CurrencyInfo* FindCurrencyByCode(std::string_view code);

// The currency of the top-level domain `domain` (exact, lower case, no dot),
// or null when the domain is not in the table or its code has no row.
//   FindCurrencyByDomain("se")->isoCode == "SEK"
//   FindCurrencyByDomain("ru")->isoCode == "RUB"
//   FindCurrencyByDomain("xx") == nullptr
const CurrencyInfo* FindCurrencyByDomain(std::string_view domain);

// The text of a currency in the currency lists: the code, then one space
// and the name when there is one, then " (withdrawn)" for a withdrawn one.
//   CurrencyDisplayText(*FindCurrencyByCode("JPY")) == u"JPY Japan, Yen"
//   CurrencyDisplayText(*FindCurrencyByCode("DEM"))
//       == u"DEM Germany, Deutsche Marks (withdrawn)"
std::u16string CurrencyDisplayText(const CurrencyInfo& currency);

}  // namespace qm
