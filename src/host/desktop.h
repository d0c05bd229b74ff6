// The port through which the core talks to the person at the desktop and
// starts things outside the browser: message boxes, beeps, the shell,
// processes and the mail program.
#pragma once

#include <string>
#include <vector>

#include "host/browser_window.h"

namespace qm {

class CAboutDlg;
class CAskConvertDlg;
class CAskCurrencyDlg;
class ChoiceDialog;

enum class MessageIcon { kNone, kExclamation, kStop, kQuestion, kInformation };
enum class MessageButtons { kOk, kYesNo };

struct MessageStyle {
  MessageIcon icon = MessageIcon::kExclamation;
  MessageButtons buttons = MessageButtons::kOk;
  bool second_button_default = false;  // e.g. No as the default of Yes/No
};

// The button that closed a message box, or kFailed when none could be shown.
enum class MessageResult { kOk, kYes, kNo, kCancel, kFailed };

enum class BeepKind {
  kError,        // an unusable command
  kExclamation,  // a page insertion that failed, a missing choice
};

// One recipient of a mail handed to the mail program.
struct MailRecipient {
  enum class Kind { kTo, kCc, kBcc };
  Kind kind = Kind::kTo;
  std::string address;  // 8-bit text, the whole expanded template
};

// A message for the mail program's compose window. Texts are 8-bit text in
// the system code page; an absent subject or note is left unset.
struct MailMessage {
  std::vector<MailRecipient> recipients;
  bool has_subject = false;
  std::string subject;
  bool has_note = false;
  std::string note;
};

// One command to start, in the two forms that platforms take. Both are
// 8-bit text in the system code page.
struct ProcessCommand {
  // The whole line, as CreateProcess takes it and the program splits it.
  std::string command_line;
  // The program and its arguments, each whole, for a platform that starts
  // an argument vector; never empty.
  std::vector<std::string> arguments;
};

enum class MailResult {
  kUnavailable,  // no mail interface on this machine
  kSent,         // the mail program took the message
  kUserAbort,    // the user closed the compose window
  kFailed,       // any other error of the mail interface
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows a message box owned by `owner` (the desktop when 0) and waits for
  // the user.
  virtual MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                                    const std::u16string& caption,
                                    MessageStyle style) = 0;

  virtual void Beep(BeepKind kind) = 0;

  // Asks the shell to carry out "open" on `address` (8-bit text), shown
  // normally. False when the shell refuses.
  virtual bool ShellOpen(const std::string& address) = 0;

  // Starts `command` as a new process and does not wait for it: Windows
  // from its command_line, other platforms from its arguments, without a
  // shell. On failure returns false and stores the platform's own text for
  // the error in *error_text.
  virtual bool StartProcess(const ProcessCommand& command,
                            std::u16string* error_text) = 0;

  // Offers `message` in the mail program's compose window.
  virtual MailResult SendMail(const MailMessage& message) = 0;

  // Shows the help topic at `address` (the help file's path, "::/" and the
  // topic page, as OpenHelpTopic composes it), owned by `owner`. False when
  // the help cannot be shown.
  virtual bool ShowHelp(WindowHandle owner, const std::string& address) = 0;

  // Dialogs. Each shows its model modally, owned by `owner`, forwards the
  // user's gestures to it and returns when the model has ended; the model
  // holds the outcome.
  virtual void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) = 0;
  virtual void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) = 0;
  virtual void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) = 0;
  virtual void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) = 0;
};

}  // namespace qm
