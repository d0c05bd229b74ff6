// Which addresses the terminal host hands to the user's browser. An address
// is a template filled with page text, and a browser or xdg-open started
// with it does whatever it says: take an option ("--gpu-launcher=..."), run
// a script ("javascript:"), open or start a local file. Only addresses that
// show a page or compose a mail are handed on.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Where the program itself lives, the one place a file: address may point.
struct ProgramFolder {
  std::string url;   // as !I inserts it: "file:///opt/qm/bin/"
  std::string path;  // the same folder on disk: "/opt/qm/bin/"
};

// The address to hand to a browser for `address` (UTF-8, as a template
// expanded it), or nullopt with the reason in *reason:
//  - http:, https:, ftp: and mailto: addresses go as they are;
//  - text without a scheme that looks like a host name, with an optional
//    port and path, gets "https://": "www.example.com/a" ->
//    "https://www.example.com/a";
//  - a file: address goes only when it lies inside `program`'s folder and
//    names no program there;
//  - everything else is refused: other schemes ("javascript:", "data:"),
//    text that begins with "-", empty text, control characters.
// Spaces and line breaks around the address are dropped first, as a
// browser drops them from a typed address.
std::optional<std::string> AddressForBrowser(std::string_view address,
                                             const ProgramFolder& program,
                                             std::string* reason);

}  // namespace qm
