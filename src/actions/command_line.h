// Carrying out an entry's command: a program started with values from the
// page in its command line, left to run on its own.
#pragma once

#include <string>

#include "catalogue/site_entry.h"
#include "context/request_context.h"
#include "host/code_page.h"
#include "host/desktop.h"

namespace qm {

// The 8-bit command line of `entry`: the expansion of its `command`,
// converted to the system code page. Inserted values are percent-encoded
// when URLEncode is set; otherwise they are made safe for the command
// interpreter (ValueEncoding::kCommandLine) while the template's own text
// stays as written. With useConsole the expansion goes in quotes after the
// interpreter named by COMSPEC ("COMMAND.COM" when unset or empty) and
// "/K " (leaveConsole: the console stays open) or "/C " (it closes when the
// command ends).
//   ping.exe !H, host "h", useConsole and leaveConsole, COMSPEC cmd.exe:
//     cmd.exe /K "ping.exe h"
std::string BuildCommandLine(const SiteEntry& entry, RequestContext& context,
                             const CodePage& code_page);

// Starts BuildCommandLine as a new process without waiting for it. When the
// start fails, shows the platform's own text for the error under caption
// string 100, with a stop icon and an OK button, owned by the desktop.
void RunEntryCommand(const SiteEntry& entry, RequestContext& context,
                     const CodePage& code_page, Desktop& desktop);

}  // namespace qm
