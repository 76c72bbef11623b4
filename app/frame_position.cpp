#include "frame_position.h"

namespace hbx::app {

PixelPoint centred_position(const PixelRect& reference, int width, int height) {
    // C++ integer division truncates toward zero, as the placement rule asks.
    return {reference.x + (reference.width - width) / 2,
            reference.y + (reference.height - height) / 2};
}

}  // namespace hbx::app
