#include "html_help_loader.h"

#include "win32_handles.h"

namespace qm {

HtmlHelpLoader::Location HtmlHelpLoader::ControlLocation() {
  return {HKEY_CLASSES_ROOT,
          "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32",
          "hhctrl.ocx", 14};
}

HtmlHelpLoader& HtmlHelpLoader::Process() {
  static HtmlHelpLoader loader(ControlLocation());
  return loader;
}

HMODULE HtmlHelpLoader::LoadFromRegistry() const {
  ScopedRegistryKey key;
  if (::RegOpenKeyExA(where_.root, where_.key, 0, KEY_READ, key.receive()) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  char path[MAX_PATH + 1] = {};
  DWORD type = 0;
  DWORD size = MAX_PATH;  // one byte short of the buffer: the NUL is ours
  if (::RegQueryValueExA(key.get(), nullptr, nullptr, &type,
                         reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS) {
    return nullptr;
  }
  if (type == REG_SZ) return ::LoadLibraryA(path);
  if (type != REG_EXPAND_SZ) return nullptr;
  // Such as %SystemRoot%\System32\hhctrl.ocx.
  char expanded[MAX_PATH + 1] = {};
  const DWORD n = ::ExpandEnvironmentStringsA(path, expanded, sizeof expanded);
  if (n == 0 || n > sizeof expanded) return nullptr;
  return ::LoadLibraryA(expanded);
}

BOOL CALLBACK HtmlHelpLoader::Resolve(PINIT_ONCE, PVOID parameter, PVOID*) {
  HtmlHelpLoader& loader = *static_cast<HtmlHelpLoader*>(parameter);
  HMODULE module = loader.LoadFromRegistry();
  if (module == nullptr) module = ::LoadLibraryA(loader.where_.fallback);
  if (module == nullptr) return TRUE;  // given up: entry_ stays null
  // The module is never freed: the entry point must stay valid for every
  // later call.
  loader.entry_ = reinterpret_cast<Entry>(reinterpret_cast<void*>(
      ::GetProcAddress(module, MAKEINTRESOURCEA(loader.where_.ordinal))));
  return TRUE;
}

HWND HtmlHelpLoader::HtmlHelpA(HWND owner, const char* file, UINT command,
                               DWORD_PTR data) {
  // Resolve never fails, so once_ completes on the first call and entry_ is
  // published to every thread that gets past this line.
  ::InitOnceExecuteOnce(&once_, &Resolve, this, nullptr);
  if (entry_ == nullptr) return nullptr;
  return entry_(owner, file, command, data);
}

}  // namespace qm
