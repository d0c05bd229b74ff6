#include "module.h"

#include "module_file_name.h"

namespace qm {
namespace {

HMODULE g_module = nullptr;
LONG g_lock_count = 0;

// Any function of this module will do; its address names the module.
void AddressInThisModule() {}

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

std::wstring ThisModulePath() { return ModuleFileNameW(ThisModule()); }

void LockModule() { ::InterlockedIncrement(&g_lock_count); }
void UnlockModule() { ::InterlockedDecrement(&g_lock_count); }
LONG ModuleLockCount() {
  return ::InterlockedCompareExchange(&g_lock_count, 0, 0);
}

}  // namespace qm
