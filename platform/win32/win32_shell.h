// The shell on Windows: ShellExecute's "open", CreateProcess, and simple
// MAPI loaded when a mail is to be sent.
#pragma once

#include <string>
#include <utility>

#include "host/shell.h"

namespace qm {

// The simple MAPI library and its send entry point. Tests name a library
// of their own that stands in for the mail program.
struct MapiLibrary {
  std::string file = "MAPI32.DLL";
  std::string entry = "MAPISendMail";
};

class Win32Shell final : public Shell {
 public:
  explicit Win32Shell(MapiLibrary mail = {}) : mail_(std::move(mail)) {}

  // ShellExecuteA(nullptr, "open", address, nullptr, nullptr,
  // SW_SHOWNORMAL); true when it reports more than 32.
  bool ShellOpen(const std::string& address) override;

  // CreateProcessA with the command line alone (its first token names the
  // program, found by the system's search rules), no handle inheritance,
  // no creation flags, the caller's environment and folder. The new
  // process's handles are closed at once. On failure *error_text is the
  // system's text for GetLastError in the user's language, without the
  // line break at its end; "Error " and the number when the system has no
  // text for it.
  bool StartProcess(const ProcessCommand& command,
                    std::u16string* error_text) override;

  // Loads the mail library for this one message and releases it after:
  // MAPISendMail with no session and no parent window, MAPI_DIALOG, one
  // recipient per entry of `message` with its whole address and no name,
  // the subject and note text only when set. kUnavailable when the library
  // or its entry point is missing; SUCCESS_SUCCESS gives kSent,
  // MAPI_USER_ABORT kUserAbort, any other result kFailed.
  MailResult SendMail(const MailMessage& message) override;

 private:
  MapiLibrary mail_;
};

}  // namespace qm
