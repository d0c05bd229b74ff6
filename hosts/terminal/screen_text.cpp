#include "screen_text.h"

#include <cwchar>

#include "terminal_text.h"
#include "text/utf8.h"

namespace qm {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The columns of one character as drawn, -1 for one to leave out.
int CharacterColumns(wchar_t c, bool has_base) {
  const int columns = ::wcwidth(c);
  if (columns < 0) return 1;  // drawn as U+FFFD
  if (columns == 0 && !has_base) return -1;
  return columns;
}

// Appends `c` (already measured) to `line` if it fits in `width`.
bool Append(ScreenLine& line, wchar_t c, int width) {
  const int columns = CharacterColumns(c, !line.text.empty());
  if (columns < 0) return true;
  if (line.columns + columns > width) return false;
  line.text.push_back(::wcwidth(c) < 0 ? kReplacement : c);
  line.columns += columns;
  return true;
}

// One line of text without line breaks, made safe.
std::wstring SafeWide(std::string_view utf8) {
  return WideFromUtf8(TerminalSafe(utf8, false));
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
  const std::u16string units = FromUtf8(utf8);
  std::wstring wide;
  wide.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    // FromUtf8 never leaves a lone surrogate, so a high one has its pair.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    wide.push_back(static_cast<wchar_t>(c));
  }
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::u16string units;
  for (const wchar_t w : text) {
    const auto c = static_cast<char32_t>(w);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(c > 0x10FFFF ? u'\uFFFD' : static_cast<char16_t>(c));
    }
  }
  return ToUtf8(units);
}

ScreenLine FitToWidth(std::string_view utf8, int width) {
  ScreenLine line;
  for (const wchar_t c : SafeWide(utf8)) {
    if (!Append(line, c, width)) break;
  }
  return line;
}

int ColumnsOf(std::wstring_view text) {
  int columns = 0;
  bool has_base = false;
  for (const wchar_t c : text) {
    const int n = CharacterColumns(c, has_base);
    if (n < 0) continue;
    columns += n;
    has_base = true;
  }
  return columns;
}

int SafeColumnsOf(std::wstring_view text) {
  return ColumnsOf(SafeWide(Utf8FromWide(text)));
}

std::vector<ScreenLine> WrapToWidth(std::string_view utf8, int width) {
  std::vector<ScreenLine> lines;
  if (width < 1) width = 1;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = utf8.find('\n', start);
    const std::wstring paragraph =
        SafeWide(utf8.substr(start, end == std::string_view::npos ? end : end - start));
    ScreenLine line;
    std::size_t i = 0;
    while (i < paragraph.size()) {
      // The next word with the blanks before it.
      std::size_t word_end = paragraph.find_first_not_of(L' ', i);
      word_end = word_end == std::wstring::npos ? paragraph.size()
                                                : paragraph.find(L' ', word_end);
      if (word_end == std::wstring::npos) word_end = paragraph.size();
      const std::wstring_view word(paragraph.data() + i, word_end - i);
      if (line.columns > 0 && line.columns + ColumnsOf(word) > width) {
        lines.push_back(std::move(line));
        line = ScreenLine();
        i = paragraph.find_first_not_of(L' ', i);
        if (i == std::wstring::npos) break;
        continue;
      }
      for (; i < word_end; ++i) {
        if (!Append(line, paragraph[i], width)) {
          // A word longer than the line goes on, cut, on the next one.
          lines.push_back(std::move(line));
          line = ScreenLine();
          if (!Append(line, paragraph[i], width)) break;  // wider than the screen
        }
      }
      i = word_end;
    }
    lines.push_back(std::move(line));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace qm
