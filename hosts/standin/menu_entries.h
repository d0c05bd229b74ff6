// The context-menu entries a right-click offers: each registered entry
// names the places on a page where it belongs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::standin {

// What is under the mouse when the menu opens, as the bits of an entry's
// Contexts value.
enum class MenuContext : std::uint32_t {
  kDefault = 0x01,
  kSelection = 0x10,
  kAnchor = 0x20,
};

struct MenuEntry {
  std::wstring text;     // the menu text: the registry key's name
  std::wstring address;  // its default value, a file:/// address
  std::uint32_t contexts = 0;
};

// The entries offered under `context`, in registry order.
std::vector<MenuEntry> EntriesFor(const std::vector<MenuEntry>& entries,
                                  MenuContext context);

}  // namespace qm::standin
