#include "terminal_desktop.h"

#include <iostream>
#include <string>

#include "dialog_text.h"
#include "help_page.h"
#include "launcher.h"
#include "posix_module_environment.h"
#include "screen_boxes.h"
#include "screen_dialogs.h"
#include "screen_session.h"
#include "terminal_text.h"
#include "text/utf8.h"

namespace qm {
namespace {

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

TerminalDesktop::~TerminalDesktop() = default;

ScreenSession* TerminalDesktop::Screen() {
  if (!options_.interactive || !options_.full_screen || full_screen_refused_) return nullptr;
  if (!full_screen_) {
    std::string why_not;
    full_screen_ = ScreenSession::Open(&why_not);
    if (!full_screen_) {
      full_screen_refused_ = true;
      std::cerr << "qmkit: no full-screen dialogs (" << why_not
                << "); type gestures at the prompt instead\n";
    }
  }
  return full_screen_.get();
}

void TerminalDesktop::CloseScreen() { full_screen_.reset(); }

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
  if (ScreenSession* full_screen = options_.interactive ? Screen() : nullptr) {
    answer = ShowMessageOnScreen(*full_screen, text, caption, style);
  } else if (options_.interactive) {
    // The error text of a command that could not start may name what the
    // page supplied.
    screen_ << "== " << TerminalSafe(ToUtf8(caption), false) << " ==\n"
            << TerminalSafe(ToUtf8(text), true) << "\n";
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
  // A box that only tells, shown while no dialog is open, is how the system
  // says that an action could not be carried out (a command refused, an
  // address too long, no mail program, ticks not remembered). A start
  // failure was counted where it happened.
  if (!yes_no && dialogs_open_ == 0) {
    if (start_failure_reported_) {
      start_failure_reported_ = false;
    } else {
      std::string line = ToUtf8(text);
      for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
      }
      failed_actions_.push_back(line);
    }
  }
  log_.Add("message").fields = {{"caption", ToUtf8(caption)},
                                {"text", ToUtf8(text)},
                                {"icon", MessageIconName(style.icon)},
                                {"answer", AnswerName(answer)}};
  return answer;
}

void TerminalDesktop::Beep(BeepKind kind) {
  log_.Add("beep").fields = {
      {"sound", kind == BeepKind::kError ? "error" : "exclamation"}};
  // Outside a dialog the exclamation is a link that could not be put into
  // the page and followed; the error sound, a command that could not run.
  if (dialogs_open_ == 0) {
    failed_actions_.push_back(kind == BeepKind::kError
                                  ? "the command could not run on this page"
                                  : "a link could not be followed in the page");
  }
}

bool TerminalDesktop::ShellOpen(const std::string& address) {
  log_.Add("shell-open").fields = {{"url", Utf8(address)}};
  return true;
}

bool TerminalDesktop::StartProcess(const ProcessCommand& command,
                                   std::u16string* error_text) {
  LoggedEvent& e = log_.Add("command");
  // The line is what Windows would be given; here the arguments are
  // started as they are listed.
  e.fields = {{"line", Utf8(command.command_line)}};
  std::vector<std::string> arguments;
  for (const std::string& argument : command.arguments) {
    arguments.push_back(Utf8(argument));
    e.items.push_back({{"argument", arguments.back()}});
  }
  if (!options_.run) {
    e.fields.push_back({"started", "no (without --run the command is only shown)"});
    return true;
  }
  std::string error;
  if (!LaunchCommand(arguments, &error)) {
    e.fields.push_back({"started", "no: " + error});
    const std::string program = arguments.empty() ? std::string() : arguments[0];
    failed_actions_.push_back("could not start the command " + program + ": " + error);
    start_failure_reported_ = true;
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
  LoggedEvent& e = log_.Add("help");
  e.fields = {{"topic", Utf8(address)}};
  const std::string page = HelpPageName(Utf8(address));
  const std::string path = FindHelpPage(help_.folders, page);
  if (path.empty()) {
    e.fields.push_back({"shown", "no: no help page " + (page.empty() ? "named" : page)});
    return false;
  }
  const std::string address_for_browser = FileAddress(path);
  std::string reason;
  if (help_.in_browser && !full_screen_ && LaunchAddress(address_for_browser, &reason)) {
    e.fields.push_back({"opened", address_for_browser});
    return true;
  }
  std::string html;
  // The pages are the product's own; the bound only keeps a stray file out.
  if (!ReadUserFile(path, std::size_t{4} << 20, &html, &reason)) {
    e.fields.push_back({"shown", "no: " + path + ": " + reason});
    return false;
  }
  // On the full screen the page is read there, and the dialog comes back.
  if (full_screen_) {
    ShowTextOnScreen(*full_screen_, page, HtmlToText(html));
    e.fields.push_back({"displayed", path});
    return true;
  }
  screen_ << TerminalSafe(HtmlToText(html), true) << std::flush;
  e.fields.push_back({"printed", path});
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
  ++dialogs_open_;
  if (ScreenSession* full_screen = options_.interactive ? Screen() : nullptr) {
    RunOnScreen(*full_screen, dialog);
  } else if (options_.interactive) {
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
        screen_ << "qmkit: " << TerminalSafe(error, false) << "\n";
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
  --dialogs_open_;
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
