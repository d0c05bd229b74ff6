#include "menu_entries.h"

namespace qm::standin {

std::vector<MenuEntry> EntriesFor(const std::vector<MenuEntry>& entries,
                                  MenuContext context) {
  std::vector<MenuEntry> offered;
  for (const MenuEntry& entry : entries) {
    if ((entry.contexts & static_cast<std::uint32_t>(context)) != 0) offered.push_back(entry);
  }
  return offered;
}

}  // namespace qm::standin
