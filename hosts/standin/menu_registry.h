// The context-menu entries that components have registered with the
// browser for the current user.
#pragma once

#include <vector>

#include "menu_entries.h"

namespace qm::standin {

// Each subkey of HKCU\Software\Microsoft\Internet Explorer\MenuExt, in the
// registry's order: its name is the menu text, its default value the
// address of the entry's script page, its Contexts value where the entry is
// offered (everywhere when the value is missing, as the browser does).
std::vector<MenuEntry> ReadMenuEntries();

}  // namespace qm::standin
