#include "pending_list.h"

#include "files.h"
#include "options.h"
#include "password.h"
#include "paths.h"
#include "vault.h"
#include "vault_lock.h"

namespace hbx {

platform::Error record_pending(const std::u16string& path, LOCK_TYPE type) {
    const std::u16string volume = drive_prefix(path);
    if (const platform::Error e = create_folder_chain(vault_root(volume))) return e;
    VaultLock lock(volume);
    if (lock.error() != 0) return lock.error();
    Options options = Options::create(options_file(volume));
    if (!options.load()) {
        const std::u16string stored = stored_password_hash();
        if (!stored.empty()) options.password = stored;
        options.machine.clear();
    }
    options.add_pending(pending_key(path), type);
    return options.save();
}

platform::Error forget_pending(const std::u16string& path) {
    const std::u16string volume = drive_prefix(path);
    const std::u16string key = pending_key(path);
    // Most locks have nothing pending: look before taking the lock.
    Options options = Options::create(options_file(volume));
    if (!options.load() || options.pending.count(key) == 0) return platform::err::success;
    VaultLock lock(volume);
    if (lock.error() != 0) return lock.error();
    if (!options.load() || options.pending.erase(key) == 0) return platform::err::success;
    return options.save();
}

platform::Error forget_pending(const std::u16string& volume,
                               const std::vector<std::u16string>& keys) {
    VaultLock lock(volume);
    if (lock.error() != 0) return lock.error();
    Options options = Options::create(options_file(volume));
    if (!options.load()) return platform::err::success;
    for (const auto& key : keys) options.pending.erase(key);
    return options.save();
}

}  // namespace hbx
