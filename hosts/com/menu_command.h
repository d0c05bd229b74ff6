// What a menu pick does once Click has the window object and the word: the
// Win32 ports are put together for this one command and the core runs it.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstddef>

#include "host/desktop.h"
#include "host/dialog_host.h"
#include "host/module_environment.h"
#include "host/selection_store.h"
#include "host/shell.h"

namespace qm {

// Runs the menu command of the `length` characters at `word` (null when the
// page passed none) against the browser window object `menu_arguments`.
// Reports its own failures to the user; nothing comes back. An unusable
// window object or an unknown word gives one error beep; a word holding a
// NUL is unknown, whatever comes before it.
void RunMenuCommand(IUnknown* menu_arguments, const wchar_t* word, std::size_t length);

// Ports that replace the module's own in every later command; a null one
// leaves the module's own in place. For tests, which answer the dialogs
// and stand in for the mail program without a person at the screen.
struct MenuCommandPorts {
  const ModuleEnvironment* environment = nullptr;
  Desktop* desktop = nullptr;
  Shell* shell = nullptr;
  DialogHost* dialogs = nullptr;
  SelectionStore* selections = nullptr;
};
void SetMenuCommandPorts(const MenuCommandPorts& ports);

}  // namespace qm
