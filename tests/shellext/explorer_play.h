// Playing Explorer in the shell extension's tests: owned interface pointers, a hand-written
// data object with file-drop data, menu items and bitmaps read back, the module's unload answer.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace hbx::test {


inline const wchar_t* w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::u16string u(const wchar_t* s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : u""; }

// An owned interface pointer.
template <class I>
class Ptr {
public:
    Ptr() = default;
    ~Ptr() { reset(); }
    Ptr(const Ptr&) = delete;
    Ptr& operator=(const Ptr&) = delete;
    I* get() const { return p_; }
    I* operator->() const { return p_; }
    void** out() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset() {
        if (p_ != nullptr) p_->Release();
        p_ = nullptr;
    }

private:
    I* p_ = nullptr;
};

// A data object as Explorer hands it over: file-drop data (CF_HDROP) naming `paths`, or none.
class DropData : public IDataObject {
public:
    explicit DropData(std::vector<std::u16string> paths, bool has_drop = true)
        : paths_(std::move(paths)), has_drop_(has_drop) {}
    virtual ~DropData() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IDataObject))) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!has_drop_ || format->cfFormat != CF_HDROP || (format->tymed & TYMED_HGLOBAL) == 0) {
            return DV_E_FORMATETC;
        }
        std::u16string names;
        for (const auto& path : paths_) names += path + u'\0';
        names += u'\0';
        const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(char16_t);
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
               names.size() * sizeof(char16_t));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        return has_drop_ && format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::u16string> paths_;
    bool has_drop_;
    std::atomic<ULONG> references_{1};
};

inline HRESULT initialize(IShellExtInit* init, std::vector<std::u16string> paths, bool has_drop = true) {
    auto* data = new DropData(std::move(paths), has_drop);
    const HRESULT result = init->Initialize(nullptr, data, nullptr);
    data->Release();
    return result;
}

// The module's own unload answer.
inline HRESULT can_unload_now() {
    using Fn = HRESULT(WINAPI*)();
    const HMODULE module = GetModuleHandleW(L"HushboxExt.dll");
    if (module == nullptr) return E_UNEXPECTED;
    const auto function =
        reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return function != nullptr ? function() : E_UNEXPECTED;
}

// One menu item as GetMenuItemInfoW reads it back.
struct MenuItem {
    UINT id = 0;
    bool separator = false;
    HMENU submenu = nullptr;
    HBITMAP bitmap = nullptr;   // the unchecked-state bitmap
    std::u16string text;
};

inline MenuItem menu_item(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    MenuItem item;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return item;
    item.id = info.wID;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    item.submenu = info.hSubMenu;
    item.bitmap = info.hbmpUnchecked;
    item.text = u(text);
    return item;
}

// The pixels of a bitmap as 32-bit values, and its size.
struct Pixels {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<DWORD> data;
};

inline Pixels bitmap_pixels(HBITMAP bitmap) {
    Pixels pixels;
    BITMAP header{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(header), &header) == 0) return pixels;
    pixels.width = header.bmWidth;
    pixels.height = header.bmHeight;
    pixels.bits = header.bmBitsPixel;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = header.bmWidth;
    format.bmiHeader.biHeight = -header.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    pixels.data.resize(static_cast<std::size_t>(header.bmWidth) * header.bmHeight);
    const HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, header.bmHeight, pixels.data.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return pixels;
}

inline Pixels icon_pixels(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
    Pixels pixels = bitmap_pixels(info.hbmColor);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return pixels;
}

inline bool any_alpha(const Pixels& pixels) {
    for (DWORD p : pixels.data) {
        if ((p >> 24) != 0) return true;
    }
    return false;
}

/// The program's settings key, holding the interface language "lang".
inline const std::u16string settings_key = u"Software\\Zenvor\\Hushbox 1.1";


}  // namespace hbx::test
