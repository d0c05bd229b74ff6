// Which addresses a host may open, navigate to, hand to the shell or put in
// a link. An address is a template filled with page text, and a browser or
// launcher given it does whatever it says: take an option
// ("--gpu-launcher=..."), run a script ("javascript:"), open or start a
// local file. Only addresses that show a page or compose a mail pass.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Where the program itself lives, the one place a file: address may point.
// A host that has no such folder (the extension) leaves it empty, and then
// no file: address passes.
struct ProgramFolder {
  std::string url;   // as !I inserts it: "file:///opt/qm/bin/"
  std::string path;  // the same folder on disk: "/opt/qm/bin/"
  // Whether the file at `file_path` (`path` followed by the address's
  // decoded rest, with empty and "." segments dropped) is a program, which
  // a browser might start: the host asks its file system, and answers true
  // when that cannot tell. Empty: no file counts as a program.
  std::function<bool(const std::string& file_path)> is_program = nullptr;
};

// The address to open for `address` (UTF-8, as a template expanded it), or
// nullopt with the reason in *reason:
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
//   OpenableAddress(" https://a.example/ ", {}, &r) -> "https://a.example/"
//   OpenableAddress("javascript:alert(1)", {}, &r) -> nullopt
std::optional<std::string> OpenableAddress(std::string_view address,
                                           const ProgramFolder& program,
                                           std::string* reason);

}  // namespace qm
