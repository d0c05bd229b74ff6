// The window of a choice dialog: the template's controls filled from a
// ChoiceDialog model, the user's gestures forwarded to it, and what it then
// says shown again. Shared by the category dialogs and the currency dialog,
// which adds its two currency boxes through the hooks.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "dialogs/choice_dialog.h"
#include "win32_handles.h"

namespace qm {

class ChoiceDialogWindow {
 public:
  explicit ChoiceDialogWindow(ChoiceDialog& model) : model_(model) {}
  virtual ~ChoiceDialogWindow() = default;
  ChoiceDialogWindow(const ChoiceDialogWindow&) = delete;
  ChoiceDialogWindow& operator=(const ChoiceDialogWindow&) = delete;

  // Shows the model's template modally, owned by `owner`, and returns when
  // the model has ended; a dialog that cannot be shown is cancelled.
  void Run(HWND owner);

 protected:
  // After the shared controls are filled on opening.
  virtual void OnOpen() {}
  // A WM_COMMAND from a control the shared part does not know.
  virtual void OnCommand(int /*control*/, int /*code*/) {}
  // On OK, before the model checks: copy the extra controls into it.
  virtual void BeforeOk() {}

  HWND window() const { return window_; }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam);
  void Open();
  void Command(int control, int code);
  void Notify(const NMHDR& header);
  // Gives the edit box a font that can show text in any script.
  void UseWideTextFont(HWND edit);
  // The line of the model that list row `row` shows, or none.
  std::optional<std::size_t> LineOfRow(int row) const;
  // Shows the model's choice as the rows' check images, and its status line.
  void ShowChoice();

  ChoiceDialog& model_;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  ScopedImageList check_images_;
  ScopedGdiObject text_font_;
  // Set while the view changes rows itself: the list's notifications of
  // those changes are not the user's gestures.
  bool showing_ = false;
};

}  // namespace qm
