// The pending list as the lock, open and relock operations change it: each change reads the
// options file of the item's volume, changes it and writes it back under the vault's lock.
#pragma once

#include "item_kind.h"
#include "platform/platform.h"

#include <string>
#include <vector>

namespace hbx {

/// After an item was moved back to `path` for the moment: records it with its former `type`
/// in the options file of its volume, unless it is pending already (the earlier type stays).
/// A file that does not load is replaced by one that keeps the pending entries that could be
/// read and carries the stored password hash (stored_password_hash, or else the hash that
/// could be read), so that the volume keeps checking the user's password.
/// @returns 0 or the error of the lock or the write.
platform::Error record_pending(const std::u16string& path, LOCK_TYPE type);

/// After a lock of `path`: removes its entry when the options file of its volume loads and
/// holds it. Nothing is written otherwise. @returns 0 or the error of the lock or the write.
platform::Error forget_pending(const std::u16string& path);

/// After a relock on `volume`: removes the entries of `keys` and writes the file once; nothing
/// is written when it does not load. @returns 0 or the error of the lock or the write.
platform::Error forget_pending(const std::u16string& volume,
                               const std::vector<std::u16string>& keys);

}  // namespace hbx
