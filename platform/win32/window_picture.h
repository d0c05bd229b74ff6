// Pictures of a program's own windows for the documentation, taken with GDI
// from inside the program (the stand-in browser's menu, the dialogs under
// test).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qm {

// Writes one 24-bit bitmap file of the smallest rectangle holding every
// window, each drawn from its own surface over the ones before it (a menu
// over the window it belongs to). False when the file cannot be written.
bool SaveWindowsPicture(const std::vector<HWND>& windows, const std::wstring& path);

}  // namespace qm
