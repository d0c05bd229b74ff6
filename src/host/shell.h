// The port through which the core starts things outside the browser: the
// shell's "open", new processes and the mail program.
#pragma once

#include <string>
#include <vector>

namespace qm {

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

class Shell {
 public:
  virtual ~Shell() = default;

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
};

// A Shell that passes every call to another, so that a wrapper overrides
// only the calls it changes.
// REQUIRES: `target` outlives the wrapper.
class ShellWrapper : public Shell {
 public:
  explicit ShellWrapper(Shell* target) : target_(target) {}

  Shell* target() const { return target_; }

  bool ShellOpen(const std::string& address) override {
    return target_->ShellOpen(address);
  }
  bool StartProcess(const ProcessCommand& command,
                    std::u16string* error_text) override {
    return target_->StartProcess(command, error_text);
  }
  MailResult SendMail(const MailMessage& message) override {
    return target_->SendMail(message);
  }

 private:
  Shell* target_;
};

}  // namespace qm
