// How an engine failure is shown: "%1 (%2)", the message of its code and the system error
// number. The messages are translated once per process, at the first use, and keep that
// language afterwards, also when the main window changes the language later.
#pragma once

#include "lock_result.h"

#include <QString>

namespace hbx::app {

QString resultText(const LockError& error);

}  // namespace hbx::app
