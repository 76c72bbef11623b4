#include "query_info.h"

#include "stub_icons.h"
#include "wide.h"

#include "lock_service.h"

namespace hbx::shellext {

STDMETHODIMP MyQueryInfo::GetClassID(CLSID*) { return E_NOTIMPL; }
STDMETHODIMP MyQueryInfo::IsDirty() { return E_NOTIMPL; }
STDMETHODIMP MyQueryInfo::Save(LPCOLESTR, BOOL) { return E_NOTIMPL; }
STDMETHODIMP MyQueryInfo::SaveCompleted(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP MyQueryInfo::GetCurFile(LPOLESTR*) { return E_NOTIMPL; }
STDMETHODIMP MyQueryInfo::GetInfoFlags(DWORD*) { return E_NOTIMPL; }

STDMETHODIMP MyQueryInfo::Load(LPCOLESTR file, DWORD) {
    item_location_.clear();
    if (file == nullptr || lstrlenW(file) >= MAX_PATH) return E_INVALIDARG;
    LockService& service = LockService::instance();
    item_location_ = service.vault_location(service.stub_target(from_wide(file)));
    return item_location_.empty() ? S_FALSE : S_OK;
}

STDMETHODIMP MyQueryInfo::GetInfoTip(DWORD, PWSTR* tip) {
    IShellFolder* desktop = nullptr;
    HRESULT result = SHGetDesktopFolder(&desktop);
    if (FAILED(result)) return result;

    // The location is passed whole (inside the vault it is longer than the stub's path, and a
    // cut one would name another item), in the form the shell can reach.
    std::u16string location = item_location_.empty() ? item_location_ : reachable_path(item_location_);
    PIDLIST_RELATIVE item = nullptr;
    result = desktop->ParseDisplayName(nullptr, nullptr,
                                       reinterpret_cast<LPWSTR>(location.data()), nullptr, &item,
                                       nullptr);
    IShellFolder* parent = nullptr;
    IQueryInfo* info = nullptr;
    if (SUCCEEDED(result)) {
        PCUITEMID_CHILD child = nullptr;
        result = SHBindToParent(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), __uuidof(IShellFolder),
                                reinterpret_cast<void**>(&parent), &child);
        if (SUCCEEDED(result)) {
            result = parent->GetUIObjectOf(nullptr, 1, &child, interface_id<IQueryInfo>(), nullptr,
                                           reinterpret_cast<void**>(&info));
        }
        if (SUCCEEDED(result)) result = info->GetInfoTip(0, tip);
    }
    if (info != nullptr) info->Release();
    if (parent != nullptr) parent->Release();
    if (item != nullptr) CoTaskMemFree(item);
    desktop->Release();
    return result;
}

}  // namespace hbx::shellext
