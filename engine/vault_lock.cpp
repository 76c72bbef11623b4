#include "vault_lock.h"

#include "vault.h"

namespace hbx {

std::u16string vault_lock_file(const std::u16string& volume) {
    return vault_root(volume) + u"vault.lock";
}

VaultLock::VaultLock(const std::u16string& volume) {
    if (!platform::is_folder(vault_root(volume))) return;
    error_ = platform::acquire_file_lock(vault_lock_file(volume), vault_lock_wait_ms, lock_);
}

VaultLock::~VaultLock() { release(); }

void VaultLock::release() {
    platform::release_file_lock(lock_);
    lock_ = platform::no_file_lock;
}

}  // namespace hbx
