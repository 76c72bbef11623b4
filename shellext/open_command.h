// The open command of the two stub file types: it starts the program with the stub's path.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace hbx::shellext {

/// The key of an extension's open command, relative to the class root, built with the format
/// "\%ls\shell\open\command" from the extension without its leading dot: for ".hbxfile" a
/// backslash followed by hbxfile\shell\open\command.
std::u16string open_command_key(std::u16string_view extension);

/// The command: the program path unquoted, a space, and %1 in double quotes.
std::u16string open_command_text(std::u16string_view program);

/// Writes open_command_text(locate_program()) as the default value (REG_SZ) of the open
/// command of `extension`, a key that registration created moments before. The key is opened,
/// not created, under the class root the registration wrote to: HKEY_CLASSES_ROOT, or
/// HKEY_CURRENT_USER\Software\Classes when the registration is per user.
/// @returns ERROR_SUCCESS or the registry error.
LONG rewrite_open_command(std::u16string_view extension);

}  // namespace hbx::shellext
