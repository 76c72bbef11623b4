#include "login_block_layout.h"

#include <algorithm>
#include <cstring>

namespace hbx::app {

LoginBlockBytes new_login_block(RefreshEndpoint endpoint) {
    LoginBlockBytes block{};
    std::memcpy(block.data(), &endpoint, sizeof endpoint);
    return block;
}

void write_login_password(unsigned char* block, const std::u16string& password) {
    unsigned char* area = block + login_password_offset;
    std::memset(area, 0, login_block_size - login_password_offset);
    const std::size_t units = std::min(password.size(), login_password_units);
    std::memcpy(area, password.data(), units * sizeof(char16_t));
}

LoginBlockContent read_login_block(const unsigned char* block) {
    LoginBlockContent content;
    std::memcpy(&content.endpoint, block, sizeof content.endpoint);
    const unsigned char* area = block + login_password_offset;
    for (std::size_t i = 0; i < login_password_units; ++i) {
        char16_t unit;
        std::memcpy(&unit, area + i * sizeof unit, sizeof unit);
        if (unit == 0) break;
        content.password += unit;
    }
    return content;
}

}  // namespace hbx::app
