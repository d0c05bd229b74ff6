// ASCII-only case folding, the comparison used for section names, keys,
// category prefixes and remembered-selection names. Bytes at or above 0x80
// are never folded: their meaning depends on the code page.
#pragma once

#include <string>
#include <string_view>

namespace qm {

constexpr char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A copy of `text` with A-Z folded to a-z.
std::string FoldAsciiCopy(std::string_view text);

// Folds A-Z to a-z in place.
void FoldAsciiInPlace(char* first, char* last);

// Compares the folded bytes as unsigned values: <0, 0 or >0.
//   CompareFolded("BOOK:ShopCom", "book:shopcoUK") < 0   ("m" < "u")
//   CompareFolded("a_", "aB") < 0                        ("_" < "b")
int CompareFolded(std::string_view a, std::string_view b);

// True when `text` begins with `prefix` under the folded comparison. A text
// shorter than the prefix does not match.
bool StartsWithFolded(std::string_view text, std::string_view prefix);

// Strict weak order for ordered containers keyed by folded text.
struct FoldedLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return CompareFolded(a, b) < 0;
  }
};

}  // namespace qm
