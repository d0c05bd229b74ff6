#include "module.h"

#include <algorithm>

namespace qm {
namespace {

HMODULE g_module = nullptr;
LONG g_lock_count = 0;

// Any function of this module will do; its address names the module.
void AddressInThisModule() {}

// Long-path names allow up to 32767 characters; nothing longer exists.
constexpr DWORD kLongestPath = 32768;

}  // namespace

HMODULE ThisModule() {
  if (g_module != nullptr) return g_module;
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&AddressInThisModule),
                            &module)) {
    return nullptr;
  }
  return module;
}

void SetThisModule(HMODULE module) { g_module = module; }

std::wstring ThisModulePath() {
  const HMODULE module = ThisModule();
  if (module == nullptr) return {};
  // A full buffer means the name may have been cut: try again with more
  // room rather than register a truncated path.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD n = ::GetModuleFileNameW(module, path.data(), size);
    if (n == 0) return {};
    if (n < size) {
      path.resize(n);
      return path;
    }
    if (size >= kLongestPath) return {};
    path.resize(std::min<DWORD>(size * 2, kLongestPath));
  }
}

void LockModule() { ::InterlockedIncrement(&g_lock_count); }
void UnlockModule() { ::InterlockedDecrement(&g_lock_count); }
LONG ModuleLockCount() {
  return ::InterlockedCompareExchange(&g_lock_count, 0, 0);
}

}  // namespace qm
