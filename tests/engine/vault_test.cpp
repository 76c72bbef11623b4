// The vault tree, its folders and whole files, and the drive lists.
#include "files.h"
#include "paths.h"
#include "text.h"
#include "vault.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace hbx;
using hbx::test::TestVolumes;

namespace {
bool contains(const std::vector<std::u16string>& list, const std::u16string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

TEST(VaultPaths, BothVolumeFormsGiveTheSameTree) {
    EXPECT_EQ(vault_root(u"C:"), vault_root(u"C:\\"));
    EXPECT_EQ(vault_parent(u"C:"), u"C:\\...\\");
    EXPECT_EQ(vault_root(u"C:"), u"C:\\...\\hbx\\");
    EXPECT_EQ(data_folder(u"E:\\"), u"E:\\...\\hbx\\data\\");
    EXPECT_EQ(item_folder(u"C:", u"\\Users\\ann\\"),
              u"C:\\...\\hbx\\data\\" + hash_text(u"\\Users\\ann\\"));
}

class VaultFolders : public ::testing::Test {
protected:
    TestVolumes volumes;
    const std::u16string d = TestVolumes::at(u'D');
};

TEST_F(VaultFolders, TheFirstItemFolderCreatesFourHiddenLevels) {
    const std::u16string folder = item_folder(u"D:", u"\\Users\\ann\\");
    ASSERT_EQ(create_folder_chain(folder), 0u);
    std::u16string level = folder;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(to_utf8(level));
        EXPECT_TRUE(platform::is_folder(level));
#ifdef _WIN32
        EXPECT_TRUE(test::looks_hidden(level));   // every level carries the attribute
#endif
        parent(level);
    }
    EXPECT_EQ(level, d);
    EXPECT_TRUE(test::looks_hidden(d + u"..."));
    EXPECT_EQ(create_folder_chain(folder), 0u);   // again: nothing to do, success
}

TEST_F(VaultFolders, FoldersThatExistedKeepTheirAttributes) {
    test::make_folders(d + u"shown");
    ASSERT_EQ(create_folder_chain(d + u"shown\\inner"), 0u);
    EXPECT_FALSE(test::looks_hidden(d + u"shown"));
#ifdef _WIN32
    EXPECT_TRUE(test::looks_hidden(d + u"shown\\inner"));
#endif
}

TEST_F(VaultFolders, AChainBlockedByAFileFails) {
    test::write_file(d + u"file", "x");
    EXPECT_NE(create_folder_chain(d + u"file\\inner"), 0u);
    EXPECT_NE(create_folder_chain(d + u"file"), 0u);   // a file where the folder should be
}

TEST_F(VaultFolders, ListingsLeaveOutDotEntries) {
    EXPECT_TRUE(list_folder(d + u"missing").empty());
    test::make_folders(d + u"empty");
    EXPECT_TRUE(list_folder(d + u"empty").empty());
    test::make_folders(d + u"some\\sub");
    test::write_file(d + u"some\\f.txt", "x");
    test::write_file(d + u"some\\.hidden", "x");
    auto entries = list_folder(d + u"some");
    std::sort(entries.begin(), entries.end(),
              [](const platform::FolderEntry& a, const platform::FolderEntry& b) {
                  return a.name < b.name;
              });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, u".hidden");
    EXPECT_FALSE(entries[0].is_folder);
    EXPECT_EQ(entries[1].name, u"f.txt");
    EXPECT_EQ(entries[2].name, u"sub");
    EXPECT_TRUE(entries[2].is_folder);
}

TEST_F(VaultFolders, WholeFiles) {
    test::write_file(d + u"zero", "");
    EXPECT_EQ(read_whole_file(d + u"zero"), std::nullopt);
    EXPECT_EQ(read_whole_file(d + u"missing"), std::nullopt);
    const std::u16string list = vault_root(u"D:") + u"path.list";
    ASSERT_EQ(write_whole_file(list, "{\n}\n"), 0u);   // creates the hidden vault folders
    EXPECT_TRUE(test::looks_hidden(d + u"..."));
    EXPECT_EQ(read_whole_file(list), "{\n}\n");
    ASSERT_EQ(write_whole_file(list, "x"), 0u);
    EXPECT_EQ(read_whole_file(list), "x");
    EXPECT_EQ(list_folder(vault_root(u"D:")).size(), 1u);   // no temporary file stays behind
}

TEST_F(VaultFolders, DriveLists) {
    const auto all = all_drive_roots();
    const auto items = item_volumes();
    for (const char16_t* root : {u"C:\\", u"D:\\", u"E:\\"}) {
        SCOPED_TRACE(to_utf8(root));
        EXPECT_TRUE(contains(all, root));
        EXPECT_TRUE(contains(items, root));
    }
    for (const char16_t* root : {u"N:\\", u"R:\\"}) {
        SCOPED_TRACE(to_utf8(root));
        EXPECT_TRUE(contains(all, root));
        EXPECT_FALSE(contains(items, root));
    }
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
}
