#include "recognisers/currency_recognition.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/char_class.h"

namespace qm {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

constexpr bool IsCodeLetter(char16_t c) { return c >= u'A' && c <= u'Z'; }

constexpr bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The letters a code or symbol must not touch to count: a word goes on
// there. Latin (with its accented letters), Greek, Cyrillic, Hebrew and
// Arabic letters, and every lower-case letter IsWideLower knows.
bool IsWordLetter(char16_t c) {
  if (c < 0x80) return IsAsciiLetter(c);
  if (c >= 0x00C0 && c <= 0x024F) return c != 0x00D7 && c != 0x00F7;
  if (c >= 0x0388 && c <= 0x052F) return true;
  if (c >= 0x05D0 && c <= 0x05EA) return true;
  if (c >= 0x0620 && c <= 0x064A) return true;
  return IsWideLower(c);
}

// Whether the `length` characters at `at` stand apart from any word.
bool IsWholeWord(std::u16string_view text, std::size_t at, std::size_t length) {
  return (at == 0 || !IsWordLetter(text[at - 1])) &&
         (at + length == text.size() || !IsWordLetter(text[at + length]));
}

// Whether `symbol`, found at `at`, is not part of a longer word: an ASCII
// letter at either end must not touch a letter ("OFF" holds no "FF",
// "TITLE" no "TL"), since short Latin symbols hide in many words. An end in
// another script may run on into the currency's name, which it abbreviates
// ("500 \u0440\u0443\u0431\u043B\u0435\u0439", "100 z\u0142otych").
bool SymbolStandsAt(std::u16string_view text, std::size_t at,
                    std::u16string_view symbol) {
  const std::size_t end = at + symbol.size();
  if (IsAsciiLetter(symbol.front()) && at > 0 && IsWordLetter(text[at - 1])) {
    return false;
  }
  return !(IsAsciiLetter(symbol.back()) && end < text.size() &&
           IsWordLetter(text[end]));
}

// REQUIRES: all three are A-Z.
constexpr std::size_t CodeKey(char16_t a, char16_t b, char16_t c) {
  return static_cast<std::size_t>(((a - u'A') * 26 + (b - u'A')) * 26 +
                                  (c - u'A'));
}

// The currencies whose amounts are written with a bare "$": the dollars and
// pesos of the Americas, Oceania and East Asia.
constexpr std::string_view kDollarSignCodes[] = {
    "ARS", "AUD", "BBD", "BMD", "BND", "BSD", "BZD", "CAD", "CLP", "COP",
    "CUP", "DOP", "FJD", "GYD", "HKD", "JMD", "KYD", "LRD", "MXN", "NAD",
    "NZD", "SBD", "SGD", "SRD", "TTD", "TWD", "USD", "UYU", "XCD"};

// Every code is three letters A-Z, so the position of any three letters in
// the currency table is one array read away.
class CodeIndex {
 public:
  CodeIndex() {
    const auto table = CurrencyTable();
    for (std::size_t row = 0; row < table.size(); ++row) {
      const std::string_view code = table[row].isoCode;
      row_plus_one_[CodeKey(code[0], code[1], code[2])] =
          static_cast<std::uint16_t>(row + 1);
    }
    for (std::string_view code : kDollarSignCodes) {
      if (const CurrencyInfo* row = FindCurrencyByCode(code)) {
        dollar_[static_cast<std::size_t>(row - table.data())] = true;
      }
    }
  }

  // The table row of the code that stands as a word of its own at `at`,
  // or kNone.
  std::size_t WordRowAt(std::u16string_view text, std::size_t at) const {
    if (text.size() - at < 3 || !IsCodeLetter(text[at]) ||
        !IsCodeLetter(text[at + 1]) || !IsCodeLetter(text[at + 2]) ||
        !IsWholeWord(text, at, 3)) {
      return kNone;
    }
    const std::uint16_t found =
        row_plus_one_[CodeKey(text[at], text[at + 1], text[at + 2])];
    return found == 0 ? kNone : found - 1u;
  }

  // Whether the currency of a row is written with a bare "$".
  bool IsDollar(std::size_t row) const { return dollar_[row]; }

 private:
  std::array<std::uint16_t, 26 * 26 * 26> row_plus_one_{};
  std::vector<bool> dollar_ = std::vector<bool>(CurrencyTable().size());
};

// The symbol rows grouped by their first character, in table order within
// each group, so each position of the text is tried only against the
// symbols that can start there.
class SymbolIndex {
 public:
  SymbolIndex() {
    const auto table = CurrencySymbolTable();
    for (std::size_t row = 0; row < table.size(); ++row) {
      const char16_t first = table[row].symbol[0];
      if (group_of_[first] == 0) {
        groups_.push_back({});
        group_of_[first] = static_cast<std::uint8_t>(groups_.size());
      }
      groups_[group_of_[first] - 1].push_back(row);
    }
  }

  // The first row, in table order and before `before`, whose symbol stands
  // at `at` (SymbolStandsAt); kNone when there is none.
  std::size_t FirstRowAt(std::u16string_view text, std::size_t at,
                         std::size_t before) const {
    if (at >= text.size()) return kNone;
    const std::uint8_t group = group_of_[text[at]];
    if (group == 0) return kNone;
    const auto table = CurrencySymbolTable();
    const std::u16string_view rest = text.substr(at);
    for (std::size_t row : groups_[group - 1]) {
      if (row >= before) break;
      if (rest.starts_with(table[row].symbol) &&
          SymbolStandsAt(text, at, table[row].symbol)) {
        return row;
      }
    }
    return kNone;
  }

 private:
  // 1 + the group of the symbols that begin with a character; 0 for none.
  std::array<std::uint8_t, 0x10000> group_of_{};
  std::vector<std::vector<std::size_t>> groups_;
};

const CodeIndex& Codes() {
  static const CodeIndex index;
  return index;
}

const SymbolIndex& Symbols() {
  static const SymbolIndex index;
  return index;
}

// The first symbol row, in table order, that stands just before `end`;
// kNone when there is none. A few rows, looked at once per text.
std::size_t SymbolRowEndingAt(std::u16string_view text, std::size_t end) {
  const auto table = CurrencySymbolTable();
  const std::u16string_view head = text.substr(0, end);
  for (std::size_t row = 0; row < table.size(); ++row) {
    const std::u16string_view symbol = table[row].symbol;
    if (head.ends_with(symbol) &&
        SymbolStandsAt(text, end - symbol.size(), symbol)) {
      return row;
    }
  }
  return kNone;
}

// Spaces between an amount and its currency: "12,50 \u20AC", "EUR\u00A012".
bool IsGap(char16_t c) { return IsWideSpace(c); }

// What is written next to the amount at `span`.
struct Beside {
  std::size_t code = kNone;    // a row of the currency table
  std::size_t symbol = kNone;  // a row of the symbol table
  bool dollar = false;         // a bare "$"
};

Beside BesideAmount(std::u16string_view text, AmountSpan span) {
  // Before: spaces, and a sign right before the number ("\u20AC -5").
  std::size_t before = span.begin;
  if (before > 0 && (text[before - 1] == u'-' || text[before - 1] == u'+' ||
                     text[before - 1] == u'\u2212')) {
    --before;
  }
  while (before > 0 && IsGap(text[before - 1])) --before;
  // After: spaces, and the dash that stands for no decimals ("1 299,- K\u010D",
  // "1 295:-").
  std::size_t after = span.end;
  const auto is_dash = [&](std::size_t i) {
    return i < text.size() && (text[i] == u'-' || text[i] == u'\u2013');
  };
  if (is_dash(after) && (text[after - 1] == u',' || text[after - 1] == u'.')) {
    ++after;
  } else if (after < text.size() && text[after] == u':' && is_dash(after + 1)) {
    after += 2;
  }
  while (after < text.size() && IsGap(text[after])) ++after;

  const CodeIndex& codes = Codes();
  Beside beside;
  if (before >= 3) beside.code = codes.WordRowAt(text, before - 3);
  if (beside.code == kNone) beside.code = codes.WordRowAt(text, after);
  if (beside.code != kNone) return beside;
  beside.symbol = SymbolRowEndingAt(text, before);
  // An abbreviation's full stop may follow a symbol: "Rs. 5".
  if (beside.symbol == kNone && before > 1 && text[before - 1] == u'.') {
    beside.symbol = SymbolRowEndingAt(text, before - 1);
  }
  if (beside.symbol == kNone) {
    beside.symbol = Symbols().FirstRowAt(text, after, kNone);
  }
  if (beside.symbol != kNone) return beside;
  beside.dollar = (before > 0 && text[before - 1] == u'$') ||
                  (after < text.size() && text[after] == u'$');
  return beside;
}

// The currency a symbol shared by the codes "DKK,NOK,SEK,ISK" stands for
// on a page whose own currency is `page`: that one when it is among them,
// else the first of them. Null when no code has a row.
const CurrencyInfo* SymbolCurrency(std::string_view codes,
                                   const CurrencyInfo* page) {
  const CurrencyInfo* first = nullptr;
  while (!codes.empty()) {
    const std::size_t comma = codes.find(',');
    const std::string_view code = codes.substr(0, comma);
    codes = comma == std::string_view::npos ? std::string_view()
                                            : codes.substr(comma + 1);
    if (code.empty()) continue;
    const CurrencyInfo* row = FindCurrencyByCode(code);
    if (row == nullptr) continue;
    if (row == page) return row;
    if (first == nullptr) first = row;
  }
  return first;
}

constexpr bool IsSeparator(char16_t c) { return c == u'.' || c == u','; }

// Marks that group thousands as many languages write them: "9 800",
// "1\u00A0298,00", "1'049,95", and the narrow and thin spaces of typeset text.
constexpr bool IsGroupMark(char16_t c) {
  return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009' ||
         c == u'\'' || c == u'\u2019';
}

// Whether the character at `i` groups thousands: a mark between a digit and
// exactly three digits. "5 apples" and "call 555 1234" end at the mark.
bool GroupsThousands(std::u16string_view text, std::size_t i) {
  if (i == 0 || i + 3 >= text.size() || !IsGroupMark(text[i]) ||
      !IsAsciiDigit(text[i - 1])) {
    return false;
  }
  for (std::size_t k = i + 1; k <= i + 3; ++k) {
    if (!IsAsciiDigit(text[k])) return false;
  }
  return i + 4 == text.size() || !IsAsciiDigit(text[i + 4]);
}

}  // namespace

// The walks over the tables that steps 2 and 3 describe look for each row
// anywhere in the text; the least row found at any position is the same
// answer, and one pass over the text finds it for both.
const CurrencyInfo* RecogniseCurrency(std::string_view domain,
                                      std::u16string_view text,
                                      std::string_view defaultCode) {
  const CodeIndex& codes = Codes();
  const CurrencyInfo* by_domain = FindCurrencyByDomain(domain);
  const auto currencies = CurrencyTable();
  const auto symbol_currency = [&](std::size_t row) {
    return SymbolCurrency(CurrencySymbolTable()[row].codes, by_domain);
  };

  bool dollar = false;
  AmountSpan span;
  if (FindAmountSpan(text, &span)) {
    const Beside beside = BesideAmount(text, span);
    if (beside.code != kNone) return &currencies[beside.code];
    if (beside.symbol != kNone) {
      if (const CurrencyInfo* found = symbol_currency(beside.symbol)) {
        return found;
      }
    }
    dollar = beside.dollar;
  }

  const SymbolIndex& symbols = Symbols();
  std::size_t code_row = kNone;
  std::size_t dollar_code_row = kNone;
  std::size_t symbol_row = kNone;
  for (std::size_t i = 0; i < text.size() && symbol_row != 0; ++i) {
    // Inside a word an ASCII letter begins neither a code that stands as a
    // word nor a symbol that stands: the rest of a word of them is passed
    // at once (most of a page).
    if (IsAsciiLetter(text[i]) && i > 0 && IsWordLetter(text[i - 1])) {
      while (i + 1 < text.size() && IsAsciiLetter(text[i + 1])) ++i;
      continue;
    }
    const std::size_t code = codes.WordRowAt(text, i);
    if (code != kNone) {
      if (code < code_row) code_row = code;
      if (codes.IsDollar(code) && code < dollar_code_row) dollar_code_row = code;
    }
    if (!dollar) {
      const std::size_t symbol = symbols.FirstRowAt(text, i, symbol_row);
      if (symbol != kNone) symbol_row = symbol;
    }
  }
  // A "$" beside the amount rules out every currency but the dollars and
  // pesos, whatever other symbols or codes the text holds.
  if (dollar) code_row = dollar_code_row;
  if (symbol_row != kNone) {
    if (const CurrencyInfo* found = symbol_currency(symbol_row)) return found;
  }
  if (code_row != kNone) return &currencies[code_row];
  if (by_domain != nullptr) return by_domain;
  return FindCurrencyByCode(defaultCode);
}

bool FindAmountSpan(std::u16string_view text, AmountSpan* span) {
  std::size_t first = 0;
  while (first < text.size() && !IsAsciiDigit(text[first])) ++first;
  if (first == text.size()) return false;
  // ".75" and "\u20AC,50": a number may start at its decimal sign. After a
  // letter the full stop more likely closes an abbreviation ("No.5").
  if (first > 0 && IsSeparator(text[first - 1]) &&
      (first < 2 || !IsAsciiLetter(text[first - 2]))) {
    std::size_t end = first;
    while (end < text.size() && IsAsciiDigit(text[end])) ++end;
    *span = AmountSpan{first - 1, end};
    return true;
  }
  // The number's digits and separators, with the marks that group its
  // thousands. Those come only before a decimal sign can.
  bool separated = false;
  std::size_t end = first;
  for (; end < text.size(); ++end) {
    const char16_t c = text[end];
    if (IsSeparator(c)) {
      separated = true;
    } else if (!IsAsciiDigit(c)) {
      if (separated || !GroupsThousands(text, end)) break;
    }
  }
  *span = AmountSpan{first, end};
  return true;
}

std::u16string ParseAmount(std::u16string_view text) {
  AmountSpan span;
  if (!FindAmountSpan(text, &span)) return u"1.00";
  if (IsSeparator(text[span.begin])) {
    std::u16string amount = u"0.";
    amount += text.substr(span.begin + 1, span.end - span.begin - 1);
    return amount;
  }

  // The number without the marks that group its thousands.
  bool grouped = false;
  std::u16string number;
  number.reserve(span.end - span.begin);
  for (std::size_t i = span.begin; i < span.end; ++i) {
    if (IsAsciiDigit(text[i]) || IsSeparator(text[i])) {
      number += text[i];
    } else {
      grouped = true;
    }
  }
  while (IsSeparator(number.back())) number.pop_back();  // stops at a digit

  std::size_t separators = 0;
  std::size_t last = 0;
  bool mixed = false;
  for (std::size_t i = 0; i < number.size(); ++i) {
    if (!IsSeparator(number[i])) continue;
    if (separators > 0 && number[i] != number[last]) mixed = true;
    ++separators;
    last = i;
  }
  char16_t decimal_sign = 0;
  if (separators == 1) {
    // "1,234" groups thousands; "12,5", "12,50" and "1,2345" have decimals,
    // and so has "1 234,567", whose thousands are grouped already.
    if (grouped || number.size() - last - 1 != 3) decimal_sign = number[last];
  } else if (mixed) {
    decimal_sign = number[last];
  }

  std::u16string amount;
  amount.reserve(number.size());
  bool seen_decimal_sign = false;
  for (char16_t c : number) {
    if (IsAsciiDigit(c)) {
      amount += c;
    } else if (c == decimal_sign) {
      if (seen_decimal_sign) break;
      amount += u'.';
      seen_decimal_sign = true;
    }
  }
  return amount;
}

}  // namespace qm
