// The page the terminal host stands in for, described by command-line
// options: what is selected, the addresses, names and titles of the page
// (or frame) and of the top-level page, the screen.
#pragma once

#include <optional>
#include <string>
#include <utility>

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
  // With nothing selected, a focused link: its text and address.
  std::optional<std::u16string> link_text;
  std::u16string link_href;
};

// Adds the page options to `table`, under a heading of their own: each
// stores its value in *page. A bad --screen value and a file that cannot be
// read are usage errors.
void AddPageOptions(OptionTable& table, PageOptions* page);

// The host name of an address: what stands between "//" (after any
// "user@") and the next "/", ":", "?" or "#"; empty for a file address or
// an address without "//".
//   HostOfAddress(u"https://www.example.com:8080/x") == u"www.example.com"
std::u16string HostOfAddress(std::u16string_view address);

}  // namespace qm
