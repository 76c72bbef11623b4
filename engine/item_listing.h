// The listing of the items in a volume's vault.
#pragma once

#include "locked_item.h"

#include <string>
#include <vector>

namespace hbx {

/// Appends the items of the vault of `volume` (a drive root): for each item folder of the data
/// folder and each item in it, in the order the file system lists them, the item's source path
/// (its own directory part from the source record, else the lock list's for the folder, else
/// a folder named by the hash at the volume root), its vault path, whether it is a folder, and
/// whether it is hidden (no stub at its source path). An empty data folder adds nothing and
/// its lock list is not read; unreadable files only make the listing shorter.
void list_volume(const std::u16string& volume, std::vector<LockedItem>& items);

}  // namespace hbx
