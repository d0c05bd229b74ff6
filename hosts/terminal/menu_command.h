// qmkit WORD [options]: one menu command run end to end, the terminal
// standing in for the browser.
#pragma once

namespace qm {

extern const char kMenuCommandUsage[];

// Runs the menu command argv[1] with the options after it. Returns the exit
// status: 0 when the command ran, 2 for bad usage.
int RunMenuCommand(int argc, char** argv);

}  // namespace qm
