// The engine's strings are UTF-16 in std::u16string; Win32 takes the same units as wchar_t.
// These views pass one as the other without copying.
#pragma once

#include <string>

namespace hbx::shellext {

inline const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string from_wide(const wchar_t* text) {
    return text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text))
                           : std::u16string();
}

}  // namespace hbx::shellext
