// ShellOverlay: the icon-overlay identifier that puts the padlock badge on every stub. It
// decides by the name alone (Explorer asks for every item it shows): no file, registry or
// engine access.
#pragma once

#include "com_object.h"

#include <shlobj.h>

namespace hbx::shellext {

/// The overlay picture: the module's fourth icon group (203, 205, 206, 209).
inline constexpr int overlay_icon_index = 3;

class ShellOverlay
    : public ComObject<ShellOverlay, IShellOverlay, IShellIconOverlayIdentifier> {
public:
    /// S_OK when the path's extension is ".hbxfile" or ".hbxfolder" (case ignored), S_FALSE
    /// otherwise; the attributes are not looked at.
    STDMETHODIMP IsMemberOf(PCWSTR path, DWORD attributes) override;
    /// The module's own path (cut to the buffer), index 3, ISIOI_ICONFILE | ISIOI_ICONINDEX.
    STDMETHODIMP GetOverlayInfo(PWSTR icon_file, int size, int* index, DWORD* flags) override;
    /// 0, the highest priority.
    STDMETHODIMP GetPriority(int* priority) override;
};

}  // namespace hbx::shellext
