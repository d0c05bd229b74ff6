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

// REQUIRES: all three are A-Z.
constexpr std::size_t CodeKey(char16_t a, char16_t b, char16_t c) {
  return static_cast<std::size_t>(((a - u'A') * 26 + (b - u'A')) * 26 +
                                  (c - u'A'));
}

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
  }

  // The table row of the code at the start of `text`, or kNone.
  std::size_t RowAt(std::u16string_view text) const {
    if (text.size() < 3 || !IsCodeLetter(text[0]) || !IsCodeLetter(text[1]) ||
        !IsCodeLetter(text[2])) {
      return kNone;
    }
    const std::uint16_t found =
        row_plus_one_[CodeKey(text[0], text[1], text[2])];
    return found == 0 ? kNone : found - 1u;
  }

 private:
  std::array<std::uint16_t, 26 * 26 * 26> row_plus_one_{};
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

  // The first row, in table order and before `before`, whose symbol starts
  // `text`; kNone when there is none. REQUIRES: `text` is not empty.
  std::size_t FirstRowAt(std::u16string_view text, std::size_t before) const {
    const std::uint8_t group = group_of_[text[0]];
    if (group == 0) return kNone;
    const auto table = CurrencySymbolTable();
    for (std::size_t row : groups_[group - 1]) {
      if (row >= before) break;
      if (text.starts_with(table[row].symbol)) return row;
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

constexpr bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

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

// The checks are defined as walks over the tables, each looking for its
// row anywhere in the text: the first code row that occurs, and failing
// that the first symbol row that occurs. The least row found at any
// position is the same answer, and one pass over the text finds it.
const CurrencyInfo* RecogniseCurrency(std::string_view domain,
                                      std::u16string_view text,
                                      std::string_view defaultCode) {
  const CodeIndex& codes = Codes();
  const SymbolIndex& symbols = Symbols();
  std::size_t code_row = kNone;
  std::size_t symbol_row = kNone;
  for (std::size_t i = 0; i < text.size() && code_row != 0; ++i) {
    const std::u16string_view rest = text.substr(i);
    const std::size_t code = codes.RowAt(rest);
    if (code < code_row) code_row = code;
    // Once a code is found the symbols no longer matter.
    if (code_row == kNone && symbol_row != 0) {
      const std::size_t symbol = symbols.FirstRowAt(rest, symbol_row);
      if (symbol != kNone) symbol_row = symbol;
    }
  }
  if (code_row != kNone) return &CurrencyTable()[code_row];
  const CurrencyInfo* by_domain = FindCurrencyByDomain(domain);
  if (symbol_row != kNone) {
    if (const CurrencyInfo* by_symbol = SymbolCurrency(
            CurrencySymbolTable()[symbol_row].codes, by_domain)) {
      return by_symbol;
    }
  }
  if (by_domain != nullptr) return by_domain;
  return FindCurrencyByCode(defaultCode);
}

std::u16string ParseAmount(std::u16string_view text) {
  std::size_t first = 0;
  while (first < text.size() && !IsAsciiDigit(text[first])) ++first;
  if (first == text.size()) return u"1.00";
  // ".75" and "€,50": a number may start at its decimal sign. After a letter
  // the full stop more likely closes an abbreviation ("No.5").
  if (first > 0 && IsSeparator(text[first - 1]) &&
      (first < 2 || !IsAsciiLetter(text[first - 2]))) {
    std::u16string amount = u"0.";
    for (std::size_t i = first; i < text.size() && IsAsciiDigit(text[i]); ++i) {
      amount += text[i];
    }
    return amount;
  }

  // The number's digits and separators, without the marks that group its
  // thousands. Those come only before a decimal sign can.
  bool grouped = false;
  bool separated = false;
  std::size_t end = first;
  for (; end < text.size(); ++end) {
    const char16_t c = text[end];
    if (IsSeparator(c)) {
      separated = true;
    } else if (!IsAsciiDigit(c)) {
      if (separated || !GroupsThousands(text, end)) break;
      grouped = true;
    }
  }
  std::u16string number;
  number.reserve(end - first);
  for (std::size_t i = first; i < end; ++i) {
    if (IsAsciiDigit(text[i]) || IsSeparator(text[i])) number += text[i];
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
