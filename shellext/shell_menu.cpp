#include "shell_menu.h"

#include "menu_label.h"
#include "program_language.h"
#include "program_location.h"
#include "string_resources.h"
#include "ui_language_scope.h"
#include "wide.h"

#include "item_inspector.h"

#include <shellapi.h>

namespace hbx::shellext {

namespace {

// The command-line argument of a path: in double quotes when it contains a space.
std::u16string quoted_argument(const std::u16string& path) {
    if (path.find(u' ') == std::u16string::npos) return path;
    return u"\"" + path + u"\"";
}

}  // namespace

STDMETHODIMP HushboxShellMenu::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    path_.clear();
    if (data == nullptr) return E_INVALIDARG;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    const HRESULT got = data->GetData(&format, &medium);
    if (FAILED(got)) return got;

    HRESULT result = E_INVALIDARG;
    const auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    if (drop != nullptr) {
        if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
            // A path of 260 characters or more would come back cut short and name another
            // item; such a selection gets no menu.
            const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
            if (length > 0 && length <= longest_selection) {
                wchar_t buffer[MAX_PATH] = {};
                DragQueryFileW(drop, 0, buffer, MAX_PATH);
                const std::u16string path = from_wide(buffer);
                if (!ItemInspector::instance().is_protected_location(path)) {
                    path_ = path;
                    result = S_OK;
                }
            }
        }
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return result;
}

std::u16string HushboxShellMenu::label(bool is_stub, LANGID language) const {
    return menu_label(path_, is_stub, load_module_string(string_lock_format, language),
                      load_module_string(string_unlock_format, language));
}

STDMETHODIMP HushboxShellMenu::QueryContextMenu(HMENU menu, UINT index, UINT first, UINT,
                                                UINT flags) {
    if ((flags & CMF_DEFAULTONLY) != 0 || path_.empty()) {
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
    }
    const bool is_stub = ItemInspector::instance().resolve_stub(path_, nullptr);
    const HBITMAP program_bitmap = bitmaps_.bitmap_for(icon_program);
    const HBITMAP command_bitmap = bitmaps_.bitmap_for(is_stub ? icon_unlock : icon_lock);

    // The menu follows the program's language; the strings are loaded in the language the
    // scope puts in force.
    const UiLanguageScope scope(program_language_id());
    const std::u16string title = load_module_string(string_title, scope.language());
    const std::u16string open = load_module_string(string_open, scope.language());
    const std::u16string command = label(is_stub, scope.language());

    const HMENU submenu = CreatePopupMenu();
    if (!command.empty()) {
        AppendMenuW(submenu, MF_STRING, first + 0, wide(command));
        AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
        SetMenuItemBitmaps(submenu, first + 0, MF_BYCOMMAND, command_bitmap, nullptr);
    }
    AppendMenuW(submenu, MF_STRING, first + 1, wide(open));
    SetMenuItemBitmaps(submenu, first + 1, MF_BYCOMMAND, program_bitmap, nullptr);

    InsertMenuW(menu, index, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(menu, index + 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                reinterpret_cast<UINT_PTR>(submenu), wide(title));
    SetMenuItemBitmaps(menu, index + 1, MF_BYPOSITION, program_bitmap, nullptr);
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 2);
}

STDMETHODIMP HushboxShellMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    if (info == nullptr) return E_INVALIDARG;
    const std::u16string program = locate_program();
    if (HIWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0) return E_FAIL;
    switch (LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb))) {
        case 0: {
            const std::u16string argument = quoted_argument(path_);
            ShellExecuteW(info->hwnd, L"open", wide(program), wide(argument), nullptr, SW_SHOW);
            return S_OK;
        }
        case 1:
            ShellExecuteW(info->hwnd, L"open", wide(program), nullptr, nullptr, SW_SHOW);
            return S_OK;
        default:
            return E_FAIL;
    }
}

STDMETHODIMP HushboxShellMenu::GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name,
                                                UINT size) {
    if (command != 0) return E_INVALIDARG;
    if (type != GCS_HELPTEXTW) return S_OK;
    if (name == nullptr || size == 0) return E_INVALIDARG;
    const bool is_stub = ItemInspector::instance().resolve_stub(path_, nullptr);
    // No language scope here: the help text comes in the thread's own language.
    lstrcpynW(reinterpret_cast<wchar_t*>(name), wide(label(is_stub, 0)), static_cast<int>(size));
    return S_OK;
}

}  // namespace hbx::shellext
