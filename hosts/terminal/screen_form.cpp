#include "screen_form.h"

namespace qm {

void ScreenForm::Focus(int id) {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].id == id) focus_ = i;
  }
}

void ScreenForm::Draw(ScreenSession& session) {
  session.Clear();
  if (actions_.background) actions_.background(session);
  std::optional<std::pair<int, int>> caret;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const auto at = controls_[i].draw(session, i == focus_);
    if (i == focus_) caret = at;
  }
  session.PlaceCaret(caret ? caret->first : 0, caret ? caret->second : 0, caret.has_value());
  session.Show();
}

void ScreenForm::Take(ScreenKey key) {
  const std::size_t count = controls_.size();
  ScreenControl* focused = count == 0 ? nullptr : &controls_[focus_];
  switch (key.code) {
    case ScreenKey::kTab:
      if (count > 0) focus_ = (focus_ + 1) % count;
      return;
    case ScreenKey::kBackTab:
      if (count > 0) focus_ = (focus_ + count - 1) % count;
      return;
    case ScreenKey::kEscape:
      actions_.escape();
      return;
    case ScreenKey::kF1:
      actions_.help();
      return;
    case ScreenKey::kEnter:
      if (focused != nullptr && focused->press) {
        focused->press();
      } else {
        actions_.enter();
      }
      return;
    default:
      break;
  }
  if (focused == nullptr) return;
  if (focused->key && focused->key(key)) return;
  // On a button, Space presses it and the arrows go along the buttons, as
  // in a Windows dialog.
  if (focused->press) {
    if (key.code == ScreenKey::kCharacter && key.character == U' ') {
      focused->press();
    } else if (key.code == ScreenKey::kRight || key.code == ScreenKey::kLeft) {
      const std::size_t next = key.code == ScreenKey::kRight ? focus_ + 1 : focus_ + count - 1;
      if (controls_[next % count].press) focus_ = next % count;
    }
  }
}

void ScreenForm::Run(ScreenSession& session) {
  while (!actions_.ended()) {
    Draw(session);
    const ScreenKey key = session.ReadKey();
    if (key.code == ScreenKey::kResize) continue;
    Take(key);
  }
}

}  // namespace qm
