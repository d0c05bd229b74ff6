// The page the terminal host stands in for, described by command-line
// options: what is selected, the addresses, names and titles of the page
// (or frame) and of the top-level page, the screen.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "context/address_host.h"
#include "option_table.h"

namespace qm {

struct PageOptions {
  std::u16string selection;       // the selected text
  std::u16string html;            // the selection's HTML
  std::u16string url;             // the page or frame the menu is opened on
  std::u16string top_url;         // the top-level page; the page when empty
  std::u16string name;
  std::u16string top_name;
  std::u16string title;
  std::u16string top_title;
  std::optional<std::u16string> host;      // else taken from url
  std::optional<std::u16string> top_host;  // else taken from top_url
  std::optional<std::pair<int, int>> screen;  // available width and height
  // The link the menu was opened on: its text (which stands in for an empty
  // selection) and its address (which the URL command looks up).
  std::optional<std::u16string> link_text;
  std::u16string link_href;
};

// The most a --selection-file or --page file may hold: far more than any
// selection a browser hands over, and little enough to read at once.
inline constexpr std::size_t kMaxPageFileBytes = std::size_t{4} << 20;

// Adds the page options to `table`, under a heading of their own: each
// stores its value in *page. A bad --screen value and a file that cannot be
// read (a device, or one larger than kMaxPageFileBytes among them) are
// usage errors.
void AddPageOptions(OptionTable& table, PageOptions* page);

}  // namespace qm
