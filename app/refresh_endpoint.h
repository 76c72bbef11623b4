// The refresh message: after a dialog of another process has changed the vault, it asks the
// running main window to reload its list and waits until that is done.
//
// The main window is named by its refresh endpoint, the value at offset 0 of the login block.
// On Windows that is its window handle, and the request is the window message 1125 sent with
// SendMessageW. On Linux it is the main window's process id: the window listens on a local
// socket of its user named after that id (refresh_socket_name), and the request is a round trip
// on it that ends when the window has reloaded.
#pragma once

#include <cstdint>
#include <string>

namespace hbx::app {

using RefreshEndpoint = std::uint32_t;

/// The window message of the refresh request (WM_USER + 101); wParam and lParam are 0. On
/// Linux the same number travels over the socket as the request.
constexpr unsigned refresh_message = 0x0400 + 101;

/// Sends the refresh request to the main window named by `endpoint` and returns once that
/// window has handled it. False, without waiting, when no such window answers (0 names none).
bool send_refresh(RefreshEndpoint endpoint);

/// The name of the local socket on which the main window of process `pid`, run by the user
/// `uid`, receives refresh requests.
std::string refresh_socket_name(unsigned uid, RefreshEndpoint pid);

}  // namespace hbx::app
