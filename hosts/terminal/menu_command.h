// qmkit WORD [options]: one menu command run end to end, the terminal
// standing in for the browser.
#pragma once

namespace qm {

// Runs the menu command argv[1] with the options after it. Returns the exit
// status (exit_status.h): done, bad usage (which includes answers that do
// not fit the dialogs), cancelled, or an action failed.
int RunMenuCommand(int argc, char** argv);

}  // namespace qm
