// The desktop and the shell as the extension provides them: message boxes
// are shown in the extension's dialog window, help topics open in a tab,
// addresses open as tabs, mail goes through mailto: addresses, and commands
// go to the native messaging host when the user installed it.
#pragma once

#include "host/desktop.h"
#include "host/shell.h"

namespace qm {

class ExtensionDesktop final : public Desktop, public Shell {
 public:
  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string& caption, MessageStyle style) override;
  void Beep(BeepKind kind) override;
  // Opens the topic page that ends `address` (after "::/") from the
  // extension's own help folder.
  bool ShowHelp(WindowHandle owner, const std::string& address) override;

  // Asks the extension to open the address as a tab, which it does only
  // when the core's address policy lets the address be opened.
  bool ShellOpen(const std::string& address) override;
  // Sends the argument vector to the native messaging host, which starts it
  // without a shell. Without the host, fails with a text that says how to
  // install it.
  bool StartProcess(const ProcessCommand& command, std::u16string* error_text) override;
  // There is no mail program behind the extension: mail goes as a mailto:
  // address through the browser before this is asked.
  MailResult SendMail(const MailMessage&) override { return MailResult::kUnavailable; }
};

}  // namespace qm
