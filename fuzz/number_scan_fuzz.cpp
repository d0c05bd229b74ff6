// ScanDouble on arbitrary bytes, as 8-bit text and as UTF-16 (pairs of
// bytes, little-endian). The 8-bit result is checked against the C library's
// strtod in the "C" locale, which reads the same syntax plus hexadecimal,
// "inf" and "nan"; the UTF-16 result against the 8-bit one.
//
// The exact paths that spare the library the common numbers are checked
// against it on their own too: ReadDecimalExactly on the number read against
// strtod, and RoundToDigitsExactly, FormatG and FormatAmount on the value read
// and on the first eight bytes taken as a double against printf's "%.*e" and
// "%.*g".
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "text/char_class.h"
#include "text/exact_decimal.h"
#include "text/number_format.h"
#include "text/number_scan.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "ScanDouble invariant broken: %s\n", what);
  std::abort();
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

constexpr double kUntouched = -12345.678;
constexpr std::size_t kUntouchedCount = 987654321;

struct Scan {
  bool ok;
  double value;
  std::size_t consumed;
};

template <typename View>
Scan Run(View text) {
  Scan s{false, kUntouched, kUntouchedCount};
  s.ok = qm::ScanDouble(text, &s.value, &s.consumed);
  if (s.ok) {
    Require(s.consumed > 0 && s.consumed <= text.size(),
            "consumed lies within the text");
  } else {
    Require(SameDouble(s.value, kUntouched) && s.consumed == kUntouchedCount,
            "a failed scan leaves value and count alone");
  }
  return s;
}

void CheckAgainstStrtod(std::string_view text, const Scan& s) {
  // strtod stops at a NUL, which is not part of any number either.
  const std::string z(text.substr(0, text.find('\0')));
  if (s.ok) {
    Require(s.consumed <= z.size(), "a number never spans a NUL");
    const std::string number = z.substr(0, s.consumed);
    char* end = nullptr;
    const double want = std::strtod(number.c_str(), &end);
    Require(end == number.c_str() + number.size(),
            "strtod reads exactly the consumed characters");
    Require(SameDouble(s.value, want), "same value as strtod");

    // The exact path alone, on the number without white space and sign.
    const std::size_t start = number.find_first_not_of(" \t\n\v\f\r+-");
    const std::string unsigned_number = number.substr(start);
    double exact = 0;
    if (qm::ReadDecimalExactly(unsigned_number, &exact)) {
      Require(SameDouble(exact, std::strtod(unsigned_number.c_str(), nullptr)),
              "ReadDecimalExactly gives strtod's value");
    }
    return;
  }
  char* end = nullptr;
  std::strtod(z.c_str(), &end);
  if (end == z.c_str()) return;
  // strtod read something ScanDouble refused: only "inf" and "nan" may.
  std::size_t i = 0;
  while (i < z.size() && qm::IsAsciiSpace(z[i])) ++i;
  if (i < z.size() && (z[i] == '+' || z[i] == '-')) ++i;
  Require(i < z.size() && std::strchr("iInN", z[i]) != nullptr,
          "refused only what strtod reads as inf or nan");
}

// The UTF-16 text read by the 8-bit scanner: wide white space at the start
// dropped, then each ASCII unit kept and any other made a byte that no number
// contains.
void CheckAgainstNarrow(std::u16string_view wide, const Scan& w) {
  std::size_t skipped = 0;
  while (skipped < wide.size() && qm::IsWideSpace(wide[skipped])) ++skipped;
  std::string narrow;
  for (char16_t c : wide.substr(skipped)) {
    narrow += c < 0x80 ? static_cast<char>(c) : '\x01';
  }
  const Scan n = Run(std::string_view(narrow));
  Require(w.ok == n.ok, "UTF-16 and 8-bit agree on success");
  if (!w.ok) return;
  Require(SameDouble(w.value, n.value), "UTF-16 and 8-bit agree on the value");
  Require(w.consumed == skipped + n.consumed,
          "UTF-16 and 8-bit agree on the length");
}

// RoundToDigitsExactly against the digits and exponent of "%.*e", where it
// answers.
void CheckDigits(double value, int precision) {
  qm::RoundedDigits rounded;
  if (qm::RoundToDigitsExactly(value, precision, &rounded)) {
    Require(std::isfinite(value), "only finite values have digits");
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", precision - 1, std::fabs(value));
    std::string digits(1, text[0]);
    const char* e = std::strchr(text, 'e');
    if (precision > 1) digits.append(text + 2, static_cast<std::size_t>(e - (text + 2)));
    Require(digits == std::string(rounded.digits, static_cast<std::size_t>(precision)),
            "RoundToDigitsExactly gives printf's digits");
    Require(rounded.exponent == std::atoi(e + 1), "RoundToDigitsExactly gives printf's exponent");
  }
}

// FormatG and FormatAmount against "%.6g" and "%.15g", the exponent widened
// to three digits.
void CheckFormat(double value) {
  for (const int g_precision : {6, 15}) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", g_precision, value);
    std::string want = text;
    const std::size_t e = want.find('e');
    if (e != std::string::npos && want.size() - e == 4) want.insert(e + 2, 1, '0');
    Require((g_precision == 6 ? qm::FormatG(value) : qm::FormatAmount(value)) == want,
            "FormatG and FormatAmount give printf's text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Scan narrow = Run(bytes);
  CheckAgainstStrtod(bytes, narrow);

  // The value read, and the first eight bytes as a double: formatted, and
  // their digits at the two precisions in use and at one the input picks.
  double values[2];
  std::size_t value_count = 0;
  if (narrow.ok) values[value_count++] = narrow.value;
  if (size >= sizeof(double)) std::memcpy(&values[value_count++], data, sizeof(double));
  const int picked = size > 0 ? 1 + data[size - 1] % qm::RoundedDigits::kMaxDigits : 1;
  for (std::size_t i = 0; i < value_count; ++i) {
    CheckFormat(values[i]);
    for (const int precision : {6, 15, picked}) CheckDigits(values[i], precision);
  }

  std::u16string wide(size / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  CheckAgainstNarrow(wide, Run(std::u16string_view(wide)));
  return 0;
}
