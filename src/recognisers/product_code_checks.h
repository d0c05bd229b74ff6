// Check-digit tests of book numbers and product codes. Each compares whole
// characters against "0".."9" (and "X"/"x" where an ISBN-10 allows it), so a
// digit of another script never passes.
#pragma once

#include <string_view>

namespace qm {

// True when `chars` is exactly ten characters, nine of "0".."9" and a tenth
// of "0".."9", "X" or "x" (worth 10), whose sum of position (1..10) times
// value is a multiple of 11.
//   IsValidISBN10(u"0306406152") -> true
//   IsValidISBN10(u"080442957x") -> true
//   IsValidISBN10(u"X306406152") -> false
bool IsValidISBN10(std::u16string_view chars);

// True when `chars` is exactly thirteen of "0".."9" whose values, weighted
// 1, 3, 1, 3 ... from the left, sum to a multiple of 10.
//   IsValidEAN13(u"9780306406157") -> true
bool IsValidEAN13(std::u16string_view chars);

// Weights "0".."9" 3, 1, 3, 1 ... from the left (the first character 3) and
// stores the sum modulo 10 in *sum. Returns false, leaving *sum alone, when
// any character is not "0".."9". Any length; the empty text sums to 0.
//   UPCWeightedSum(u"03600029145", &s) -> true, s == 8
bool UPCWeightedSum(std::u16string_view chars, int* sum);

// True when `chars` is exactly twelve of "0".."9" and their UPCWeightedSum
// is 0.
//   IsValidUPCA(u"036000291452") -> true
bool IsValidUPCA(std::u16string_view chars);

}  // namespace qm
