// Carrying out the chosen entries of a category.
#pragma once

#include <cstddef>
#include <string_view>

#include "catalogue/site_entry.h"
#include "context/request_context.h"
#include "host/host_ports.h"

namespace qm {

// Carries out one entry, each step whatever the others did: its command,
// then its link (href) or else its window (url), then its mail. `index` is
// the entry's place among the chosen entries of this run, from 0; it
// cascades the new windows.
void RunEntry(const SiteEntry& entry, RequestContext& context,
              HostPorts& ports, std::size_t index);

// Carries out every chosen entry in list order; a failing entry does not
// stop the others.
void RunChosenEntries(const SiteEntryList& entries, RequestContext& context,
                      HostPorts& ports);

// Carries out the system entry of exactly that name (such as "SYSTEM:Home")
// from the built-in system catalogue, with no dialog and nothing
// remembered. A name that matches no entry runs nothing.
void RunSystemEntry(RequestContext& context, HostPorts& ports,
                    std::string_view name);

}  // namespace qm
