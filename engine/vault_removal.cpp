// Removal of the vaults that hold no item any more (run at uninstallation).
#include "lock_service.h"

#include "files.h"
#include "item_listing.h"
#include "lock_list.h"
#include "options.h"
#include "paths.h"
#include "source_record.h"
#include "vault.h"
#include "vault_lock.h"

namespace hbx {

void LockService::remove_empty_vaults() {
    for (const auto& root : all_drive_roots()) {
        const std::u16string vault = vault_root(root);
        const std::u16string dots = vault.substr(0, vault.size() - 4);   // without "hbx\"
        if (!platform::exists(dots)) continue;
        VaultLock vault_lock(root);
        if (vault_lock.error() != 0) continue;   // a writer is busy with this vault
        std::vector<LockedItem> items;
        list_volume(root, items);
        if (!items.empty()) continue;

        // Each step's failure is ignored: what cannot go stays, files of the data folder too.
        const std::u16string data = data_folder(root);
        for (const auto& entry : list_folder(data)) {
            if (entry.is_folder) platform::remove_folder(combine(data, entry.name));
        }
        platform::remove_folder(data);
        platform::delete_file(options_file(root));
        platform::delete_file(lock_list_file(root));
        platform::delete_file(source_record_file(root));
        // The lock file goes last. Where a held file can be deleted (Linux) it goes while it is
        // held, so that a writer waiting for it finds it gone and makes its own; elsewhere
        // (Windows) it goes after letting go, unless another writer holds it by then.
        const std::u16string lock_file = vault_lock_file(root);
        if (platform::delete_file(lock_file) == platform::err::success) {
            vault_lock.release();
        } else {
            vault_lock.release();
            platform::delete_file(lock_file);
        }
        platform::remove_folder(vault);
        platform::remove_folder(dots);
    }
}

}  // namespace hbx
