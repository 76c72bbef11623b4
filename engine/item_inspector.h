// ItemInspector: the engine's questions about a path. One object per process, reached through
// instance(); its operations are virtual so that both deliverables and their tests call them
// through one table.
#pragma once

#include "item_kind.h"

#include <string>

namespace hbx {

class ItemInspector {
public:
    /// The one inspector of the process, created at the first call (thread-safe).
    static ItemInspector& instance();

    virtual ~ItemInspector();

    /// What stands at `path`: ITEM_FOLDER for any folder; for a file its extension decides
    /// (".hbxfile" and ".hbxfolder" compared without regard to case); ITEM_MISSING when
    /// nothing can be read there.
    virtual int classify(const std::u16string& path);

    /// True when `path` is a stub (kind 3 or 4); then `target`, when given, receives the
    /// stub's target (LockService::stub_target). Otherwise false, with `target` set to `path`.
    virtual bool resolve_stub(const std::u16string& path, std::u16string* target);

    /// True when the system's major version is exactly 5 (GetVersionExW; 10 on Linux).
    virtual bool is_old_windows();

    /// True when `path` must not be locked: a drive root (three units or fewer) or exactly one
    /// of the system's special folders (platform::special_folders), case included; folders
    /// inside them are not protected.
    virtual bool is_protected_location(const std::u16string& path);

    ItemInspector(const ItemInspector&) = delete;
    ItemInspector& operator=(const ItemInspector&) = delete;

protected:
    ItemInspector() = default;
};

}  // namespace hbx
