// Stands in for the HTML Help control in the loader's tests. Each call of
// its HtmlHelpA (exported at ordinal 14 only) appends a line naming the
// library's file to the process's environment variable QM_HELP_STUB_CALLS,
// which outlives the library:
//   qm_help_control_stub.dll owner=0x77 file=C:\Dir\qmkit.chm::/HelpISBN.htm command=0 data=0
// It returns the window 0x4242, or none when QM_HELP_STUB_RESULT is "0".
// It is built as several libraries, so a test can tell which file was
// loaded; the one built with QM_SLOW_ATTACH takes a while to load, so that
// callers on other threads arrive while it is loading.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Variable(const char* name) {
  char value[32767];
  const DWORD n = ::GetEnvironmentVariableA(name, value, sizeof value);
  return n == 0 || n >= sizeof value ? std::string() : std::string(value, n);
}

}  // namespace

static char g_name[MAX_PATH + 1];  // the library's file name, without its folder

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(self, path, MAX_PATH);
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  std::snprintf(g_name, sizeof g_name, "%s", name);
#ifdef QM_SLOW_ATTACH
  ::Sleep(300);
#endif
  return TRUE;
}

extern "C" HWND WINAPI StubHtmlHelpA(HWND owner, LPCSTR file, UINT command,
                                     DWORD_PTR data) {
  char line[1024];
  std::snprintf(line, sizeof line, "%s owner=0x%llx file=%s command=%u data=%llu\n",
                g_name,
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(owner)),
                file != nullptr ? file : "(null)", command,
                static_cast<unsigned long long>(data));
  // Threads may call at once; the record is for tests that count calls.
  static SRWLOCK lock = SRWLOCK_INIT;
  ::AcquireSRWLockExclusive(&lock);
  const std::string calls = Variable("QM_HELP_STUB_CALLS") + line;
  ::SetEnvironmentVariableA("QM_HELP_STUB_CALLS", calls.c_str());
  ::ReleaseSRWLockExclusive(&lock);
  if (Variable("QM_HELP_STUB_RESULT") == "0") return nullptr;
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x4242));
}
