// Reads decimal numbers from text the way "%lf" reads them, minus the parts
// of the C library that differ between platforms.
#pragma once

#include <cstddef>
#include <string_view>

namespace qm {

// Reads one decimal floating-point number from the start of `text`:
// leading white space (IsAsciiSpace for 8-bit text, IsWideSpace for UTF-16),
// an optional "+" or "-", digits with an optional "." and further digits (at
// least one digit in all), and an optional exponent ("e" or "E", an optional
// sign, at least one digit; an "e" not followed by digits is not part of the
// number, so "5em" reads 5 and leaves "em"). No hexadecimal form, no "inf",
// no "nan", no thousands separators; "." is the only decimal point.
//
// On success stores the correctly rounded value in *value, the number of
// characters consumed (white space included) in *consumed, and returns true.
// A magnitude too large for a double gives +/-infinity, one too small gives
// +/-0, as strtod would. On failure returns false and leaves both untouched.
//   ScanDouble("  -12.5kg", &v, &n)  -> true, v == -12.5, n == 7
//   ScanDouble("5em", &v, &n)        -> true, v == 5,     n == 1
//   ScanDouble(".e5", &v, &n)        -> false
bool ScanDouble(std::string_view text, double* value, std::size_t* consumed);
bool ScanDouble(std::u16string_view text, double* value, std::size_t* consumed);

}  // namespace qm
