// What a menu pick does once Click has the window object and the word.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace qm {

// Runs the menu command `word` (null when the page passed none) against the
// browser window object `menu_arguments`. Reports its own failures to the
// user; nothing comes back.
void RunMenuCommand(IUnknown* menu_arguments, const wchar_t* word);

}  // namespace qm
