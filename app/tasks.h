// Carrying out the task that the command line chose, and the process's exit code.
//
// Every task but the main window first loads the stored interface language. "-p" locks again
// every pending item without showing a window. The windows that this build does not contain
// yet (main window, lock, unlock and uninstall dialogs) are not pretended: the task says so in
// a warning box and ends with the exit code the task would give when the user did nothing (1
// for the uninstallation, which is then not confirmed).
#pragma once

#include "start_task.h"

namespace hbx::app {

/// Runs `choice` and returns the process's exit code.
int runTask(const TaskChoice& choice);

}  // namespace hbx::app
