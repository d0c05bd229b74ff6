#include "text/number_format.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <system_error>

#include "text/exact_decimal.h"

namespace qm {
namespace {

constexpr int kSignificantDigits = 6;
// Every decimal number of up to fifteen significant digits survives the
// trip through a double and back; the sixteenth and seventeenth digits are
// the double's own, noise such as the 1 of 74.00000000000001.
constexpr int kAmountDigits = 15;

// Drops trailing zeros after a decimal point, then the point itself if
// nothing follows it. Text without a point is left alone, so "100" keeps
// its zeros.
void StripFractionZeros(std::string& text) {
  if (text.find('.') == std::string::npos) return;
  std::size_t keep = text.find_last_not_of('0');
  if (text[keep] == '.') --keep;
  text.resize(keep + 1);
}

// The digits and exponent of "%.*e" with `precision` - 1, from the C++ or C
// library, for the finite values RoundToDigitsExactly leaves to it. False
// only if the library wrote something other than that form.
bool LibraryDigits(double value, int precision, RoundedDigits* rounded) {
  // to_chars rounds the exact binary value half-to-even and never consults
  // the locale, so the digits and the exponent it yields are the same on
  // every C runtime.
  // Longest output: "-d." and 16 digits, "e-ddd".
  char sci[40];
#if defined(__cpp_lib_to_chars)
  const std::to_chars_result written =
      std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific,
                    precision - 1);
  if (written.ec != std::errc()) return false;  // cannot happen: buffer fits
  const char* const sci_end = written.ptr;
#else
  // WebAssembly's C++ library has no floating-point to_chars. Its C
  // library (musl) also rounds the exact binary value half-to-even and
  // knows only the C locale, so "%.*e" gives the same digits.
  const int length = std::snprintf(sci, sizeof sci, "%.*e", precision - 1, value);
  if (length <= 0 || length >= static_cast<int>(sizeof sci)) return false;
  const char* const sci_end = sci + length;
#endif

  const char* p = sci;
  if (*p == '-') ++p;
  // p now reads "d.ddddde<sign><digits>" (no point for one digit).
  rounded->digits[0] = p[0];
  for (int i = 1; i < precision; ++i) rounded->digits[i] = p[1 + i];
  const char* exp_text = p + (precision > 1 ? 2 : 1) + precision;  // the exponent sign
  int exponent = 0;
  for (const char* e = exp_text + 1; e < sci_end; ++e) {
    exponent = exponent * 10 + (*e - '0');
  }
  rounded->exponent = exp_text[0] == '-' ? -exponent : exponent;
  return true;
}

// "%.*g" of `precision` (1 to RoundedDigits::kMaxDigits) significant
// digits, with the classic three-digit exponent.
std::string FormatSignificant(double value, int precision) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";

  // The common values get their digits from integer arithmetic, the rest
  // from the library; both round the exact binary value half to even, so
  // the digits are the same either way. Everything below only rearranges
  // them.
  RoundedDigits rounded;
  if (!RoundToDigitsExactly(value, precision, &rounded) &&
      !LibraryDigits(value, precision, &rounded)) {
    return std::string();
  }
  const char* const digits = rounded.digits;
  const int exponent = rounded.exponent;
  const bool exp_negative = exponent < 0;
  std::string out;
  if (std::signbit(value)) out.push_back('-');

  // X is the exponent after rounding to the precision, which is what
  // decides the style. When the rounding carried (999999.5 -> 1.00000e+06)
  // the fixed style would round to the same digits, so reusing them is
  // exact.
  if (exponent >= -4 && exponent < precision) {
    if (exponent >= 0) {
      out.append(digits, digits + exponent + 1);
      out.push_back('.');
      out.append(digits + exponent + 1, digits + precision);
    } else {
      out.append("0.");
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out.append(digits, digits + precision);
    }
    StripFractionZeros(out);
    return out;
  }

  out.push_back(digits[0]);
  out.push_back('.');
  out.append(digits + 1, digits + precision);
  StripFractionZeros(out);
  out.push_back('e');
  out.push_back(exp_negative ? '-' : '+');
  // The old Windows runtime always wrote three exponent digits; a double's
  // decimal exponent never needs more.
  const int magnitude = exp_negative ? -exponent : exponent;
  out.push_back(static_cast<char>('0' + magnitude / 100));
  out.push_back(static_cast<char>('0' + magnitude / 10 % 10));
  out.push_back(static_cast<char>('0' + magnitude % 10));
  return out;
}

std::u16string Widen(const std::string& narrow) {
  // Every character formatted here is ASCII, so widening is per byte.
  return std::u16string(narrow.begin(), narrow.end());
}

}  // namespace

std::string FormatG(double value) {
  return FormatSignificant(value, kSignificantDigits);
}

std::u16string FormatGWide(double value) { return Widen(FormatG(value)); }

std::string FormatAmount(double value) {
  return FormatSignificant(value, kAmountDigits);
}

std::u16string FormatAmountWide(double value) {
  return Widen(FormatAmount(value));
}

}  // namespace qm
