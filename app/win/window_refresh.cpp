#include "window_refresh.h"

#include <windows.h>
#include <windowsx.h>

namespace hbx::app {

bool send_refresh(RefreshEndpoint endpoint) {
    HWND window = static_cast<HWND>(win::window_of_endpoint(endpoint));
    if (endpoint == 0 || !IsWindow(window)) return false;
    // Synchronous: returns once the main window's handler (the reload) has run.
    SendMessageW(window, refresh_message, 0, 0);
    return true;
}

namespace win {

RefreshEndpoint endpoint_of_window(void* window) {
    return static_cast<RefreshEndpoint>(reinterpret_cast<std::uintptr_t>(window));
}

void* window_of_endpoint(RefreshEndpoint endpoint) {
    return reinterpret_cast<void*>(
        static_cast<std::intptr_t>(static_cast<std::int32_t>(endpoint)));
}

bool answer_frame_hit_test(void* window, std::intptr_t lparam, const FrameLayout& layout,
                           std::intptr_t* result) {
    RECT frame;
    if (!GetWindowRect(static_cast<HWND>(window), &frame)) return false;
    const LPARAM l = static_cast<LPARAM>(lparam);
    const int x = GET_X_LPARAM(l) - frame.left;
    const int y = GET_Y_LPARAM(l) - frame.top;
    switch (frame_hit_test(layout, x, y)) {
        case FrameHit::Client:
            *result = HTCLIENT;
            return true;
        case FrameHit::Caption:
            *result = HTCAPTION;
            return true;
        case FrameHit::None:
            break;
    }
    return false;
}

}  // namespace win
}  // namespace hbx::app
