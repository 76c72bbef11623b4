#include "shell_icon.h"

#include "stub_icons.h"
#include "wide.h"

#include "item_inspector.h"
#include "lock_service.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace hbx::shellext {

namespace {

// Shortest icon file text taken from the registry; shorter ones ("%1") name no real file.
constexpr std::size_t shortest_icon_file = 6;

// The extension that registered_default_icon answers with the folder icon.
const std::u16string folder_icon_key = u".";

void copy_cut(PWSTR buffer, UINT size, const std::u16string& text) {
    if (buffer != nullptr && size > 0) lstrcpynW(buffer, wide(text), static_cast<int>(size));
}

}  // namespace

STDMETHODIMP MyShellIcon::GetClassID(CLSID*) { return E_NOTIMPL; }
STDMETHODIMP MyShellIcon::IsDirty() { return E_NOTIMPL; }
STDMETHODIMP MyShellIcon::Save(LPCOLESTR, BOOL) { return E_NOTIMPL; }
STDMETHODIMP MyShellIcon::SaveCompleted(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP MyShellIcon::GetCurFile(LPOLESTR*) { return E_NOTIMPL; }

STDMETHODIMP MyShellIcon::Load(LPCOLESTR file, DWORD) {
    stub_path_.clear();
    own_extract_ = false;
    if (file == nullptr || lstrlenW(file) >= MAX_PATH) return E_INVALIDARG;
    stub_path_ = from_wide(file);
    return S_OK;
}

STDMETHODIMP MyShellIcon::GetIconLocation(UINT, PWSTR icon_file, UINT size, int* index,
                                          UINT* out_flags) {
    if (index != nullptr) *index = 0;
    if (out_flags != nullptr) *out_flags = GIL_DONTCACHE;

    const std::u16string target = LockService::instance().stub_target(stub_path_);
    const std::u16string extension = from_wide(PathFindExtensionW(wide(target)));
    if (StrCmpIW(wide(extension), L".exe") == 0) {
        const std::u16string location = LockService::instance().vault_location(target);
        const IconLocation icon = executable_icon(location.empty() ? location : reachable_path(location));
        copy_cut(icon_file, size, icon.file);
        if (index != nullptr) *index = icon.index;
        return S_OK;
    }
    // A folder stub takes the folder icon, whatever its name's extension.
    const bool folder_stub = ItemInspector::instance().classify(stub_path_) == ITEM_FOLDER_STUB;
    const IconLocation icon = registered_default_icon(folder_stub ? folder_icon_key : extension);
    if (icon.found && icon.file.size() >= shortest_icon_file) {
        copy_cut(icon_file, size, icon.file);
        if (index != nullptr) *index = icon.index;
    } else {
        if (out_flags != nullptr) *out_flags = GIL_NOTFILENAME | GIL_DONTCACHE;
        own_extract_ = true;
    }
    return S_OK;
}

STDMETHODIMP MyShellIcon::Extract(PCWSTR, UINT, HICON* large, HICON* small, UINT) {
    if (!own_extract_) return S_FALSE;
    const std::u16string target = LockService::instance().stub_target(stub_path_);
    // The shell's icon for an item of that name, without touching the disk. A folder stub
    // asks for a folder's icon.
    const DWORD attributes = ItemInspector::instance().classify(stub_path_) == ITEM_FOLDER_STUB
                                 ? FILE_ATTRIBUTE_DIRECTORY
                                 : 0;
    const UINT flags = SHGFI_ICON | SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES;
    if (large != nullptr) {
        SHFILEINFOW info{};
        SHGetFileInfoW(wide(target), attributes, &info, sizeof(info), flags);
        *large = info.hIcon;
    }
    if (small != nullptr) {
        SHFILEINFOW info{};
        SHGetFileInfoW(wide(target), attributes, &info, sizeof(info), flags | SHGFI_SMALLICON);
        *small = info.hIcon;
    }
    return S_OK;
}

}  // namespace hbx::shellext
