// HushboxShellMenu: the Explorer context-menu handler for files, folders and directories. For
// exactly one selected item it adds a separator and a submenu titled with the product name,
// holding a command that names the item (Lock, or Unlock for a stub) and a command that opens
// the program. Both start the program; the handler itself changes nothing.
#pragma once

#include "com_object.h"
#include "menu_bitmap_cache.h"

#include <shlobj.h>

#include <string>

namespace hbx::shellext {

/// Icon groups of the menu pictures.
enum MenuIcon : WORD {
    icon_lock = 203,           // closed golden padlock: the Lock command
    icon_program = 205,        // blue folder with a padlock: the submenu and the Open command
    icon_unlock = 206,         // golden key: the Unlock command
};

/// The longest selection path accepted, in characters; a longer one gets no menu.
inline constexpr std::size_t longest_selection = MAX_PATH - 1;

class HushboxShellMenu
    : public ComObject<HushboxShellMenu, IShellMenu, IShellExtInit, IContextMenu> {
public:
    // IShellExtInit
    /// Accepts a selection of exactly one item that is neither a drive root nor a protected
    /// shell folder and whose path is shorter than 260 characters; refuses anything else
    /// with E_INVALIDARG (or the data object's own error when it has no file-drop data).
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY program_key) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT* reserved, CHAR* name,
                                  UINT size) override;

private:
    /// The label of the first command, in `language` (0: the thread's own language).
    std::u16string label(bool is_stub, LANGID language) const;

    std::u16string path_;
    MenuBitmapCache bitmaps_;
};

}  // namespace hbx::shellext
