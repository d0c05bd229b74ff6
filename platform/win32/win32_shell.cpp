#include "win32_shell.h"

#include <windows.h>
#include <mapi.h>
#include <shellapi.h>

#include <vector>

#include "win32_handles.h"

namespace qm {
namespace {

// The system's text for `error`, as FormatMessage gives it.
std::u16string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(&buffer), 0,
      nullptr);
  std::u16string text;
  if (length != 0 && buffer != nullptr) {
    text.assign(reinterpret_cast<const char16_t*>(buffer), length);
  }
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) {
    text.pop_back();
  }
  if (text.empty()) {
    for (const char digit : "Error " + std::to_string(error)) text.push_back(digit);
  }
  return text;
}

// A library loaded for one call and released after it.
class ScopedLibrary {
 public:
  explicit ScopedLibrary(const std::string& file) : module_(::LoadLibraryA(file.c_str())) {}
  ~ScopedLibrary() {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }
  ScopedLibrary(const ScopedLibrary&) = delete;
  ScopedLibrary& operator=(const ScopedLibrary&) = delete;

  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

// MAPI's text fields are LPSTR; it only reads them.
LPSTR Field(std::string& text) { return text.data(); }

}  // namespace

bool Win32Shell::ShellOpen(const std::string& address) {
  const HINSTANCE result = ::ShellExecuteA(nullptr, "open", address.c_str(),
                                           nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::StartProcess(const ProcessCommand& command,
                              std::u16string* error_text) {
  // CreateProcessA may write into the line.
  std::vector<char> line(command.command_line.begin(), command.command_line.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    *error_text = SystemErrorText(::GetLastError());
    return false;
  }
  // Nothing waits for the program.
  ScopedHandle process_handle(process.hProcess);
  ScopedHandle thread_handle(process.hThread);
  return true;
}

MailResult Win32Shell::SendMail(const MailMessage& message) {
  const ScopedLibrary library(mail_.file);
  if (library.get() == nullptr) return MailResult::kUnavailable;
  const auto send = reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(
      ::GetProcAddress(library.get(), mail_.entry.c_str())));
  if (send == nullptr) return MailResult::kUnavailable;

  MailMessage copy = message;
  std::vector<MapiRecipDesc> recipients(copy.recipients.size());
  for (std::size_t i = 0; i < recipients.size(); ++i) {
    MailRecipient& recipient = copy.recipients[i];
    recipients[i] = {};
    recipients[i].ulRecipClass = recipient.kind == MailRecipient::Kind::kTo   ? MAPI_TO
                                 : recipient.kind == MailRecipient::Kind::kCc ? MAPI_CC
                                                                              : MAPI_BCC;
    recipients[i].lpszAddress = Field(recipient.address);
  }
  MapiMessage mapi = {};
  if (copy.has_subject) mapi.lpszSubject = Field(copy.subject);
  if (copy.has_note) mapi.lpszNoteText = Field(copy.note);
  mapi.nRecipCount = static_cast<ULONG>(recipients.size());
  mapi.lpRecips = recipients.empty() ? nullptr : recipients.data();

  switch (send(0, 0, &mapi, MAPI_DIALOG, 0)) {
    case SUCCESS_SUCCESS: return MailResult::kSent;
    case MAPI_USER_ABORT: return MailResult::kUserAbort;
    default: return MailResult::kFailed;
  }
}

}  // namespace qm
