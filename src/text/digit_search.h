// Finding the next place in a long text where a digit may stand, four
// characters at a time: the scanners for product codes spend most of a
// page in stretches without one.
#pragma once

#include <cstddef>
#include <string_view>

namespace qm {

// The position of the first character at or after `from` that is "0".."9"
// or above U+007F (where the digits of other scripts lie), or text.size()
// when there is none. Every character it passes over is an ASCII
// non-digit.
std::size_t SkipToPossibleDigit(std::u16string_view text, std::size_t from);

}  // namespace qm
