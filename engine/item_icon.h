// The icon of an item: what a caller needs to draw a locked, hidden or ordinary item.
//
// The icon describes the item where it is now: its copy in the vault when the vault holds it,
// otherwise the path itself. A folder gets the folder icon and a file the generic icon of its
// type, both taken from the name alone; a program file (".exe") gets its own first icon, or
// the generic program icon when it has none.
//
// On Windows the engine makes the icon handle (an HICON) itself. Linux has no icon handles:
// there the caller turns the source, the folder flag and the program flag into an image.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>

namespace hbx {

/// Where an item's icon comes from.
struct IconSource {
    std::u16string path;      // the vault copy when the item is in the vault, else the path
    bool is_folder = false;   // `path` is a folder: the folder icon
    bool is_program = false;  // a file whose extension is ".exe" (any case): its own icon
};

/// Chooses the icon source of the item at `path`. `vault_copy` is the item's path in the vault
/// when something exists there (LockService::vault_location), else empty; `is_folder` tells
/// whether a path is a folder. The extension that makes a program is taken from `path`.
IconSource choose_icon_source(const std::u16string& path, const std::u16string& vault_copy,
                              const std::function<bool(const std::u16string&)>& is_folder);

/// How the icon handle was made.
enum class IconOrigin {
    none,        // no handle (always so on Linux)
    file_type,   // the generic icon of the type (SHGetFileInfoW from the name alone)
    program,     // the program's own first icon (ExtractIconExW)
};

/// The name of an origin: "none", "file_type" or "program".
const char* icon_origin_name(IconOrigin origin);

/// An item's icon: its source and, on Windows, the icon handle. The object owns the handle and
/// destroys it with the object; release() hands it over to a caller that keeps it (and then
/// destroys it with DestroyIcon). Movable, not copyable.
class ItemIcon {
public:
    ItemIcon() = default;
    ItemIcon(IconSource source, platform::IconHandle handle, IconOrigin origin);
    ~ItemIcon();
    ItemIcon(ItemIcon&& other) noexcept;
    ItemIcon& operator=(ItemIcon&& other) noexcept;
    ItemIcon(const ItemIcon&) = delete;
    ItemIcon& operator=(const ItemIcon&) = delete;

    const IconSource& source() const { return source_; }
    /// The HICON on Windows, null when none could be had; always null on Linux.
    platform::IconHandle handle() const { return handle_; }
    IconOrigin origin() const { return origin_; }

    /// Gives up the handle: the caller owns it from now on.
    platform::IconHandle release();

private:
    IconSource source_;
    platform::IconHandle handle_ = nullptr;
    IconOrigin origin_ = IconOrigin::none;
};

/// Makes the icon of a chosen source at the large or the small size: for a program its own
/// first icon, else (or when it has none) the generic icon of its type.
ItemIcon make_item_icon(IconSource source, bool large);

}  // namespace hbx
