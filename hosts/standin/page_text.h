// Text work of the stand-in that needs no window: the script inside a menu
// entry's page, which entries a right-click offers, the link inside an
// inserted fragment, and lines for the event log.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// The script between the first <SCRIPT ...> and the </SCRIPT> after it,
// tags matched without regard to case; none when either tag is missing.
std::optional<std::string> ScriptOfPage(std::string_view page);

// The file that a menu entry's address names: the address without its
// "file:///" (any case); none for any other kind of address.
std::optional<std::wstring> FileOfAddress(std::wstring_view address);

// The host part of an absolute address ("https://h.example:8080/x" gives
// "h.example"); empty when there is none.
std::wstring HostOf(std::wstring_view address);

// An <A ...> fragment as the module inserts it into a page.
struct InsertedAnchor {
  std::wstring id, href, target;
};
// The anchors of an HTML fragment, attribute values unquoted and their
// character references (&amp; &lt; &gt; &quot; &#39; &#NN;) decoded.
std::vector<InsertedAnchor> AnchorsOf(std::wstring_view fragment);

// A text for one line of the log: control characters and backslashes are
// written as \xNN, so a page's text can never start a line of its own.
std::string LogText(std::wstring_view text);

}  // namespace qm::standin
