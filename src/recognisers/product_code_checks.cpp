#include "recognisers/product_code_checks.h"

#include "text/char_class.h"

namespace qm {

bool IsValidISBN10(std::u16string_view chars) {
  if (chars.size() != 10) return false;
  int sum = 0;
  for (int k = 1; k <= 10; ++k) {
    const char16_t c = chars[k - 1];
    if (IsAsciiDigit(c)) {
      sum += k * (c - u'0');
    } else if (k == 10 && (c == u'X' || c == u'x')) {
      sum += 10 * 10;
    } else {
      return false;
    }
  }
  return sum % 11 == 0;
}

bool IsValidEAN13(std::u16string_view chars) {
  if (chars.size() != 13) return false;
  int sum = 0;
  for (int k = 1; k <= 13; ++k) {
    const char16_t c = chars[k - 1];
    if (!IsAsciiDigit(c)) return false;
    sum += (k % 2 == 1 ? 1 : 3) * (c - u'0');
  }
  return sum % 10 == 0;
}

bool UPCWeightedSum(std::u16string_view chars, int* sum) {
  // Reduced as it goes, so a text of any length cannot overflow.
  int total = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char16_t c = chars[i];
    if (!IsAsciiDigit(c)) return false;
    total = (total + (i % 2 == 0 ? 3 : 1) * (c - u'0')) % 10;
  }
  *sum = total;
  return true;
}

bool IsValidUPCA(std::u16string_view chars) {
  int sum = 0;
  return chars.size() == 12 && UPCWeightedSum(chars, &sum) && sum == 0;
}

}  // namespace qm
