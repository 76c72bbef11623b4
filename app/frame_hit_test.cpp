#include "frame_hit_test.h"

namespace hbx::app {

namespace {
// The rectangle from (left, top) to (right, bottom), both corners inside.
PixelRect span(int left, int top, int right, int bottom) {
    return {left, top, right - left + 1, bottom - top + 1};
}
}  // namespace

FrameHit frame_hit_test(const FrameLayout& f, int x, int y) {
    if (f.title_bar_hidden) return FrameHit::None;
    const int m = f.margin;
    const int w = f.title_width;
    const int h = f.title_height;
    if (span(m, m + h, m + w - 1, f.height - m - 1).contains(x, y)) return FrameHit::Client;
    PixelRect close = f.close_button;
    close.x += m;
    close.y += m;
    if (close.contains(x, y)) return FrameHit::Client;
    if (span(m, m, m + w - 1, h + 2 * m - 1).contains(x, y)) return FrameHit::Caption;
    return FrameHit::None;
}

}  // namespace hbx::app
