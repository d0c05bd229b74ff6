#include "text/exact_decimal.h"

#include <bit>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

namespace qm {
namespace {

// 10^0 to 10^19, every power of ten below 2^64.
constexpr std::uint64_t kPowersOfTen[] = {
    1u,
    10u,
    100u,
    1000u,
    10000u,
    100000u,
    1000000u,
    10000000u,
    100000000u,
    1000000000u,
    10000000000u,
    100000000000u,
    1000000000000u,
    10000000000000u,
    100000000000000u,
    1000000000000000u,
    10000000000000000u,
    100000000000000000u,
    1000000000000000000u,
    10000000000000000000u,
};
constexpr int kLargestPowerOfTen = static_cast<int>(std::size(kPowersOfTen)) - 1;
static_assert(kLargestPowerOfTen == 19, "10^20 does not fit in 64 bits");

// Every integer up to 2^53 is an exact double.
constexpr std::uint64_t kExactIntegerLimit = std::uint64_t{1} << 53;

// 1e0 to 1e22 are exact doubles: 10^n is 2^n * 5^n, and 5^22 < 2^53 while
// 5^23 is not.
constexpr double kExactPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};
constexpr int kLargestExactPowerOfTen = static_cast<int>(std::size(kExactPowersOfTen)) - 1;
static_assert(kLargestExactPowerOfTen == 22, "1e23 is not an exact double");

// A written exponent this large goes to the library. Below it, adding the
// count of digits after the point cannot overflow.
constexpr std::int64_t kExponentCap = std::int64_t{1} << 50;

// A 128-bit unsigned integer, for the digits of a value times a power of
// ten.
struct Wide {
  std::uint64_t high;
  std::uint64_t low;
};

Wide Multiply(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
  // 32-bit halves, for compilers without a 128-bit type (32-bit MinGW).
  const std::uint64_t a_low = a & 0xFFFFFFFFu;
  const std::uint64_t a_high = a >> 32;
  const std::uint64_t b_low = b & 0xFFFFFFFFu;
  const std::uint64_t b_high = b >> 32;
  const std::uint64_t low_low = a_low * b_low;
  const std::uint64_t low_high = a_low * b_high;
  const std::uint64_t high_low = a_high * b_low;
  const std::uint64_t high_high = a_high * b_high;
  // At most three 32-bit quantities: no carry is lost.
  const std::uint64_t middle =
      (low_low >> 32) + (low_high & 0xFFFFFFFFu) + (high_low & 0xFFFFFFFFu);
  return {high_high + (low_high >> 32) + (high_low >> 32) + (middle >> 32),
          (middle << 32) | (low_low & 0xFFFFFFFFu)};
#endif
}

int BitLength(std::uint64_t x) { return 64 - std::countl_zero(x); }

// How the part dropped by a division compares with half the divisor: below
// it (-1), exactly half (0) or above it (1). Rounding half to even needs
// nothing more.
int AgainstHalf(std::uint64_t remainder, std::uint64_t divisor) {
  // remainder < divisor, so divisor - remainder cannot wrap, while
  // 2 * remainder could.
  const std::uint64_t rest = divisor - remainder;
  return remainder < rest ? -1 : remainder == rest ? 0 : 1;
}

// n >> shift and how the bits shifted out compare with half of 2^shift.
// False when the quotient does not fit in 64 bits.
bool ShiftRight(Wide n, int shift, std::uint64_t* quotient, int* against_half) {
  if (shift == 0) {
    if (n.high != 0) return false;
    *quotient = n.low;
    *against_half = -1;
    return true;
  }
  std::uint64_t half_bit = 0;  // the highest bit shifted out
  std::uint64_t below = 0;     // the bits under it, nonzero or not
  if (shift < 64) {
    if ((n.high >> shift) != 0) return false;
    *quotient = (n.high << (64 - shift)) | (n.low >> shift);
    half_bit = (n.low >> (shift - 1)) & 1;
    below = n.low & ((std::uint64_t{1} << (shift - 1)) - 1);
  } else if (shift == 64) {
    *quotient = n.high;
    half_bit = n.low >> 63;
    below = n.low & (~std::uint64_t{0} >> 1);
  } else {
    const int high_shift = shift - 64;  // 1 to 63
    *quotient = n.high >> high_shift;
    half_bit = (n.high >> (high_shift - 1)) & 1;
    below = (n.high & ((std::uint64_t{1} << (high_shift - 1)) - 1)) | n.low;
  }
  *against_half = half_bit == 0 ? -1 : below == 0 ? 0 : 1;
  return true;
}

// floor(m * 10^scale / 2^shift) and how the rest compares with half the
// divisor, for -19 <= scale <= 19. False when the work does not fit in 128
// bits or the quotient in 64.
bool ScaleDigits(std::uint64_t m, int shift, int scale, std::uint64_t* quotient,
                 int* against_half) {
  if (scale >= 0) {
    // m and 10^scale are both below 2^64, so their product fits.
    if (shift > 127) return false;
    return ShiftRight(Multiply(m, kPowersOfTen[scale]), shift, quotient, against_half);
  }
  const std::uint64_t power = kPowersOfTen[-scale];
  if (shift > 63 || power > (~std::uint64_t{0} >> shift)) return false;
  const std::uint64_t divisor = power << shift;
  *quotient = m / divisor;
  *against_half = AgainstHalf(m % divisor, divisor);
  return true;
}

}  // namespace

bool ReadDecimalExactly(std::string_view number, double* value) {
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
  // Doubles evaluated at a wider precision (the x87 of 32-bit x86) round
  // the product twice, once to the wider format and once on the way out,
  // and may then miss the correctly rounded value: the library decides.
  static_cast<void>(number);
  static_cast<void>(value);
  return false;
#else
  const std::size_t size = number.size();
  std::size_t i = 0;
  std::uint64_t significand = 0;
  int significant_digits = 0;
  // The power of ten of the last digit read: minus the digits after ".".
  std::int64_t exponent = 0;
  bool after_point = false;
  for (; i < size; ++i) {
    const char c = number[i];
    if (c == '.') {
      after_point = true;
      continue;
    }
    if (c < '0' || c > '9') break;  // the "e" of the exponent
    if (after_point) --exponent;
    if (significant_digits == 0 && c == '0') continue;  // leading zeros
    // Nineteen digits always fit in 64 bits; twenty may not.
    if (++significant_digits > kLargestPowerOfTen) return false;
    significand = significand * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (i < size) {  // "e" or "E", an optional sign, at least one digit
    ++i;
    bool negative = false;
    if (i < size && (number[i] == '+' || number[i] == '-')) {
      negative = number[i] == '-';
      ++i;
    }
    std::int64_t written = 0;
    for (; i < size; ++i) {
      written = written * 10 + (number[i] - '0');
      if (written >= kExponentCap) return false;
    }
    exponent += negative ? -written : written;
  }

  if (significand == 0) {
    *value = 0.0;
    return true;
  }
  if (significand > kExactIntegerLimit) return false;
  double result = static_cast<double>(significand);  // exact
  if (exponent < 0) {
    if (exponent < -kLargestExactPowerOfTen) return false;
    result /= kExactPowersOfTen[-exponent];
  } else if (exponent <= kLargestExactPowerOfTen) {
    result *= kExactPowersOfTen[exponent];
  } else {
    // 3e25 is 3000 * 1e22: powers of ten beyond 1e22 can move into the
    // significand while it stays at most 2^53, and the one multiplication
    // left is again of two exact values.
    const std::int64_t moved = exponent - kLargestExactPowerOfTen;
    if (moved > 15) return false;  // 10^16 > 2^53
    const std::uint64_t scale = kPowersOfTen[moved];
    if (significand > kExactIntegerLimit / scale) return false;
    result = static_cast<double>(significand * scale) *
             kExactPowersOfTen[kLargestExactPowerOfTen];
  }
  *value = result;
  return true;
#endif
}

bool RoundToDigitsExactly(double value, int precision, RoundedDigits* out) {
  if (precision < 1 || precision > RoundedDigits::kMaxDigits) return false;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased_exponent = static_cast<int>(bits >> 52 & 0x7FF);
  if (biased_exponent == 0x7FF) return false;  // infinity or NaN
  // |value| is m * 2^k.
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int k = -1074;
  if (biased_exponent != 0) {
    m |= std::uint64_t{1} << 52;
    k = biased_exponent - 1075;
  }

  const std::uint64_t limit = kPowersOfTen[precision];  // one digit too many
  std::uint64_t digits = 0;  // the first `precision` digits, before rounding
  int exponent = 0;
  int against_half = -1;
  if (m != 0) {
    // An odd m keeps the numbers small: 12.5 is 25 * 2^-1.
    const int zeros = std::countr_zero(m);
    m >>= zeros;
    k += zeros;
    const int log2 = BitLength(m) - 1 + k;  // floor(log2 |value|)
    int shift = 0;  // |value| is m / 2^shift from here on
    if (k > 0) {
      if (BitLength(m) + k > 64) return false;
      m <<= k;
    } else {
      shift = -k;
    }
    // floor(log2 * log10(2)), with 78913 / 2^18 for log10(2), exact over
    // every double's exponent. As 2^log2 <= |value| < 2^(log2 + 1) spans
    // less than a power of ten, the decimal exponent is this or one more.
    // The larger goes first: for the smallest values covered the smaller
    // would need a scale beyond 10^19 even where it is not the answer.
    const int estimate = (log2 * 78913) >> 18;
    for (exponent = estimate + 1;; --exponent) {
      // Scaled so that the wanted digits are the integer part.
      const int scale = precision - 1 - exponent;
      if (scale < -kLargestPowerOfTen || scale > kLargestPowerOfTen) return false;
      if (!ScaleDigits(m, shift, scale, &digits, &against_half)) return false;
      if (digits >= limit / 10) break;
      if (exponent == estimate) return false;  // cannot happen: see above
    }
    if (digits >= limit) return false;  // cannot happen either
  }

  // Half to even on the exact value, as the C library's printf rounds.
  if (against_half > 0 || (against_half == 0 && (digits & 1) != 0)) ++digits;
  if (digits == limit) {  // 9.999996 to six digits is 10.0000
    digits = limit / 10;
    ++exponent;
  }
  for (int i = precision - 1; i >= 0; --i) {
    out->digits[i] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  out->exponent = exponent;
  return true;
}

}  // namespace qm
