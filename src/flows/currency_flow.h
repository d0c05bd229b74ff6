// The CURRENCY command: amount and currencies from the page, confirmed in
// the currency dialog, then the chosen converter sites.
#pragma once

#include "context/request_context.h"
#include "flows/command_word.h"
#include "host/host_ports.h"

namespace qm {

// The currency the target box starts at: the user's own, unless that is
// the source's too; then US dollars, or Canadian dollars when both are
// already US dollars.
const CurrencyInfo* InitialTargetCurrency(const CurrencyInfo* source,
                                          const CurrencyInfo* local);

// After OK: the typed amount becomes the selection (as typed), the ticks
// are remembered, the two currencies become the request's, and the chosen
// sites open with them. Cancel stores nothing and runs nothing.
void RunCurrencyFlow(const CommandWord& command, RequestContext& context,
                     HostPorts& ports);

}  // namespace qm
