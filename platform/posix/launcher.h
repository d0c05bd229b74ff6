// Starting things outside the terminal host: the user's browser for an
// address, a program with its arguments. Neither is waited for.
#pragma once

#include <string>
#include <vector>

namespace qm {

// Hands `address` (UTF-8) to each command of $BROWSER in turn, then to
// xdg-open, until one of them can be started. $BROWSER is a ":"-separated
// list of commands, each a program and its arguments separated by spaces;
// in an argument "%s" stands for the address and "%%" for "%", and a
// command without "%s" gets the address as its last argument. The address
// is never split, and never the program. Returns true when one was started;
// otherwise false with the reasons in *error (when not null). An address
// that begins with "-" (or is empty) is refused without starting anything,
// as a program could take it for an option.
// Example: BROWSER="nope:run --tab=%s" tries nope ADDRESS, then
// run --tab=ADDRESS, then xdg-open ADDRESS.
bool LaunchAddress(const std::string& address, std::string* error = nullptr);

// Starts the program arguments[0] (looked up in $PATH) with `arguments`
// (UTF-8), no shell between: each argument reaches the program exactly.
// False when it cannot be started (not found, not executable, or
// `arguments` is empty), with the system's text for the error in *error.
bool LaunchCommand(const std::vector<std::string>& arguments, std::string* error);

// LaunchCommand for a host whose standard input and output carry a protocol:
// the program reads and writes /dev/null instead, so it can neither take
// the host's input nor write into its replies. Standard error is shared.
bool LaunchCommandDetached(const std::vector<std::string>& arguments, std::string* error);

}  // namespace qm
