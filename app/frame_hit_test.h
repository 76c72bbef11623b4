// Where a point of a dialog frame lies: in the content, on the title bar (which drags the
// frame), or in the shadow margin. One function for both systems: on Windows the frame answers
// WM_NCHITTEST with it, on Linux a press on the title bar starts a system move.
#pragma once

namespace hbx::app {

/// A rectangle of whole pixels: x and y of its top-left corner, its width and height.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    /// True when (px, py) lies inside; the right and bottom edges are x + width - 1 and
    /// y + height - 1.
    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

/// The frame as the hit test sees it, in frame coordinates.
struct FrameLayout {
    bool title_bar_hidden = false;
    int margin = 6;            // the margin of the frame's outer layout
    int height = 0;            // the frame's height
    int title_width = 0;       // the title bar's width
    int title_height = 0;      // the title bar's height
    PixelRect close_button;    // the close button's geometry inside the title bar
};

enum class FrameHit {
    None,      // no answer: the system's own handling decides
    Client,    // HTCLIENT (1): the content or the close button
    Caption,   // HTCAPTION (2): the title bar, which drags the frame
};

/// The hit test of a frame at (x, y). The first matching rule decides: a frame without title
/// bar gives no answer; the content and the close button are client area; the title bar is
/// caption; the rest (the shadow margin) gives no answer.
FrameHit frame_hit_test(const FrameLayout& frame, int x, int y);

}  // namespace hbx::app
