// Exact conversions between decimal numbers and doubles for the numbers that
// small integer arithmetic decides on its own. Reading and printing a number
// through the C library is slow where that library does its floating point
// in software (WebAssembly); these take the common numbers, such as 12.5,
// 0.3048 or 1234567, and answer false for the rest, which the caller then
// hands to the library. Where they answer, the result is the library's to
// the bit: strtod's correctly rounded value, printf's digits of the exact
// binary value rounded half to even.
#pragma once

#include <string_view>

namespace qm {

// Reads `number`, an unsigned decimal number already checked to be well
// formed: digits, optionally "." and more digits (at least one digit in all),
// then optionally "e" or "E", an optional sign and at least one digit.
// Answers when the significant digits make an integer of at most 2^53 and
// the decimal exponent lets one multiplication or division by an exact power
// of ten give the value; that single IEEE operation on exact operands is
// correctly rounded, as strtod is. Zero, with any exponent, answers too.
// Otherwise (more than 19 significant digits, a larger significand, an
// exponent out of reach, or a compiler that keeps doubles at a wider
// precision) returns false and leaves *value alone.
//   ReadDecimalExactly("0.3048", &v)   -> true, v == 0.3048
//   ReadDecimalExactly("1e23", &v)     -> true, v == 1e23
//   ReadDecimalExactly("1e-23", &v)    -> false
bool ReadDecimalExactly(std::string_view number, double* value);

// The significant digits of a double, rounded.
struct RoundedDigits {
  static constexpr int kMaxDigits = 17;
  char digits[kMaxDigits];  // ASCII; the first `precision` are used
  int exponent;             // decimal exponent of the first digit
};

// The `precision` (1 to 17) significant digits of |value|, rounded half to
// even from its exact binary value, and the decimal exponent of the first
// of them after rounding: what "%.*e" prints with precision - 1, less the
// sign (std::signbit tells it). Zero gives zeros and exponent 0.
// Answers for zero and for the values from 10^(precision - 20) (1e-5 at
// fifteen digits, 1e-14 at six) to below 2^64, whose digits come from at
// most 128 bits; returns false for the rest, infinities and NaN included,
// and leaves *out alone.
//   RoundToDigitsExactly(0.1, 6, &d)        -> "100000", exponent -1
//   RoundToDigitsExactly(999999.5, 6, &d)   -> "100000", exponent 6
bool RoundToDigitsExactly(double value, int precision, RoundedDigits* out);

}  // namespace qm
