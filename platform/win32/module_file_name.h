// The full path of a loaded module, in the 8-bit ANSI form or wide.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// GetModuleFileName of `module`, given more room than MAX_PATH when the
// path needs it. Empty when the call fails or the path is longer than the
// longest the system allows: a cut path is never handed out.
std::string ModuleFileNameA(HMODULE module);
std::wstring ModuleFileNameW(HMODULE module);

}  // namespace qm
