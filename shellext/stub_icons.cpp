#include "stub_icons.h"

#include "wide.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace hbx::shellext {

namespace {

// The default value of a key under the class root, read into 260 characters; false when it
// is missing, not a string, or does not fit.
bool read_default(const std::u16string& key_name, std::u16string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, wide(key_name), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD bytes = MAX_PATH * sizeof(wchar_t);
    const LONG e = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                    &bytes);
    RegCloseKey(key);
    if (e != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    buffer[bytes / sizeof(wchar_t)] = L'\0';
    if (lstrlenW(buffer) >= MAX_PATH) return false;
    if (type == REG_EXPAND_SZ) {
        wchar_t expanded[MAX_PATH] = {};
        const DWORD needed = ExpandEnvironmentStringsW(buffer, expanded, MAX_PATH);
        if (needed == 0 || needed > MAX_PATH) return false;
        value = from_wide(expanded);
    } else {
        value = from_wide(buffer);
    }
    return true;
}

}  // namespace

IconLocation registered_default_icon(const std::u16string& extension) {
    IconLocation location;
    if (extension.empty() || StrCmpIW(wide(extension), L".exe") == 0) return location;
    std::u16string key;
    if (extension == u".") {
        key = u"Directory\\DefaultIcon";
    } else {
        std::u16string program_id;
        if (!read_default(extension, program_id)) return location;
        key = program_id + u"\\DefaultIcon";
    }
    std::u16string value;
    if (!read_default(key, value)) return location;
    wchar_t buffer[MAX_PATH] = {};
    lstrcpynW(buffer, wide(value), MAX_PATH);
    location.index = PathParseIconLocationW(buffer);
    location.file = from_wide(buffer);
    location.found = true;
    return location;
}

std::u16string reachable_path(const std::u16string& path) {
    const bool drive_absolute = path.size() >= 3 && path[1] == u':' && path[2] == u'\\';
    if (!drive_absolute) return path;
    const std::u16string prefixed = u"\\\\?\\" + path;
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(wide(prefixed), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return path;
    std::u16string short_path = from_wide(buffer);
    if (short_path.rfind(u"\\\\?\\", 0) == 0) short_path.erase(0, 4);
    return short_path;
}

IconLocation executable_icon(const std::u16string& path) {
    if (!path.empty()) {
        const UINT icons = ExtractIconExW(wide(path), -1, nullptr, nullptr, 0);
        // A file that cannot be read reports UINT_MAX rather than 0.
        if (icons > 0 && icons != UINT_MAX) return {true, path, 0};
    }
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    wchar_t shell32[MAX_PATH] = {};
    PathCombineW(shell32, system, L"shell32.dll");
    return {true, from_wide(shell32), 2};
}

}  // namespace hbx::shellext
