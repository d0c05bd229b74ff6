// The one way into the system at run time: a menu command word and the
// browser's window object, dispatched to the command's flow. The command
// table here is also what the hosts install and show as menu entries.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "context/request_context.h"
#include "flows/command_word.h"
#include "host/browser_window.h"
#include "host/host_ports.h"

namespace qm {

// The fourteen commands in the order their words are compared, "CONFIG"
// first and then the others alphabetically; also the order in which the
// desktop module registers their menu entries and `qmkit` lists them.
std::span<const CommandWord> CommandWordTable();

// The same commands in the order of their menu_position, as the extension's
// context menu shows them.
std::array<const CommandWord*, 14> CommandsInMenuOrder();

// The command of `word`, compared exactly and case-sensitively in table
// order; null for any other word ("book", "BOOK ", an empty word).
const CommandWord* FindCommand(std::u16string_view word);

// Builds the request context from `arguments` and runs the flow of `word`.
// An unusable window object or an unknown word gives one error beep and
// nothing else, even for "CONFIG". Exactly one flow runs per call.
void Click(std::u16string_view word, MenuArguments* arguments, HostPorts& ports);

}  // namespace qm
