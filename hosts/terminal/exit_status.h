// The exit statuses of qmkit, one table for every menu command and tool.
// Scripts rely on these numbers: never renumber them.
#pragma once

namespace qm {

enum ExitStatus : int {
  kExitDone = 0,          // the command or tool did what was asked
  kExitNothingFound = 1,  // a tool's answer is "no" or "nothing found"
  kExitUsage = 2,         // bad usage, or an input file that cannot be read
  kExitCancelled = 3,     // the user cancelled a dialog (Cancel, Escape, "No")
  kExitActionFailed = 4,  // a window not opened, a command not started, ticks not saved
};

}  // namespace qm
