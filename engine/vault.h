// The vault tree of a volume and the drive lists the engine walks.
//
//   X:\...\hbx\            vault root: "path.list", "options.cfg", the data folder, and
//                          "vault.lock" and (while needed) "sources.list"
//   X:\...\hbx\data\       one item folder per source folder
//   X:\...\hbx\data\<H>\   the items, H = hash_text of their source folder's directory part
//
// The parent folder "..." has four dots on Windows 5 and earlier; the version is asked each
// time a vault path is built.
#pragma once

#include "platform/platform.h"

#include <string>
#include <vector>

namespace hbx {

/// One logical drive as "X:\" with its type.
struct DriveRoot {
    std::u16string root;
    platform::DriveType type;
};

/// "..." or "...." for the running system.
std::u16string vault_parent_name();

/// The vault's parent folder of a volume string (a drive letter and colon, with or without
/// its backslash), with a trailing backslash: "C:\...\".
std::u16string vault_parent(const std::u16string& volume);

/// "C:\...\hbx\".
std::u16string vault_root(const std::u16string& volume);

/// "C:\...\hbx\data\".
std::u16string data_folder(const std::u16string& volume);

/// The item folder of a directory part: data_folder(volume) followed by hash_text(directory).
std::u16string item_folder(const std::u16string& volume, const std::u16string& directory);

/// Every logical drive with its type, in drive order (GetLogicalDriveStringsW).
std::vector<DriveRoot> drive_roots();

/// True for the drive types whose items are listed: fixed and removable.
bool is_item_volume_type(platform::DriveType type);

/// Every logical drive, whatever its type, as "X:\", in drive order.
std::vector<std::u16string> all_drive_roots();

/// The fixed and removable drives as "X:\", in drive order: the volumes that are listed.
std::vector<std::u16string> item_volumes();

}  // namespace hbx
