#include "actions/punycode.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qm {
namespace {

// The parameters RFC 3492 fixes for host names.
constexpr std::uint32_t kBase = 36, kTMin = 1, kTMax = 26, kSkew = 38, kDamp = 700;
constexpr std::uint32_t kInitialBias = 72, kInitialN = 0x80;
constexpr std::size_t kMaxCodePoints = 63;

char Digit(std::uint32_t d) {
  return static_cast<char>(d < 26 ? 'a' + d : '0' + (d - 26));
}

std::uint32_t Adapt(std::uint32_t delta, std::uint32_t points, bool first) {
  delta = first ? delta / kDamp : delta / 2;
  delta += delta / points;
  std::uint32_t k = 0;
  while (delta > ((kBase - kTMin) * kTMax) / 2) {
    delta /= kBase - kTMin;
    k += kBase;
  }
  return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
}

}  // namespace

bool EncodePunycode(std::u16string_view label, std::string* out) {
  std::array<std::uint32_t, kMaxCodePoints> points{};
  std::size_t count = 0;
  for (std::size_t i = 0; i < label.size(); ++i) {
    std::uint32_t c = label[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < label.size() &&
        label[i + 1] >= 0xDC00 && label[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (label[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return false;
    }
    if (count == kMaxCodePoints) return false;
    points[count++] = c;
  }
  std::string encoded;
  for (std::size_t i = 0; i < count; ++i) {
    if (points[i] < 0x80) encoded.push_back(static_cast<char>(points[i]));
  }
  const std::uint32_t basic = static_cast<std::uint32_t>(encoded.size());
  if (basic > 0) encoded.push_back('-');
  // With at most 63 code points below 0x110000 no sum here comes near
  // 2^32, so the overflow checks of the general algorithm are not needed.
  std::uint32_t n = kInitialN, delta = 0, bias = kInitialBias, handled = basic;
  while (handled < count) {
    std::uint32_t next = UINT32_MAX;
    for (std::size_t i = 0; i < count; ++i) {
      if (points[i] >= n) next = std::min(next, points[i]);
    }
    delta += (next - n) * (handled + 1);
    n = next;
    for (std::size_t i = 0; i < count; ++i) {
      if (points[i] < n) ++delta;
      if (points[i] != n) continue;
      std::uint32_t q = delta;
      for (std::uint32_t k = kBase;; k += kBase) {
        const std::uint32_t t = k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
        if (q < t) break;
        encoded.push_back(Digit(t + (q - t) % (kBase - t)));
        q = (q - t) / (kBase - t);
      }
      encoded.push_back(Digit(q));
      bias = Adapt(delta, handled + 1, handled == basic);
      delta = 0;
      ++handled;
    }
    ++delta;
    ++n;
  }
  out->append(encoded);
  return true;
}

}  // namespace qm
