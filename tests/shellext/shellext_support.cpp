#include "shellext_support.h"

#include "test_volumes.h"
#include "text.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

namespace hbx::test {

namespace {
const wchar_t* w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
}  // namespace

std::u16string stage_folder() {
    // The test programs are in bin\, the staging folder beside it.
    const std::u16string relative = from_utf8(program_folder()) + u"\\..\\shellext-stage\\";
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(w(relative), MAX_PATH, full, nullptr);
    return std::u16string(reinterpret_cast<const char16_t*>(full));
}

bool read_registry_string(HKEY root, const std::u16string& key, const std::u16string& name,
                          std::u16string& value) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, w(key), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD bytes = 0;
    LONG e = RegQueryValueExW(handle, w(name), nullptr, &type, nullptr, &bytes);
    std::u16string data(bytes / 2 + 1, u'\0');
    if (e == ERROR_SUCCESS) {
        e = RegQueryValueExW(handle, w(name), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &bytes);
    }
    RegCloseKey(handle);
    if (e != ERROR_SUCCESS || type != REG_SZ) return false;
    data.resize(bytes / 2);
    while (!data.empty() && data.back() == u'\0') data.pop_back();
    value = data;
    return true;
}

bool registry_key_exists(HKEY root, const std::u16string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, w(key), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

void write_registry_string(HKEY root, const std::u16string& key, const std::u16string& name,
                           const std::u16string& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, w(key), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
              ERROR_SUCCESS)
        << to_utf8(key);
    const LONG e = RegSetValueExW(handle, w(name), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * 2));
    RegCloseKey(handle);
    ASSERT_EQ(e, ERROR_SUCCESS) << to_utf8(key);
}

void delete_registry_tree(HKEY root, const std::u16string& key) { SHDeleteKeyW(root, w(key)); }

void delete_registry_value(HKEY root, const std::u16string& key, const std::u16string& name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, w(key), 0, KEY_SET_VALUE, &handle) == ERROR_SUCCESS) {
        RegDeleteValueW(handle, w(name));
        RegCloseKey(handle);
    }
}

RegistryValueScope::RegistryValueScope(HKEY root, std::u16string key, std::u16string name,
                                       const char16_t* value)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    had_key_ = registry_key_exists(root_, key_);
    had_value_ = read_registry_string(root_, key_, name_, old_value_);
    if (value != nullptr) {
        write_registry_string(root_, key_, name_, value);
    } else {
        delete_registry_value(root_, key_, name_);
    }
}

RegistryValueScope::~RegistryValueScope() {
    if (!had_key_) {
        delete_registry_tree(root_, key_);
    } else if (had_value_) {
        write_registry_string(root_, key_, name_, old_value_);
    } else {
        delete_registry_value(root_, key_, name_);
    }
}

std::u16string guid_text(const GUID& id) {
    wchar_t text[40] = {};
    StringFromGUID2(id, text, 40);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

namespace ids {
const CLSID shell_menu = {0x7C702D1D, 0x5011, 0x4D50, {0xAB, 0x94, 0x0E, 0x17, 0x2E, 0x58, 0x6A, 0xC4}};
const CLSID overlay = {0x8801875D, 0xAEFF, 0x4D06, {0xAD, 0xB1, 0x57, 0xE8, 0x0C, 0x84, 0x47, 0x9A}};
const CLSID shell_icon = {0x4932BDE6, 0x1A91, 0x413B, {0xA1, 0x9F, 0x6C, 0x46, 0x27, 0x31, 0xC3, 0xE9}};
const CLSID query_info = {0x2F105B1A, 0x66B0, 0x4BF1, {0x93, 0x1B, 0x4A, 0x8F, 0x1B, 0x24, 0x3E, 0x35}};
const IID i_shell_menu = {0x794CEEB4, 0x2B00, 0x4835, {0x8C, 0xDB, 0x26, 0x88, 0xB1, 0x92, 0x62, 0xDB}};
const IID i_shell_overlay = {0x8ED1DFF3, 0xBCD6, 0x49F3, {0x94, 0xBE, 0x9D, 0x28, 0x97, 0x99, 0x9E, 0xFB}};
const IID i_my_shell_icon = {0x8875B6CB, 0x8DAF, 0x4763, {0x9D, 0x6A, 0xED, 0x93, 0x8A, 0x43, 0x3B, 0x40}};
const IID i_my_query_info = {0xF20CDB5D, 0x63E8, 0x4EC1, {0xA1, 0x36, 0xC2, 0x07, 0x17, 0x07, 0x62, 0x6C}};
const GUID type_library = {0x350750B7, 0x9871, 0x4C29, {0xA1, 0xC8, 0xB3, 0xEC, 0x1E, 0x66, 0xDA, 0xA4}};
const IID query_info_itf = {0x00021500, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID extract_icon_w = {0x000214FA, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID overlay_itf = {0x0C6C4200, 0xC589, 0x11D0, {0x99, 0x9A, 0x00, 0xC0, 0x4F, 0xD6, 0x55, 0xE1}};
}  // namespace ids

}  // namespace hbx::test
