// Starting things outside the terminal host: the user's browser for an
// address, a shell for a command line. Neither is waited for.
#pragma once

#include <string>

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

// Starts `command_line` (UTF-8) with /bin/sh -c. On failure stores the
// system's text for the error in *error.
bool LaunchCommand(const std::string& command_line, std::string* error);

}  // namespace qm
