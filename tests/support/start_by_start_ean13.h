// FindEAN13 as first described, one start at a time: slow, plain, and the
// reference that tests and the fuzzer hold the one-pass scanner to.
#pragma once

#include <string>
#include <string_view>

#include "recognisers/product_code_checks.h"

namespace qm {

// Each start walks forward afresh from its first digit.
inline bool StartByStartEAN13(std::u16string_view text, std::u16string* out) {
  const auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  const auto letter = [](char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
  };
  std::size_t start = 0;
  for (;;) {
    if (start == text.size()) return false;
    while (start < text.size() && !digit(text[start])) ++start;
    if (text.size() - start < 13) return false;
    std::u16string held(1, text[start]);
    std::size_t next = start + 1;
    for (std::size_t i = start + 1; held.size() < 13; ++i) {
      if (i == text.size()) return false;
      if (letter(text[i])) break;
      if (!digit(text[i])) continue;
      held.push_back(text[i]);
      if (held.size() == 2) next = i;
    }
    if (held.size() == 13 && IsValidEAN13(held)) {
      *out = held;
      return true;
    }
    start = next;
  }
}

}  // namespace qm
