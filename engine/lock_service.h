// LockService: the engine's changes to the vault and the outcome of its last failure. One
// object per process, reached through instance(); its operations are virtual and called
// through that table, also from inside the engine.
#pragma once

#include "item_icon.h"
#include "item_kind.h"
#include "lock_result.h"
#include "locked_item.h"

#include <mutex>
#include <string>
#include <vector>

namespace hbx {

class LockService {
public:
    /// The one service of the process, created at the first call (thread-safe) with code 0
    /// and system error 0.
    static LockService& instance();

    virtual ~LockService();

    /// The icon of the item at `path`, large or small (item_icon.h): its source is the vault
    /// copy when the vault holds the item (found as vault_location finds it), else `path`.
    /// Never fails; the handle is null when none could be had, and always on Linux.
    virtual ItemIcon item_icon(const std::u16string& path, bool large);

    /// Clears `items`, then appends every locked and hidden item of every fixed and removable
    /// volume, in drive order (see list_volume). Sets no result code.
    virtual void list_items(std::vector<LockedItem>& items);

    /// The source path of the item that the stub at `stub_path` stands for: the stub path
    /// without its last extension when the vault holds an item under that name; else the
    /// stub's volume root followed by its SRC (a stub renamed or moved within its volume),
    /// when SRC can be followed safely; else the stub path without its last extension.
    virtual std::u16string stub_target(const std::u16string& stub_path);

    /// The item's full path in the vault when something exists there for the source path
    /// `source`, otherwise empty. The lock list is not read. Paths without a drive letter are
    /// outside the vault model and give empty.
    virtual std::u16string vault_location(const std::u16string& source);

    /// Moves the file or folder at `path` into the vault of its volume: with a stub at its place
    /// when `type` is LOCK_TYPE_LOCK, without one (hidden) for any other value. Afterwards its
    /// pending entry, if it has one, is removed from the volume's options file.
    /// @returns true when the item is in the vault; otherwise last_error tells why and the item
    ///          is where it was.
    virtual bool lock(const std::u16string& path, int type);

    /// Moves the item of the source path `source` back from the vault, for good: to `source`,
    /// or to its first free numbered variant when something new stands there. `place` is
    /// always set; `type` tells, on success, whether a stub stood there (it is deleted).
    virtual bool unlock(const std::u16string& source, LOCK_TYPE& type, std::u16string& place);

    /// unlock, then records the item at `place` as pending in its volume's options file so that
    /// it is locked again after use. True when the item was moved back.
    virtual bool open(const std::u16string& source, LOCK_TYPE& type, std::u16string& place);

    /// Locks again every pending item of every volume; the entries of items that could not be
    /// locked stay pending, with last_error telling the last failure.
    virtual void relock_pending();

    /// Removes the vault of every volume whose vault holds no item any more.
    virtual void remove_empty_vaults();

    /// The most recent failure of lock, unlock or open; also copied into `error`.
    virtual LockError last_error(LockError& error);

    /// The core of lock without the pending list, used by relock_pending as well.
    bool lock_item(const std::u16string& path, int type);

    LockService(const LockService&) = delete;
    LockService& operator=(const LockService&) = delete;

protected:
    LockService() = default;

    /// Records a failure; the pair is replaced as a whole.
    void set_error(std::int32_t code, std::int32_t system_error);

private:
    std::mutex error_mutex_;
    LockError error_;
};

}  // namespace hbx
