#include "screen_field.h"

#include <string_view>

#include "screen_text.h"

namespace qm {

void ScreenField::SetText(std::wstring text) {
  text_ = std::move(text);
  caret_ = text_.size();
}

bool ScreenField::Edit(ScreenKey key, bool* changed) {
  *changed = false;
  switch (key.code) {
    case ScreenKey::kCharacter:
      text_.insert(caret_++, 1, static_cast<wchar_t>(key.character));
      *changed = true;
      return true;
    case ScreenKey::kBackspace:
      if (caret_ > 0) {
        text_.erase(--caret_, 1);
        *changed = true;
      }
      return true;
    case ScreenKey::kDelete:
      if (caret_ < text_.size()) {
        text_.erase(caret_, 1);
        *changed = true;
      }
      return true;
    case ScreenKey::kLeft:
      if (caret_ > 0) --caret_;
      return true;
    case ScreenKey::kRight:
      if (caret_ < text_.size()) ++caret_;
      return true;
    case ScreenKey::kHome:
      caret_ = 0;
      return true;
    case ScreenKey::kEnd:
      caret_ = text_.size();
      return true;
    default:
      return false;
  }
}

std::size_t ScreenField::FirstShown(std::size_t width) {
  if (width == 0) return caret_;
  if (caret_ < first_shown_) first_shown_ = caret_;
  // The caret needs a column of its own after the last character shown.
  while (first_shown_ < caret_ &&
         static_cast<std::size_t>(SafeColumnsOf(std::wstring_view(text_).substr(
             first_shown_, caret_ - first_shown_))) + 1 > width) {
    ++first_shown_;
  }
  return first_shown_;
}

}  // namespace qm
