// LockService: the engine's changes to the vault and the outcome of its last failure. One
// object per process, reached through instance(); its operations are virtual and called
// through that table, also from inside the engine.
#pragma once

#include "item_icon.h"
#include "item_kind.h"
#include "lock_result.h"

#include <mutex>
#include <string>

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

    /// The source path of the item that the stub at `stub_path` stands for: the stub path
    /// without its last extension when the vault holds an item under that name; else the
    /// stub's volume root followed by its SRC (a stub renamed or moved within its volume),
    /// when SRC can be followed safely; else the stub path without its last extension.
    virtual std::u16string stub_target(const std::u16string& stub_path);

    /// The item's full path in the vault when something exists there for the source path
    /// `source`, otherwise empty. The lock list is not read. Paths without a drive letter are
    /// outside the vault model and give empty.
    virtual std::u16string vault_location(const std::u16string& source);

    /// The most recent failure of lock, unlock or open; also copied into `error`.
    virtual LockError last_error(LockError& error);

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
