// The texts of the context menu that depend on the selected item.
#pragma once

#include <string>
#include <string_view>

namespace hbx::shellext {

/// The label of the menu's first command for the item at `path`. For a stub, the unlock
/// format with the stub's name cut before its last "." (report.doc.hbxfile gives report.doc; a
/// name without a dot gives the empty name); otherwise the lock format with the item's whole
/// name. The name is the text after the path's last separator and takes the place of the
/// format's %ls. An empty format (one that could not be loaded) gives an empty label.
std::u16string menu_label(std::u16string_view path, bool is_stub, std::u16string_view lock_format,
                          std::u16string_view unlock_format);

/// The edge of the menu icon to load: the first of 19, 17, 15 and 13 pixels that is not larger
/// than the menu check-mark width `menu_check_width`; 15 when that width is below 13.
int menu_icon_size(int menu_check_width);

}  // namespace hbx::shellext
