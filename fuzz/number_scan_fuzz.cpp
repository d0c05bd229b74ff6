// ScanDouble on arbitrary bytes, as 8-bit text and as UTF-16 (pairs of
// bytes, little-endian). The 8-bit result is checked against the C library's
// strtod in the "C" locale, which reads the same syntax plus hexadecimal,
// "inf" and "nan"; the UTF-16 result against the 8-bit one.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "text/char_class.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckAgainstStrtod(bytes, Run(bytes));

  std::u16string wide(size / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  CheckAgainstNarrow(wide, Run(std::u16string_view(wide)));
  return 0;
}
