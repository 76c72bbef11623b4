// The bytes of the login block, the shared segment through which the program's processes find
// the running main window:
//
//   offset 0, 4 bytes   the main window's refresh endpoint (Windows: its window handle;
//                       Linux: its process id, which names its refresh socket)
//   offset 4, 64 bytes  the password of the current login: UTF-16, NUL-terminated, at most 31
//                       units; all zero until the user has logged in
//
// Both values are stored in the machine's byte order. Reading and writing the segment itself
// is LoginBlock's job; these functions only turn values into bytes and back.
#pragma once

#include "refresh_endpoint.h"

#include <array>
#include <cstddef>
#include <string>

namespace hbx::app {

constexpr std::size_t login_block_size = 68;
constexpr std::size_t login_password_offset = 4;
constexpr std::size_t login_password_units = 31;   // without the terminating NUL

using LoginBlockBytes = std::array<unsigned char, login_block_size>;

struct LoginBlockContent {
    RefreshEndpoint endpoint = 0;
    std::u16string password;
};

/// A fresh block: all zero, with `endpoint` at offset 0.
LoginBlockBytes new_login_block(RefreshEndpoint endpoint);

/// Writes `password` with its terminating NUL at offset 4 of `block` (68 bytes). The whole
/// password area is cleared first, so no tail of a longer earlier password stays behind; a
/// password longer than 31 units is cut there and never written past the block's end.
void write_login_password(unsigned char* block, const std::u16string& password);

/// The values of a block of 68 bytes. A password without NUL in its area ends after 31 units.
LoginBlockContent read_login_block(const unsigned char* block);

}  // namespace hbx::app
