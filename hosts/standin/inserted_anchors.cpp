#include "inserted_anchors.h"

#include <cwctype>
#include <optional>

#include "folded_search.h"

namespace qm::standin {
namespace {

std::wstring DecodeReferences(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != L'&') {
      out.push_back(text[i++]);
      continue;
    }
    const std::size_t end = text.find(L';', i);
    if (end == std::wstring_view::npos || end - i > 10) {
      out.push_back(text[i++]);
      continue;
    }
    const std::wstring_view name = text.substr(i + 1, end - i - 1);
    wchar_t decoded = 0;
    if (name == L"amp") decoded = L'&';
    else if (name == L"lt") decoded = L'<';
    else if (name == L"gt") decoded = L'>';
    else if (name == L"quot") decoded = L'"';
    else if (name == L"#39") decoded = L'\'';
    else if (name.size() > 1 && name[0] == L'#') {
      unsigned long value = 0;
      bool digits = true;
      for (const wchar_t c : name.substr(1)) {
        if (c < L'0' || c > L'9' || value > 0xFFFF) {
          digits = false;
          break;
        }
        value = value * 10 + static_cast<unsigned long>(c - L'0');
      }
      if (digits && value > 0 && value <= 0xFFFF) decoded = static_cast<wchar_t>(value);
    }
    if (decoded == 0) {
      out.push_back(text[i++]);
      continue;
    }
    out.push_back(decoded);
    i = end + 1;
  }
  return out;
}

// The value of attribute `name` (lower case) among the attributes of one
// tag (the text after its name); none when the tag has no such attribute.
std::optional<std::wstring> AttributeOf(std::wstring_view tag, std::wstring_view name) {
  std::size_t i = 0;
  auto skip_spaces = [&] {
    while (i < tag.size() && std::iswspace(tag[i])) ++i;
  };
  while (true) {
    skip_spaces();
    if (i >= tag.size() || tag[i] == L'>') return std::nullopt;
    const std::size_t name_begin = i;
    while (i < tag.size() && !std::iswspace(tag[i]) && tag[i] != L'=' && tag[i] != L'>') ++i;
    const std::wstring_view attribute = tag.substr(name_begin, i - name_begin);
    skip_spaces();
    std::wstring_view value;
    if (i < tag.size() && tag[i] == L'=') {
      ++i;
      skip_spaces();
      if (i < tag.size() && (tag[i] == L'"' || tag[i] == L'\'')) {
        const std::size_t close = tag.find(tag[i], i + 1);
        const std::size_t stop = close == std::wstring_view::npos ? tag.size() : close;
        value = tag.substr(i + 1, stop - i - 1);
        i = stop + 1;
      } else {
        const std::size_t begin = i;
        while (i < tag.size() && !std::iswspace(tag[i]) && tag[i] != L'>') ++i;
        value = tag.substr(begin, i - begin);
      }
    }
    if (attribute.size() == name.size() && FindFolded(attribute, name) == 0) {
      return DecodeReferences(value);
    }
    if (attribute.empty()) ++i;  // a stray '='
  }
}

}  // namespace

std::vector<InsertedAnchor> AnchorsOf(std::wstring_view fragment) {
  std::vector<InsertedAnchor> anchors;
  std::size_t at = 0;
  while ((at = FindFolded(fragment, std::wstring_view(L"<a"), at)) != std::wstring_view::npos) {
    const std::size_t after = at + 2;
    at = after;
    if (after >= fragment.size() || !std::iswspace(fragment[after])) continue;
    std::size_t end = after;
    wchar_t quote = 0;
    for (; end < fragment.size(); ++end) {
      const wchar_t c = fragment[end];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == L'"' || c == L'\'') {
        quote = c;
      } else if (c == L'>') {
        break;
      }
    }
    const std::wstring_view tag = fragment.substr(after, end - after);
    anchors.push_back({AttributeOf(tag, L"id").value_or(L""),
                       AttributeOf(tag, L"href").value_or(L""),
                       AttributeOf(tag, L"target").value_or(L"")});
    at = end;
  }
  return anchors;
}

}  // namespace qm::standin
