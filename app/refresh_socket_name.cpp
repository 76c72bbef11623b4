#include "refresh_endpoint.h"

namespace hbx::app {

std::string refresh_socket_name(unsigned uid, RefreshEndpoint pid) {
    return "hushbox-refresh-" + std::to_string(uid) + "-" + std::to_string(pid);
}

}  // namespace hbx::app
