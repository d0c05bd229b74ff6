// A dialog on the full screen as a row of controls the focus moves along:
// each control draws itself and takes the keys typed while it has the
// focus; Tab and Shift+Tab move the focus in the dialog's order, Enter
// presses the focused button (elsewhere the dialog's default button),
// Escape cancels and F1 asks for help.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "screen_session.h"

namespace qm {

struct ScreenControl {
  // The dialog's id of the control, by which its rules move the focus.
  int id = 0;
  // Draws the control; returns where the caret goes while it has the focus
  // (row, column), if it shows one.
  std::function<std::optional<std::pair<int, int>>(ScreenSession&, bool focused)> draw;
  // Takes a key typed while the control has the focus; false when the key
  // is not the control's (the form then tries its own).
  std::function<bool(ScreenKey)> key;
  // Set for a button: what pressing it does.
  std::function<void()> press;
};

struct ScreenFormActions {
  std::function<void()> enter;   // Enter outside a button
  std::function<void()> escape;  // Escape
  std::function<void()> help;    // F1
  std::function<bool()> ended;   // whether the dialog has closed
  // Draws what is not a control (title, labels, hints) before the controls.
  std::function<void(ScreenSession&)> background;
};

class ScreenForm {
 public:
  ScreenForm(std::vector<ScreenControl> controls, ScreenFormActions actions)
      : controls_(std::move(controls)), actions_(std::move(actions)) {}

  // Puts the focus on the control with `id` (nothing if there is none).
  void Focus(int id);
  int focused_id() const { return controls_.empty() ? 0 : controls_[focus_].id; }

  // Draws and takes keys until the dialog has ended.
  void Run(ScreenSession& session);

  // Draws the whole dialog once, as Run does before each key.
  void Draw(ScreenSession& session);

 private:
  // Acts on one key.
  void Take(ScreenKey key);

  std::vector<ScreenControl> controls_;
  ScreenFormActions actions_;
  std::size_t focus_ = 0;
};

}  // namespace qm
