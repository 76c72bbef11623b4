// The Linux sender of the refresh message: a round trip over the main window's local socket.
#include "refresh_endpoint.h"

#include <QLocalSocket>

#include <unistd.h>

namespace hbx::app {

bool send_refresh(RefreshEndpoint endpoint) {
    if (endpoint == 0) return false;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(refresh_socket_name(getuid(), endpoint)));
    if (!socket.waitForConnected(-1)) return false;
    const std::uint32_t request = refresh_message;
    socket.write(reinterpret_cast<const char*>(&request), sizeof request);
    if (!socket.waitForBytesWritten(-1)) return false;
    // Like SendMessageW: wait until the window has handled the request (it answers after its
    // reload), or until its process is gone.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(-1)) return false;
    }
    char reply = 0;
    socket.read(&reply, 1);
    return reply == 1;
}

}  // namespace hbx::app
