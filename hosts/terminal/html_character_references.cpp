#include "html_character_references.h"

#include <algorithm>
#include <cstdint>

#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
// Numbers are clamped here while digits are read: enough to tell "too
// large" and small enough that one more digit cannot overflow.
constexpr std::uint32_t kBeyondUnicode = 0x110000;

bool IsAsciiAlnum(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') ||
         (c >= u'A' && c <= u'Z');
}

int DigitValue(char16_t c, int base) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

void AppendCodePoint(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// Pages written in Windows-1252 put the byte of a character in a numeric
// reference ("&#150;" for a dash), so browsers read 0x80..0x9F as those
// bytes rather than as C1 controls.
char32_t CharacterOfNumber(std::uint32_t n) {
  if (n == 0 || n >= kBeyondUnicode || (n >= 0xD800 && n <= 0xDFFF)) {
    return kReplacement;
  }
  if (n >= 0x80 && n <= 0x9F) {
    return Windows1252CodePage().ToWide(std::string(1, static_cast<char>(n)))[0];
  }
  return n;
}

std::size_t LongestName() {
  static const std::size_t longest = [] {
    std::size_t n = 0;
    for (const NamedCharacterReference& r : NamedCharacterReferences()) {
      n = std::max(n, r.name.size());
    }
    return n;
  }();
  return longest;
}

// The references below start at html[amp] == '&'. Each appends what its
// reference stands for and returns the index after it, or returns 0 and
// appends nothing when there is no reference there.

std::size_t DecodeNumeric(std::u16string_view html, std::size_t amp,
                          std::u16string& out) {
  std::size_t i = amp + 2;  // after "&#"
  int base = 10;
  if (i < html.size() && (html[i] == u'x' || html[i] == u'X')) {
    base = 16;
    ++i;
  }
  const std::size_t first_digit = i;
  std::uint32_t value = 0;
  for (int d; i < html.size() && (d = DigitValue(html[i], base)) >= 0; ++i) {
    value = std::min<std::uint32_t>(value * base + d, kBeyondUnicode);
  }
  if (i == first_digit) return 0;
  if (i < html.size() && html[i] == u';') ++i;
  AppendCodePoint(out, CharacterOfNumber(value));
  return i;
}

std::size_t DecodeNamed(std::u16string_view html, std::size_t amp,
                        HtmlTextKind kind, std::u16string& out) {
  // Names are ASCII letters and digits, perhaps with a closing ";"; reading
  // no further than the longest name keeps a run of a million letters from
  // costing more than one ordinary name.
  const std::size_t start = amp + 1;
  const std::size_t longest = LongestName();
  std::string name;
  std::size_t i = start;
  while (i < html.size() && name.size() < longest && IsAsciiAlnum(html[i])) {
    name.push_back(static_cast<char>(html[i++]));
  }
  if (i < html.size() && html[i] == u';' && name.size() < longest) {
    name.push_back(';');
  }
  // The longest name that matches wins: "&notin;" is one character, "&notit;"
  // is "not" followed by "it;".
  for (std::size_t length = name.size(); length > 0; --length) {
    const NamedCharacterReference* ref =
        FindNamedCharacterReference(std::string_view(name).substr(0, length));
    if (ref == nullptr) continue;
    const std::size_t end = start + length;
    if (kind == HtmlTextKind::kAttributeValue && name[length - 1] != ';' &&
        end < html.size() && (IsAsciiAlnum(html[end]) || html[end] == u'=')) {
      return 0;
    }
    AppendCodePoint(out, ref->first);
    if (ref->second != 0) AppendCodePoint(out, ref->second);
    return end;
  }
  return 0;
}

}  // namespace

const NamedCharacterReference* FindNamedCharacterReference(std::string_view name) {
  const std::span<const NamedCharacterReference> table = NamedCharacterReferences();
  const auto it = std::lower_bound(
      table.begin(), table.end(), name,
      [](const NamedCharacterReference& r, std::string_view key) {
        return r.name < key;
      });
  if (it == table.end() || it->name != name) return nullptr;
  return &*it;
}

std::u16string DecodeHtmlEntities(std::u16string_view html, HtmlTextKind kind) {
  std::u16string out;
  out.reserve(html.size());
  for (std::size_t i = 0; i < html.size();) {
    if (html[i] == u'&') {
      const std::size_t next =
          i + 1 < html.size() && html[i + 1] == u'#'
              ? DecodeNumeric(html, i, out)
              : DecodeNamed(html, i, kind, out);
      if (next != 0) {
        i = next;
        continue;
      }
    }
    out.push_back(html[i++]);
  }
  return out;
}

}  // namespace qm
