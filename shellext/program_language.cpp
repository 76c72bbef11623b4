#include "program_language.h"

#include "wide.h"

namespace hbx::shellext {

namespace {
constexpr LANGID english = 0x0409;
}

std::u16string program_settings_key() {
    // "Software\<maker>\<product> <version>"
    return std::u16string(u"Software\\") + u"Zenvor" + u"\\" + u"Hushbox" + u" " + u"1.1";
}

LANGID language_id_for(std::u16string_view code) {
    static constexpr struct {
        std::u16string_view code;
        LANGID language;
    } table[] = {
        {u"de", 0x0407},
        {u"ja", 0x0411},
        {u"zh-CN", 0x0804},
        {u"zh-TW", 0x0404},
    };
    for (const auto& entry : table) {
        if (entry.code == code) return entry.language;
    }
    return english;
}

LANGID program_language_id() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(program_settings_key()), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return english;
    }
    wchar_t value[64] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(value) - sizeof(wchar_t);   // room for a terminator the value may lack
    const LONG e = RegQueryValueExW(key, L"lang", nullptr, &type, reinterpret_cast<BYTE*>(value),
                                    &bytes);
    RegCloseKey(key);
    if (e != ERROR_SUCCESS || type != REG_SZ) return english;
    std::u16string_view code(reinterpret_cast<const char16_t*>(value), bytes / sizeof(wchar_t));
    while (!code.empty() && code.back() == u'\0') code.remove_suffix(1);
    return language_id_for(code);
}

}  // namespace hbx::shellext
