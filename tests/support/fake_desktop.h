// A Desktop that records every message, beep, shell call, process and mail,
// and answers message boxes from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/about_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/choice_dialog.h"
#include "dialogs/gesture_script.h"
#include "host/desktop.h"

namespace qm {

class FakeDesktop final : public Desktop {
 public:
  struct Message {
    WindowHandle owner;
    std::u16string text;
    std::u16string caption;
    MessageStyle style;
  };

  // Answers for the next message boxes, first first; kOk once they run out.
  std::deque<MessageResult> answers;
  bool shell_succeeds = true;
  bool process_starts = true;
  std::u16string process_error = u"The system cannot find the file specified.";
  MailResult mail_result = MailResult::kSent;

  std::vector<Message> messages;
  std::vector<BeepKind> beeps;
  std::vector<std::string> shell_opened;
  std::vector<std::string> processes;  // command lines
  std::vector<std::vector<std::string>> process_arguments;
  std::vector<MailMessage> mails;
  std::vector<std::string> help_topics;
  bool help_succeeds = true;
  // When set, each process, shell call and mail is also noted here by kind,
  // in one sequence with the page's own notes (FakeWindow, FakeDocument).
  std::vector<std::string>* journal = nullptr;

  // Every dialog run, first first: its owner and, for the choice and
  // currency dialogs, what the view would show around the list.
  struct ShownDialog {
    WindowHandle owner;
    ChoiceDialogTexts texts;
  };
  std::vector<ShownDialog> shown;

  // Plays the user's part in the converter; without it the dialog is run
  // and left as it opened.
  std::function<void(CAskConvertDlg&)> convert_script;
  int dialogs_run = 0;

  // Gesture scripts for the next choice, currency and about dialogs, one
  // per dialog, first first (see dialogs/gesture_script.h). A dialog with
  // no script left, or still open after its script, is cancelled. A script
  // the dialog cannot play fails the test through `script_errors`.
  std::deque<std::string> scripts;
  std::vector<std::string> script_errors;
  // The dialogs as they were when their scripts ended.
  std::vector<std::u16string> dialog_texts;

  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string& caption,
                            MessageStyle style) override {
    messages.push_back({owner, text, caption, style});
    if (answers.empty()) return MessageResult::kOk;
    const MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Beep(BeepKind kind) override { beeps.push_back(kind); }
  bool ShellOpen(const std::string& address) override {
    shell_opened.push_back(address);
    Note("shell");
    return shell_succeeds;
  }
  bool StartProcess(const ProcessCommand& command,
                    std::u16string* error_text) override {
    processes.push_back(command.command_line);
    process_arguments.push_back(command.arguments);
    Note("process");
    if (!process_starts) *error_text = process_error;
    return process_starts;
  }
  MailResult SendMail(const MailMessage& message) override {
    mails.push_back(message);
    Note("mapi");
    return mail_result;
  }
  bool ShowHelp(WindowHandle, const std::string& address) override {
    help_topics.push_back(address);
    return help_succeeds;
  }
  void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) override {
    shown.push_back({owner, {}});
    ++dialogs_run;
    if (convert_script) convert_script(dialog);
  }
  void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) override {
    shown.push_back({owner, dialog.texts()});
    dialog.Open();
    Play(dialog);
    dialog_texts.push_back(dialog.text());
  }
  void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) override {
    shown.push_back({owner, dialog.texts()});
    dialog.Open();
    Play(dialog);
  }
  void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) override {
    shown.push_back({owner, {}});
    Play(dialog);
  }

 private:
  void Note(const char* kind) {
    if (journal != nullptr) journal->push_back(kind);
  }

  template <typename Dialog>
  void Play(Dialog& dialog) {
    ++dialogs_run;
    if (!scripts.empty()) {
      std::vector<Gesture> gestures;
      std::string error;
      if (!ParseGestures(scripts.front(), &gestures, &error) ||
          !PlayGestures(dialog, gestures, &error)) {
        script_errors.push_back(error);
      }
      scripts.pop_front();
    }
    if (!dialog.result()) dialog.Cancel();
  }
};

}  // namespace qm
