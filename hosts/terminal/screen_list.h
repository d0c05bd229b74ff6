// How the keyboard moves through a list on the full screen: the highlight
// keys, type-ahead, and which rows a list of limited height shows. The
// rules are the list's of the Windows dialogs and of the extension's
// window, so that the same fingers work everywhere.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "screen_keys.h"

namespace qm {

// The line the highlight moves to for `key` from `at` in a list of `count`
// lines showing `page` lines at a time (Up, Down, Home, End, PageUp,
// PageDown), kept inside the list; nullopt for any other key or an empty
// list. From no highlight, Down and PageDown start at the first line.
// Example: HighlightAfter({kDown}, 2, 5, 3) == 3; ({kEnd}, 0, 5, 3) == 4.
std::optional<std::size_t> HighlightAfter(ScreenKey key, std::optional<std::size_t> at,
                                          std::size_t count, std::size_t page);

// Typing jumps to the next line that starts with what was typed, without
// regard to case. Letters typed in quick succession make one word; the same
// letter typed again and again goes from line to line of that letter.
class TypeAhead {
 public:
  using Clock = std::chrono::steady_clock;
  // Letters further apart than this start a new word.
  static constexpr std::chrono::milliseconds kPause{1000};

  // The line to highlight after `c` was typed at `now`, starting from
  // `at`; `text_of(line)` is the line's text as shown. Nullopt when no line
  // matches (the highlight stays).
  std::optional<std::size_t> Type(char32_t c, Clock::time_point now,
                                  std::optional<std::size_t> at, std::size_t count,
                                  const std::function<std::wstring(std::size_t)>& text_of);

  // Any other key ends the word: the next letter starts a new one.
  void Reset() { typed_.clear(); }

 private:
  std::wstring typed_;
  Clock::time_point typed_at_{};
};

// The first row a list of `height` rows shows so that `line` is in view,
// moving as little as possible from `top`.
// Example: ScrollTop(10, 0, 5) == 6; ScrollTop(3, 6, 5) == 3.
std::size_t ScrollTop(std::size_t line, std::size_t top, std::size_t height);

}  // namespace qm
