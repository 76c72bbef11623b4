// The lock that serialises the writers of one vault.
//
// Every change of a vault's own files (options file, lock list, source record) reads the file,
// changes it in memory and writes it whole. Two processes of the program that did that on one
// volume at the same moment would each write back what they read, and the later one would
// lose the other's entry. Writers therefore hold the vault's lock, the file "vault.lock" in the
// vault root, from their read to their write. Readers that only read do not take it.
#pragma once

#include "platform/platform.h"

#include <string>

namespace hbx {

/// How long a writer waits for a vault's lock before it gives up with ERROR_TIMEOUT.
constexpr unsigned vault_lock_wait_ms = 5000;

/// "X:\...\hbx\vault.lock".
std::u16string vault_lock_file(const std::u16string& volume);

/// Holds the lock of one vault for its lifetime.
class VaultLock {
public:
    /// Takes the lock of the vault of `volume` (a volume string). A volume without vault root
    /// has no files to guard and needs no lock: then nothing is held and error() is 0. Callers
    /// that are about to create the vault create its root first.
    explicit VaultLock(const std::u16string& volume);
    ~VaultLock();
    VaultLock(const VaultLock&) = delete;
    VaultLock& operator=(const VaultLock&) = delete;

    /// 0 when the lock is held or not needed; 1460 when another writer kept it too long; or
    /// the error that kept the lock file from being opened.
    platform::Error error() const { return error_; }

    /// Lets go early (the destructor does it otherwise).
    void release();

private:
    platform::FileLock lock_ = platform::no_file_lock;
    platform::Error error_ = platform::err::success;
};

}  // namespace hbx
