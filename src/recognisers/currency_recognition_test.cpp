#include "recognisers/currency_recognition.h"

#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "text/char_class.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::string Code(const CurrencyInfo* currency) {
  return currency ? std::string(currency->isoCode) : "(none)";
}

std::string Recognise(std::string_view domain, std::u16string_view text) {
  return Code(RecogniseCurrency(domain, text, "USD"));
}

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

bool IsLetterForTest(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) ||
         (c >= 0x388 && c <= 0x52F) || (c >= 0x5D0 && c <= 0x5EA) ||
         (c >= 0x620 && c <= 0x64A) || IsWideLower(c);
}

bool IsAsciiLetterForTest(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Whether the code of `row` stands as a word of its own at `at`.
bool CodeStandsAt(std::u16string_view text, std::size_t at,
                  const CurrencyInfo& row) {
  const std::u16string code(row.isoCode.begin(), row.isoCode.end());
  return at <= text.size() && text.substr(at).starts_with(code) &&
         (at == 0 || !IsLetterForTest(text[at - 1])) &&
         (at + 3 >= text.size() || !IsLetterForTest(text[at + 3]));
}

bool SymbolStandsAtForTest(std::u16string_view text, std::size_t at,
                           std::u16string_view symbol) {
  const std::size_t end = at + symbol.size();
  return at <= text.size() && text.substr(at).starts_with(symbol) &&
         !(IsAsciiLetterForTest(symbol.front()) && at > 0 &&
           IsLetterForTest(text[at - 1])) &&
         !(IsAsciiLetterForTest(symbol.back()) && end < text.size() &&
           IsLetterForTest(text[end]));
}

const CurrencyInfo* SymbolRowCurrency(const CurrencySymbol& row,
                                      const CurrencyInfo* by_domain) {
  std::vector<const CurrencyInfo*> candidates;
  for (std::string_view code : SplitCodes(row.codes)) {
    if (const CurrencyInfo* c = FindCurrencyByCode(code)) candidates.push_back(c);
  }
  for (const CurrencyInfo* c : candidates) {
    if (c == by_domain) return c;
  }
  return candidates.empty() ? nullptr : candidates.front();
}

// Steps 2 to 5 of the recognition, for texts without a digit (so with no
// amount to stand beside), as walks over each table in turn, every row
// tried at every position.
const CurrencyInfo* ReferenceRecognise(std::string_view domain,
                                       std::u16string_view text,
                                       std::string_view default_code) {
  const CurrencyInfo* by_domain = FindCurrencyByDomain(domain);
  for (const CurrencySymbol& row : CurrencySymbolTable()) {
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (SymbolStandsAtForTest(text, at, row.symbol)) {
        if (const CurrencyInfo* c = SymbolRowCurrency(row, by_domain)) return c;
      }
    }
  }
  for (const CurrencyInfo& row : CurrencyTable()) {
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (CodeStandsAt(text, at, row)) return &row;
    }
  }
  if (by_domain != nullptr) return by_domain;
  return FindCurrencyByCode(default_code);
}

// Shop-like price texts: the currency written with the amount decides, and
// a capitalised word that holds or is a code does not.
TEST(RecogniseCurrencyTest, ShopPriceTexts) {
  struct Case {
    std::string_view domain;
    std::u16string_view text;
    std::string_view code;
  };
  const Case cases[] = {
      {"com", u"\u20AC50 ALLOWANCE", "EUR"},
      {"com", u"NEW ARRIVALS from \u20AC29", "EUR"},
      {"uk", u"MODERN SOFA \u00A3499", "GBP"},
      {"com", u"TOP DEAL \u20AC19.99", "EUR"},
      {"com", u"TRY IT FREE, then \u20AC9.99/month", "EUR"},
      {"uk", u"ALL PRICES INCLUDE VAT: \u00A335", "GBP"},
      {"com", u"ALL SALE ITEMS NOW $35", "USD"},
      {"ca", u"CANADA DAY SALE: $49.99", "CAD"},
      {"de", u"TOTAL: 89,90 \u20AC", "EUR"},
      {"com", u"50% OFF \u2013 NOW \u20AC24.50", "EUR"},
      {"com", u"SHIPPING ALL OVER EUROPE: 4.95 EUR", "EUR"},
      {"com", u"CUP HOLDER \u2013 12.99 USD", "USD"},
      {"ch", u"SWISS ARMY KNIFE CHF 79.90", "CHF"},
      {"com", u"MAD MAX BLU-RAY $14.99", "USD"},
      {"jp", u"SPECIAL PRICE \u00A51,980", "JPY"},
      {"com", u"GEL PENS (PACK OF 10) \u20AC4.99", "EUR"},
      {"se", u"PRIS: 1 295 kr", "SEK"},
      {"com", u"SOS EMERGENCY KIT 29.95 GBP", "GBP"},
      {"com", u"BAM! DEAL OF THE DAY: US$ 59", "USD"},
      {"pl", u"PROMOCJA: 149,99 z\u0142", "PLN"},
  };
  static_assert(std::size(cases) == 20);
  for (const Case& c : cases) {
    EXPECT_EQ(Recognise(c.domain, c.text), c.code)
        << c.domain << " " << ToUtf8(c.text);
  }
}

TEST(RecogniseCurrencyTest, NextToTheAmount) {
  // A code or symbol just before or after the number, spaces between.
  EXPECT_EQ(Recognise("com", u"12,50 EUR"), "EUR");
  EXPECT_EQ(Recognise("com", u"USD 10 (EUR 8)"), "USD");
  EXPECT_EQ(Recognise("com", u"Price 10\u00A0EUR, was 12 USD"), "EUR");
  EXPECT_EQ(Recognise("com", u"\u20AC580 (\u00A3499)"), "EUR");
  EXPECT_EQ(Recognise("com", u"\u00A3 5 GBP"), "GBP");
  EXPECT_EQ(Recognise("com", u"EUR12"), "EUR");
  EXPECT_EQ(Recognise("com", u"12EUR"), "EUR");
  EXPECT_EQ(Recognise("com", u"\u20AC -5 (USD 6)"), "EUR");
  EXPECT_EQ(Recognise("com", u"CZK 1 299,- (\u20AC52)"), "CZK");
  EXPECT_EQ(Recognise("com", u"1 299,- K\u010D (\u20AC52)"), "CZK");
  EXPECT_EQ(Recognise("com", u"1 295:- kr (\u20AC115)"), "DKK");
  EXPECT_EQ(Recognise("in", u"Rs. 5 (\u20AC1)"), "INR");
  // A code beats a symbol; before the number beats after it.
  EXPECT_EQ(Recognise("com", u"\u20AC 5 JPY"), "JPY");
  EXPECT_EQ(Recognise("com", u"GBP 5 EUR"), "GBP");
  // Letter case matters.
  EXPECT_EQ(Recognise("de", u"eur 5"), "EUR");  // by the domain
  EXPECT_EQ(Recognise("com", u"eur 5"), "USD");
  // A bare "$" means a dollar or peso: one named elsewhere, else the page's.
  EXPECT_EQ(Recognise("com", u"ALL PRICES IN CAD: $35"), "CAD");
  EXPECT_EQ(Recognise("ca", u"ALL ITEMS $35"), "CAD");
  EXPECT_EQ(Recognise("com", u"$35 \u2013 \u20AC30 in Europe"), "USD");
  EXPECT_EQ(Recognise("fr", u"1 299,99 $"), "EUR");  // the page's, as before
}

TEST(RecogniseCurrencyTest, CodesAwayFromTheAmount) {
  // Only a code that is a word of its own counts, and after every symbol.
  EXPECT_EQ(Recognise("se", u"ALL ABOARD"), "ALL");
  EXPECT_EQ(Recognise("com", u"CADILLAC"), "USD");
  EXPECT_EQ(Recognise("com", u"Prices in GBP and EUR: from 5"), "EUR");
  EXPECT_EQ(Recognise("com", u"(EUR) 5"), "EUR");
  EXPECT_EQ(Recognise("com", u"Total in EUR \u2013 5 items, \u00A33 off"), "GBP");
  // Letters of other alphabets join a word too.
  EXPECT_EQ(Recognise("se", u"\u00E9USD 5"), "SEK");
  EXPECT_EQ(Recognise("se", u"USD\u00E9 5"), "SEK");
  EXPECT_EQ(Recognise("ch", u"\u062FUSD: 5"), "CHF");
  EXPECT_EQ(Recognise("ch", u"\u0434USD: 5"), "CHF");
  // Digits do not.
  EXPECT_EQ(Recognise("ch", u"1USD2: x"), "USD");
}

// Symbols written in ASCII letters are not parts of words.
TEST(RecogniseCurrencyTest, SymbolsStandApart) {
  EXPECT_EQ(Recognise("com", u"50% OFF today"), "USD");
  EXPECT_EQ(Recognise("com", u"TITLE 5"), "USD");
  EXPECT_EQ(Recognise("com", u"free flights from 99"), "USD");
  EXPECT_EQ(Recognise("com", u"ADMIN fee 5"), "USD");
  EXPECT_EQ(Recognise("com", u"5 kronor"), "USD");
  EXPECT_EQ(Recognise("com", u"99 fl"), "NLG");
  EXPECT_EQ(Recognise("com", u"5 kr"), "DKK");
  EXPECT_EQ(Recognise("com", u"5kr"), "DKK");
  // Symbols of other scripts run into their words.
  EXPECT_EQ(Recognise("com", u"500 \u0440\u0443\u0431\u043B\u0435\u0439"), "RUB");
  EXPECT_EQ(Recognise("com", u"100 z\u0142otych"), "PLN");
}

TEST(RecogniseCurrencyTest, Symbols) {
  EXPECT_EQ(Recognise("com", u"CDN$ 12.50"), "CAD");
  EXPECT_EQ(Recognise("com", u"\u20AC12"), "EUR");
  EXPECT_EQ(Recognise("com", u"R$ 12"), "BRL");
  EXPECT_EQ(Recognise("com", u"R$12"), "BRL");
  EXPECT_EQ(Recognise("com", u"\u062F.\u0625.\u200F 30"), "AED");
  // Longer symbols are tried first.
  EXPECT_EQ(Recognise("com", u"5 kr."), "ISK");
  EXPECT_EQ(Recognise("com", u"NZ$ 3 and 4 kr"), "NZD");
  EXPECT_EQ(Recognise("com", u"CA$ 5"), "CAD");
  EXPECT_EQ(Recognise("com", u"A$ 5"), "AUD");
  EXPECT_EQ(Recognise("com", u"S/. 20"), "PEN");
  // Symbols of today's currencies, on a page that says nothing.
  struct Case {
    std::u16string_view text;
    std::string_view code;
  };
  const Case today[] = {
      {u"\u20B9500", "INR"},      {u"500 \u20BD", "RUB"},
      {u"\u20BA 99", "TRY"},      {u"\u20B4 99", "UAH"},
      {u"\u20B1 99", "PHP"},      {u"\u20B8 99", "KZT"},
      {u"\u20BE 99", "GEL"},      {u"\u20BC 99", "AZN"},
      {u"\u20B5 99", "GHS"},      {u"99 \u0440\u0443\u0431.", "RUB"},
      {u"99 TL", "TRY"},          {u"99 lei", "RON"},
      {u"99 \u0433\u0440\u043D", "UAH"},
      {u"99 \u0433\u0440\u043D.", "UAH"},
      {u"99 man.", "AZN"},        {u"Din. 99", "RSD"},
      {u"RM 99", "MYR"},          {u"MX$ 99", "MXN"},
      {u"AU$ 99", "AUD"},         {u"Z\u0142 99", "PLN"},
      {u"99 \u0440.", "RUB"},     {u"Bs 99", "VES"},
      // A currency the euro replaced keeps its own symbol.
      {u"99 DM", "DEM"},          {u"99 kn", "HRK"},
      {u"99 Sk", "SKK"},          {u"99 \u043B\u0432", "BGN"},
      // The capital Te of Russian and Kazakh text is not a tenge sign.
      {u"\u0422\u043E\u0432\u0430\u0440 99", "USD"},
  };
  for (const Case& c : today) {
    EXPECT_EQ(Recognise("com", c.text), c.code) << ToUtf8(c.text);
  }
}

TEST(RecogniseCurrencyTest, SharedSymbols) {
  // The page's own currency when the symbol can mean it, else the first.
  struct Case {
    std::string_view domain;
    std::u16string_view text;
    std::string_view code;
  };
  const Case cases[] = {
      {"se", u"5 kr", "SEK"},         {"no", u"5 kr", "NOK"},
      {"dk", u"5 kr", "DKK"},         {"is", u"5 kr", "ISK"},
      {"com", u"5 kr", "DKK"},        {"de", u"5 kr", "DKK"},
      {"ee", u"5 kr", "DKK"},         {"cn", u"\u00A51000", "CNY"},
      {"com", u"\u00A51000", "JPY"},  {"cn", u"\uFFE5 10", "CNY"},
      {"jp", u"\uFFE5 10", "JPY"},    {"by", u"5 \u0440.", "BYN"},
      {"bo", u"Bs 5", "BOB"},         {"ve", u"Bs 5", "VES"},
      {"it", u"L. 5", "HNL"},         {"dk", u"5 kr.", "DKK"},
      {"se", u"5 kr.", "SEK"},        {"in", u"Rs. 5", "INR"},
      {"com", u"Rs. 5", "PKR"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Recognise(c.domain, c.text), c.code)
        << c.domain << " " << ToUtf8(c.text);
  }
}

TEST(RecogniseCurrencyTest, DomainAndDefault) {
  // No symbol for a bare dollar.
  EXPECT_EQ(Recognise("ca", u"$12.50"), "CAD");
  EXPECT_EQ(Recognise("com", u"$12.50"), "USD");
  EXPECT_EQ(Recognise("ec", u"$12.50"), "USD");
  // The currency each country uses today.
  EXPECT_EQ(Recognise("ru", u"12.50"), "RUB");
  EXPECT_EQ(Recognise("tr", u"12.50"), "TRY");
  EXPECT_EQ(Recognise("hr", u"12.50"), "EUR");
  EXPECT_EQ(Recognise("bg", u"12.50"), "EUR");
  EXPECT_EQ(Recognise("bn", u"12.50"), "BND");
  // An unknown domain, or none, leaves the default.
  EXPECT_EQ(Recognise("", u""), "USD");
  EXPECT_EQ(Recognise("fr", u""), "EUR");
  EXPECT_EQ(Code(RecogniseCurrency("xx", u"5", "GBP")), "GBP");
  EXPECT_EQ(RecogniseCurrency("xx", u"5", "XXX"), nullptr);
  EXPECT_EQ(RecogniseCurrency("xx", u"5", ""), nullptr);
}

// The one-pass search agrees with the table walks on texts made of codes,
// symbols, their pieces and filler, without digits.
TEST(RecogniseCurrencyTest, MatchesTableWalks) {
  std::vector<std::u16string> pieces = {
      u" ",  u"$", u".",      u"a",      u"AB",     u"kr",  u"\u200F",
      u"\u062F", u"R$", u"\u00A0", u"-", u"\u00E9", u"CAD", u"ALL"};
  for (const CurrencySymbol& row : CurrencySymbolTable()) {
    pieces.emplace_back(row.symbol);
    pieces.emplace_back(row.symbol.substr(0, row.symbol.size() - 1));
  }
  const auto currencies = CurrencyTable();
  for (std::size_t i = 0; i < currencies.size(); i += 7) {
    const std::string_view code = currencies[i].isoCode;
    pieces.emplace_back(code.begin(), code.end());
  }
  const std::string_view domains[] = {"com", "se", "no", "by", "cn", "ca"};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> count(0, 5);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<std::size_t> pick_domain(0, 5);
  std::uniform_int_distribution<int> rare(0, 9);
  for (int round = 0; round < 50000; ++round) {
    std::u16string text;
    for (std::size_t n = count(random); n > 0; --n) {
      const std::u16string& piece = pieces[pick(random)];
      // Codes are common among the pieces; keep most texts free of them so
      // the symbol step is exercised.
      const bool is_code = piece.size() == 3 && piece[0] >= u'A' &&
                           piece[0] <= u'Z';
      if (is_code && rare(random) > 1) continue;
      text += piece;
    }
    const std::string_view domain = domains[pick_domain(random)];
    ASSERT_EQ(Code(RecogniseCurrency(domain, text, "USD")),
              Code(ReferenceRecognise(domain, text, "USD")))
        << "round " << round;
  }
}

// A megabyte of capitals and symbols gives the same answer as a short text.
TEST(RecogniseCurrencyTest, LargeText) {
  std::u16string capitals;
  for (std::size_t i = 0; capitals.size() < (1u << 20); ++i) {
    capitals += static_cast<char16_t>(u'A' + (i * 7) % 26);
    if (i % 5 == 0) capitals += u"kr\u20AC$";
  }
  EXPECT_EQ(Code(RecogniseCurrency("com", capitals, "USD")),
            Code(ReferenceRecognise("com", capitals, "USD")));
  const std::u16string symbols(1u << 20, u'k');
  EXPECT_EQ(Recognise("com", symbols + u"\u20AC"), "EUR");
  EXPECT_EQ(Recognise("com", symbols + u" AED"), "AED");
  EXPECT_EQ(Recognise("com", symbols + u"AED"), "USD");
}

TEST(ParseAmountTest, Separators) {
  // Both kinds: the last is the decimal sign.
  EXPECT_EQ(ParseAmount(u"1,234.56"), u"1234.56");
  EXPECT_EQ(ParseAmount(u"1.234,56"), u"1234.56");
  EXPECT_EQ(ParseAmount(u"1.234.567,89"), u"1234567.89");
  // Two or more of one kind group thousands.
  EXPECT_EQ(ParseAmount(u"1,234,567"), u"1234567");
  EXPECT_EQ(ParseAmount(u"1.234.567"), u"1234567");
  // One alone: a group of three, else decimals.
  EXPECT_EQ(ParseAmount(u"1,234"), u"1234");
  EXPECT_EQ(ParseAmount(u"12,50"), u"12.50");
  EXPECT_EQ(ParseAmount(u"12,5"), u"12.5");
  EXPECT_EQ(ParseAmount(u"1,2345"), u"1.2345");
  EXPECT_EQ(ParseAmount(u"12.5"), u"12.5");
  // Separators that end the number are punctuation.
  EXPECT_EQ(ParseAmount(u"It costs 12.50."), u"12.50");
  EXPECT_EQ(ParseAmount(u"1,234,567."), u"1234567");
  EXPECT_EQ(ParseAmount(u"12, not 15"), u"12");
  EXPECT_EQ(ParseAmount(u"5..,"), u"5");
  // A second decimal sign ends the amount.
  EXPECT_EQ(ParseAmount(u"1.2,3.4"), u"1.23");
}

// Thousands grouped by a space, a no-break, narrow or thin space, or an
// apostrophe, and a decimal sign before the first digit.
TEST(ParseAmountTest, AsTheWorldWritesThem) {
  struct Case {
    std::u16string_view text;
    std::u16string_view amount;
  };
  const Case cases[] = {
      // A mark before exactly three digits groups them.
      {u"9 800 K\u010D", u"9800"},
      {u"17 940,00 \u0440\u0443\u0431", u"17940.00"},
      {u"1\u00A0298,00 \u20AC", u"1298.00"},
      {u"12\u202F990 Ft", u"12990"},
      {u"1\u2009234\u2009567,5 z\u0142", u"1234567.5"},
      {u"CHF 1'049,95", u"1049.95"},
      {u"CHF 1\u2019049.95", u"1049.95"},
      {u"1 295:-", u"1295"},
      {u"9 800,- K\u010D", u"9800"},
      {u"1 234.56", u"1234.56"},
      {u"Total 9 800.", u"9800"},
      // Thousands grouped already make a lone separator the decimal sign.
      {u"1 234,567", u"1234.567"},
      // Anywhere else the mark ends the number.
      {u"5 apples", u"5"},
      {u"12 34", u"12"},
      {u"1 2345", u"1"},
      {u"1 23", u"1"},
      {u"1  234", u"1"},
      {u"1 234 5", u"1234"},
      {u"12,50 100 St\u00FCck", u"12.50"},
      {u"rock 'n' 1'2", u"1"},
      {u"1\t234", u"1"},
      // A separator right before the first digit is the decimal sign.
      {u".75 \u20AC", u"0.75"},
      {u"\u20AC,50", u"0.50"},
      {u"$.99", u"0.99"},
      {u"-.5", u"0.5"},
      {u".5.3", u"0.5"},
      // ... unless it closes an abbreviation.
      {u"No.5", u"5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseAmount(c.text), c.amount) << ToUtf8(c.text);
  }
}

// The span covers what ParseAmount reads, and only that.
TEST(ParseAmountTest, Span) {
  struct Case {
    std::u16string_view text;
    std::size_t begin, end;
  };
  const Case cases[] = {
      {u"Price: 1 299,- K\u010D", 7, 13}, {u"$.99", 1, 4},
      {u"12.50.", 0, 6},                  {u"ab 5 apples", 3, 4},
      {u"9\u00A0800 Ft", 0, 5},           {u"No.5", 3, 4},
  };
  for (const Case& c : cases) {
    AmountSpan span;
    ASSERT_TRUE(FindAmountSpan(c.text, &span)) << ToUtf8(c.text);
    EXPECT_EQ(span.begin, c.begin) << ToUtf8(c.text);
    EXPECT_EQ(span.end, c.end) << ToUtf8(c.text);
  }
  AmountSpan untouched{3, 4};
  EXPECT_FALSE(FindAmountSpan(u"no digits", &untouched));
  EXPECT_EQ(untouched.begin, 3u);
  EXPECT_EQ(untouched.end, 4u);
}

TEST(ParseAmountTest, FindsTheNumber) {
  EXPECT_EQ(ParseAmount(u"CDN$ 12.50"), u"12.50");
  EXPECT_EQ(ParseAmount(u"Price: 30 dollars"), u"30");
  EXPECT_EQ(ParseAmount(u"-5"), u"5");
  EXPECT_EQ(ParseAmount(u"1e5"), u"1");
  // Only "0".."9" are digits.
  EXPECT_EQ(ParseAmount(u"\u0661\u0662 7"), u"7");
  EXPECT_EQ(ParseAmount(u"\uFF11\uFF12"), u"1.00");
  // No digit at all.
  EXPECT_EQ(ParseAmount(u""), u"1.00");
  EXPECT_EQ(ParseAmount(u"free"), u"1.00");
  EXPECT_EQ(ParseAmount(u".,."), u"1.00");
}

TEST(ParseAmountTest, LargeAndOddInput) {
  // A megabyte-long number is read whole.
  std::u16string digits(1u << 20, u'7');
  EXPECT_EQ(ParseAmount(digits), digits);
  EXPECT_EQ(ParseAmount(u"x" + digits + u",5"), digits + u".5");
  // Every UTF-16 code unit, surrogates and NUL included, around a number.
  std::u16string junk;
  for (char32_t c = 0; c < 0x10000; ++c) {
    if (c < u'0' || c > u'9') junk += static_cast<char16_t>(c);
  }
  EXPECT_EQ(ParseAmount(junk), u"1.00");
  EXPECT_EQ(ParseAmount(junk + u"4,20" + junk), u"4.20");
}

}  // namespace
}  // namespace qm
