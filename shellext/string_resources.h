// The extension's string table: the menu's texts in English, German, Japanese, Simplified
// Chinese (neutral Chinese) and Traditional Chinese.
#pragma once

#include <windows.h>

#include <string>

namespace hbx::shellext {

/// String identifiers of the menu.
enum MenuString : unsigned {
    string_title = 101,          // submenu title
    string_lock_format = 102,    // lock command, with %ls for the item's name
    string_unlock_format = 103,  // unlock command, with %ls for the item's name
    string_open = 104,           // open command
};

/// The string `id` of the module in `language`: that language, else its primary language with
/// the neutral sublanguage (0x0804 finds the neutral Chinese table), else whichever table the
/// resource loader chooses for the calling thread. With language 0 the resource loader chooses
/// (by the thread's UI language, or its locale where the system has no UI languages).
/// Empty when the module has no such string.
std::u16string load_module_string(unsigned id, LANGID language);

}  // namespace hbx::shellext
