// The icon source of an item: the vault copy or the path itself, folder or program.
#include "files.h"
#include "item_icon.h"
#include "lock_service.h"
#include "paths.h"
#include "text.h"
#include "vault.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

#include <set>

using namespace hbx;

TEST(IconSource, ChoiceOfSourceFolderAndProgram) {
    const std::set<std::u16string> folders = {u"V:\\docs", u"D:\\pics", u"D:\\app.exe"};
    const auto is_folder = [&folders](const std::u16string& p) { return folders.count(p) > 0; };
    const struct {
        const char16_t* path;
        const char16_t* vault_copy;
        const char16_t* source;
        bool is_folder;
        bool is_program;
        const char* why;
    } cases[] = {
        {u"D:\\a.txt", u"V:\\a.txt", u"V:\\a.txt", false, false, "in the vault: the vault copy"},
        {u"D:\\a.txt", u"", u"D:\\a.txt", false, false, "in its place: the path itself"},
        {u"D:\\docs", u"V:\\docs", u"V:\\docs", true, false, "the folder test asks the source"},
        {u"D:\\pics", u"", u"D:\\pics", true, false, "a folder in its place"},
        {u"D:\\tool.exe", u"V:\\tool.exe", u"V:\\tool.exe", false, true, "a program in the vault"},
        {u"D:\\Setup.EXE", u"", u"D:\\Setup.EXE", false, true, "the extension in any case"},
        {u"D:\\app.exe", u"", u"D:\\app.exe", true, false, "a folder named like a program"},
        {u"D:\\a.exe.txt", u"", u"D:\\a.exe.txt", false, false, "only the last extension"},
        {u"D:\\exe", u"", u"D:\\exe", false, false, "no extension"},
        {u"D:/bin/run.exe", u"", u"D:/bin/run.exe", false, true, "forward slashes"},
        {u"D:\\bin.exe\\run", u"", u"D:\\bin.exe\\run", false, false, "a dot in a folder name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const IconSource s = choose_icon_source(c.path, c.vault_copy, is_folder);
        EXPECT_EQ(to_utf8(s.path), to_utf8(c.source));
        EXPECT_EQ(s.is_folder, c.is_folder);
        EXPECT_EQ(s.is_program, c.is_program);
    }
}

// Items in the vault and in their places on a real volume.
TEST(ItemIcon, SourcesOfRealItems) {
    test::TestVolumes volumes;
    const std::u16string vault = item_folder(u"D:", u"\\docs\\");
    ASSERT_EQ(create_folder_chain(vault), 0u);
    test::make_folders(u"D:\\docs\\archive.exe");
    test::make_folders(combine(vault, u"pics"));
    test::write_file(combine(vault, u"a.txt"), "locked");
    test::write_file(combine(vault, u"tool.exe"), "MZ");
    test::write_file(combine(vault, u"both.txt"), "locked");
    test::write_file(u"D:\\docs\\both.txt", "a new file of the same name");
    test::write_file(u"D:\\docs\\b.txt", "in its place");
    test::write_file(u"D:\\docs\\Setup.EXE", "MZ");

    const struct {
        const char16_t* path;
        std::u16string source;
        bool is_folder;
        bool is_program;
        const char* why;
    } cases[] = {
        {u"D:\\docs\\a.txt", combine(vault, u"a.txt"), false, false, "a locked text file"},
        {u"D:\\docs\\b.txt", u"D:\\docs\\b.txt", false, false, "a text file in its place"},
        {u"D:\\docs\\both.txt", combine(vault, u"both.txt"), false, false, "the vault copy wins"},
        {u"D:\\docs\\pics", combine(vault, u"pics"), true, false, "a locked folder"},
        {u"D:\\docs\\tool.exe", combine(vault, u"tool.exe"), false, true, "a locked program"},
        {u"D:\\docs\\Setup.EXE", u"D:\\docs\\Setup.EXE", false, true, "a program in its place"},
        {u"D:\\docs\\archive.exe", u"D:\\docs\\archive.exe", true, false, "a folder named .exe"},
        {u"D:\\docs\\gone.txt", u"D:\\docs\\gone.txt", false, false, "nothing anywhere"},
        {u"D:/docs/a.txt", combine(vault, u"a.txt"), false, false, "forward slashes"},
    };
    for (const auto& c : cases) {
        for (const bool large : {false, true}) {
            SCOPED_TRACE(std::string(c.why) + (large ? ", large" : ", small"));
            const ItemIcon icon = LockService::instance().item_icon(c.path, large);
            EXPECT_EQ(to_utf8(icon.source().path), to_utf8(c.source));
            EXPECT_EQ(icon.source().is_folder, c.is_folder);
            EXPECT_EQ(icon.source().is_program, c.is_program);
        }
    }
}
