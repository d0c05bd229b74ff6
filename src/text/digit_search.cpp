#include "text/digit_search.h"

#include <cstdint>
#include <cstring>

namespace qm {
namespace {

constexpr std::uint64_t kLanes(std::uint16_t v) {
  return v * 0x0001000100010001ULL;
}

// True when one of the four UTF-16 units packed in `w` is "0".."9" or above
// U+007F. Below U+0080 a unit plus 0x7FD0 reaches 0x8000 exactly from "0"
// on, and plus 0x7FC6 from ":" on, without carrying into the next unit.
bool MayHoldDigit(std::uint64_t w) {
  const std::uint64_t beyond_ascii = w & kLanes(0xFF80);
  const std::uint64_t ascii = w & kLanes(0x007F);
  const std::uint64_t from_zero = ascii + kLanes(0x7FD0);
  const std::uint64_t from_colon = ascii + kLanes(0x7FC6);
  const std::uint64_t digit = from_zero & ~from_colon & kLanes(0x8000);
  return (beyond_ascii | digit) != 0;
}

bool IsPossibleDigit(char16_t c) { return c >= 0x80 || (c >= u'0' && c <= u'9'); }

}  // namespace

std::size_t SkipToPossibleDigit(std::u16string_view text, std::size_t from) {
  const std::size_t size = text.size();
  std::size_t i = from;
  while (i + 4 <= size) {
    std::uint64_t w;
    std::memcpy(&w, text.data() + i, sizeof w);
    if (MayHoldDigit(w)) break;
    i += 4;
  }
  while (i < size && !IsPossibleDigit(text[i])) ++i;
  return i;
}

}  // namespace qm
