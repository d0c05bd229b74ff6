// Text on its way to the full screen: page and catalogue text made safe for
// the terminal, measured in columns (wide characters take two, combining
// marks none) and cut or wrapped to a width, so that columns stay right
// whatever the page supplied.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// One line as it is drawn and the columns it takes.
struct ScreenLine {
  std::wstring text;
  int columns = 0;
};

// `utf8` made terminal-safe (every control character written as an escape,
// line breaks included) and cut to at most `width` columns: a wide
// character that would straddle the edge is left out whole. Characters the
// terminal cannot measure show as U+FFFD; a combining mark with nothing to
// sit on is dropped. REQUIRES: LC_CTYPE is a UTF-8 locale (wcwidth).
// Example: FitToWidth("a\x1b[2Jb", 20).text == L"a\\x1b[2Jb".
ScreenLine FitToWidth(std::string_view utf8, int width);

// The text broken into lines of at most `width` columns: at its line
// breaks, then between words; a word longer than a line is cut. Each line
// is terminal-safe as FitToWidth makes it. An empty text gives one empty
// line.
std::vector<ScreenLine> WrapToWidth(std::string_view utf8, int width);

// The columns `text` takes on the screen (characters as FitToWidth counts
// them).
int ColumnsOf(std::wstring_view text);

// The columns `text` takes once made terminal-safe as FitToWidth makes it,
// so that a caret lines up with what is drawn.
int SafeColumnsOf(std::wstring_view text);

// Conversions between the screen's wide text and the UTF-8 of gestures.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace qm
