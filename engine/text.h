// Text conversions of the engine's files and the text hash that names item folders and the
// stored password.
#pragma once

#include <string>

namespace hbx {

/// UTF-16 to UTF-8, for the engine's JSON files.
std::string to_utf8(const std::u16string& text);

/// UTF-8 to UTF-16, for the engine's JSON files.
std::u16string from_utf8(const std::string& text);

/// The text hash: MD5 over the first N bytes of the UTF-16LE storage of a text of N code units
/// (N bytes, not 2N: "abc" hashes the three bytes 61 00 62), rendered as 32 upper-case
/// hexadecimal digits. Stored item folder names and password hashes depend on exactly this.
std::u16string hash_text(const std::u16string& text);

/// True when two rendered hashes are equal, compared without regard to case.
bool same_hash(const std::u16string& a, const std::u16string& b);

}  // namespace hbx
