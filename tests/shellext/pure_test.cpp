// The extension's pure rules: menu labels, menu icon size, language identifiers, the open
// command, the program's candidate places, the choice of the shell's Explorer, and the
// registry operations of registration and unregistration.
#include "explorer_restarter.h"
#include "menu_label.h"
#include "open_command.h"
#include "program_language.h"
#include "program_location.h"
#include "registry_layout.h"

#include "text.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace hbx::shellext;
using hbx::to_utf8;

TEST(MenuLabel, NamesTheItemAndCutsTheStubExtension) {
    const std::u16string lock = u"Lock \"%ls\"";
    const std::u16string unlock = u"Entsperren „%ls“";
    const struct {
        const char16_t* path;
        bool stub;
        const char16_t* label;
    } cases[] = {
        {u"C:\\Users\\ann\\a.txt", false, u"Lock \"a.txt\""},
        {u"D:\\Budget 2024.xlsx.hbxfile", true, u"Entsperren „Budget 2024.xlsx“"},
        {u"D:\\report.doc.hbxfile", true, u"Entsperren „report.doc“"},
        {u"D:\\Photos", false, u"Lock \"Photos\""},
        {u"D:\\Old.hbxfolder", false, u"Lock \"Old.hbxfolder\""},   // a folder is no stub
        {u"D:\\nodot", true, u"Entsperren „“"},                    // no dot: empty name
        {u"D:\\a.b\\c.hbxfolder", true, u"Entsperren „c“"},        // dots of folders do not count
        {u"D:/x/y.txt", false, u"Lock \"y.txt\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.path));
        EXPECT_EQ(menu_label(c.path, c.stub, lock, unlock), c.label);
    }
    // A format that could not be loaded gives no label; the other format is not used instead.
    EXPECT_EQ(menu_label(u"D:\\a.txt", false, u"", unlock), u"");
    EXPECT_EQ(menu_label(u"D:\\a.txt.hbxfile", true, lock, u""), u"");
}

TEST(MenuLabel, IconSizeFollowsTheCheckMarkWidth) {
    const struct {
        int metric;
        int size;
    } cases[] = {{30, 19}, {19, 19}, {18, 17}, {17, 17}, {16, 15}, {15, 15},
                 {14, 13}, {13, 13}, {12, 15}, {11, 15}, {0, 15}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.metric);
        EXPECT_EQ(menu_icon_size(c.metric), c.size);
    }
}

TEST(ProgramLanguage, StoredCodesMapExactly) {
    const struct {
        const char16_t* code;
        LANGID language;
    } cases[] = {
        {u"de", 0x0407}, {u"ja", 0x0411}, {u"zh-CN", 0x0804}, {u"zh-TW", 0x0404},
        {u"", 0x0409},   {u"en", 0x0409}, {u"DE", 0x0409},    {u"fr", 0x0409},
        {u"zh-tw", 0x0409}, {u"de ", 0x0409}, {u"zh", 0x0409},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.code));
        EXPECT_EQ(language_id_for(c.code), c.language);
    }
    EXPECT_EQ(program_settings_key(), u"Software\\Zenvor\\Hushbox 1.1");
}

TEST(OpenCommand, KeyAndCommandText) {
    EXPECT_EQ(open_command_key(u".hbxfile"), u"\\hbxfile\\shell\\open\\command");
    EXPECT_EQ(open_command_key(u".hbxfolder"), u"\\hbxfolder\\shell\\open\\command");
    EXPECT_EQ(open_command_text(u"C:\\Program Files\\Zenvor\\hushbox.exe"),
              u"C:\\Program Files\\Zenvor\\hushbox.exe \"%1\"");
}

TEST(ProgramLocation, BesideAndOneFolderUp) {
    const struct {
        const char16_t* module;
        const char16_t* beside;
        const char16_t* above;
    } cases[] = {
        {u"C:\\Program Files\\Zenvor\\ext\\HushboxExt.dll",
         u"C:\\Program Files\\Zenvor\\ext\\hushbox.exe", u"C:\\Program Files\\Zenvor\\hushbox.exe"},
        {u"C:\\Zenvor\\HushboxExt.dll", u"C:\\Zenvor\\hushbox.exe", u"C:\\hushbox.exe"},
        {u"C:\\HushboxExt.dll", u"C:\\hushbox.exe", u"C:\\hushbox.exe"},
        {u"\\\\server\\share\\ext\\HushboxExt.dll", u"\\\\server\\share\\ext\\hushbox.exe",
         u"\\\\server\\share\\hushbox.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.module));
        const ProgramCandidates candidates = program_candidates(c.module);
        EXPECT_EQ(candidates.beside, c.beside);
        EXPECT_EQ(candidates.above, c.above);
    }
}

TEST(ExplorerRestart, PicksTheEarliestShellExplorer) {
    const std::u16string explorer = u"\\Device\\HarddiskVolume1\\Windows\\explorer.exe";
    const struct {
        const char* name;
        std::vector<RunningProcess> processes;
        DWORD chosen;
    } cases[] = {
        {"none running", {{4, u"\\Device\\HarddiskVolume1\\Windows\\System32\\svchost.exe", 1}}, 0},
        {"the earliest of several", {{10, explorer, 300}, {11, explorer, 100}, {12, explorer, 200}}, 11},
        {"the name is compared with its case",
         {{20, u"\\Device\\HarddiskVolume1\\Windows\\Explorer.EXE", 1}, {21, explorer, 5}}, 21},
        {"only the last component counts",
         {{30, u"\\Device\\HarddiskVolume1\\explorer.exe\\tool.exe", 1},
          {31, u"\\Device\\HarddiskVolume1\\myexplorer.exe", 2}, {32, explorer, 9}}, 32},
        {"the full 64-bit time decides",
         {{40, explorer, 0x0000000200000000ull}, {41, explorer, 0x00000001FFFFFFFFull}}, 41},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pick_shell_explorer(c.processes).id, c.chosen);
    }
}

namespace {

using Op = RegistryOperation;

bool contains(const std::vector<Op>& operations, const Op& wanted) {
    return std::find(operations.begin(), operations.end(), wanted) != operations.end();
}

std::size_t position(const std::vector<Op>& operations, const Op& wanted) {
    return static_cast<std::size_t>(
        std::find(operations.begin(), operations.end(), wanted) - operations.begin());
}

}  // namespace

TEST(RegistryLayout, RegistrationWritesEachKeyAfterClearingForceRemoveKeys) {
    const std::u16string module = u"C:\\Zenvor\\HushboxExt.dll";
    const auto ops = registration_operations(Script::shell_icon, module, false);
    const std::u16string clsid = u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}";

    // A force-remove key is deleted, then created, then given its values.
    const Op cleared{Op::delete_tree, RootKey::classes_root, u"hbxfile", {}, {}};
    const Op created{Op::create_key, RootKey::classes_root, u"hbxfile", {}, {}};
    const Op named{Op::set_value, RootKey::classes_root, u"hbxfile", u"", u"locked file"};
    const Op hidden{Op::set_value, RootKey::classes_root, u"hbxfile", u"NeverShowExt", u""};
    ASSERT_TRUE(contains(ops, cleared) && contains(ops, created) && contains(ops, named) &&
                contains(ops, hidden));
    EXPECT_LT(position(ops, cleared), position(ops, created));
    EXPECT_LT(position(ops, created), position(ops, named));

    // %MODULE% is the module's path; the open command starts as the placeholder.
    EXPECT_TRUE(contains(ops, {Op::set_value, RootKey::classes_root, clsid + u"\\InprocServer32",
                               u"", module}));
    EXPECT_TRUE(contains(ops, {Op::set_value, RootKey::classes_root, u"hbxfolder\\DefaultIcon",
                               u"", module}));
    EXPECT_TRUE(contains(ops, {Op::set_value, RootKey::classes_root,
                               u"hbxfolder\\shell\\open\\command", u"", u"hushbox.exe \"%1\""}));

    // The no-remove parent is created, never cleared.
    EXPECT_TRUE(contains(ops, {Op::create_key, RootKey::classes_root, u"CLSID", {}, {}}));
    EXPECT_FALSE(contains(ops, {Op::delete_tree, RootKey::classes_root, u"CLSID", {}, {}}));

    // Each script writes only its own keys.
    for (const Op& op : ops) {
        EXPECT_EQ(op.path.find(u"7C702D1D"), std::u16string::npos) << to_utf8(op.path);
    }
}

TEST(RegistryLayout, PerUserMovesTheClassKeysButNotTheOverlayIdentifier) {
    const auto ops = registration_operations(Script::overlay, u"M.dll", true);
    const std::u16string overlay_key =
        u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers"
        u"\\   ZenvorHushbox";
    EXPECT_TRUE(contains(ops, {Op::set_value, RootKey::local_machine, overlay_key, u"",
                               u"{8801875D-AEFF-4D06-ADB1-57E80C84479A}"}));
    EXPECT_TRUE(contains(ops, {Op::set_value, RootKey::current_user,
                               u"Software\\Classes\\CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}",
                               u"", u"ShellIconOverlay Class"}));
    for (const Op& op : ops) EXPECT_NE(op.root, RootKey::classes_root) << to_utf8(op.path);

    const auto machine = registration_operations(Script::overlay, u"M.dll", false);
    EXPECT_TRUE(contains(machine, {Op::set_value, RootKey::classes_root,
                                   u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}", u"",
                                   u"ShellIconOverlay Class"}));
}

TEST(RegistryLayout, UnregistrationDeletesChildrenFirstAndKeepsNoRemoveKeys) {
    for (Script script : {Script::module, Script::shell_menu, Script::overlay, Script::shell_icon,
                          Script::query_info}) {
        SCOPED_TRACE(static_cast<int>(script));
        const auto ops = unregistration_operations(script, false);
        for (const Op& op : ops) {
            for (const char16_t* kept : {u"CLSID", u"*\\ShellEx\\ContextMenuHandlers",
                                         u"Folder\\ShellEx\\ContextMenuHandlers",
                                         u"Directory\\ShellEx\\ContextMenuHandlers",
                                         u"Software\\Microsoft\\Windows\\CurrentVersion\\"
                                         u"Explorer\\ShellIconOverlayIdentifiers"}) {
                EXPECT_NE(op.path, kept) << "a no-remove key is deleted";
            }
        }
        // A key's children are handled before the key itself.
        for (std::size_t i = 0; i < ops.size(); ++i) {
            for (std::size_t j = i + 1; j < ops.size(); ++j) {
                EXPECT_NE(ops[j].path.rfind(ops[i].path + u"\\", 0), 0u)
                    << to_utf8(ops[i].path) << " before its child " << to_utf8(ops[j].path);
            }
        }
    }
    const auto menu = unregistration_operations(Script::shell_menu, false);
    EXPECT_TRUE(contains(menu, {Op::delete_tree, RootKey::classes_root,
                                u"*\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox", {}, {}}));
    EXPECT_TRUE(contains(menu, {Op::delete_tree, RootKey::classes_root,
                                u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}", {}, {}}));
    EXPECT_TRUE(unregistration_operations(Script::module, false).empty());
}
