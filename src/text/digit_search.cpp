#include "text/digit_search.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qm {
namespace {

bool IsPossibleDigit(char16_t c) { return c >= 0x80 || (c >= u'0' && c <= u'9'); }

#if defined(__SSE2__)

// All ones in the lanes of the eight units at `text` that may be digits: a
// unit minus "0" that is at most 9 (unsigned) is a digit, and one that
// stays above zero once 0x7F is taken off (saturating) lies beyond ASCII.
__m128i PossibleDigitLanes(const char16_t* text) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
  const __m128i digit = _mm_cmpeq_epi16(
      _mm_subs_epu16(_mm_sub_epi16(units, _mm_set1_epi16(u'0')), _mm_set1_epi16(9)), zero);
  const __m128i ascii = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x7F)), zero);
  return _mm_or_si128(digit, _mm_andnot_si128(ascii, _mm_cmpeq_epi16(zero, zero)));
}

// Eight units at a time; the first possible digit's place comes from the
// mask, two bits a unit.
std::size_t SkipBlocks(const char16_t* text, std::size_t i, std::size_t size) {
  for (; i + 8 <= size; i += 8) {
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(PossibleDigitLanes(text + i)));
    if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(mask)) / 2;
  }
  return i;
}

// The map's bits of the 64 units at `text`, sixteen at a time: the lanes
// of two blocks packed to one byte a unit.
std::uint64_t MapWord(const char16_t* text) {
  std::uint64_t word = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_packs_epi16(PossibleDigitLanes(text + 16 * k),
                                          PossibleDigitLanes(text + 16 * k + 8));
    word |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(bytes)))
            << (16 * k);
  }
  return word;
}

#else

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

// Four units at a time, stopping at the block that holds one.
std::size_t SkipBlocks(const char16_t* text, std::size_t i, std::size_t size) {
  for (; i + 4 <= size; i += 4) {
    std::uint64_t w;
    std::memcpy(&w, text + i, sizeof w);
    if (MayHoldDigit(w)) break;
  }
  return i;
}

std::uint64_t MapWord(const char16_t* text) {
  std::uint64_t word = 0;
  for (int k = 0; k < 64; k += 4) {
    std::uint64_t w;
    std::memcpy(&w, text + k, sizeof w);
    if (!MayHoldDigit(w)) continue;
    for (int j = k; j < k + 4; ++j) {
      if (IsPossibleDigit(text[j])) word |= std::uint64_t{1} << j;
    }
  }
  return word;
}

#endif

}  // namespace

std::size_t SkipToPossibleDigit(std::u16string_view text, std::size_t from) {
  const std::size_t size = text.size();
  std::size_t i = from < size ? SkipBlocks(text.data(), from, size) : from;
  while (i < size && !IsPossibleDigit(text[i])) ++i;
  return i;
}

DigitMap::DigitMap(std::u16string_view text)
    : size_(text.size()), words_((text.size() + 63) / 64) {
  std::size_t i = 0;
  for (; i + 64 <= size_; i += 64) words_[i / 64] = MapWord(text.data() + i);
  for (; i < size_; ++i) {
    if (IsPossibleDigit(text[i])) words_[i / 64] |= std::uint64_t{1} << (i % 64);
  }
}

std::size_t DigitMap::Next(std::size_t from) const {
  if (from >= size_) return size_;
  std::size_t word = from / 64;
  std::uint64_t bits = words_[word] & (~std::uint64_t{0} << (from % 64));
  while (bits == 0) {
    if (++word == words_.size()) return size_;
    bits = words_[word];
  }
  return word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
}

}  // namespace qm
