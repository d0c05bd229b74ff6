// Finding ASCII text in any case, for the tags, schemes and attribute names
// that a browser matches without regard to case.
#pragma once

#include <cstddef>
#include <string_view>

namespace qm::standin {

constexpr char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr wchar_t LowerAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The first place at or after `from` where `wanted` (lower case) stands in
// `text` in any case; npos when it does not.
//   FindFolded("a<SCRIPT>", "<script") == 1
template <class Char>
std::size_t FindFolded(std::basic_string_view<Char> text,
                       std::basic_string_view<Char> wanted, std::size_t from = 0) {
  if (wanted.size() > text.size()) return std::basic_string_view<Char>::npos;
  for (std::size_t at = from; at + wanted.size() <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < wanted.size() && LowerAscii(text[at + i]) == wanted[i]) ++i;
    if (i == wanted.size()) return at;
  }
  return std::basic_string_view<Char>::npos;
}

}  // namespace qm::standin
