// What the shell extension's tests share: the staging folder that holds the extension as it is
// installed, registry reading and writing, and the class identifiers as Explorer knows them.
#pragma once

#include <windows.h>

#include <string>

namespace hbx::test {

/// The folder that holds HushboxExt.dll, HushboxEnv.dll and the recording stand-in of the
/// program (hushbox.exe), with a trailing backslash.
std::u16string stage_folder();

/// The default value (empty name) or a named string value of a key; false when the key or the
/// value is missing or not a string.
bool read_registry_string(HKEY root, const std::u16string& key, const std::u16string& name,
                          std::u16string& value);

/// True when the key exists.
bool registry_key_exists(HKEY root, const std::u16string& key);

/// Creates the key when needed and sets a REG_SZ value (empty name: the default value).
void write_registry_string(HKEY root, const std::u16string& key, const std::u16string& name,
                           const std::u16string& value);

/// Deletes a key with its subkeys; a missing key is fine.
void delete_registry_tree(HKEY root, const std::u16string& key);

/// Removes one value of a key; a missing key or value is fine.
void delete_registry_value(HKEY root, const std::u16string& key, const std::u16string& name);

/// Gives a registry value a content for the life of the scope (or removes it, for a null
/// content) and puts back what was there before.
class RegistryValueScope {
public:
    RegistryValueScope(HKEY root, std::u16string key, std::u16string name, const char16_t* value);
    ~RegistryValueScope();
    RegistryValueScope(const RegistryValueScope&) = delete;
    RegistryValueScope& operator=(const RegistryValueScope&) = delete;

private:
    HKEY root_;
    std::u16string key_;
    std::u16string name_;
    bool had_key_ = false;
    bool had_value_ = false;
    std::u16string old_value_;
};

/// The GUID text "{...}" of an identifier.
std::u16string guid_text(const GUID& id);

/// Identifiers of the extension, written out independently of its sources.
namespace ids {
extern const CLSID shell_menu;     // {7C702D1D-5011-4D50-AB94-0E172E586AC4}
extern const CLSID overlay;        // {8801875D-AEFF-4D06-ADB1-57E80C84479A}
extern const CLSID shell_icon;     // {4932BDE6-1A91-413B-A19F-6C462731C3E9}
extern const CLSID query_info;     // {2F105B1A-66B0-4BF1-931B-4A8F1B243E35}
extern const IID i_shell_menu;     // {794CEEB4-2B00-4835-8CDB-2688B19262DB}
extern const IID i_shell_overlay;  // {8ED1DFF3-BCD6-49F3-94BE-9D2897999EFB}
extern const IID i_my_shell_icon;  // {8875B6CB-8DAF-4763-9D6A-ED938A433B40}
extern const IID i_my_query_info;  // {F20CDB5D-63E8-4EC1-A136-C2071707626C}
extern const GUID type_library;    // {350750B7-9871-4C29-A1C8-B3EC1E66DAA4}
extern const IID query_info_itf;   // IQueryInfo
extern const IID extract_icon_w;   // IExtractIconW
extern const IID overlay_itf;      // IShellIconOverlayIdentifier
}  // namespace ids

}  // namespace hbx::test
