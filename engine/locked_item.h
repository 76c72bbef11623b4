// One locked or hidden item as the listing gives it.
#pragma once

#include <string>

namespace hbx {

struct LockedItem {
    std::u16string path;         // its source path, where its stub stands when it is locked
    std::u16string vault_path;   // its full path inside the vault
    bool is_folder = false;
    bool hidden = false;         // no stub stands at its source path
};

}  // namespace hbx
