#include "text/number_scan.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "text/char_class.h"
#include "text/exact_decimal.h"

namespace qm {
namespace {

bool IsSpace(char c) { return IsAsciiSpace(c); }
bool IsSpace(char16_t c) { return IsWideSpace(c); }

template <typename Char>
bool IsDigit(Char c) {
  return c >= Char('0') && c <= Char('9');
}

// Where the parts of one number lie in the text, as found by FindNumber.
struct NumberSpan {
  std::size_t mantissa = 0;  // first digit or point, past any sign
  std::size_t end = 0;       // just past the last character of the number
  bool negative = false;
};

// Checks the syntax and finds the extent of the number. from_chars does the
// conversion but gets only what passed here: on its own it would also take
// "inf" and "nan", and it refuses a leading "+", so the sign stays outside.
template <typename Char>
bool FindNumber(std::basic_string_view<Char> text, NumberSpan* span) {
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size && IsSpace(text[i])) ++i;
  if (i < size && (text[i] == Char('+') || text[i] == Char('-'))) {
    span->negative = text[i] == Char('-');
    ++i;
  }
  span->mantissa = i;

  std::size_t digit_count = 0;
  while (i < size && IsDigit(text[i])) {
    ++i;
    ++digit_count;
  }
  if (i < size && text[i] == Char('.')) {
    ++i;
    while (i < size && IsDigit(text[i])) {
      ++i;
      ++digit_count;
    }
  }
  if (digit_count == 0) return false;

  // An exponent counts only if at least one digit follows "e" and its sign;
  // otherwise the "e" is ordinary trailing text ("5em", "5e+").
  if (i < size && (text[i] == Char('e') || text[i] == Char('E'))) {
    std::size_t j = i + 1;
    if (j < size && (text[j] == Char('+') || text[j] == Char('-'))) ++j;
    if (j < size && IsDigit(text[j])) {
      while (j < size && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  span->end = i;
  return true;
}

// True when the unsigned, well-formed number in `number` is at least 1 in
// magnitude. from_chars reports overflow and underflow alike as out of
// range without a value; this tells the two apart from the decimal exponent
// alone, which cannot itself overflow however long the text is.
bool MagnitudeAtLeastOne(std::string_view number) {
  std::size_t i = 0;
  const std::size_t size = number.size();
  std::int64_t integer_digits = 0;  // significant ones, after leading zeros
  bool seen_nonzero = false;
  while (i < size && IsDigit(number[i])) {
    if (number[i] != '0') seen_nonzero = true;
    if (seen_nonzero) ++integer_digits;
    ++i;
  }
  std::int64_t leading_fraction_zeros = 0;
  if (i < size && number[i] == '.') {
    ++i;
    while (i < size && IsDigit(number[i])) {
      if (!seen_nonzero) {
        if (number[i] != '0') {
          seen_nonzero = true;
        } else {
          ++leading_fraction_zeros;
        }
      }
      ++i;
    }
  }
  if (!seen_nonzero) return false;  // zero is never out of range anyway

  // Scientific exponent of the digits alone: 123.4 -> 2, 0.00123 -> -3.
  std::int64_t exponent = integer_digits > 0 ? integer_digits - 1
                                             : -(leading_fraction_zeros + 1);
  if (i < size) {  // 'e' or 'E'
    ++i;
    bool exp_negative = false;
    if (number[i] == '+' || number[i] == '-') {
      exp_negative = number[i] == '-';
      ++i;
    }
    // Saturate: anything past this is far outside a double's range, and the
    // digit counts above are bounded by the text length.
    constexpr std::int64_t kCap = std::int64_t{1} << 50;
    std::int64_t explicit_exp = 0;
    for (; i < size; ++i) {
      if (explicit_exp < kCap) explicit_exp = explicit_exp * 10 + (number[i] - '0');
    }
    exponent += exp_negative ? -explicit_exp : explicit_exp;
  }
  return exponent >= 0;
}

// Converts the unsigned, well-formed number in `number` with the C++ or C
// library, for what ReadDecimalExactly leaves to it.
double ConvertWithLibrary(std::string_view number) {
  double magnitude = 0.0;
#if defined(__cpp_lib_to_chars)
  const std::from_chars_result result =
      std::from_chars(number.data(), number.data() + number.size(), magnitude);
  const bool out_of_range = result.ec == std::errc::result_out_of_range;
#else
  // WebAssembly's C++ library has no floating-point from_chars; its C
  // library's strtod reads the same well-formed syntax in the C locale, the
  // only one it has, and rounds correctly too.
  const std::string copy(number);
  errno = 0;
  magnitude = std::strtod(copy.c_str(), nullptr);
  const bool out_of_range = errno == ERANGE && (magnitude == 0.0 || std::isinf(magnitude));
#endif
  if (out_of_range) {
    magnitude = MagnitudeAtLeastOne(number)
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
  }
  return magnitude;
}

// Converts the unsigned, well-formed number in `number`. Most numbers people
// write are decided exactly by small integer arithmetic; the library, slow
// where its floating point is emulated, gets the rest. Both round correctly,
// so which one answers never shows.
double Convert(std::string_view number, bool negative) {
  double magnitude = 0.0;
  if (!ReadDecimalExactly(number, &magnitude)) magnitude = ConvertWithLibrary(number);
  return negative ? -magnitude : magnitude;
}

}  // namespace

bool ScanDouble(std::string_view text, double* value, std::size_t* consumed) {
  NumberSpan span;
  if (!FindNumber(text, &span)) return false;
  *value = Convert(text.substr(span.mantissa, span.end - span.mantissa),
                   span.negative);
  *consumed = span.end;
  return true;
}

bool ScanDouble(std::u16string_view text, double* value, std::size_t* consumed) {
  NumberSpan span;
  if (!FindNumber(text, &span)) return false;
  // Every character of the number is ASCII, so narrowing is per unit. Only
  // the number is copied; a short one stays on the stack.
  const std::u16string_view wide =
      text.substr(span.mantissa, span.end - span.mantissa);
  char small[64];
  std::string large;
  char* narrow = small;
  if (wide.size() > sizeof small) {
    large.resize(wide.size());
    narrow = large.data();
  }
  for (std::size_t k = 0; k < wide.size(); ++k) {
    narrow[k] = static_cast<char>(wide[k]);
  }
  *value = Convert(std::string_view(narrow, wide.size()), span.negative);
  *consumed = span.end;
  return true;
}

}  // namespace qm
