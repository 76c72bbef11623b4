// MyShellIcon: the icon handler of the stub types. Explorer loads it with a stub's path and
// asks where the icon is; the answer is the icon of the item the stub stands for: its type's
// registered icon, the folder icon, or a locked program's own icon.
#pragma once

#include "com_object.h"

#include <shlobj.h>

#include <string>

namespace hbx::shellext {

class MyShellIcon : public ComObject<MyShellIcon, IMyShellIcon, IPersistFile, IExtractIconW> {
public:
    // IPersist
    STDMETHODIMP GetClassID(CLSID* id) override;
    // IPersistFile
    STDMETHODIMP IsDirty() override;
    /// Keeps the stub's path; a path of 260 characters or more is refused (E_INVALIDARG).
    STDMETHODIMP Load(LPCOLESTR file, DWORD mode) override;
    STDMETHODIMP Save(LPCOLESTR file, BOOL remember) override;
    STDMETHODIMP SaveCompleted(LPCOLESTR file) override;
    STDMETHODIMP GetCurFile(LPOLESTR* file) override;

    // IExtractIconW
    STDMETHODIMP GetIconLocation(UINT flags, PWSTR icon_file, UINT size, int* index,
                                 UINT* out_flags) override;
    STDMETHODIMP Extract(PCWSTR icon_file, UINT index, HICON* large, HICON* small,
                         UINT icon_size) override;

private:
    std::u16string stub_path_;
    bool own_extract_ = false;   // no location was found: Extract makes the icons by name
};

}  // namespace hbx::shellext
