#include "page_text.h"

#include <cstdio>
#include <cwctype>

#include "text/utf8.h"

namespace qm::standin {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
wchar_t Lower(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The first place at or after `from` where `wanted` (lower case) stands in
// `text` in any case.
template <class Char>
std::size_t FindFolded(std::basic_string_view<Char> text,
                       std::basic_string_view<Char> wanted, std::size_t from = 0) {
  if (wanted.size() > text.size()) return std::basic_string_view<Char>::npos;
  for (std::size_t at = from; at + wanted.size() <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < wanted.size() && Lower(text[at + i]) == wanted[i]) ++i;
    if (i == wanted.size()) return at;
  }
  return std::basic_string_view<Char>::npos;
}

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

std::vector<MenuEntry> EntriesFor(const std::vector<MenuEntry>& entries,
                                  MenuContext context) {
  std::vector<MenuEntry> offered;
  for (const MenuEntry& entry : entries) {
    if ((entry.contexts & static_cast<std::uint32_t>(context)) != 0) offered.push_back(entry);
  }
  return offered;
}

std::optional<std::string> ScriptOfPage(std::string_view page) {
  const std::size_t open = FindFolded(page, std::string_view("<script"));
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t open_end = page.find('>', open);
  if (open_end == std::string_view::npos) return std::nullopt;
  const std::size_t close = FindFolded(page, std::string_view("</script"), open_end + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(page.substr(open_end + 1, close - open_end - 1));
}

std::optional<std::wstring> FileOfAddress(std::wstring_view address) {
  constexpr std::wstring_view kScheme = L"file:///";
  if (address.size() <= kScheme.size() || FindFolded(address, kScheme) != 0) {
    return std::nullopt;
  }
  return std::wstring(address.substr(kScheme.size()));
}

std::wstring HostOf(std::wstring_view address) {
  const std::size_t scheme = address.find(L"://");
  if (scheme == std::wstring_view::npos) return {};
  std::size_t begin = scheme + 3;
  std::size_t end = address.find_first_of(L"/?#", begin);
  if (end == std::wstring_view::npos) end = address.size();
  std::wstring_view authority = address.substr(begin, end - begin);
  const std::size_t at = authority.rfind(L'@');
  if (at != std::wstring_view::npos) authority.remove_prefix(at + 1);
  const std::size_t colon = authority.find(L':');
  return std::wstring(authority.substr(0, colon));
}

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

std::string LogText(std::wstring_view text) {
  // Controls and backslashes become "\xNN" first, so that page text cannot
  // start a log line of its own; the rest goes out as UTF-8.
  std::u16string kept;
  kept.reserve(text.size());
  for (const wchar_t w : text) {
    const char16_t c = static_cast<char16_t>(w);
    if (c < 0x20 || c == 0x7F || c == u'\\') {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", static_cast<unsigned>(c));
      for (const char* p = buffer; *p != '\0'; ++p) kept.push_back(static_cast<char16_t>(*p));
    } else {
      kept.push_back(c);
    }
  }
  return ToUtf8(kept);
}

}  // namespace qm::standin
