// Carrying out an entry's command: a program started with values from the
// page among its arguments, left to run on its own.
#pragma once

#include <string>

#include "catalogue/site_entry.h"
#include "context/request_context.h"
#include "host/code_page.h"
#include "host/desktop.h"
#include "host/shell.h"

namespace qm {

// The command an entry runs, or why it may not run.
struct EntryCommand {
  ProcessCommand process;
  // Empty when the command may run; otherwise the message that says why
  // it is not started.
  std::u16string refusal;
  // When not 0, the line would be longer than this limit, the host's
  // command line or console line (ModuleEnvironment::ExpansionLimits), and
  // nothing else is filled in.
  std::size_t too_long = 0;
};

// The command of `entry`, 8-bit text in the system code page. Inserted
// values are percent-encoded when URLEncode is set.
//
// arguments: the `command` template split into a program and arguments as
// Windows splits a command line (SplitUnwrappedCommand: an interpreter call
// such as cmd /c "…" is unwrapped), each argument expanded on its own, so a
// value stays inside its argument whatever it holds; without URLEncode the
// values go in exactly as they are. The console flags play no part.
//
// command_line, for CreateProcess: the expansion, where without URLEncode
// the characters of a value that mean something to the command interpreter
// (" & | < > ^ % ! and controls) become "_"; !I, the module's folder, goes
// in exactly. Each value stays inside its argument there too: its blanks
// outside the template's quotes are quoted (JoinForProgram). With useConsole it goes in quotes after the interpreter named
// by COMSPEC ("COMMAND.COM" when unset or empty) and "/K " (leaveConsole:
// the console stays open) or "/C " (it closes when the command ends), with
// the values guarded against the interpreter (JoinForInterpreter).
//   ping.exe !H, host "h", useConsole and leaveConsole, COMSPEC cmd.exe:
//     cmd.exe /K "ping.exe h"      arguments {ping.exe} {h}
//
// Refused, with nothing to start: a command with no program, one whose
// program would come from the page, one in which a value from the page
// begins an argument with "-" (the program would read it as an option; no
// host name, address or code of the built-in entries begins so), and one
// with a NUL character, which no argument can carry.
EntryCommand BuildEntryCommand(const SiteEntry& entry, RequestContext& context,
                               const CodePage& code_page);

// BuildEntryCommand's command_line.
std::string BuildCommandLine(const SiteEntry& entry, RequestContext& context,
                             const CodePage& code_page);

// Starts BuildEntryCommand's command as a new process without waiting for
// it. When the start fails, shows the platform's own text for the error,
// and when the command is refused, the reason, under caption string 100,
// with a stop icon and an OK button, owned by the desktop. A line longer
// than its limit starts nothing and is told with ReportTooLong.
void RunEntryCommand(const SiteEntry& entry, RequestContext& context,
                     const CodePage& code_page, Desktop& desktop, Shell& shell);

}  // namespace qm
