#include "recognisers/currency_recognition.h"

#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

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

// The recognition as a walk over each table in turn.
const CurrencyInfo* ReferenceRecognise(std::string_view domain,
                                       std::u16string_view text,
                                       std::string_view default_code) {
  const CurrencyInfo* by_domain = FindCurrencyByDomain(domain);
  if (!text.empty()) {
    for (const CurrencyInfo& row : CurrencyTable()) {
      const std::u16string code(row.isoCode.begin(), row.isoCode.end());
      if (text.find(code) != std::u16string_view::npos) return &row;
    }
    for (const CurrencySymbol& row : CurrencySymbolTable()) {
      if (text.find(row.symbol) == std::u16string_view::npos) continue;
      std::vector<const CurrencyInfo*> candidates;
      for (std::string_view code : SplitCodes(row.codes)) {
        if (const CurrencyInfo* c = FindCurrencyByCode(code)) {
          candidates.push_back(c);
        }
      }
      if (candidates.empty()) break;
      for (const CurrencyInfo* c : candidates) {
        if (c == by_domain) return c;
      }
      return candidates.front();
    }
  }
  if (by_domain != nullptr) return by_domain;
  return FindCurrencyByCode(default_code);
}

TEST(RecogniseCurrencyTest, CodesFirst) {
  // A code anywhere, even inside a word; the table's order decides.
  EXPECT_EQ(Recognise("com", u"12,50 EUR"), "EUR");
  EXPECT_EQ(Recognise("com", u"USD 10 (EUR 8)"), "EUR");
  EXPECT_EQ(Recognise("se", u"ALL ABOARD"), "ALL");
  EXPECT_EQ(Recognise("com", u"CADILLAC"), "CAD");
  EXPECT_EQ(Recognise("com", u"\u00A3 5 GBP"), "GBP");
  // Letter case matters, and a code beats any symbol.
  EXPECT_EQ(Recognise("de", u"eur 5"), "EUR");  // by the domain
  EXPECT_EQ(Recognise("com", u"eur 5"), "USD");
  EXPECT_EQ(Recognise("com", u"\u20AC 5 JPY"), "JPY");
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
// symbols, their pieces and filler.
TEST(RecogniseCurrencyTest, MatchesTableWalks) {
  std::vector<std::u16string> pieces = {u" ", u"5", u"$", u".", u"a", u"AB",
                                        u"kr", u"\u200F", u"\u062F", u"R$"};
  for (const CurrencySymbol& row : CurrencySymbolTable()) {
    pieces.emplace_back(row.symbol);
    pieces.emplace_back(row.symbol.substr(0, row.symbol.size() - 1));
  }
  const auto currencies = CurrencyTable();
  for (std::size_t i = 0; i < currencies.size(); i += 7) {
    const std::string_view code = currencies[i].isoCode;
    pieces.emplace_back(code.begin(), code.end());
  }
  const std::string_view domains[] = {"com", "se", "no", "by", "cn", "zz"};
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
  EXPECT_EQ(Recognise("com", symbols + u"AED"), "AED");
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
