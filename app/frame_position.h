// Where a dialog frame stands when it is shown: centred over a reference rectangle (the main
// window, or the screen's available area when the process has no main window).
#pragma once

#include "frame_hit_test.h"

namespace hbx::app {

struct PixelPoint {
    int x = 0;
    int y = 0;
};

/// The top-left corner that centres a frame of `width` by `height` over `reference`:
/// left + (reference width - width) / 2 and the same vertically, divided with truncation
/// toward zero (a frame larger than the reference stands out by the same amount on each side,
/// rounded toward the reference's corner).
PixelPoint centred_position(const PixelRect& reference, int width, int height);

}  // namespace hbx::app
