// Driving a real modal dialog from its own thread: the code under test
// opens the dialog, and the test's steps run inside the dialog's message
// loop, one each time the thread's queue has run dry. Every message an
// earlier step posted (clicks, keys) has then been handled and the dialog
// painted, and the models are only ever touched from their own thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qm {

class DialogSteps {
 public:
  // A step receives the open dialog.
  using Step = std::function<void(HWND dialog)>;

  // Starts playing `steps` on the next dialog titled `title` that this
  // thread shows. Only one DialogSteps may exist at a time.
  explicit DialogSteps(std::vector<Step> steps,
                       const std::u16string& title = u"Pellmor Quillmark");
  // Fails the test when steps were left unplayed: the dialog closed before
  // the test expected, or never opened.
  ~DialogSteps();
  DialogSteps(const DialogSteps&) = delete;
  DialogSteps& operator=(const DialogSteps&) = delete;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Play();

  std::vector<Step> steps_;
  std::u16string title_;
  std::size_t next_ = 0;
  int idle_ticks_ = 0;
  UINT_PTR timer_ = 0;
};

// Gestures, as a person makes them.

// Clicks, or double-clicks, the middle of row `row`'s label in the site
// list.
void ClickRow(HWND dialog, int row);
void DoubleClickRow(HWND dialog, int row);
// Double-clicks the list below its last row.
void DoubleClickBelowRows(HWND dialog);
// Presses a button, as a click does.
void PressButton(HWND dialog, int control);
// Sends the control a key press (down and up).
void PressKey(HWND control, UINT key);
// Replaces a control's text, as a paste over a selection would.
void SetText(HWND dialog, int control, const std::u16string& text);
// Chooses the row of combo box `control` whose text is `text` and tells the
// dialog, as the box does when the user picks a row. False when no row has
// that text.
bool PickComboRow(HWND dialog, int control, const std::u16string& text);

// What the dialog shows.

std::u16string ControlText(HWND dialog, int control);
// The text of the chosen row of a combo box, empty when none is chosen.
std::u16string ComboText(HWND dialog, int control);
// The text of each row of the site list, and its state image (1 not
// chosen, 2 chosen).
std::vector<std::u16string> ListRows(HWND dialog);
std::vector<int> ListImages(HWND dialog);
// The id of the control that has the keyboard focus, 0 for none.
int FocusedControl();

// Saves a picture of the window as NAME.bmp in the folder that the
// environment variable QM_SCREENSHOT_DIR names (a Windows path); without it
// does nothing.
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace qm
