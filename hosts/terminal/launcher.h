// Starting things outside the terminal host: the user's browser for an
// address, a shell for a command line.
#pragma once

#include <string>

namespace qm {

// Hands `address` (UTF-8) to $BROWSER when set, else to xdg-open, without
// waiting for it. False when neither can be started.
bool LaunchAddress(const std::string& address);

// Starts `command_line` (UTF-8) with /bin/sh -c, without waiting for it.
// On failure stores the system's text for the error in *error.
bool LaunchCommand(const std::string& command_line, std::string* error);

}  // namespace qm
