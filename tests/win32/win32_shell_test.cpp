#include "win32_shell.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <mapi.h>

#include <string>

#include "stub_calls.h"

namespace qm {
namespace {

// A fresh folder under the user's temporary folder, emptied and removed at
// the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    path_ = std::string(temp, n) + "qm_shell_test-" +
            std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
    ::CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const char* name : {"out.txt", "open.bat", "opened.txt"}) {
      ::DeleteFileA(File(name).c_str());
    }
    ::RemoveDirectoryA(path_.c_str());
  }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// The contents of `path` once it exists and is complete, waiting up to 10 s
// for a program started without waiting to write it.
std::string WaitForFile(const std::string& path, const std::string& ending) {
  std::string text;
  for (int i = 0; i < 500; ++i) {
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      char buffer[256];
      DWORD n = 0;
      ::ReadFile(file, buffer, sizeof buffer, &n, nullptr);
      ::CloseHandle(file);
      text.assign(buffer, n);
      if (text.size() >= ending.size() &&
          text.compare(text.size() - ending.size(), ending.size(), ending) == 0) {
        return text;
      }
    }
    ::Sleep(20);
  }
  return text;
}

TEST(Win32Shell, StartProcessRunsTheLineAndLeavesIt) {
  ScratchFolder folder;
  std::u16string error = u"untouched";
  Win32Shell shell;
  // The first token names the program, found on the search path; the rest
  // reaches it as it stands.
  EXPECT_TRUE(shell.StartProcess(
      {"cmd.exe /c echo started \"two words\"> " + folder.File("out.txt"), {}}, &error));
  EXPECT_EQ(WaitForFile(folder.File("out.txt"), "\r\n"), "started \"two words\"\r\n");
  EXPECT_EQ(error, u"untouched");
}

// A program that cannot be started gives the system's own text for the
// error, without the line break it ends in.
TEST(Win32Shell, StartProcessFailureGivesTheSystemsText) {
  Win32Shell shell;
  std::u16string error;
  EXPECT_FALSE(shell.StartProcess({"qm_no_such_program_4711.exe --flag", {}}, &error));
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, ERROR_FILE_NOT_FOUND, 0x400, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  ASSERT_GT(n, 2u);
  std::u16string expected(reinterpret_cast<const char16_t*>(text), n);
  ::LocalFree(text);
  ASSERT_EQ(expected.substr(expected.size() - 2), u"\r\n");
  expected.resize(expected.size() - 2);
  EXPECT_EQ(error, expected);
}

// "open" carries out a file's default action, here a batch file that leaves
// a mark; a file that is not there is refused.
TEST(Win32Shell, ShellOpenReportsWhetherTheShellTookIt) {
  ScratchFolder folder;
  const std::string script = "@echo opened> \"" + folder.File("opened.txt") + "\"\r\n";
  const HANDLE file = ::CreateFileA(folder.File("open.bat").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, script.data(), static_cast<DWORD>(script.size()), &written, nullptr);
  ::CloseHandle(file);

  Win32Shell shell;
  EXPECT_TRUE(shell.ShellOpen(folder.File("open.bat")));
  EXPECT_EQ(WaitForFile(folder.File("opened.txt"), "\r\n"), "opened\r\n");
  EXPECT_FALSE(shell.ShellOpen(folder.File("missing.bat")));
}

// The stand-in mail program sees the message exactly as simple MAPI
// describes it: recipients with their whole address and no name, the
// subject and note only when set, MAPI_DIALOG, no session or parent.
TEST(Win32Shell, SendMailHandsTheMailProgramTheMessage) {
  const std::string call_line = "session=0 parent=0 flags=" + std::to_string(MAPI_DIALOG) +
                                " reserved=0\nreserved=0\n";
  const std::string empty_fields =
      "type=(null) date=(null) conversation=(null)\n"
      "message_flags=0 originator=(null) files=0 (null)\n";
  struct Case {
    const char* what;
    MailMessage message;
    std::string expected;
  };
  const Case cases[] = {
      {"every field",
       {{{MailRecipient::Kind::kTo, "a@example.com; b@example.com"},
         {MailRecipient::Kind::kCc, "c@example.com"},
         {MailRecipient::Kind::kBcc, "d@example.com"}},
        true, "Subject \xE9", true, "Line 1\r\nLine 2"},
       call_line + "subject=Subject \xE9\nnote=Line 1\r\nLine 2\n" + empty_fields +
           "recipients=3\n"
           "recipient reserved=0 class=1 name=(null) address=a@example.com; b@example.com "
           "eid_size=0 eid=(null)\n"
           "recipient reserved=0 class=2 name=(null) address=c@example.com eid_size=0 "
           "eid=(null)\n"
           "recipient reserved=0 class=3 name=(null) address=d@example.com eid_size=0 "
           "eid=(null)\n"},
      {"no recipient, an empty subject set, no note",
       {{}, true, "", false, ""},
       call_line + "subject=\nnote=(null)\n" + empty_fields + "recipients=0\n"},
      {"a body alone",
       {{}, false, "", true, "text"},
       call_line + "subject=(null)\nnote=text\n" + empty_fields + "recipients=0\n"},
  };
  Win32Shell shell({"qm_mail_program_stub.dll", "MAPISendMail"});
  for (const Case& c : cases) {
    TakeStubRecord("QM_MAPI_STUB_CALL");
    EXPECT_EQ(shell.SendMail(c.message), MailResult::kSent) << c.what;
    EXPECT_EQ(TakeStubRecord("QM_MAPI_STUB_CALL"), c.expected) << c.what;
  }
}

// The mail program's answers, and a library or entry point that is not
// there. The library is released after every attempt.
TEST(Win32Shell, SendMailResults) {
  struct Case {
    MapiLibrary library;
    const char* answer;  // QM_MAPI_STUB_RESULT
    MailResult result;
  };
  const Case cases[] = {
      {{"qm_mail_program_stub.dll", "MAPISendMail"}, "0", MailResult::kSent},
      {{"qm_mail_program_stub.dll", "MAPISendMail"}, "1", MailResult::kUserAbort},
      {{"qm_mail_program_stub.dll", "MAPISendMail"}, "2", MailResult::kFailed},
      {{"qm_mail_program_stub.dll", "MAPISendMail"}, "26", MailResult::kFailed},
      {{"qm_mail_program_stub.dll", "MAPISendMailW"}, "0", MailResult::kUnavailable},
      {{"qm_no_such_mapi.dll", "MAPISendMail"}, "0", MailResult::kUnavailable},
  };
  MailMessage message;
  message.recipients = {{MailRecipient::Kind::kTo, "a@example.com"}};
  for (const Case& c : cases) {
    ::SetEnvironmentVariableA("QM_MAPI_STUB_RESULT", c.answer);
    Win32Shell shell(c.library);
    EXPECT_EQ(shell.SendMail(message), c.result) << c.library.entry << " " << c.answer;
    EXPECT_EQ(::GetModuleHandleA("qm_mail_program_stub.dll"), nullptr);
  }
  ::SetEnvironmentVariableA("QM_MAPI_STUB_RESULT", nullptr);
}

}  // namespace
}  // namespace qm
