// Starting things outside the terminal host: the user's browser for an
// address, a shell for a command line. Neither is waited for.
#pragma once

#include <string>
#include <vector>

namespace qm {

// The commands of a $BROWSER value for `address`, each as the argument list
// to start, in the order to try them. The value is a ":"-separated list of
// commands; a command is a program and its arguments separated by blanks.
// In an argument "%s" stands for the address and "%%" for "%"; a command
// with no "%s" gets the address as its last argument. The address always
// stays one argument of its own or inside one, never split and never the
// program: a command whose program holds "%s" is left out, and so are empty
// commands.
// Example: "nope:run --tab=%s" -> {{"nope", A}, {"run", "--tab=" + A}}.
std::vector<std::vector<std::string>> BrowserCommands(const std::string& browser,
                                                      const std::string& address);

// Hands `address` (UTF-8) to each command of $BROWSER in turn, then to
// xdg-open, until one of them can be started. Returns true when one was
// started; otherwise false with the reason in *error. An address that
// begins with "-" (or is empty) is refused without starting anything, as a
// program could take it for an option.
bool LaunchAddress(const std::string& address, std::string* error = nullptr);

// Starts `command_line` (UTF-8) with /bin/sh -c. On failure stores the
// system's text for the error in *error.
bool LaunchCommand(const std::string& command_line, std::string* error);

}  // namespace qm
