// The HTML Help control, found and loaded on the first help request and
// kept for the life of the process.
#pragma once

#include <windows.h>

namespace qm {

// HtmlHelpA's command that shows one topic page.
inline constexpr UINT kHhDisplayTopic = 0;

// Finds the control's file under `root`\`key` (the default value, at most
// 260 bytes, environment variables expanded when it is REG_EXPAND_SZ) and
// loads it, or else loads `fallback` by name through the DLL search order,
// and takes the export with `ordinal`. That happens once, on the first call;
// a failure to load the file or to find the export is final, and every
// later call returns nullptr at once without trying again. The module
// stays loaded for the life of the process.
//
// Objects of the component may live in several apartments, so two threads
// can ask for help at the same moment: the one resolution runs under
// InitOnceExecuteOnce, and every caller sees the finished result. Usable
// from any thread.
class HtmlHelpLoader {
 public:
  struct Location {
    HKEY root;
    const char* key;       // below `root`; its default value names the file
    const char* fallback;  // the file to load by name when that fails
    WORD ordinal;          // of the ANSI HtmlHelp entry point
  };

  // Where the system registers the HTML Help control: its class's
  // InprocServer32 under HKEY_CLASSES_ROOT, "hhctrl.ocx", ordinal 14.
  static Location ControlLocation();

  // The loader of ControlLocation() that every help request of the process
  // shares.
  static HtmlHelpLoader& Process();

  // REQUIRES: the strings of `where` outlive the loader.
  explicit HtmlHelpLoader(const Location& where) : where_(where) {}
  HtmlHelpLoader(const HtmlHelpLoader&) = delete;
  HtmlHelpLoader& operator=(const HtmlHelpLoader&) = delete;

  // Calls the control's entry point with the four arguments and returns
  // its result (a window handle or nullptr); nullptr when the control could
  // not be had.
  HWND HtmlHelpA(HWND owner, const char* file, UINT command, DWORD_PTR data);

 private:
  using Entry = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

  static BOOL CALLBACK Resolve(PINIT_ONCE once, PVOID loader, PVOID* context);
  HMODULE LoadFromRegistry() const;

  Location where_;
  INIT_ONCE once_ = INIT_ONCE_STATIC_INIT;
  Entry entry_ = nullptr;  // written once, inside the one resolution
};

}  // namespace qm
