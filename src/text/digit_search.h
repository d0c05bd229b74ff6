// Finding the next place in a long text where a digit may stand, several
// characters at a time: the scanners for product codes spend most of a
// page in stretches without one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qm {

// The position of the first character at or after `from` that is "0".."9"
// or above U+007F (where the digits of other scripts lie), or text.size()
// when there is none. Every character it passes over is an ASCII
// non-digit.
std::size_t SkipToPossibleDigit(std::u16string_view text, std::size_t from);

// Where in a text those characters are, one bit each, read from the text
// once. Several scanners over the same long text then pass its stretches
// without a digit in the map (an eighth of a unit a character) instead of
// reading the text again each.
class DigitMap {
 public:
  explicit DigitMap(std::u16string_view text);

  // SkipToPossibleDigit(text, from) of the text the map was made from.
  std::size_t Next(std::size_t from) const;

 private:
  std::size_t size_;
  std::vector<std::uint64_t> words_;
};

}  // namespace qm
