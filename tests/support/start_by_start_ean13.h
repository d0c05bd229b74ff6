// FindEAN13 as first described, one start at a time: slow, plain, and the
// reference that tests and the fuzzer hold the one-pass scanner to.
#pragma once

#include <string>
#include <string_view>

#include "recognisers/product_code_checks.h"
#include "text/char_class.h"

namespace qm {

// Each start walks forward afresh from its first digit. The number of a
// label ("ISBN-13", "isbn10", "EAN-13") starts nothing, and thirteen digits
// with a digit right before or after them are no code.
inline bool StartByStartEAN13(std::u16string_view text, std::u16string* out) {
  const auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  const auto letter = [](char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
  };
  const auto separator = [](char16_t c) {
    return c == u' ' || c == u'-' || c == 0x00A0 || c == 0x2007 || c == 0x202F ||
           (c >= 0x2010 && c <= 0x2013) || c == 0x2212;
  };
  const auto ends_with_word = [&](std::size_t end, std::u16string_view word) {
    if (end < word.size()) return false;
    std::u16string before(text.substr(end - word.size(), word.size()));
    for (char16_t& c : before) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return before == word;
  };
  const auto label_number = [&](std::size_t i) {
    const std::u16string_view number = text.substr(i, 2);
    if (number != u"10" && number != u"13") return false;
    if (i + 2 < text.size() && IsWideDigit(text[i + 2])) return false;
    std::size_t end = i;
    if (end > 0 && separator(text[end - 1])) --end;
    return ends_with_word(end, u"isbn") || (number == u"13" && ends_with_word(end, u"ean"));
  };
  std::size_t start = 0;
  for (;;) {
    if (start == text.size()) return false;
    while (start < text.size() && !digit(text[start])) ++start;
    if (start < text.size() && label_number(start)) {
      start += 2;
      continue;
    }
    if (text.size() - start < 13) return false;
    std::u16string held(1, text[start]);
    std::size_t next = start + 1;
    std::size_t last = start;
    for (std::size_t i = start + 1; held.size() < 13; ++i) {
      if (i == text.size()) return false;
      if (letter(text[i])) break;
      if (!digit(text[i])) continue;
      held.push_back(text[i]);
      last = i;
      if (held.size() == 2) next = i;
    }
    const bool apart = (start == 0 || !digit(text[start - 1])) &&
                       (last + 1 == text.size() || !digit(text[last + 1]));
    if (held.size() == 13 && apart && IsValidEAN13(held)) {
      *out = held;
      return true;
    }
    start = next;
  }
}

}  // namespace qm
