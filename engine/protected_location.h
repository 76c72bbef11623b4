// Which paths must never be locked: the drive roots and the system's special folders.
#pragma once

#include <string>
#include <vector>

namespace hbx {

/// True for a path of three units or fewer: a drive root such as "C:\" (or "C:", or nothing),
/// which is protected without looking at the system's folders.
bool is_root_length(const std::u16string& path);

/// True when `path` must not be locked: it has root length, or it is exactly one of
/// `special_folders` (every UTF-16 unit the same, letter case included, same length; so a
/// trailing backslash or another letter case does not match, and a folder inside a special
/// folder is not protected). Entries that are no file-system path (the shell names virtual
/// folders "::{...}") never match.
bool is_protected_path(const std::u16string& path, const std::vector<std::u16string>& special_folders);

}  // namespace hbx
