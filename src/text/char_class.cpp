#include "text/char_class.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace qm {
namespace {

// A run of code points first, first + stride, ... up to last inclusive.
// Stride 2 describes the alternating upper/lower pairs of Latin Extended-A.
struct Run {
  char16_t first;
  char16_t last;
  char16_t stride;
};

// Both tables are sorted by `first` and their runs do not overlap.
constexpr Run kWhiteSpace[] = {
    {0x0009, 0x000D, 1}, {0x0020, 0x0020, 1}, {0x0085, 0x0085, 1},
    {0x00A0, 0x00A0, 1}, {0x1680, 0x1680, 1}, {0x2000, 0x200A, 1},
    {0x2028, 0x2029, 1}, {0x202F, 0x202F, 1}, {0x205F, 0x205F, 1},
    {0x3000, 0x3000, 1},
};

constexpr Run kLower[] = {
    {0x0061, 0x007A, 1},  // a-z
    {0x00B5, 0x00B5, 1},  // micro sign
    {0x00DF, 0x00F6, 1},
    {0x00F8, 0x00FF, 1},
    {0x0101, 0x0137, 2},
    {0x0138, 0x0138, 1},  // kra
    {0x013A, 0x0148, 2},
    {0x0149, 0x0149, 1},  // n preceded by apostrophe
    {0x014B, 0x0177, 2},
    {0x017A, 0x017E, 2},
    {0x017F, 0x017F, 1},  // long s
    {0x03AC, 0x03CE, 1},  // Greek small, accented forms and final sigma
    {0x0430, 0x045F, 1},  // Cyrillic small
    {0xFF41, 0xFF5A, 1},  // fullwidth a-z
};

// Every decimal-digit block of the Basic Multilingual Plane holds ten
// consecutive code points, zero first; these are the zeros.
constexpr char16_t kDigitZeros[] = {
    0x0030, 0x0660, 0x06F0, 0x07C0, 0x0966, 0x09E6, 0x0A66, 0x0AE6,
    0x0B66, 0x0BE6, 0x0C66, 0x0CE6, 0x0D66, 0x0DE6, 0x0E50, 0x0ED0,
    0x0F20, 0x1040, 0x1090, 0x17E0, 0x1810, 0x1946, 0x19D0, 0x1A80,
    0x1A90, 0x1B50, 0x1BB0, 0x1C40, 0x1C50, 0xA620, 0xA8D0, 0xA900,
    0xA9D0, 0xA9F0, 0xAA50, 0xABF0, 0xFF10,
};

template <std::size_t N>
bool InRuns(const Run (&runs)[N], char16_t c) {
  // The last run starting at or before c is the only one that can hold it.
  const Run* after = std::upper_bound(
      std::begin(runs), std::end(runs), c,
      [](char16_t value, const Run& run) { return value < run.first; });
  if (after == std::begin(runs)) return false;
  const Run& run = *(after - 1);
  return c <= run.last && (c - run.first) % run.stride == 0;
}

}  // namespace

namespace char_class_tables {

bool IsSpaceBeyondAscii(char16_t c) { return InRuns(kWhiteSpace, c); }

bool IsDigitBeyondAscii(char16_t c) {
  const char16_t* after =
      std::upper_bound(std::begin(kDigitZeros), std::end(kDigitZeros), c);
  if (after == std::begin(kDigitZeros)) return false;
  return c - *(after - 1) < 10;
}

bool IsLowerBeyondAscii(char16_t c) { return InRuns(kLower, c); }

}  // namespace char_class_tables

}  // namespace qm
