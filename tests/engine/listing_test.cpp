// The listing of locked and hidden items, the item folder that two source folders share, and
// the removal of vaults that hold nothing.
#include "files.h"
#include "item_listing.h"
#include "lock_list.h"
#include "options.h"
#include "password.h"
#include "source_record.h"
#include "stub.h"

#include "vault_fixture.h"

#include <algorithm>

using namespace hbx;
using hbx::test::TestVolumes;

namespace {

class Listing : public test::VaultTest {
protected:
    std::vector<LockedItem> listed() {
        std::vector<LockedItem> items;
        service.list_items(items);
        return items;
    }
};

std::vector<std::u16string> paths_of(const std::vector<LockedItem>& items) {
    std::vector<std::u16string> paths;
    for (const auto& item : items) paths.push_back(item.path);
    return paths;
}

}  // namespace

TEST_F(Listing, AnEmptyDataFolderListsNothingWhateverTheLockListSays) {
    EXPECT_TRUE(listed().empty());   // no vault at all
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK);
    LOCK_TYPE type;
    std::u16string place;
    ASSERT_TRUE(service.unlock(ann + u"a.txt", type, place));
    test::remove_tree(ann_folder);
    EXPECT_NE(test::read_file(lock_list_file(u"D:")).find("3C51012B1D0BBBE73FC0A809A58198F9"),
              std::string::npos);
    EXPECT_TRUE(listed().empty());
    std::vector<LockedItem> items{{u"kept", u"kept", false, false}};
    service.list_items(items);   // the vector is cleared first
    EXPECT_TRUE(items.empty());
}

TEST_F(Listing, TheStubDecidesBetweenLockedAndHidden) {
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK);
    put_away(ann + u"b.txt", LOCK_TYPE_HIDE);
    auto hidden_of = [this](const std::u16string& path) {
        for (const auto& item : listed()) {
            if (item.path == path) return item.hidden;
        }
        ADD_FAILURE() << "not listed: " << to_utf8(path);
        return false;
    };
    EXPECT_FALSE(hidden_of(ann + u"a.txt"));
    EXPECT_TRUE(hidden_of(ann + u"b.txt"));
    test::remove_tree(ann + u"a.txt.hbxfile");
    test::write_file(ann + u"b.txt.hbxfile", "");
    EXPECT_TRUE(hidden_of(ann + u"a.txt"));
    EXPECT_FALSE(hidden_of(ann + u"b.txt"));
}

TEST_F(Listing, WithoutTheLockListItemsShowUnderTheirItemFolderName) {
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK);
    test::remove_tree(lock_list_file(u"D:"));
    const auto items = listed();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].path, u"D:\\3C51012B1D0BBBE73FC0A809A58198F9\\a.txt");
    EXPECT_EQ(items[0].vault_path, ann_folder + u"\\a.txt");
    EXPECT_TRUE(items[0].hidden);   // no stub stands at that made-up place
}

TEST_F(Listing, FixedAndRemovableVolumesInDriveOrderNetworkAndCdRomNot) {
    for (const char16_t letter : {u'R', u'N', u'E', u'D', u'C'}) {
        const std::u16string folder = TestVolumes::at(letter, u"hbxtest\\");
        test::make_folders(folder);
        put_away(folder + u"item.txt", LOCK_TYPE_LOCK);
        EXPECT_NE(service.vault_location(folder + u"item.txt"), u"");
    }
    EXPECT_EQ(paths_of(listed()),
              (std::vector<std::u16string>{u"C:\\hbxtest\\item.txt", u"D:\\hbxtest\\item.txt",
                                           u"E:\\hbxtest\\item.txt"}));
}

TEST_F(Listing, TwoSourceFoldersSharingAnItemFolderKeepTheirOwnPlaces) {
    const std::u16string docs = ann + u"docs\\";
    const std::u16string pics = ann + u"pics\\";
    ASSERT_EQ(hash_text(u"\\Users\\ann\\docs\\"), hash_text(u"\\Users\\ann\\pics\\"));
    test::make_folders(docs);
    test::make_folders(pics);
    put_away(docs + u"a.txt", LOCK_TYPE_LOCK, "doc");
    put_away(pics + u"b.jpg", LOCK_TYPE_HIDE, "pic");
    put_away(docs + u"c.txt", LOCK_TYPE_LOCK, "doc c");
    // The same name from the other folder is refused and claims nothing of the first.
    test::write_file(pics + u"c.txt", "pic c");
    EXPECT_FALSE(service.lock(pics + u"c.txt", LOCK_TYPE_LOCK));
    EXPECT_EQ(error().code, LOCK_RESULT_NAME_CONFLICT);

    // The lock list is as every build writes it: one entry, the folder that came first.
    EXPECT_EQ(test::read_file(lock_list_file(u"D:")),
              "{\n    \"hash_path\": {\n        \"3F92B9032FD3733936F55BECC26EF2D1\": "
              "\"\\\\Users\\\\ann\\\\docs\\\\\"\n    }\n}\n");
    auto items = listed();
    std::sort(items.begin(), items.end(),
              [](const LockedItem& x, const LockedItem& y) { return x.path < y.path; });
    ASSERT_EQ(paths_of(items), (std::vector<std::u16string>{docs + u"a.txt", docs + u"c.txt",
                                                            pics + u"b.jpg"}));
    EXPECT_TRUE(items[2].hidden);

    // Without the record the vault lists as the lock list says.
    const std::string record = test::read_file(source_record_file(u"D:"));
    test::remove_tree(source_record_file(u"D:"));
    for (const auto& item : listed()) EXPECT_EQ(item.path.substr(0, docs.size()), docs);
    test::write_file(source_record_file(u"D:"), record);

    // Unlocking from the list brings each item back to its own folder.
    for (const auto& item : items) {
        SCOPED_TRACE(to_utf8(item.path));
        LOCK_TYPE type;
        std::u16string place;
        ASSERT_TRUE(service.unlock(item.path, type, place));
        EXPECT_EQ(place, item.path);
    }
    EXPECT_EQ(test::read_file(docs + u"a.txt"), "doc");
    EXPECT_EQ(test::read_file(pics + u"b.jpg"), "pic");
    EXPECT_EQ(test::read_file(docs + u"c.txt"), "doc c");
    EXPECT_FALSE(platform::exists(source_record_file(u"D:")));   // nothing left to record
}

TEST_F(Listing, RemovingEmptyVaultsLeavesNothingOfThemAndTouchesTheOthersNot) {
    ASSERT_TRUE(set_password(u"secret"));
    // D: held items once; now only empty item folders and the vault's files are left.
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK);
    test::make_folders(TestVolumes::at(u'D', u"docs"));
    put_away(TestVolumes::at(u'D', u"docs\\b.txt"), LOCK_TYPE_HIDE);
    ASSERT_TRUE(ensure_options(u"D:", u"secret"));
    LOCK_TYPE type;
    std::u16string place;
    ASSERT_TRUE(service.unlock(ann + u"a.txt", type, place));
    ASSERT_TRUE(service.unlock(TestVolumes::at(u'D', u"docs\\b.txt"), type, place));
    test::write_file(source_record_file(u"D:"), "left over");
    // E: holds one hidden item.
    test::make_folders(TestVolumes::at(u'E', u"x"));
    put_away(TestVolumes::at(u'E', u"x\\h.txt"), LOCK_TYPE_HIDE);
    ASSERT_TRUE(ensure_options(u"E:", u"secret"));
    const auto e_before = list_folder(vault_root(u"E:"));
    // C: holds the password and a stray file in its data folder.
    test::make_folders(data_folder(u"C:"));
    test::write_file(data_folder(u"C:") + u"stray.txt", "stray");
    test::make_folders(data_folder(u"C:") + u"EMPTY");

    service.remove_empty_vaults();

    EXPECT_FALSE(platform::exists(vault_parent(u"D:")));
    EXPECT_EQ(list_folder(TestVolumes::at(u'D')).size(), 2u);   // Users and docs, nothing else
    EXPECT_EQ(list_folder(vault_root(u"E:")).size(), e_before.size());
    EXPECT_EQ(paths_of(listed()), std::vector<std::u16string>{TestVolumes::at(u'E', u"x\\h.txt")});
    EXPECT_TRUE(platform::exists(options_file(u"E:")));
    EXPECT_EQ(test::read_file(data_folder(u"C:") + u"stray.txt"), "stray");
    EXPECT_FALSE(platform::exists(data_folder(u"C:") + u"EMPTY"));
    EXPECT_FALSE(platform::exists(options_file(u"C:")));
    EXPECT_FALSE(platform::exists(lock_list_file(u"C:")));
    EXPECT_TRUE(platform::is_folder(vault_root(u"C:")));
    EXPECT_TRUE(platform::is_folder(vault_parent(u"C:")));
}
