// The page the terminal host stands in for, described by command-line
// options: what is selected, the addresses, names and titles of the page
// (or frame) and of the top-level page, the screen.
#pragma once

#include <optional>
#include <string>
#include <utility>

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

// The usage lines of the page options, for --help texts.
extern const char kPageOptionsUsage[];

// Takes the option at argv[*i] (and its value) when it is a page option,
// advancing *i past it. Returns false when argv[*i] is no page option; on a
// page option with a missing or bad value, or an unreadable file, returns
// true and stores a description in *error.
bool TakePageOption(int argc, char** argv, int* i, PageOptions* page,
                    std::string* error);

// The host name of an address: what stands between "//" (after any
// "user@") and the next "/", ":", "?" or "#"; empty for a file address or
// an address without "//".
//   HostOfAddress(u"https://www.example.com:8080/x") == u"www.example.com"
std::u16string HostOfAddress(std::u16string_view address);

}  // namespace qm
