// The one way into the system at run time: a menu command word and the
// browser's window object, dispatched to the command's flow.
#pragma once

#include <span>
#include <string_view>

#include "context/request_context.h"
#include "host/browser_window.h"
#include "host/host_ports.h"

namespace qm {

using FlowFunction = void (*)(RequestContext& context, HostPorts& ports);

struct CommandWord {
  std::u16string_view word;
  FlowFunction flow;
};

// The fourteen command words in the order they are compared, "CONFIG"
// first.
std::span<const CommandWord> CommandWordTable();

// The flow of `word`, compared exactly and case-sensitively in table order;
// null for any other word ("book", "BOOK ", an empty word).
FlowFunction FindCommandFlow(std::u16string_view word);

// Builds the request context from `arguments` and runs the flow of `word`.
// An unusable window object or an unknown word gives one error beep and
// nothing else, even for "CONFIG". Exactly one flow runs per call.
void Click(std::u16string_view word, MenuArguments* arguments, HostPorts& ports);

}  // namespace qm
