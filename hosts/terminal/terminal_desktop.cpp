#include "terminal_desktop.h"

#include <string>

#include "dialog_text.h"
#include "launcher.h"
#include "strings/string_table.h"
#include "text/utf8.h"

namespace qm {
namespace {

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone: return "none";
    case MessageIcon::kExclamation: return "exclamation";
    case MessageIcon::kStop: return "stop";
    case MessageIcon::kQuestion: return "question";
    case MessageIcon::kInformation: return "information";
  }
  return "";
}

const char* AnswerName(MessageResult result) {
  switch (result) {
    case MessageResult::kOk: return "OK";
    case MessageResult::kYes: return "Yes";
    case MessageResult::kNo: return "No";
    case MessageResult::kCancel: return "Cancel";
    case MessageResult::kFailed: return "failed";
  }
  return "";
}

// Every dialog ends with the same result for Cancel and Escape, the
// system's IDCANCEL.
static_assert(CAskConvertDlg::kIdCancel == kResultCancel);

}  // namespace

TerminalDesktop::TerminalDesktop(TerminalDesktopOptions options,
                                 std::deque<Gesture> answers,
                                 const CodePage& code_page, ActionLog& log,
                                 std::istream& in, std::ostream& screen)
    : options_(options),
      answers_(std::move(answers)),
      code_page_(code_page),
      log_(log),
      in_(in),
      screen_(screen) {}

std::string TerminalDesktop::Utf8(const std::string& narrow) const {
  return ToUtf8(code_page_.ToWide(narrow));
}

MessageResult TerminalDesktop::ShowMessage(WindowHandle, const std::u16string& text,
                                           const std::u16string& caption,
                                           MessageStyle style) {
  const bool yes_no = style.buttons == MessageButtons::kYesNo;
  MessageResult answer = yes_no ? (style.second_button_default ? MessageResult::kNo
                                                               : MessageResult::kYes)
                                : MessageResult::kOk;
  if (options_.interactive) {
    screen_ << "== " << ToUtf8(caption) << " ==\n" << ToUtf8(text) << "\n";
    if (yes_no) {
      screen_ << (style.second_button_default ? "[y/N] " : "[Y/n] ") << std::flush;
      std::string reply;
      if (std::getline(in_, reply) && !reply.empty()) {
        if (reply[0] == 'y' || reply[0] == 'Y') answer = MessageResult::kYes;
        if (reply[0] == 'n' || reply[0] == 'N') answer = MessageResult::kNo;
      }
    } else {
      screen_ << "[OK]\n";
    }
  } else if (!script_fault_.empty()) {
    if (yes_no) answer = MessageResult::kNo;
  } else if (!answers_.empty()) {
    const std::string& word = answers_.front().word;
    const bool taken = word == "ok" || word == "cancel" || (yes_no && (word == "yes" || word == "no"));
    if (taken) {
      if (word == "yes") answer = MessageResult::kYes;
      if (word == "no") answer = MessageResult::kNo;
      if (word == "cancel") answer = yes_no ? MessageResult::kNo : MessageResult::kOk;
      TakeAnswer();
    } else if (yes_no) {
      // A box that only tells something (a refused OK) lets the script go
      // on; a question must be answered by it.
      RecordScriptFault(TakeAnswer(), "the open question takes \"yes\" or \"no\"");
      answer = MessageResult::kNo;
    }
  }
  // The system's one question, Translate's on a page off the Internet, ends
  // the command when answered No.
  if (yes_no) cancelled_ = answer != MessageResult::kYes;
  log_.Add("message").fields = {{"caption", ToUtf8(caption)},
                                {"text", ToUtf8(text)},
                                {"icon", IconName(style.icon)},
                                {"answer", AnswerName(answer)}};
  // The one box that reports a failure of the host itself: a script must
  // learn of it from the exit status, not by reading the log.
  if (text == LoadString(kStringSelectionsNotRemembered)) {
    failed_actions_.push_back(ToUtf8(text));
  }
  return answer;
}

void TerminalDesktop::Beep(BeepKind kind) {
  log_.Add("beep").fields = {
      {"sound", kind == BeepKind::kError ? "error" : "exclamation"}};
}

bool TerminalDesktop::ShellOpen(const std::string& address) {
  log_.Add("shell-open").fields = {{"url", Utf8(address)}};
  return true;
}

bool TerminalDesktop::StartProcess(const std::string& command_line,
                                   std::u16string* error_text) {
  const std::string utf8 = Utf8(command_line);
  LoggedEvent& e = log_.Add("command");
  e.fields = {{"line", utf8}};
  if (!options_.run) {
    e.fields.push_back({"started", "no (without --run the line is only shown)"});
    return true;
  }
  std::string error;
  if (!LaunchCommand(utf8, &error)) {
    e.fields.push_back({"started", "no: " + error});
    failed_actions_.push_back("could not start the command " + utf8 + ": " + error);
    *error_text = FromUtf8(error);
    return false;
  }
  e.fields.push_back({"started", "yes"});
  return true;
}

MailResult TerminalDesktop::SendMail(const MailMessage& message) {
  LoggedEvent& e = log_.Add("mail");
  for (const MailRecipient& r : message.recipients) {
    const char* kind = r.kind == MailRecipient::Kind::kTo   ? "to"
                       : r.kind == MailRecipient::Kind::kCc ? "cc"
                                                            : "bcc";
    e.fields.push_back({kind, Utf8(r.address)});
  }
  if (message.has_subject) e.fields.push_back({"subject", Utf8(message.subject)});
  if (message.has_note) e.fields.push_back({"body", Utf8(message.note)});
  // There is no mail program behind the terminal: the message is shown, and
  // the user has it to send.
  return MailResult::kSent;
}

bool TerminalDesktop::ShowHelp(WindowHandle, const std::string& address) {
  log_.Add("help").fields = {{"topic", Utf8(address)}};
  return true;
}

Gesture TerminalDesktop::TakeAnswer() {
  Gesture gesture = std::move(answers_.front());
  answers_.pop_front();
  ++answers_taken_;
  return gesture;
}

void TerminalDesktop::RecordScriptFault(const Gesture& gesture,
                                        const std::string& reason) {
  std::string written = gesture.word;
  if (!gesture.argument.empty()) written += " " + gesture.argument;
  script_fault_ = "answer " + std::to_string(answers_taken_) + " (\"" + written +
                  "\"): " + reason;
}

template <typename Dialog>
void TerminalDesktop::Run(Dialog& dialog) {
  if (options_.interactive) {
    while (!dialog.result()) {
      DrawDialog(dialog, screen_);
      screen_ << "qmkit> " << std::flush;
      std::string line;
      if (!std::getline(in_, line)) {
        dialog.Cancel();  // end of input closes the dialog
        break;
      }
      std::vector<Gesture> gestures;
      std::string error;
      if (!ParseGestures(line, &gestures, &error) ||
          !PlayGestures(dialog, gestures, &error)) {
        screen_ << "qmkit: " << error << "\n";
      }
    }
  } else {
    while (!dialog.result() && !answers_.empty() && script_fault_.empty()) {
      const Gesture gesture = TakeAnswer();
      std::string error;
      if (!PlayGestures(dialog, {gesture}, &error)) RecordScriptFault(gesture, error);
    }
    if (!dialog.result() && script_fault_.empty()) {
      const std::vector<Gesture> ok{{"ok", ""}};
      std::string error;
      PlayGestures(dialog, ok, &error);
    }
    if (!dialog.result()) dialog.Cancel();
  }
  cancelled_ = dialog.result() == kResultCancel;
  LogDialog(dialog, log_);
}

void TerminalDesktop::RunChoiceDialog(WindowHandle, ChoiceDialog& dialog) {
  dialog.Open();
  Run(dialog);
}

void TerminalDesktop::RunCurrencyDialog(WindowHandle, CAskCurrencyDlg& dialog) {
  dialog.Open();
  Run(dialog);
}

void TerminalDesktop::RunConvertDialog(WindowHandle, CAskConvertDlg& dialog) {
  dialog.Open();
  Run(dialog);
}

void TerminalDesktop::RunAboutDialog(WindowHandle, CAboutDlg& dialog) {
  Run(dialog);
}

}  // namespace qm
