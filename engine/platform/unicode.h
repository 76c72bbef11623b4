// UTF-16 and UTF-8 conversion, the same on every system.
#pragma once

#include <string>

namespace hbx::platform {

/// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD, as WideCharToMultiByte does.
std::string utf16_to_utf8(const std::u16string& text);

/// UTF-8 to UTF-16. Every malformed byte sequence becomes U+FFFD, as MultiByteToWideChar does.
std::u16string utf8_to_utf16(const std::string& text);

}  // namespace hbx::platform
