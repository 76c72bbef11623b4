// Where a point of a dialog frame lies, and where a frame stands when it is shown.
#include "frame_hit_test.h"
#include "frame_position.h"

#include <gtest/gtest.h>

#include <string>

using namespace hbx::app;

namespace {

// The frame of a message box: margin 6, 490 by 144, a title bar of 478 by 30 whose close button
// is its last 30 pixels.
FrameLayout message_frame(bool hidden = false) {
    FrameLayout f;
    f.title_bar_hidden = hidden;
    f.margin = 6;
    f.height = 144;
    f.title_width = 478;
    f.title_height = 30;
    f.close_button = {448, 0, 30, 30};
    return f;
}

const char* name_of(FrameHit hit) {
    switch (hit) {
        case FrameHit::None: return "None";
        case FrameHit::Client: return "Client";
        case FrameHit::Caption: return "Caption";
    }
    return "?";
}

}  // namespace

TEST(FrameHitTest, RulesInOrder) {
    const struct {
        int x, y;
        FrameHit hit;
        const char* where;
    } cases[] = {
        {6, 36, FrameHit::Client, "content, top-left"},
        {483, 137, FrameHit::Client, "content, bottom-right"},
        {240, 80, FrameHit::Client, "content, middle"},
        {454, 6, FrameHit::Client, "close button, top-left"},
        {483, 35, FrameHit::Client, "close button, bottom-right"},
        {6, 6, FrameHit::Caption, "title bar, top-left"},
        {453, 35, FrameHit::Caption, "title bar, left of the close button"},
        {200, 20, FrameHit::Caption, "title bar, middle"},
        {5, 20, FrameHit::None, "left shadow margin"},
        {200, 5, FrameHit::None, "top shadow margin"},
        {484, 80, FrameHit::None, "right shadow margin"},
        {200, 138, FrameHit::None, "bottom shadow margin"},
        {0, 0, FrameHit::None, "corner"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_STREQ(name_of(frame_hit_test(message_frame(), c.x, c.y)), name_of(c.hit));
        // A help popup has no title bar and gives no answer anywhere.
        EXPECT_STREQ(name_of(frame_hit_test(message_frame(true), c.x, c.y)), "None");
    }
}

TEST(FramePosition, CentredWithTruncationTowardZero) {
    const struct {
        PixelRect reference;
        int width, height;
        int x, y;
        const char* why;
    } cases[] = {
        {{0, 0, 800, 600}, 300, 100, 250, 250, "even differences"},
        {{100, 80, 600, 400}, 301, 101, 249, 229, "odd differences round down"},
        {{-1280, 0, 1280, 1024}, 490, 144, -885, 440, "a screen left of the primary one"},
        {{0, 0, 200, 100}, 305, 151, -52, -25, "a frame larger than the reference"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const PixelPoint at = centred_position(c.reference, c.width, c.height);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
    }
}
