// The desktop as the terminal host plays it: dialogs shown in the terminal
// (or played from a script of answers), message boxes as printed questions,
// and every action logged; with --open and --run, addresses and command
// lines are really handed on.
#pragma once

#include <deque>
#include <istream>
#include <ostream>

#include "action_log.h"
#include "dialogs/gesture_script.h"
#include "host/desktop.h"

namespace qm {

struct TerminalDesktopOptions {
  bool interactive = false;  // ask the person at the terminal
  bool launch = false;       // --open: hand addresses to the browser
  bool run = false;          // --run: start command lines
};

class TerminalDesktop final : public Desktop {
 public:
  // Without `interactive`, dialogs and message boxes take their gestures
  // from `answers`, first first; a dialog still open when they run out is
  // confirmed with OK, and cancelled if OK does not close it. A message box
  // takes a leading "yes", "no", "ok" or "cancel", else its default button.
  // Dialogs are drawn on `screen`; interactive input comes from `in`.
  TerminalDesktop(TerminalDesktopOptions options, std::deque<Gesture> answers,
                  const CodePage& code_page, ActionLog& log, std::istream& in,
                  std::ostream& screen);

  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string& caption,
                            MessageStyle style) override;
  void Beep(BeepKind kind) override;
  bool ShellOpen(const std::string& address) override;
  bool StartProcess(const std::string& command_line,
                    std::u16string* error_text) override;
  MailResult SendMail(const MailMessage& message) override;
  bool ShowHelp(WindowHandle owner, const std::string& address) override;
  void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) override;
  void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) override;
  void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) override;
  void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) override;

  // Gestures of the script that no dialog or message box took.
  const std::deque<Gesture>& unused_answers() const { return answers_; }

 private:
  // Shows `dialog` and plays gestures on it until it ends.
  template <typename Dialog>
  void Run(Dialog& dialog);

  // 8-bit text of the system code page as UTF-8.
  std::string Utf8(const std::string& narrow) const;

  TerminalDesktopOptions options_;
  std::deque<Gesture> answers_;
  const CodePage& code_page_;
  ActionLog& log_;
  std::istream& in_;
  std::ostream& screen_;
};

}  // namespace qm
