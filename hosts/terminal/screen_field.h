// An edit field on the full screen: one line of text edited in place, with
// a caret, as a Windows edit box is edited from the keyboard.
#pragma once

#include <cstddef>
#include <string>

#include "screen_keys.h"

namespace qm {

class ScreenField {
 public:
  // Replaces the text (the dialog put it there) and puts the caret at its
  // end.
  void SetText(std::wstring text);
  const std::wstring& text() const { return text_; }
  std::size_t caret() const { return caret_; }

  // Edits the text for `key`: a printable character is inserted at the
  // caret; Backspace and Delete remove the character before or under it;
  // Left, Right, Home and End move the caret. Returns whether the key was
  // an editing key (then the dialog takes no other action for it); sets
  // *changed when the text changed.
  bool Edit(ScreenKey key, bool* changed);

  // The first character shown in a field `width` columns wide, so that the
  // caret stays in view; it moves as little as possible from the last one.
  std::size_t FirstShown(std::size_t width);

 private:
  std::wstring text_;
  std::size_t caret_ = 0;
  std::size_t first_shown_ = 0;
};

}  // namespace qm
