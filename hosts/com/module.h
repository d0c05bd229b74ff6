// What the whole module shares: its own handle and path, and the lock count
// that decides whether COM may unload it. Objects live in several apartments
// at once, so the count changes only through interlocked operations.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// The module that holds this code: the DLL's handle once DllMain has handed
// it over, otherwise (code linked into a test program) the module found from
// an address of its own.
HMODULE ThisModule();
void SetThisModule(HMODULE module);

// The full path of ThisModule(), or empty when it cannot be had.
std::wstring ThisModulePath();

// Counts living objects and class-factory locks.
void LockModule();
void UnlockModule();
LONG ModuleLockCount();

}  // namespace qm
