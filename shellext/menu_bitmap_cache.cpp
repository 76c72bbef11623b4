#include "menu_bitmap_cache.h"

#include "menu_label.h"
#include "module.h"

#include <vector>

namespace hbx::shellext {

namespace {

bool is_vista_or_later() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version)) return false;
    return version.dwMajorVersion >= 6;
}

template <class F>
F function(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// An icon drawn without an alpha channel: takes the alpha from the icon's mask, where a set
// mask pixel is transparent and every other pixel opaque.
void alpha_from_mask(HICON icon, HDC dc, RGBQUAD* pixels, int row_width, int width, int height) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> mask(static_cast<std::size_t>(width) * height);
    if (GetDIBits(dc, info.hbmMask, 0, height, mask.data(), &format, DIB_RGB_COLORS) ==
        height) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                RGBQUAD& pixel = pixels[y * row_width + x];
                const RGBQUAD& m = mask[static_cast<std::size_t>(y) * width + x];
                if (m.rgbBlue != 0 || m.rgbGreen != 0 || m.rgbRed != 0 || m.rgbReserved != 0) {
                    pixel = RGBQUAD{};
                } else {
                    pixel.rgbReserved = 0xFF;
                }
            }
        }
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
}

}  // namespace

MenuBitmapCache::MenuBitmapCache() {
    vista_or_later_ = is_vista_or_later();
    if (!vista_or_later_) return;
    theme_ = LoadLibraryW(L"uxtheme.dll");
    if (theme_ == nullptr) return;
    get_bits_ = function<GetBufferedPaintBitsFn>(theme_, "GetBufferedPaintBits");
    begin_paint_ = function<BeginBufferedPaintFn>(theme_, "BeginBufferedPaint");
    end_paint_ = function<EndBufferedPaintFn>(theme_, "EndBufferedPaint");
}

MenuBitmapCache::~MenuBitmapCache() {
    for (const auto& entry : bitmaps_) DeleteObject(entry.second);
    if (theme_ != nullptr) FreeLibrary(theme_);
}

HBITMAP MenuBitmapCache::bitmap_for(WORD icon_id) {
    const auto cached = bitmaps_.find(icon_id);
    if (cached != bitmaps_.end()) return cached->second;

    const int size = menu_icon_size(GetSystemMetrics(SM_CXMENUCHECK));
    const HICON icon = static_cast<HICON>(LoadImageW(module_instance(), MAKEINTRESOURCEW(icon_id),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon == nullptr) return nullptr;
    const HBITMAP bitmap = vista_or_later_ ? render_with_alpha(icon) : render_on_white(icon);
    DestroyIcon(icon);
    if (bitmap != nullptr) bitmaps_[icon_id] = bitmap;
    return bitmap;
}

HBITMAP MenuBitmapCache::render_with_alpha(HICON icon) {
    if (get_bits_ == nullptr || begin_paint_ == nullptr || end_paint_ == nullptr) return nullptr;
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);

    const HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return nullptr;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;   // bottom-up
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        DeleteDC(dc);
        return nullptr;
    }
    const HGDIOBJ previous = SelectObject(dc, bitmap);

    RECT area{0, 0, width, height};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BP_PAINTPARAMS params{};
    params.cbSize = sizeof(params);
    params.dwFlags = BPPF_ERASE;
    params.pBlendFunction = &blend;
    HDC paint_dc = nullptr;
    const HPAINTBUFFER buffer = begin_paint_(dc, &area, BPBF_DIB, &params, &paint_dc);
    if (buffer != nullptr) {
        if (DrawIconEx(paint_dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL)) {
            RGBQUAD* pixels = nullptr;
            int row_width = 0;
            if (SUCCEEDED(get_bits_(buffer, &pixels, &row_width)) && pixels != nullptr) {
                bool has_alpha = false;
                for (int y = 0; y < height && !has_alpha; ++y) {
                    for (int x = 0; x < width && !has_alpha; ++x) {
                        has_alpha = pixels[y * row_width + x].rgbReserved != 0;
                    }
                }
                if (!has_alpha) alpha_from_mask(icon, paint_dc, pixels, row_width, width, height);
            }
        }
        end_paint_(buffer, TRUE);
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    return bitmap;
}

HBITMAP MenuBitmapCache::render_on_white(HICON icon) {
    const int width = GetSystemMetrics(SM_CXMENUCHECK);
    const int height = GetSystemMetrics(SM_CYMENUCHECK);
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    const HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = dc != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (bitmap != nullptr) {
        const HGDIOBJ previous = SelectObject(dc, bitmap);
        RECT area{0, 0, width, height};
        const bool drawn = FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))) &&
                           DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        SelectObject(dc, previous);
        if (!drawn) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    if (dc != nullptr) DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace hbx::shellext
