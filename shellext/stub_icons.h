// Where the icon of a locked item's type is found: the icon location registered for a file
// type, and the icon of a program file.
#pragma once

#include <string>

namespace hbx::shellext {

struct IconLocation {
    bool found = false;
    std::u16string file;
    int index = 0;
};

/// The registered icon of a file type: for an extension such as ".doc", the DefaultIcon of the
/// ProgID named by the class-root key of the extension; for "." the folder icon
/// (Directory\DefaultIcon). The value is split at its last comma into file and index (0 when
/// none); a value of the expandable kind has its environment variables expanded. Not found for
/// an empty extension, for ".exe" (case ignored), or when a value is missing, unreadable or
/// longer than 259 characters.
IconLocation registered_default_icon(const std::u16string& extension);

/// A form of a full path that the shell's functions can reach. Win32 path handling shortens a
/// name made only of dots, such as the vault's parent folder, so the plain path of an item in
/// the vault names another place; the system's short form of the path has no such name. The
/// path itself when it has no short form (nothing there, or short names turned off).
std::u16string reachable_path(const std::u16string& path);

/// The icon of a program file: the file itself with index 0 when it holds at least one icon,
/// otherwise (no icons, no such file, an empty path) the generic program icon, the system
/// folder's shell32.dll with index 2.
IconLocation executable_icon(const std::u16string& path);

}  // namespace hbx::shellext
