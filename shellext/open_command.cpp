#include "open_command.h"

#include "module.h"
#include "program_location.h"
#include "wide.h"

namespace hbx::shellext {

std::u16string open_command_key(std::u16string_view extension) {
    if (!extension.empty() && extension.front() == u'.') extension.remove_prefix(1);
    return u"\\" + std::u16string(extension) + u"\\shell\\open\\command";
}

std::u16string open_command_text(std::u16string_view program) {
    return std::u16string(program) + u" \"%1\"";
}

LONG rewrite_open_command(std::u16string_view extension) {
    // The key name starts with a backslash; it names a key directly under the class root,
    // which is where it is opened.
    std::u16string path = open_command_key(extension);
    const std::size_t name = path.find_first_not_of(u'\\');
    path.erase(0, name == std::u16string::npos ? path.size() : name);
    HKEY root = HKEY_CLASSES_ROOT;
    if (per_user_registration()) {
        root = HKEY_CURRENT_USER;
        path = u"Software\\Classes\\" + path;
    }

    HKEY key = nullptr;
    LONG e = RegOpenKeyExW(root, wide(path), 0, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &key);
    if (e != ERROR_SUCCESS) return e;
    const std::u16string command = open_command_text(locate_program());
    e = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
    return e;
}

}  // namespace hbx::shellext
