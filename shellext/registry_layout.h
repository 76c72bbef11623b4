// Everything that registration writes into the registry, as data: one table of keys with their
// marks and values, grouped by the script of the class that owns them, and the pure functions
// that turn a script into the registry operations of registration or unregistration.
//
// Marks: a force-remove key is deleted with all its subkeys before it is written and again at
// unregistration; a no-remove key is created when missing and never deleted; any other key is
// created and is removed at unregistration (it lies under a force-remove key, or is deleted
// when it has no subkeys left).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hbx::shellext {

/// The registration scripts: the module's own (it writes nothing) and one per class.
enum class Script { module = 101, shell_menu = 106, overlay = 109, shell_icon = 110, query_info = 111 };

/// Where a key of the table lives: the class root, or HKEY_LOCAL_MACHINE in every mode.
enum class Hive { classes, local_machine };

enum class Mark { none, force_remove, no_remove };

/// A value of a key: an empty name is the key's default value. All data are strings.
struct RegistryValue {
    std::u16string_view name;
    std::u16string_view data;
};

/// One key of the table.
struct RegistryKey {
    Script script;
    Hive hive;
    std::u16string_view path;
    Mark mark;
    std::size_t value_count;
    std::array<RegistryValue, 2> values;
};

/// Stands for the full path of the extension module in the data of the table.
inline constexpr std::u16string_view module_placeholder = u"%MODULE%";

/// The default value of the stub types' open command until registration rewrites it with the
/// program's full path: the program's bare file name, which the system then looks up as it
/// looks up any command, so that opening a stub still reaches the program if the rewrite fails.
inline constexpr std::u16string_view initial_open_command = u"hushbox.exe \"%1\"";

namespace layout {
// The values of a key: none, one or two.
constexpr std::array<RegistryValue, 2> none{};
constexpr std::array<RegistryValue, 2> one(std::u16string_view data) {
    return {RegistryValue{u"", data}, RegistryValue{}};
}
constexpr std::array<RegistryValue, 2> two(RegistryValue a, RegistryValue b) { return {a, b}; }
}  // namespace layout

/// Every key that registration writes, parents before children, grouped by script.
// clang-format off
inline constexpr RegistryKey registry_table[] = {
    // The module's own script writes nothing.
    {Script::module, Hive::classes, u"", Mark::no_remove, 0, layout::none},

    // Context-menu handler, for all files, folders and directories.
    {Script::shell_menu, Hive::classes, u"CLSID", Mark::no_remove, 0, layout::none},
    {Script::shell_menu, Hive::classes, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}", Mark::force_remove, 1, layout::one(u"HushboxShellMenu Class")},
    {Script::shell_menu, Hive::classes, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}\\InprocServer32", Mark::none, 2, layout::two({u"", module_placeholder}, {u"ThreadingModel", u"Apartment"})},
    {Script::shell_menu, Hive::classes, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}\\TypeLib", Mark::none, 1, layout::one(u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}")},
    {Script::shell_menu, Hive::classes, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}\\Version", Mark::none, 1, layout::one(u"1.0")},
    {Script::shell_menu, Hive::classes, u"*\\ShellEx\\ContextMenuHandlers", Mark::no_remove, 0, layout::none},
    {Script::shell_menu, Hive::classes, u"*\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox", Mark::force_remove, 1, layout::one(u"{7C702D1D-5011-4D50-AB94-0E172E586AC4}")},
    {Script::shell_menu, Hive::classes, u"Folder\\ShellEx\\ContextMenuHandlers", Mark::no_remove, 0, layout::none},
    {Script::shell_menu, Hive::classes, u"Folder\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox", Mark::force_remove, 1, layout::one(u"{7C702D1D-5011-4D50-AB94-0E172E586AC4}")},
    {Script::shell_menu, Hive::classes, u"Directory\\ShellEx\\ContextMenuHandlers", Mark::no_remove, 0, layout::none},
    {Script::shell_menu, Hive::classes, u"Directory\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox", Mark::force_remove, 1, layout::one(u"{7C702D1D-5011-4D50-AB94-0E172E586AC4}")},

    // Icon overlay. Its identifier key is machine-wide in every mode; its name begins with
    // three spaces so that it sorts before other overlays (Explorer uses only the first few).
    {Script::overlay, Hive::classes, u"CLSID", Mark::no_remove, 0, layout::none},
    {Script::overlay, Hive::classes, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}", Mark::force_remove, 1, layout::one(u"ShellIconOverlay Class")},
    {Script::overlay, Hive::classes, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}\\InprocServer32", Mark::none, 2, layout::two({u"", module_placeholder}, {u"ThreadingModel", u"Apartment"})},
    {Script::overlay, Hive::classes, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}\\TypeLib", Mark::none, 1, layout::one(u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}")},
    {Script::overlay, Hive::classes, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}\\Version", Mark::none, 1, layout::one(u"1.0")},
    {Script::overlay, Hive::local_machine, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers", Mark::no_remove, 0, layout::none},
    {Script::overlay, Hive::local_machine, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers\\   ZenvorHushbox", Mark::force_remove, 1, layout::one(u"{8801875D-AEFF-4D06-ADB1-57E80C84479A}")},

    // Stub icon handler and the two stub file types, which never show their extension.
    {Script::shell_icon, Hive::classes, u"CLSID", Mark::no_remove, 0, layout::none},
    {Script::shell_icon, Hive::classes, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}", Mark::force_remove, 1, layout::one(u"ShellIcon Class")},
    {Script::shell_icon, Hive::classes, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\InprocServer32", Mark::none, 2, layout::two({u"", module_placeholder}, {u"ThreadingModel", u"Apartment"})},
    {Script::shell_icon, Hive::classes, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\TypeLib", Mark::none, 1, layout::one(u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}")},
    {Script::shell_icon, Hive::classes, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\Version", Mark::none, 1, layout::one(u"1.0")},
    {Script::shell_icon, Hive::classes, u"hbxfile", Mark::force_remove, 2, layout::two({u"", u"locked file"}, {u"NeverShowExt", u""})},
    {Script::shell_icon, Hive::classes, u"hbxfile\\DefaultIcon", Mark::force_remove, 1, layout::one(module_placeholder)},
    {Script::shell_icon, Hive::classes, u"hbxfile\\shell", Mark::force_remove, 0, layout::none},
    {Script::shell_icon, Hive::classes, u"hbxfile\\shell\\open", Mark::force_remove, 0, layout::none},
    {Script::shell_icon, Hive::classes, u"hbxfile\\shell\\open\\command", Mark::force_remove, 1, layout::one(initial_open_command)},
    {Script::shell_icon, Hive::classes, u"hbxfile\\ShellEx", Mark::force_remove, 0, layout::none},
    {Script::shell_icon, Hive::classes, u"hbxfile\\ShellEx\\IconHandler", Mark::force_remove, 1, layout::one(u"{4932BDE6-1A91-413B-A19F-6C462731C3E9}")},
    {Script::shell_icon, Hive::classes, u"hbxfolder", Mark::force_remove, 2, layout::two({u"", u"locked folder"}, {u"NeverShowExt", u""})},
    {Script::shell_icon, Hive::classes, u"hbxfolder\\DefaultIcon", Mark::force_remove, 1, layout::one(module_placeholder)},
    {Script::shell_icon, Hive::classes, u"hbxfolder\\shell", Mark::force_remove, 0, layout::none},
    {Script::shell_icon, Hive::classes, u"hbxfolder\\shell\\open", Mark::force_remove, 0, layout::none},
    {Script::shell_icon, Hive::classes, u"hbxfolder\\shell\\open\\command", Mark::force_remove, 1, layout::one(initial_open_command)},
    {Script::shell_icon, Hive::classes, u"hbxfolder\\ShellEx", Mark::force_remove, 0, layout::none},
    {Script::shell_icon, Hive::classes, u"hbxfolder\\ShellEx\\IconHandler", Mark::force_remove, 1, layout::one(u"{4932BDE6-1A91-413B-A19F-6C462731C3E9}")},

    // Info-tip handler of the two stub extensions; {00021500-...} is the IQueryInfo interface.
    {Script::query_info, Hive::classes, u"CLSID", Mark::no_remove, 0, layout::none},
    {Script::query_info, Hive::classes, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}", Mark::force_remove, 1, layout::one(u"MyQueryInfo Class")},
    {Script::query_info, Hive::classes, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}\\InprocServer32", Mark::none, 2, layout::two({u"", module_placeholder}, {u"ThreadingModel", u"Apartment"})},
    {Script::query_info, Hive::classes, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}\\TypeLib", Mark::none, 1, layout::one(u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}")},
    {Script::query_info, Hive::classes, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}\\Version", Mark::none, 1, layout::one(u"1.0")},
    {Script::query_info, Hive::classes, u".hbxfile", Mark::force_remove, 1, layout::one(u"hbxfile")},
    {Script::query_info, Hive::classes, u".hbxfile\\ShellEx", Mark::force_remove, 0, layout::none},
    {Script::query_info, Hive::classes, u".hbxfile\\ShellEx\\{00021500-0000-0000-C000-000000000046}", Mark::force_remove, 1, layout::one(u"{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}")},
    {Script::query_info, Hive::classes, u".hbxfolder", Mark::force_remove, 1, layout::one(u"hbxfolder")},
    {Script::query_info, Hive::classes, u".hbxfolder\\ShellEx", Mark::force_remove, 0, layout::none},
    {Script::query_info, Hive::classes, u".hbxfolder\\ShellEx\\{00021500-0000-0000-C000-000000000046}", Mark::force_remove, 1, layout::one(u"{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}")},
};
// clang-format on

/// The registry root of an operation. `classes_root` is HKEY_CLASSES_ROOT; per-user
/// registration puts the class keys under `current_user` ("Software\Classes\...") instead.
enum class RootKey { classes_root, current_user, local_machine };

struct RegistryOperation {
    enum Kind {
        delete_tree,   // delete the key with all subkeys; a missing key is fine
        create_key,    // create the key (and missing parents) or open it
        set_value,     // set a string value of the key (created before)
        delete_key,    // delete the key when it has no subkeys; a missing key is fine
    };
    Kind kind;
    RootKey root;
    std::u16string path;
    std::u16string name;
    std::u16string data;

    bool operator==(const RegistryOperation& other) const {
        return kind == other.kind && root == other.root && path == other.path &&
               name == other.name && data == other.data;
    }
};

/// The operations that register `script`: for each key in table order, a force-remove key is
/// deleted first, then the key is created and its values are set, %MODULE% replaced by
/// `module`. No-remove keys are created as well (creating opens an existing key).
std::vector<RegistryOperation> registration_operations(Script script, std::u16string_view module,
                                                       bool per_user);

/// The operations that unregister `script`: children before parents, force-remove keys deleted
/// with their subkeys, other keys deleted when they have no subkeys, no-remove keys left alone.
std::vector<RegistryOperation> unregistration_operations(Script script, bool per_user);

}  // namespace hbx::shellext
