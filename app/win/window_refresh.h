// The Windows half of the refresh message and of the frame's hit test: plain Win32, no Qt, so
// that it is compiled and tested in the Windows lane. The program's Qt code calls it from the
// main window's and the frame's nativeEvent.
#pragma once

#include "frame_hit_test.h"
#include "refresh_endpoint.h"

#include <cstdint>

namespace hbx::app::win {

/// The value the main window stores at offset 0 of the login block: the 32 significant bits of
/// its window handle (64-bit Windows keeps window handles within 32 bits).
RefreshEndpoint endpoint_of_window(void* window);

/// The window handle stored as `endpoint`, sign-extended as handles are.
void* window_of_endpoint(RefreshEndpoint endpoint);

/// True for the refresh message; the main window reloads its list and then passes the message
/// on to its default handling.
inline bool is_refresh_message(unsigned message) { return message == refresh_message; }

/// Answers WM_NCHITTEST for a frame: `lparam` carries the cursor in screen coordinates, the
/// layout is in the window's own pixels. True with `result` set to HTCLIENT or HTCAPTION when
/// the hit test answers; false when the message goes on to the default handling.
bool answer_frame_hit_test(void* window, std::intptr_t lparam, const FrameLayout& layout,
                           std::intptr_t* result);

}  // namespace hbx::app::win
