// The program's interface language, as the context menu follows it: the program stores its
// choice as the string value "lang" under HKEY_CURRENT_USER\Software\Zenvor\Hushbox 1.1.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace hbx::shellext {

/// The key that holds the setting, relative to HKEY_CURRENT_USER.
std::u16string program_settings_key();

/// The language identifier of a stored code, compared exactly (case included): "de" 0x0407,
/// "ja" 0x0411, "zh-CN" 0x0804, "zh-TW" 0x0404; anything else 0x0409.
LANGID language_id_for(std::u16string_view code);

/// The language identifier of the stored setting; 0x0409 when the key or the value is missing
/// or cannot be read.
LANGID program_language_id();

}  // namespace hbx::shellext
