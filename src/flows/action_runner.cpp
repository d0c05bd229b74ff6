#include "flows/action_runner.h"

#include "actions/command_line.h"
#include "actions/mail.h"
#include "actions/navigation.h"
#include "catalogue/catalogue_categories.h"
#include "catalogue/site_entries.h"

namespace qm {

void RunEntry(const SiteEntry& entry, RequestContext& context,
              HostPorts& ports, std::size_t index) {
  if (!entry.command.empty()) {
    RunEntryCommand(entry, context, ports.code_page, ports.desktop, ports.shell);
  }
  if (!entry.href.empty()) {
    FollowHref(entry, context, ports.code_page, ports.desktop);
  } else if (!entry.url.empty()) {
    OpenUrlWindow(entry, context, ports.code_page, ports.desktop, ports.shell,
                  index);
  }
  if (entry.isMail) {
    SendEntryMail(entry, context, ports.code_page, ports.desktop, ports.shell);
  }
}

void RunChosenEntries(const SiteEntryList& entries, RequestContext& context,
                      HostPorts& ports) {
  std::size_t index = 0;
  for (const SiteEntry& entry : entries) {
    if (!entry.selected) continue;
    RunEntry(entry, context, ports, index);
    ++index;
  }
}

void RunSystemEntry(RequestContext& context, HostPorts& ports,
                    std::string_view name) {
  SiteEntryList entries;
  CollectSiteEntries(ports.environment, ports.selections, kSystemSectionPrefix, true,
                     entries);
  for (SiteEntry& entry : entries) entry.selected = entry.name == name;
  RunChosenEntries(entries, context, ports);
}

}  // namespace qm
