// Which currency a selected amount of money is in, and the amount itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "recognisers/currency_table.h"

namespace qm {

// The currency meant by `text` on a page under the top-level domain
// `domain` (lower case, no dot), decided by the first of these that gives
// one:
//   1. the currency written next to the amount (the number ParseAmount
//      reads), directly before or after it with only spaces (and before it
//      a sign) between: a code, else a symbol, codes and symbols before the
//      number tried first. A bare "$" there means a dollar or peso: a code
//      of one elsewhere in the text (as in 3), else steps 4 and 5;
//   2. the symbol of the symbol table found first in table order anywhere
//      in `text`: of the currencies it stands for, the domain's own if it
//      is one of them, else the first listed;
//   3. a code anywhere in `text` that stands as a word of its own (case
//      matters); when several do, the one first in the currency table;
//   4. the currency of `domain`;
//   5. the currency of `defaultCode`.
// A code or symbol is never part of a longer word: a code must not touch a
// letter on either side, and a symbol whose first or last character is an
// ASCII letter must not touch a letter on that side ("ALLOWANCE" holds no
// ALL, "OFF" no FF). Letters are those of the Latin, Greek, Cyrillic,
// Hebrew and Arabic alphabets.
// Null only when `defaultCode` has no row. An empty text goes straight to 4.
//   RecogniseCurrency("com", u"\u20AC50 ALLOWANCE", "USD")->isoCode == "EUR"
//   RecogniseCurrency("com", u"USD 10 (EUR 8)", "USD")->isoCode == "USD"
//   RecogniseCurrency("com", u"ALL PRICES: 5", "USD")->isoCode  == "ALL"
//   RecogniseCurrency("se",  u"5 kr", "USD")->isoCode  == "SEK"
//   RecogniseCurrency("com", u"5 kr", "USD")->isoCode  == "DKK"
//   RecogniseCurrency("com", u"5 kr.", "USD")->isoCode == "ISK"
//   RecogniseCurrency("ca",  u"$12.50", "USD")->isoCode == "CAD"
// Linear in the length of `text`.
const CurrencyInfo* RecogniseCurrency(std::string_view domain,
                                      std::u16string_view text,
                                      std::string_view defaultCode);

// The amount in `text` in normal form: "0".."9" with at most one ".".
// The number is the first run of digits, "." and "," that begins with a
// digit, less any separators at its end (they close a sentence or a
// clause). A space, no-break, narrow no-break or thin space, or an
// apostrophe between a digit and exactly three digits groups thousands
// and is dropped ("9 800", "1'049,95"); it may come only before any "." or
// ",", and anywhere else it ends the number. The decimal sign is:
//   - none when there is no separator, or two or more that are all the
//     same character (thousands separators);
//   - the last separator when there are both kinds;
//   - a lone separator when thousands are grouped by spaces or
//     apostrophes, or unless exactly three characters follow it.
// Other separators are dropped; a second decimal sign ends the number.
// A "." or "," just before the first digit, not after a letter, is the
// decimal sign of an amount below one: ".75" gives "0.75".
// "1.00" when `text` holds no digit. Signs are not part of the amount.
//   ParseAmount(u"1,234.56")  == u"1234.56"
//   ParseAmount(u"1.234,56")  == u"1234.56"
//   ParseAmount(u"1,234")     == u"1234"
//   ParseAmount(u"1,234,567") == u"1234567"
//   ParseAmount(u"12,5")      == u"12.5"
//   ParseAmount(u"9 800 Kc")  == u"9800"
//   ParseAmount(u"1 298,00")  == u"1298.00"
//   ParseAmount(u".75")       == u"0.75"
//   ParseAmount(u"-5")        == u"5"
//   ParseAmount(u"It costs 12.50.") == u"12.50"
std::u16string ParseAmount(std::u16string_view text);

// Where the number that ParseAmount reads stands in a text: from its first
// character (its first digit, or the decimal sign of ".75") to just past
// its last digit, separator or thousands mark.
struct AmountSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The span of the amount in `text`; false, leaving `span` alone, when
// `text` holds no digit "0".."9".
//   FindAmountSpan(u"Price: 1 299,- K\u010D", &span) -> {7, 13} ("1 299,")
bool FindAmountSpan(std::u16string_view text, AmountSpan* span);

}  // namespace qm
