// MyQueryInfo: the info-tip handler of the stub types. Explorer loads it with a stub's path and
// asks for the tooltip; the answer is the tooltip the shell gives for the locked item itself,
// at its place inside the vault.
#pragma once

#include "com_object.h"

#include <shlobj.h>

#include <string>

namespace hbx::shellext {

class MyQueryInfo : public ComObject<MyQueryInfo, IMyQueryInfo, IPersistFile, IQueryInfo> {
public:
    // IPersist
    STDMETHODIMP GetClassID(CLSID* id) override;
    // IPersistFile
    STDMETHODIMP IsDirty() override;
    /// Finds the stub's item in the vault: S_OK when it is there, S_FALSE when it is not. A
    /// path of 260 characters or more is refused (E_INVALIDARG).
    STDMETHODIMP Load(LPCOLESTR file, DWORD mode) override;
    STDMETHODIMP Save(LPCOLESTR file, BOOL remember) override;
    STDMETHODIMP SaveCompleted(LPCOLESTR file) override;
    STDMETHODIMP GetCurFile(LPOLESTR* file) override;

    // IQueryInfo
    /// The shell's own tip of the item in the vault (asked with flags 0), or the shell's
    /// failure when it has none or the item is gone.
    STDMETHODIMP GetInfoTip(DWORD flags, PWSTR* tip) override;
    STDMETHODIMP GetInfoFlags(DWORD* flags) override;

private:
    std::u16string item_location_;   // the item inside the vault; empty when it is not there
};

}  // namespace hbx::shellext
