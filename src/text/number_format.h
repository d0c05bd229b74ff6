// Formats numbers for the user the one way this product shows them everywhere.
#pragma once

#include <string>

namespace qm {

// Formats `value` as the C format "%g" does with its classic Windows
// exponent: six significant digits, trailing zeros and a trailing decimal
// point removed, exponent form when the decimal exponent is below -4 or at
// least 6, the exponent written with a sign and at least three digits.
// The decimal point is always "." whatever the process locale; the bytes are
// the same on every platform.
//   FormatG(12.5)        == "12.5"
//   FormatG(1234567)     == "1.23457e+006"
//   FormatG(1e10)        == "1e+010"
//   FormatG(0.000025)    == "2.5e-005"
//   FormatG(-0.0)        == "-0"
// Infinities and NaN come out as "inf", "-inf" and "nan" (and "-nan" for a
// NaN with its sign bit set), never as the old runtime's "1.#INF" spellings.
std::string FormatG(double value);

// The same text as UTF-16, for wide callers.
std::u16string FormatGWide(double value);

}  // namespace qm
