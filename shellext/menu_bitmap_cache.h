// MenuBitmapCache: the small pictures beside the context menu's entries, made from the
// extension's icon resources once per menu object and kept until the object goes.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <map>

namespace hbx::shellext {

class MenuBitmapCache {
public:
    /// On Windows Vista and later, loads the theme library for its buffered painting.
    MenuBitmapCache();
    /// Deletes every bitmap made and frees the theme library.
    ~MenuBitmapCache();
    MenuBitmapCache(const MenuBitmapCache&) = delete;
    MenuBitmapCache& operator=(const MenuBitmapCache&) = delete;

    /// The bitmap of the module's icon group `icon_id`, made at the first request: on Vista
    /// and later a 32-bit bitmap with premultiplied alpha of the small-icon size; on earlier
    /// systems the icon on white at the menu check-mark size. Null when it cannot be made
    /// (then nothing is cached and a later request tries again).
    HBITMAP bitmap_for(WORD icon_id);

private:
    using GetBufferedPaintBitsFn = HRESULT(WINAPI*)(HPAINTBUFFER, RGBQUAD**, int*);
    using BeginBufferedPaintFn = HPAINTBUFFER(WINAPI*)(HDC, const RECT*, BP_BUFFERFORMAT,
                                                       BP_PAINTPARAMS*, HDC*);
    using EndBufferedPaintFn = HRESULT(WINAPI*)(HPAINTBUFFER, BOOL);

    HBITMAP render_with_alpha(HICON icon);
    HBITMAP render_on_white(HICON icon);

    std::map<WORD, HBITMAP> bitmaps_;
    bool vista_or_later_ = false;
    HMODULE theme_ = nullptr;
    GetBufferedPaintBitsFn get_bits_ = nullptr;
    BeginBufferedPaintFn begin_paint_ = nullptr;
    EndBufferedPaintFn end_paint_ = nullptr;
};

}  // namespace hbx::shellext
