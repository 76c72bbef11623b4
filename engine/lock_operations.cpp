// Lock, hide, unlock, open and relock: the operations that move items into the vault and out.
//
// Only the move itself takes an item out of its place or brings it back; every step before it
// prepares (stub, lock list, source record, folders) and is undone when a later step fails, and
// every file is replaced atomically. A process stopped between any two steps therefore leaves
// each item in exactly one place. The vault's files are changed under the vault's lock, which
// is held from the lock list's read to the move, so that two processes locking on one volume
// neither lose each other's entries nor take each other's item names.
#include "lock_service.h"

#include "files.h"
#include "lock_list.h"
#include "paths.h"
#include "pending_list.h"
#include "options.h"
#include "source_record.h"
#include "stub.h"
#include "text.h"
#include "vault.h"
#include "vault_lock.h"

#include <optional>

namespace hbx {

namespace {

using platform::Error;

/// Paths live in buffers of 260 units with their terminator.
constexpr std::size_t max_path = 260;

// Paths the vault model cannot hold: without a drive letter (network paths, whose directory
// part would begin with two backslashes) or too long for the path buffers. They fail before
// anything is recorded or moved.
Error refused_path(const std::u16string& path) {
    if (!is_drive_path(path)) return platform::err::bad_pathname;
    if (path.size() >= max_path) return platform::err::filename_too_long;
    return platform::err::success;
}

// What stood at a stub's name before the lock wrote its stub there. A second item of the same
// name from the same folder finds the stub of the first one in its place; when its lock then
// fails, the earlier stub is put back as it was instead of being deleted.
class StubBefore {
public:
    explicit StubBefore(const StubInfo& stub) : stub_(stub) {
        existed_ = platform::exists(stub.stub);
        if (existed_) readable_ = platform::read_file(stub.stub, bytes_) == platform::err::success;
    }

    void restore() const {
        if (!existed_) {
            delete_stub(stub_);
            return;
        }
        if (!readable_) return;   // what cannot be read is left as it is rather than lost
        std::string now;
        if (platform::read_file(stub_.stub, now) == platform::err::success && now == bytes_) return;
        platform::write_file_replacing(stub_.stub, bytes_);
    }

private:
    StubInfo stub_;
    bool existed_ = false;
    bool readable_ = false;
    std::string bytes_;
};

}  // namespace

bool LockService::lock_item(const std::u16string& source, int type) {
    const std::u16string path = normalize_slashes(source);
    if (const Error e = refused_path(path)) {
        set_error(LOCK_RESULT_OTHER, static_cast<std::int32_t>(e));
        return false;
    }
    if (!platform::exists(path)) {
        set_error(LOCK_RESULT_LOCK_TARGET_MISSING, 0);
        return false;
    }
    const bool is_folder = platform::is_folder(path);
    const StubInfo stub = stub_info_for_item(path, is_folder);
    const bool with_stub = type == LOCK_TYPE_LOCK;

    std::optional<StubBefore> earlier;
    if (with_stub) {
        earlier.emplace(stub);
        if (const Error e = write_stub(stub)) {
            set_error(LOCK_RESULT_CREATE_STUB_FAILED, static_cast<std::int32_t>(e));
            return false;
        }
    }
    const auto fail = [&](std::int32_t code, Error e) {
        if (earlier) earlier->restore();
        set_error(code, static_cast<std::int32_t>(e));
        return false;
    };

    const PathParts parts = split_path(path);
    const std::u16string volume = parts.drive;
    if (const Error e = create_folder_chain(vault_root(volume))) {
        return fail(LOCK_RESULT_CREATE_DIRECTORY_FAILED, e);
    }
    VaultLock vault_lock(volume);
    if (vault_lock.error() != 0) return fail(LOCK_RESULT_OTHER, vault_lock.error());

    LockList list = LockList::create(lock_list_file(volume));
    list.load();
    const std::u16string hash = list.add(parts.directory);
    if (const Error e = list.save()) return fail(LOCK_RESULT_OTHER, e);

    const std::u16string folder = append(data_folder(volume), hash);
    const std::u16string destination = combine(folder, parts.name) + parts.extension;
    const std::u16string name = parts.name + parts.extension;

    // The item's own directory part goes into the source record when the lock list names
    // another one for this item folder, and leaves it otherwise. An item that already stands
    // under this name keeps its entry: the move below fails for it.
    SourceRecord record = SourceRecord::create(source_record_file(volume));
    record.load();
    const SourceRecord record_before = record;
    bool record_changed = false;
    if (!platform::exists(destination)) {
        record_changed = list.lookup(hash) == parts.directory
                             ? record.remove(hash, name)
                             : record.set(hash, name, parts.directory);
        if (record_changed) {
            if (const Error e = record.save()) return fail(LOCK_RESULT_OTHER, e);
        }
    }
    const auto undo_record = [&] {
        if (record_changed) record_before.save();
    };

    if (const Error e = create_folder_chain(folder)) {
        undo_record();
        return fail(LOCK_RESULT_CREATE_DIRECTORY_FAILED, e);
    }
    const Error moved = platform::move(path, destination);
    if (moved == platform::err::success) return true;
    undo_record();
    return fail(lock_move_result(moved), moved);
}

bool LockService::lock(const std::u16string& path, int type) {
    if (!lock_item(path, type)) return false;
    forget_pending(path);   // a failed write leaves the entry; the lock itself succeeded
    return true;
}

bool LockService::unlock(const std::u16string& source, LOCK_TYPE& type, std::u16string& place) {
    place = source;
    const std::u16string path = normalize_slashes(source);
    if (const Error e = refused_path(path)) {
        set_error(LOCK_RESULT_OTHER, static_cast<std::int32_t>(e));
        return false;
    }
    const PathParts parts = split_path(path);
    VaultLock vault_lock(parts.drive);
    if (vault_lock.error() != 0) {
        set_error(LOCK_RESULT_OTHER, static_cast<std::int32_t>(vault_lock.error()));
        return false;
    }
    if (platform::exists(path)) place = unique_name(path);
    const std::u16string hash = hash_text(parts.directory);
    const std::u16string vault_path =
        combine(append(data_folder(parts.drive), hash), parts.name) + parts.extension;
    const bool is_folder = platform::is_folder(vault_path);
    const Error moved = platform::move(vault_path, place);
    if (moved != platform::err::success) {
        set_error(unlock_move_result(moved), static_cast<std::int32_t>(moved));
        return false;
    }
    const StubInfo stub = stub_info_for_item(path, is_folder);
    if (platform::exists(stub.stub)) {
        type = LOCK_TYPE_LOCK;
        delete_stub(stub);   // a stub that cannot be deleted does not undo the unlock
    } else {
        type = LOCK_TYPE_HIDE;
    }
    SourceRecord record = SourceRecord::create(source_record_file(parts.drive));
    if (record.load() && record.remove(hash, parts.name + parts.extension)) record.save();
    return true;
}

bool LockService::open(const std::u16string& source, LOCK_TYPE& type, std::u16string& place) {
    if (!unlock(source, type, place)) return false;
    record_pending(place, type);   // a failed write leaves the item in place but not pending
    return true;
}

void LockService::relock_pending() {
    for (const auto& root : all_drive_roots()) {
        Options options = Options::create(options_file(root));
        if (!options.load() || options.pending.empty()) continue;
        const auto pending = options.pending;
        std::vector<std::u16string> locked;
        for (const auto& [key, type] : pending) {
            if (lock_item(drive_prefix(root) + key, type)) locked.push_back(key);
        }
        forget_pending(root, locked);
    }
}

}  // namespace hbx
