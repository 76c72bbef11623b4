// The module-wide state of the extension: its instance handle and file, the lock count that
// decides whether Explorer may unload it, and the per-user registration switch.
#pragma once

#include <windows.h>

#include <string>

namespace hbx::shellext {

/// Records the module's instance handle (process attach).
void set_module_instance(HINSTANCE instance);

/// The module that contains this code: the recorded handle, or the image this code was linked
/// into when nothing was recorded.
HINSTANCE module_instance();

/// The full path of the module file (at most 260 characters, as GetModuleFileNameW gives it).
std::u16string module_path();

/// One more reason to stay loaded: a live object, a factory held by a client, a LockServer(TRUE).
void lock_module();

/// One reason fewer.
void unlock_module();

/// The current lock count; the module may be unloaded at 0.
long module_lock_count();

/// From now on for the life of the process, registration writes the class keys per user
/// (HKEY_CURRENT_USER\Software\Classes) instead of machine-wide.
void set_per_user_registration();

/// Whether registration is per user.
bool per_user_registration();

}  // namespace hbx::shellext
