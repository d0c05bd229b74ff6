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

// Formats an amount the user gave, to be read again: as FormatG does, but
// with fifteen significant digits, every digit a person writes and none of
// the noise of binary arithmetic. So the field keeps what was written, and
// a sum of parts comes out clean.
//   FormatAmount(1234.5678)          == "1234.5678"
//   FormatAmount(0.3048 / 0.0254)    == "12"      (not 12.000000000000002)
//   FormatAmount(1.0 / 3)            == "0.333333333333333"
//   FormatAmount(1e20)               == "1e+020"
std::string FormatAmount(double value);
std::u16string FormatAmountWide(double value);

}  // namespace qm
