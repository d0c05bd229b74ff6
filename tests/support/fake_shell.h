// A Shell that records every shell call, process and mail, and fails them
// on request.
#pragma once

#include <string>
#include <vector>

#include "host/shell.h"

namespace qm {

class FakeShell final : public Shell {
 public:
  bool shell_succeeds = true;
  bool process_starts = true;
  std::u16string process_error = u"The system cannot find the file specified.";
  MailResult mail_result = MailResult::kSent;

  std::vector<std::string> shell_opened;
  std::vector<std::string> processes;  // command lines
  std::vector<std::vector<std::string>> process_arguments;
  std::vector<MailMessage> mails;
  // When set, each process, shell call and mail is also noted here by kind,
  // in one sequence with the page's own notes (FakeWindow, FakeDocument).
  std::vector<std::string>* journal = nullptr;

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

 private:
  void Note(const char* kind) {
    if (journal != nullptr) journal->push_back(kind);
  }
};

}  // namespace qm
