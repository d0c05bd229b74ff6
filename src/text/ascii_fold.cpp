#include "text/ascii_fold.h"

#include <algorithm>

namespace qm {

std::string FoldAsciiCopy(std::string_view text) {
  std::string folded(text);
  FoldAsciiInPlace(folded.data(), folded.data() + folded.size());
  return folded;
}

void FoldAsciiInPlace(char* first, char* last) {
  for (; first != last; ++first) *first = FoldAscii(*first);
}

int CompareFolded(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;  // equal bytes fold alike
    const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
    const auto y = static_cast<unsigned char>(FoldAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         CompareFolded(text.substr(0, prefix.size()), prefix) == 0;
}

}  // namespace qm
