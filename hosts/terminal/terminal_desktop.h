// The desktop as the terminal host plays it: dialogs shown in the terminal
// (or played from a script of answers), message boxes as printed questions,
// and every action logged; with --run, command lines are really started.
// It also keeps how the command went: cancelled or not, a script that did
// not fit its dialogs, and the actions that failed.
//
// One class plays all three ports because they share that state: a message
// box counts as a failed action only while no dialog is open, the box after
// a failed start must not count it twice, and message boxes and dialogs
// take their gestures from one script of answers.
#pragma once

#include <deque>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "action_log.h"
#include "dialogs/gesture_script.h"
#include "host/desktop.h"
#include "host/dialog_host.h"
#include "host/shell.h"

namespace qm {

class ScreenSession;

struct TerminalDesktopOptions {
  bool interactive = false;  // ask the person at the terminal
  // When interactive: draw the dialogs and message boxes on the full
  // screen; when the terminal cannot (TERM unknown or dumb), say so once on
  // stderr and ask for gestures at a prompt.
  bool full_screen = false;
  bool run = false;          // --run: start command lines
};

// Where help pages come from and where they go.
struct TerminalHelp {
  // Pages go to the browser ($BROWSER, then xdg-open) rather than being
  // printed; a page that no browser takes is printed all the same.
  bool in_browser = false;
  // Where the pages are, first first (HelpFolders); none at first.
  std::vector<std::string> folders;
};

class TerminalDesktop final : public Desktop, public Shell, public DialogHost {
 public:
  // Without `interactive`, dialogs and message boxes take their gestures
  // from `answers`, first first. A gesture that the open dialog does not
  // take (an unknown word, a line that is not there) is a fault of the
  // script: that dialog and every later one is cancelled and nothing more
  // is played. A dialog still open when the answers run out is confirmed
  // with OK, and cancelled if OK does not close it. A message box takes a
  // leading "ok" or "cancel", a question also "yes" or "no"; any other
  // gesture is left for the dialog when the box only tells something, and
  // is a fault when it asks a question. Without answers a box takes its
  // default button. Dialogs are drawn on `screen`; interactive input comes
  // from `in`.
  TerminalDesktop(TerminalDesktopOptions options, std::deque<Gesture> answers,
                  const CodePage& code_page, ActionLog& log, std::istream& in,
                  std::ostream& screen);
  ~TerminalDesktop() override;

  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string& caption,
                            MessageStyle style) override;
  void Beep(BeepKind kind) override;
  // Logs the address and reports it opened: handing addresses to the
  // user's browser (--open) is the menu command's, after the command.
  bool ShellOpen(const std::string& address) override;
  // Logs the program and its arguments; with --run starts them, without a
  // shell.
  bool StartProcess(const ProcessCommand& command,
                    std::u16string* error_text) override;
  MailResult SendMail(const MailMessage& message) override;
  // Opens the topic page of `address` (its part after "::/") from the
  // help folders in the browser, or prints its text on the screen. False,
  // with nothing shown, when there is no such page.
  bool ShowHelp(WindowHandle owner, const std::string& address) override;
  void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) override;
  void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) override;
  void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) override;
  void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) override;

  void SetHelp(TerminalHelp help) { help_ = std::move(help); }

  // Gives the terminal back from the full screen, if it was taken; the
  // command's output follows on the terminal as it was. The next dialog
  // would take it again.
  void CloseScreen();

  // Gestures of the script that no dialog or message box took.
  const std::deque<Gesture>& unused_answers() const { return answers_; }
  // Why the script of answers did not fit the dialogs, such as
  // answer 2 ("toggle 99"): no line "99" in a list of 3; empty when it fit.
  const std::string& script_fault() const { return script_fault_; }
  // Whether the command's last decision was to cancel: its last dialog
  // ended with Cancel (Escape, the end of input), or its last question was
  // answered No.
  bool cancelled() const { return cancelled_; }
  // One line for each action that failed: a command that could not be
  // started, and every message box or beep by which the system tells of a
  // failure outside its dialogs.
  const std::vector<std::string>& failed_actions() const { return failed_actions_; }

 private:
  // Shows `dialog` and plays gestures on it until it ends.
  template <typename Dialog>
  void Run(Dialog& dialog);

  // The full screen, taken at the first dialog or message box; null when
  // not wanted or not available.
  ScreenSession* Screen();

  // Takes the next gesture of the script, counting it for script_fault().
  Gesture TakeAnswer();
  void RecordScriptFault(const Gesture& gesture, const std::string& reason);

  // 8-bit text of the system code page as UTF-8.
  std::string Utf8(const std::string& narrow) const;

  TerminalDesktopOptions options_;
  TerminalHelp help_;
  std::deque<Gesture> answers_;
  std::size_t answers_taken_ = 0;
  std::string script_fault_;
  bool cancelled_ = false;
  std::vector<std::string> failed_actions_;
  int dialogs_open_ = 0;
  // The message box that follows a failed start tells what was counted.
  bool start_failure_reported_ = false;
  const CodePage& code_page_;
  ActionLog& log_;
  std::istream& in_;
  std::ostream& screen_;
  std::unique_ptr<ScreenSession> full_screen_;
  bool full_screen_refused_ = false;
};

}  // namespace qm
