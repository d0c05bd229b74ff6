// The desktop on Windows: message boxes, the system's beeps and help topics
// through the HTML Help control.
#pragma once

#include <windows.h>

#include "host/desktop.h"
#include "html_help_loader.h"

namespace qm {

// MessageBoxW's style for `style`: its icon, its buttons and, when asked,
// the second button as the default.
//   {kQuestion, kYesNo, true} gives MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2
UINT MessageBoxStyle(MessageStyle style);

// The button MessageBoxW returned; kFailed for anything else, such as 0
// (no box could be shown).
MessageResult MessageBoxResult(int result);

// MessageBeep's sound: MB_ICONHAND for an unusable command, MB_ICONEXCLAMATION
// for the rest.
UINT BeepSound(BeepKind kind);

// Runs on the thread that shows the dialogs; a message box waits for the
// user in its own message loop.
class Win32Desktop final : public Desktop {
 public:
  // Help goes through `help`; tests give a loader of their own.
  explicit Win32Desktop(HtmlHelpLoader& help = HtmlHelpLoader::Process())
      : help_(help) {}

  // Owned by `owner`, or by the desktop window when it is 0.
  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string& caption,
                            MessageStyle style) override;
  void Beep(BeepKind kind) override;
  // HtmlHelpA(owner, address, HH_DISPLAY_TOPIC, 0); false when it gives no
  // window.
  bool ShowHelp(WindowHandle owner, const std::string& address) override;

 private:
  HtmlHelpLoader& help_;
};

}  // namespace qm
