#include "shell_overlay.h"

#include "module.h"
#include "wide.h"

#include <shlwapi.h>

namespace hbx::shellext {

STDMETHODIMP ShellOverlay::IsMemberOf(PCWSTR path, DWORD) {
    if (path == nullptr) return S_FALSE;
    const wchar_t* extension = PathFindExtensionW(path);
    if (StrCmpIW(extension, L".hbxfile") == 0 || StrCmpIW(extension, L".hbxfolder") == 0) {
        return S_OK;
    }
    return S_FALSE;
}

STDMETHODIMP ShellOverlay::GetOverlayInfo(PWSTR icon_file, int size, int* index, DWORD* flags) {
    if (icon_file != nullptr && size > 0) lstrcpynW(icon_file, wide(module_path()), size);
    if (index != nullptr) *index = overlay_icon_index;
    if (flags != nullptr) *flags = ISIOI_ICONFILE | ISIOI_ICONINDEX;
    return S_OK;
}

STDMETHODIMP ShellOverlay::GetPriority(int* priority) {
    if (priority != nullptr) *priority = 0;
    return S_OK;
}

}  // namespace hbx::shellext
