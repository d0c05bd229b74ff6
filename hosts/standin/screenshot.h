// Pictures of the stand-in's own windows for the documentation, taken with
// GDI from inside the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qm::standin {

// Writes one 24-bit bitmap file of the smallest rectangle holding every
// window, each drawn from its own surface over the ones before it (a menu
// over the window it belongs to). False when the file cannot be written.
bool SaveWindowsPicture(const std::vector<HWND>& windows, const std::wstring& path);

}  // namespace qm::standin
