// Lock, hide, unlock, open and relock, with every failure they report.
#include "files.h"
#include "held_open.h"
#include "lock_list.h"
#include "options.h"
#include "password.h"
#include "source_record.h"
#include "stub.h"

#include "vault_fixture.h"

#include <functional>
#include <memory>

using namespace hbx;
using hbx::test::HeldOpen;
using hbx::test::TestVolumes;

namespace {

const std::string ann_stub = "[ENCRYPTINFO]\r\nSRC=Users\\ann\\a.txt\r\n";
const std::string ann_list =
    "{\n    \"hash_path\": {\n"
    "        \"3C51012B1D0BBBE73FC0A809A58198F9\": \"\\\\Users\\\\ann\\\\\"\n    }\n}\n";

std::string options_bytes(const std::string& pending_lines) {
    return "{\n    \"user\": {\n        \"password\": \"2C0D7EE4567F7E08BFD9175B516A183C\",\n"
           "        \"machine\": \"\"\n    },\n    \"pending\": " +
           (pending_lines.empty() ? "\"\"\n" : "[\n" + pending_lines + "    ]\n") + "}\n";
}

std::string pending_line(const std::string& path, int type, bool last = true) {
    return "        {\n            \"path\": \"" + path + "\",\n            \"type\": \"" +
           std::to_string(type) + "\"\n        }" + (last ? "\n" : ",\n");
}

class Locking : public test::VaultTest {};

}  // namespace

TEST_F(Locking, AFileLeavesAStubAndGoesIntoTheItemFolderOfItsSourceFolder) {
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK, "hello");
    EXPECT_FALSE(platform::exists(ann + u"a.txt"));
    EXPECT_EQ(test::read_file(ann + u"a.txt.hbxfile"), ann_stub);
    EXPECT_EQ(test::read_file(ann_folder + u"\\a.txt"), "hello");
    EXPECT_EQ(service.vault_location(ann + u"a.txt"), ann_folder + u"\\a.txt");
    EXPECT_EQ(test::read_file(lock_list_file(u"D:")), ann_list);
    // The first lock made the four hidden vault levels, but no options file.
    std::u16string level = ann_folder;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(to_utf8(level));
        EXPECT_TRUE(platform::is_folder(level));
#ifdef _WIN32
        EXPECT_TRUE(test::looks_hidden(level));
#endif
        parent(level);
    }
    EXPECT_TRUE(test::looks_hidden(u"D:\\..."));
    EXPECT_FALSE(platform::exists(options_file(u"D:")));
    EXPECT_FALSE(platform::exists(source_record_file(u"D:")));

    // A second file of the folder shares the item folder and the lock list entry.
    put_away(ann + u"b.txt", LOCK_TYPE_LOCK);
    EXPECT_TRUE(platform::exists(ann_folder + u"\\b.txt"));
    EXPECT_EQ(test::read_file(lock_list_file(u"D:")), ann_list);
}

TEST_F(Locking, FilesAndFoldersAreLockedOrHiddenAlike) {
    const struct {
        const char16_t* name;
        bool folder;
        int type;
        const char* stub;   // the stub's bytes, or nullptr for none
    } cases[] = {
        {u"docs", true, LOCK_TYPE_LOCK, "[ENCRYPTINFO]\r\nSRC=d\\docs\r\n"},
        {u"pics", true, LOCK_TYPE_HIDE, nullptr},
        {u"notes.txt", false, LOCK_TYPE_HIDE, nullptr},
        {u"other.txt", false, 7, nullptr},   // every type but 0 hides
    };
    const std::u16string d = TestVolumes::at(u'D', u"d\\");
    const std::u16string folder = item_folder(u"D:", u"\\d\\");
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.name));
        const std::u16string path = d + c.name;
        if (c.folder) {
            test::make_folders(path + u"\\inner");
            test::write_file(path + u"\\inner\\f.txt", "deep");
        } else {
            test::write_file(path, "flat");
        }
        ASSERT_TRUE(service.lock(path, c.type));
        EXPECT_FALSE(platform::exists(path));
        const std::u16string vault_path = folder + u"\\" + c.name;
        EXPECT_EQ(test::read_file(c.folder ? vault_path + u"\\inner\\f.txt" : vault_path),
                  c.folder ? "deep" : "flat");
        const StubInfo stub = stub_info_for_item(path, c.folder);
        EXPECT_EQ(test::read_file(stub.stub), c.stub ? c.stub : "<missing>");
        EXPECT_FALSE(platform::exists(stub_info_for_item(path, !c.folder).stub));

        std::vector<LockedItem> items;
        service.list_items(items);
        bool listed = false;
        for (const auto& item : items) {
            if (item.path != path) continue;
            listed = true;
            EXPECT_EQ(item.vault_path, vault_path);
            EXPECT_EQ(item.is_folder, c.folder);
            EXPECT_EQ(item.hidden, c.stub == nullptr);
        }
        EXPECT_TRUE(listed);
    }
}

TEST_F(Locking, RefusedLocksLeaveTheItemAndAnyEarlierStubAsTheyWere) {
    constexpr int any_error = -1;
    using Setup = std::function<std::shared_ptr<void>()>;
    const std::u16string a = ann + u"a.txt";
    const std::u16string long_folder = ann + std::u16string(120, u'x');
    const std::u16string long_path =
        long_folder + u"\\" + std::u16string(260 - long_folder.size() - 1, u'y');
    const struct {
        const char* name;
        std::u16string path;
        int type;
        Setup setup;
        int code;
        int system_error;
        const char* stub_after;   // the bytes at the stub's name afterwards, nullptr for none
        bool no_vault = false;    // refused before anything was recorded on any volume
    } cases[] = {
        {"nothing at the path", ann + u"missing.txt", LOCK_TYPE_LOCK, [] { return nullptr; },
         LOCK_RESULT_LOCK_TARGET_MISSING, 0, nullptr, true},
        {"a network path", u"\\\\server\\share\\a.txt", LOCK_TYPE_LOCK, [] { return nullptr; },
         LOCK_RESULT_OTHER, 161, nullptr, true},
        {"a path of 260 units", long_path, LOCK_TYPE_HIDE,
         [&] {
             test::make_folders(long_folder);
             test::write_file(long_path, "item");
             return nullptr;
         },
         LOCK_RESULT_OTHER, 206, nullptr, true},
        {"the stub cannot be written", a, LOCK_TYPE_LOCK,
         [&] {
             test::make_folders(a + u".hbxfile");
             return nullptr;
         },
         LOCK_RESULT_CREATE_STUB_FAILED, any_error, nullptr},
        {"the lock list cannot be saved", a, LOCK_TYPE_LOCK,
         [&] {
             test::make_folders(lock_list_file(u"D:"));
             return nullptr;
         },
         LOCK_RESULT_OTHER, any_error, nullptr},
        {"the item folder cannot be created", a, LOCK_TYPE_LOCK,
         [&] {
             test::make_folders(data_folder(u"D:"));
             test::write_file(ann_folder, "a file where the folder goes");
             return nullptr;
         },
         LOCK_RESULT_CREATE_DIRECTORY_FAILED, 183, nullptr},
        {"the name is taken in the item folder", a, LOCK_TYPE_LOCK,
         [&] {
             test::make_folders(ann_folder);
             test::write_file(ann_folder + u"\\a.txt", "earlier");
             return nullptr;
         },
         LOCK_RESULT_NAME_CONFLICT, 183, nullptr},
        {"a second a.txt of the folder keeps the stub of the first", a, LOCK_TYPE_LOCK,
         [&] {
             put_away(a, LOCK_TYPE_LOCK, "earlier");
             test::write_file(a, "item");
             // An earlier stub that differs from the one the lock writes: it comes back as it was.
             test::write_file(a + u".hbxfile", "[ENCRYPTINFO]\r\nSRC=Users\\ann\\old.txt\r\n");
             return nullptr;
         },
         LOCK_RESULT_NAME_CONFLICT, 183, "[ENCRYPTINFO]\r\nSRC=Users\\ann\\old.txt\r\n"},
        {"held open by another program", a, LOCK_TYPE_LOCK,
         [&]() -> std::shared_ptr<void> {
             auto held = std::make_shared<HeldOpen>(a, HeldOpen::How::file);
             EXPECT_TRUE(held->holding());
             return held;
         },
         LOCK_RESULT_IN_USE, 32, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        volumes.clear();
        test::make_folders(ann);
        if (c.path == a) test::write_file(a, "item");
        const std::shared_ptr<void> keep = c.setup();
        const std::string item_before = test::read_file(c.path);

        EXPECT_FALSE(service.lock(c.path, c.type));
        const LockError e = error();
        EXPECT_EQ(e.code, c.code);
        if (c.system_error == any_error) {
            EXPECT_NE(e.system_error, 0);
        } else {
            EXPECT_EQ(e.system_error, c.system_error);
        }
        EXPECT_EQ(test::read_file(c.path), item_before);   // the item stays where it was
        EXPECT_EQ(test::read_file(stub_info_for_item(c.path, false).stub),
                  c.stub_after ? c.stub_after : "<missing>");
        if (c.no_vault) {
            for (const char16_t* volume : {u"C:", u"D:", u"E:", u"N:", u"R:"}) {
                EXPECT_FALSE(platform::exists(vault_parent(volume))) << to_utf8(volume);
            }
        }
        if (c.code == LOCK_RESULT_NAME_CONFLICT) {
            EXPECT_EQ(test::read_file(ann_folder + u"\\a.txt"), "earlier");
            EXPECT_FALSE(platform::exists(source_record_file(u"D:")));
        }
    }
}

TEST_F(Locking, ALockRemovesThePendingEntryOfItsPath) {
    test::make_folders(vault_root(u"D:"));
    test::write_file(options_file(u"D:"),
                     options_bytes(pending_line("\\\\Users\\\\ann\\\\a.txt", 0, false) +
                                   pending_line("\\\\Users\\\\ann\\\\b.txt", 1)));
    put_away(ann + u"a.txt", LOCK_TYPE_HIDE);
    EXPECT_EQ(test::read_file(options_file(u"D:")),
              options_bytes(pending_line("\\\\Users\\\\ann\\\\b.txt", 1)));
    put_away(ann + u"c.txt", LOCK_TYPE_LOCK);   // nothing pending for it: the file stays
    EXPECT_EQ(test::read_file(options_file(u"D:")),
              options_bytes(pending_line("\\\\Users\\\\ann\\\\b.txt", 1)));
}

TEST_F(Locking, UnlockBringsItemsBackAndTellsHowTheyWereHeld) {
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK, "locked");
    put_away(ann + u"b.txt", LOCK_TYPE_HIDE, "hidden");
    LOCK_TYPE type = LOCK_TYPE_HIDE;
    std::u16string place;
    ASSERT_TRUE(service.unlock(ann + u"a.txt", type, place));
    EXPECT_EQ(type, LOCK_TYPE_LOCK);
    EXPECT_EQ(place, ann + u"a.txt");
    EXPECT_EQ(test::read_file(place), "locked");
    EXPECT_FALSE(platform::exists(ann + u"a.txt.hbxfile"));
    EXPECT_EQ(service.vault_location(ann + u"a.txt"), u"");

    ASSERT_TRUE(service.unlock(ann + u"b.txt", type, place));
    EXPECT_EQ(type, LOCK_TYPE_HIDE);
    EXPECT_EQ(test::read_file(ann + u"b.txt"), "hidden");
    // The lock list keeps its entry; the item folder stays, empty.
    EXPECT_EQ(test::read_file(lock_list_file(u"D:")), ann_list);
    EXPECT_TRUE(platform::is_folder(ann_folder));
    EXPECT_TRUE(list_folder(ann_folder).empty());
}

TEST_F(Locking, AnItemComesBackBesideANewOneOfItsName) {
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK, "old");
    test::write_file(ann + u"a.txt", "new");
    LOCK_TYPE type = LOCK_TYPE_HIDE;
    std::u16string place;
    ASSERT_TRUE(service.unlock(ann + u"a.txt", type, place));
    EXPECT_EQ(place, ann + u"a (2).txt");
    EXPECT_EQ(type, LOCK_TYPE_LOCK);
    EXPECT_EQ(test::read_file(ann + u"a (2).txt"), "old");
    EXPECT_EQ(test::read_file(ann + u"a.txt"), "new");
    EXPECT_FALSE(platform::exists(ann + u"a.txt.hbxfile"));
}

TEST_F(Locking, RefusedUnlocksAndOpensChangeNothing) {
    ASSERT_TRUE(ensure_options(u"D:", u"secret"));
    put_away(ann + u"gone.txt", LOCK_TYPE_LOCK);
    test::remove_tree(ann_folder + u"\\gone.txt");
    put_away(ann + u"held.txt", LOCK_TYPE_LOCK);
    HeldOpen held(ann_folder + u"\\held.txt", HeldOpen::How::file);
    ASSERT_TRUE(held.holding());
    const struct {
        const char16_t* name;
        bool open;
        int code;
        int system_error;
    } cases[] = {
        {u"gone.txt", false, LOCK_RESULT_UNLOCK_TARGET_MISSING, 2},
        {u"gone.txt", true, LOCK_RESULT_UNLOCK_TARGET_MISSING, 2},
        {u"held.txt", false, LOCK_RESULT_IN_USE, 32},
        {u"held.txt", true, LOCK_RESULT_IN_USE, 32},
    };
    const std::string options_before = test::read_file(options_file(u"D:"));
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.name) + (c.open ? " open" : " unlock"));
        LOCK_TYPE type = LOCK_TYPE_HIDE;
        std::u16string place;
        const std::u16string path = ann + c.name;
        EXPECT_FALSE(c.open ? service.open(path, type, place) : service.unlock(path, type, place));
        EXPECT_EQ(place, path);
        EXPECT_EQ(error().code, c.code);
        EXPECT_EQ(error().system_error, c.system_error);
        EXPECT_FALSE(platform::exists(path));
        EXPECT_TRUE(platform::exists(path + u".hbxfile"));
        EXPECT_EQ(test::read_file(options_file(u"D:")), options_before);   // nothing pending
    }
    LOCK_TYPE type = LOCK_TYPE_HIDE;
    std::u16string place;
    EXPECT_FALSE(service.unlock(u"\\\\server\\share\\a.txt", type, place));
    EXPECT_EQ(error().code, LOCK_RESULT_OTHER);
    EXPECT_EQ(error().system_error, 161);
}

TEST_F(Locking, OpenRecordsThePendingEntryAndTheNextLockRemovesIt) {
    ASSERT_TRUE(set_password(u"secret"));
    ASSERT_TRUE(ensure_options(u"D:", u"secret"));
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK);
    LOCK_TYPE type = LOCK_TYPE_HIDE;
    std::u16string place;
    ASSERT_TRUE(service.open(ann + u"a.txt", type, place));
    EXPECT_EQ(type, LOCK_TYPE_LOCK);
    EXPECT_EQ(place, ann + u"a.txt");
    EXPECT_FALSE(platform::exists(ann + u"a.txt.hbxfile"));
    EXPECT_EQ(test::read_file(options_file(u"D:")),
              options_bytes(pending_line("\\\\Users\\\\ann\\\\a.txt", 0)));

    ASSERT_TRUE(service.lock(place, type));
    EXPECT_EQ(test::read_file(options_file(u"D:")), options_bytes(""));
    EXPECT_EQ(test::read_file(ann + u"a.txt.hbxfile"), ann_stub);
}

TEST_F(Locking, OpenKeepsAnEarlierTypeAndCarriesThePasswordIntoABrokenFile) {
    ASSERT_TRUE(set_password(u"secret"));   // C: carries the hash
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK);
    put_away(ann + u"b.txt", LOCK_TYPE_LOCK);

    // An entry whose removal after the lock was never saved keeps its type.
    test::write_file(options_file(u"D:"),
                     options_bytes(pending_line("\\\\Users\\\\ann\\\\a.txt", 1)));
    LOCK_TYPE type = LOCK_TYPE_HIDE;
    std::u16string place;
    ASSERT_TRUE(service.open(ann + u"a.txt", type, place));
    EXPECT_EQ(type, LOCK_TYPE_LOCK);
    EXPECT_EQ(test::read_file(options_file(u"D:")),
              options_bytes(pending_line("\\\\Users\\\\ann\\\\a.txt", 1)));

    // A file that does not load: the entry is recorded and the stored hash carried over, so
    // the volume keeps accepting the user's password.
    test::write_file(options_file(u"D:"), "{\"user\": {\"password\": \"\"}}");
    ASSERT_TRUE(service.open(ann + u"b.txt", type, place));
    EXPECT_EQ(test::read_file(options_file(u"D:")),
              options_bytes(pending_line("\\\\Users\\\\ann\\\\b.txt", 0)));
    EXPECT_TRUE(check_password_on_volume(u"D:", u"secret"));
}

TEST_F(Locking, RelockLocksWhatItCanAndKeepsTheRestPending) {
    ASSERT_TRUE(set_password(u"secret"));
    ASSERT_TRUE(ensure_options(u"D:", u"secret"));
    put_away(ann + u"a.txt", LOCK_TYPE_LOCK);
    put_away(ann + u"b.txt", LOCK_TYPE_HIDE);
    LOCK_TYPE type = LOCK_TYPE_HIDE;
    std::u16string place;
    ASSERT_TRUE(service.open(ann + u"a.txt", type, place));
    ASSERT_TRUE(service.open(ann + u"b.txt", type, place));
    {
        HeldOpen held(ann + u"b.txt", HeldOpen::How::file);
        ASSERT_TRUE(held.holding());
        service.relock_pending();
        EXPECT_EQ(error().code, LOCK_RESULT_IN_USE);
        EXPECT_EQ(error().system_error, 32);
    }
    // a.txt is back in its item folder and its stub is valid again; b.txt waits.
    EXPECT_EQ(service.vault_location(service.stub_target(ann + u"a.txt.hbxfile")),
              ann_folder + u"\\a.txt");
    EXPECT_TRUE(platform::exists(ann + u"b.txt"));
    EXPECT_EQ(test::read_file(options_file(u"D:")),
              options_bytes(pending_line("\\\\Users\\\\ann\\\\b.txt", 1)));

    // A later success leaves the last failure as it was.
    ASSERT_TRUE(service.unlock(ann + u"a.txt", type, place));
    EXPECT_EQ(error().code, LOCK_RESULT_IN_USE);

    service.relock_pending();
    EXPECT_FALSE(platform::exists(ann + u"b.txt"));
    EXPECT_FALSE(platform::exists(ann + u"b.txt.hbxfile"));   // hidden again, as it was
    EXPECT_EQ(test::read_file(options_file(u"D:")), options_bytes(""));
}
