// Checks the exact number paths against the C library, case for case:
// ReadDecimalExactly and ScanDouble against strtod on generated decimal
// text, RoundToDigitsExactly against the digits of "%.*e", and FormatG and
// FormatAmount against "%.6g" and "%.15g" (their exponent widened to three
// digits) on generated doubles. The cases are the shapes numbers come in:
// integers, decimals as people write them, random bit patterns, values on
// and beside rounding ties, powers of ten and two, subnormals, huge values,
// negatives and -0. Built natively and as WebAssembly, so each build is
// checked against its own C library.
//
// Output: per check the cases, how many the exact path answered, and the
// mismatches, the first few of which are printed in full. Exits 1 on any
// mismatch.
//
// Usage: number_exactness_check [CASES [SEED]]   (CASES defaults to a million)
#include <cinttypes>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "text/exact_decimal.h"
#include "text/number_format.h"
#include "text/number_scan.h"

namespace {

// splitmix64: small, fast and the same sequence on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n), n > 0; the bias is immaterial here.
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }
  int Between(int low, int high) {
    return low + static_cast<int>(Below(static_cast<std::uint64_t>(high - low + 1)));
  }

 private:
  std::uint64_t state_;
};

constexpr std::uint64_t kPowersOfTen[] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000,
    10000000000, 100000000000, 1000000000000, 10000000000000, 100000000000000,
    1000000000000000,
};

double FromBits(std::uint64_t bits) {
  double d = 0;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

std::uint64_t ToBits(double d) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

struct Tally {
  const char* name;
  long cases = 0;
  long exact = 0;  // answered by the exact path
  long mismatches = 0;

  void Mismatch(const std::string& detail) {
    if (++mismatches <= 10) std::printf("MISMATCH\t%s\t%s\n", name, detail.c_str());
  }
};

// ---------------------------------------------------------------------------
// Reading

// Each random draw below is a statement of its own or sequenced by ?: or
// &&, never two operands of one operator, so a seed gives the same cases
// whatever order the compiler evaluates operands in.

std::string Digits(Random& random, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s.push_back(static_cast<char>('0' + random.Below(10)));
  return s;
}

// `count` digits, the first not 0.
std::string Leading(Random& random, int count) {
  std::string s(1, static_cast<char>('0' + random.Between(1, 9)));
  return s + Digits(random, count - 1);
}

// An unsigned, well-formed decimal number, as ScanDouble hands it on.
std::string DecimalText(Random& random) {
  std::string mantissa;
  switch (random.Below(8)) {
    case 0:  // as a person writes it: 12.5, 0.3048, 1234.5678
    case 1: {
      const int whole = random.Between(0, 7);
      const int fraction = random.Between(whole == 0 ? 1 : 0, 6);
      mantissa = whole == 0 ? "0" : Digits(random, whole);
      if (fraction > 0 || random.Below(4) == 0) mantissa += "." + Digits(random, fraction);
      break;
    }
    case 2: {  // up to nineteen digits with the point anywhere
      const std::string digits = Digits(random, random.Between(1, 19));
      const std::size_t point = random.Below(digits.size() + 1);
      mantissa = digits.substr(0, point) + "." + digits.substr(point);
      if (mantissa == ".") mantissa = "0";
      break;
    }
    case 3: {  // significands near 2^53 = 9007199254740992
      const std::uint64_t near = (std::uint64_t{1} << 53) - 2000 + random.Below(4000);
      mantissa = std::to_string(near);
      break;
    }
    case 4: {  // near a tie: P digits then a 5, at six or fifteen digits
      const int p = random.Below(2) == 0 ? 6 : 15;
      mantissa = Leading(random, p) + "5";
      if (random.Below(2) == 0) mantissa += Digits(random, random.Between(1, 4));
      mantissa.insert(random.Below(mantissa.size()) + 1, 1, '.');
      break;
    }
    case 5: {  // leading and trailing zeros
      mantissa.assign(random.Below(30), '0');
      mantissa += Digits(random, random.Between(1, 8));
      mantissa.append(random.Below(30), '0');
      mantissa.insert(random.Below(mantissa.size() + 1), 1, '.');
      if (mantissa == ".") mantissa = "0";
      break;
    }
    case 6: {  // the shortest round trip of a random double
      char text[40];
      const int precision = random.Between(1, 17);
      std::snprintf(text, sizeof text, "%.*g", precision, std::fabs(FromBits(random.Next())));
      if (std::strpbrk(text, "in") != nullptr) return "1";  // inf, nan
      return text;
    }
    default:  // more digits than any fast path takes
      mantissa = Digits(random, random.Between(18, 40));
      mantissa.insert(random.Below(mantissa.size()) + 1, 1, '.');
      break;
  }
  if (random.Below(2) == 0) {
    const int exponent = random.Below(8) == 0 ? random.Between(-400, 400)
                                              : random.Between(-45, 45);
    mantissa += random.Below(2) == 0 ? "e" : "E";
    if (exponent >= 0 && random.Below(2) == 0) mantissa += "+";
    mantissa += std::to_string(exponent);
  }
  return mantissa;
}

void CheckReading(Random& random, long cases, Tally& fast, Tally& scan) {
  for (long c = 0; c < cases; ++c) {
    const std::string text = DecimalText(random);
    const double want = std::strtod(text.c_str(), nullptr);

    ++fast.cases;
    double got = 0;
    if (qm::ReadDecimalExactly(text, &got)) {
      ++fast.exact;
      if (ToBits(got) != ToBits(want)) {
        char detail[200];
        std::snprintf(detail, sizeof detail, "%s: %a, strtod %a", text.c_str(), got, want);
        fast.Mismatch(detail);
      }
    }

    // The whole scanner, with a sign and trailing text.
    const bool negative = random.Below(2) == 0;
    const std::string signed_text = (negative ? "-" : "") + text + "kg";
    ++scan.cases;
    double scanned = 0;
    std::size_t consumed = 0;
    const double signed_want = negative ? -want : want;
    if (!qm::ScanDouble(signed_text, &scanned, &consumed) ||
        consumed != signed_text.size() - 2 || ToBits(scanned) != ToBits(signed_want)) {
      char detail[200];
      std::snprintf(detail, sizeof detail, "%s: %a, strtod %a", signed_text.c_str(), scanned,
                    signed_want);
      scan.Mismatch(detail);
    }
  }
}

// ---------------------------------------------------------------------------
// Formatting

// A double in one of the shapes numbers come in.
double GeneratedDouble(Random& random) {
  double d = 0;
  switch (random.Below(10)) {
    case 0: {  // integers of any size up to 2^64
      const int bits = random.Between(1, 64);
      d = static_cast<double>(bits == 64 ? random.Next() : random.Next() >> (64 - bits));
      break;
    }
    case 1:  // decimals as a person writes them: 12.5, 0.3048, 1234.5678
    case 2: {
      const std::string whole = std::to_string(random.Below(100000));
      const std::string text = whole + "." + Digits(random, random.Between(1, 6));
      d = std::strtod(text.c_str(), nullptr);
      break;
    }
    case 3: {  // near a decimal tie: d.ddddd5 or d.dddddddddddddd5 times 10^e
      const int p = random.Below(2) == 0 ? 6 : 15;
      const std::string digits = Leading(random, p) + "5e";
      const std::string text = digits + std::to_string(random.Between(-25, 25));
      d = std::strtod(text.c_str(), nullptr);
      if (random.Below(2) == 0) d = std::nextafter(d, random.Below(2) == 0 ? 0.0 : 1e300);
      break;
    }
    case 4: {  // exact ties below the point: 123456.5, 12345.25, 1234.125 at six digits
      const int p = random.Below(2) == 0 ? 6 : 15;
      const int places = random.Between(1, 4);  // odd / 2^places has that many decimals
      const int whole = p + 1 - places;
      const std::string text = Leading(random, whole);
      d = std::strtod(text.c_str(), nullptr) +
          std::ldexp(static_cast<double>(2 * random.Below(std::uint64_t{1} << (places - 1)) + 1),
                     -places);
      break;
    }
    case 5: {  // exact integer ties and their neighbours: P digits, a 5, zeros
      const int p = random.Below(2) == 0 ? 6 : random.Between(1, 15);
      std::uint64_t n = (random.Below(9 * kPowersOfTen[p - 1]) + kPowersOfTen[p - 1]) * 10 + 5;
      for (int zeros = random.Between(0, 6); zeros > 0 && n < ~std::uint64_t{0} / 10; --zeros) {
        n *= 10;
      }
      d = static_cast<double>(n);
      if (random.Below(3) == 0) d = std::nextafter(d, random.Below(2) == 0 ? 0.0 : 1e300);
      break;
    }
    case 6: {  // powers of ten and two and their neighbours
      d = random.Below(2) == 0
              ? std::strtod(("1e" + std::to_string(random.Between(-330, 310))).c_str(), nullptr)
              : std::ldexp(1.0, random.Between(-1080, 1024));
      const int step = random.Between(-2, 2);
      for (int i = 0; i < std::abs(step); ++i) d = std::nextafter(d, step < 0 ? 0.0 : 1e308);
      break;
    }
    case 7:  // subnormals
      d = FromBits(random.Next() & ((std::uint64_t{1} << 52) - 1));
      break;
    case 8: {  // huge: 2^64 and up
      const std::uint64_t fraction = random.Next() >> 12;
      d = FromBits(fraction | static_cast<std::uint64_t>(random.Between(0x43F, 0x7FE)) << 52);
      break;
    }
    default:  // any bit pattern, infinities and NaN included
      d = FromBits(random.Next());
      break;
  }
  return random.Below(2) == 0 ? -d : d;
}

// The digits and exponent of "%.*e", or false for inf and nan.
bool LibraryDigits(double value, int precision, qm::RoundedDigits* out) {
  if (!std::isfinite(value)) return false;
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", precision - 1, std::fabs(value));
  const char* p = text;
  out->digits[0] = *p++;
  if (*p == '.') ++p;
  for (int i = 1; i < precision; ++i) out->digits[i] = *p++;
  out->exponent = std::atoi(p + 1);  // past the "e"
  return true;
}

// "%.*g" with its exponent widened to three digits: what FormatG and
// FormatAmount promise.
std::string LibraryG(double value, int precision) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*g", precision, value);
  std::string s = text;
  const std::size_t e = s.find('e');
  if (e != std::string::npos && s.size() - e == 4) s.insert(e + 2, 1, '0');  // e+06 -> e+006
  return s;
}

void CheckFormatting(Random& random, long cases, Tally& fast, Tally& format) {
  for (long c = 0; c < cases; ++c) {
    const double value = c == 0 ? -0.0 : GeneratedDouble(random);
    for (const int precision : {6, 15, random.Between(1, qm::RoundedDigits::kMaxDigits)}) {
      ++fast.cases;
      qm::RoundedDigits got;
      if (!qm::RoundToDigitsExactly(value, precision, &got)) continue;
      ++fast.exact;
      qm::RoundedDigits want;
      if (!LibraryDigits(value, precision, &want) ||
          std::memcmp(got.digits, want.digits, static_cast<std::size_t>(precision)) != 0 ||
          got.exponent != want.exponent) {
        char detail[200];
        std::snprintf(detail, sizeof detail, "%a at %d: %.*se%d, printf %.*e", value, precision,
                      precision, got.digits, got.exponent, precision - 1, value);
        fast.Mismatch(detail);
      }
    }

    for (const int precision : {6, 15}) {
      ++format.cases;
      const std::string got = precision == 6 ? qm::FormatG(value) : qm::FormatAmount(value);
      const std::string want = LibraryG(value, precision);
      if (got != want) {
        char detail[200];
        std::snprintf(detail, sizeof detail, "%a at %d: %s, printf %s", value, precision,
                      got.c_str(), want.c_str());
        format.Mismatch(detail);
      }
    }
  }
}

bool ReadNumber(const char* text, std::uint64_t* out) {
  char* end = nullptr;
  const unsigned long long n = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0') return false;
  *out = n;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t cases = 1'000'000;
  std::uint64_t seed = 1;
  if (argc > 3 || (argc > 1 && !ReadNumber(argv[1], &cases)) ||
      (argc > 2 && !ReadNumber(argv[2], &seed)) || cases > 1'000'000'000) {
    std::fprintf(stderr, "usage: number_exactness_check [cases [seed]]\n");
    return 2;
  }

  Tally read_fast{"ReadDecimalExactly"};
  Tally scan{"ScanDouble"};
  Tally format_fast{"RoundToDigitsExactly"};
  Tally format{"FormatG/FormatAmount"};
  Random random(seed);
  CheckReading(random, static_cast<long>(cases), read_fast, scan);
  CheckFormatting(random, static_cast<long>(cases), format_fast, format);

  long mismatches = 0;
  std::printf("check\tcases\texact\tmismatches\n");
  for (const Tally* t : {&read_fast, &scan, &format_fast, &format}) {
    // The whole functions have no exact path of their own to count.
    const std::string exact = t == &scan || t == &format ? "-" : std::to_string(t->exact);
    std::printf("%s\t%ld\t%s\t%ld\n", t->name, t->cases, exact.c_str(), t->mismatches);
    mismatches += t->mismatches;
  }
  return mismatches == 0 ? 0 : 1;
}
