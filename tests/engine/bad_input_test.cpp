// Input the engine did not write and paths it cannot hold: each gives a clear outcome and
// moves, writes or deletes nothing.
#include "files.h"
#include "item_inspector.h"
#include "lock_list.h"
#include "native_path.h"
#include "options.h"
#include "password.h"
#include "stub.h"
#include "vault_lock.h"

#include "vault_fixture.h"

#include <functional>
#include <map>
#include <set>

using namespace hbx;
using hbx::test::TestVolumes;

namespace {

// Everything on the watched volumes: every folder, and every file with its bytes.
std::map<std::u16string, std::string> everything() {
    std::map<std::u16string, std::string> found;
    std::function<void(const std::u16string&)> walk = [&](const std::u16string& folder) {
        for (const auto& entry : list_folder(folder)) {
            const std::u16string path = combine(folder, entry.name);
            if (entry.is_folder) {
                found[path + u"\\"] = "<folder>";
                walk(path);
            } else {
                found[path] = test::read_file(path);
            }
        }
    };
    walk(TestVolumes::at(u'C', u"hbxtest"));
    walk(vault_parent(u"C:"));
    walk(TestVolumes::at(u'D'));
    return found;
}

class BadInput : public test::VaultTest {
protected:
    std::string outcome_of(bool ok) {
        if (ok) return "ok";
        return "failed " + std::to_string(error().code) + " " + std::to_string(error().system_error);
    }
    std::string lock(const std::u16string& path, int type = LOCK_TYPE_LOCK) {
        return outcome_of(service.lock(path, type));
    }
    std::string unlock(const std::u16string& path) {
        LOCK_TYPE type;
        std::u16string place;
        return outcome_of(service.unlock(path, type, place));
    }
    std::string open(const std::u16string& path) {
        LOCK_TYPE type;
        std::u16string place;
        return outcome_of(service.open(path, type, place));
    }
};

}  // namespace

TEST_F(BadInput, GivesAClearOutcomeAndMovesNothing) {
    const std::u16string long_folder = ann + std::u16string(120, u'x');
    const std::u16string path_260 =
        long_folder + u"\\" + std::u16string(260 - long_folder.size() - 1, u'y');
    const std::u16string path_300 = long_folder + u"\\" + std::u16string(300 - long_folder.size() - 1, u'z');
    const std::u16string a = ann + u"a.txt";
    const std::u16string in_vault = ann_folder + u"\\a.txt";
    const std::u16string hash_named = u"D:\\3C51012B1D0BBBE73FC0A809A58198F9\\a.txt";
    // A stub whose SRC leads anywhere but a place inside its own volume.
    const auto stub_with_source = [&](const std::string& src) {
        return [this, src] {
            test::write_file(ann + u"x.txt.hbxfile", "[ENCRYPTINFO]\r\nSRC=" + src + "\r\n");
        };
    };
    const struct {
        const char* name;
        std::function<void()> setup;
        std::function<std::string()> act;
        std::string outcome;
        std::set<std::u16string> written = {};   // files the operation may make
    } cases[] = {
        // Paths the vault model cannot hold: refused before anything is looked at.
        {"lock a path of 260 units",
         [&] {
             test::make_folders(long_folder);
             test::write_file(path_260, "long");
         },
         [&] { return lock(path_260); }, "failed 1 206"},
        {"hide a path of 300 units",
         [&] {
             test::make_folders(long_folder);
             test::write_file(path_300, "longer");
         },
         [&] { return lock(path_300, LOCK_TYPE_HIDE); }, "failed 1 206"},
        {"unlock a path of 260 units", [] {}, [&] { return unlock(path_260); }, "failed 1 206"},
        {"open a path of 300 units", [] {}, [&] { return open(path_300); }, "failed 1 206"},
        {"lock a network path", [] {}, [&] { return lock(u"\\\\server\\share\\a.txt"); },
         "failed 1 161"},
        {"unlock a network path", [] {}, [&] { return unlock(u"\\\\server\\share\\a.txt"); },
         "failed 1 161"},
        {"open a network path", [] {}, [&] { return open(u"//server/share/a.txt"); },
         "failed 1 161"},
        {"the vault of a network path", [] {},
         [&] { return to_utf8(service.vault_location(u"\\\\server\\share\\a.txt")); }, ""},
        // A drive letter that no volume has: nothing is there, and nothing can come back there.
        {"lock on an unmapped drive", [] {}, [&] { return lock(u"Q:\\a.txt"); }, "failed 4 0"},
        {"unlock on an unmapped drive", [] {}, [&] { return unlock(u"Q:\\a.txt"); }, "failed 1 3"},
        {"open on an unmapped drive", [] {}, [&] { return open(u"Q:\\a.txt"); }, "failed 1 3"},
        // Stubs that do not lead to an item of their volume fall back to their own name. The
        // vault has no item folder for that name: the move back fails with 3, code 1.
        {"a stub whose SRC climbs out", stub_with_source("..\\..\\..\\etc\\passwd"),
         [&] { return to_utf8(service.stub_target(ann + u"x.txt.hbxfile")) + " " + unlock(ann + u"x.txt"); },
         "D:\\Users\\ann\\x.txt failed 1 3"},
        {"a stub whose SRC climbs out in the middle", stub_with_source("Users\\..\\..\\x.txt"),
         [&] { return to_utf8(service.stub_target(ann + u"x.txt.hbxfile")); }, "D:\\Users\\ann\\x.txt"},
        {"a stub whose SRC names another drive", stub_with_source("C:\\hbxtest\\a.txt"),
         [&] { return to_utf8(service.stub_target(ann + u"x.txt.hbxfile")); }, "D:\\Users\\ann\\x.txt"},
        {"a stub whose SRC is a network path", stub_with_source("\\\\server\\share\\a.txt"),
         [&] { return to_utf8(service.stub_target(ann + u"x.txt.hbxfile")); }, "D:\\Users\\ann\\x.txt"},
        {"a binary stub",
         [&] {
             std::string bytes;
             for (int i = 0; i < 1024; ++i) bytes += static_cast<char>((i * 37) & 0xFF);
             bytes += std::string("\r\n[ENCRYPTINFO]\0SRC=\xFF\xFE", 22);
             test::write_file(ann + u"b.bin.hbxfile", bytes);
         },
         [&] {
             std::u16string target;
             const bool stub = ItemInspector::instance().resolve_stub(ann + u"b.bin.hbxfile", &target);
             return std::string(stub ? "stub " : "no stub ") + to_utf8(target) + " " + unlock(target);
         },
         "stub D:\\Users\\ann\\b.bin failed 1 3"},
        // The engine's own files in shapes it never writes.
        {"an options file of 100 MB",
         [&] {
             ASSERT_TRUE(set_password(u"secret"));
             put_away(a, LOCK_TYPE_LOCK);
             // Valid JSON: a pending list of a million entries, the costliest shape to parse.
             std::string big = "{\"user\": {\"password\": \"\", \"machine\": \"\"}, \"pending\": [";
             const std::string entry = "{\"path\": \"\\\\Users\\\\ann\\\\a.txt\", \"type\": \"0\"},";
             while (big.size() < (100u << 20)) big += entry;
             big += entry.substr(0, entry.size() - 1) + "]}";
             test::write_file(options_file(u"D:"), big);
         },
         [&] {
             Options options = Options::create(options_file(u"D:"));
             const bool loads = options.load();
             service.relock_pending();
             return std::string(loads ? "loads" : "does not load") +
                    (check_password_on_volume(u"D:", u"secret") ? ", the password checks" : "");
         },
         "does not load, the password checks"},
        {"a lock list that is a JSON array",
         [&] {
             put_away(a, LOCK_TYPE_HIDE);
             test::write_file(lock_list_file(u"D:"), "[\"\\\\Users\\\\ann\\\\\", 1, {}]");
         },
         [&] {
             LockList list = LockList::create(lock_list_file(u"D:"));
             std::vector<LockedItem> items;
             service.list_items(items);
             return std::string(list.load() ? "loads " : "does not load ") +
                    (items.size() == 1 ? to_utf8(items[0].path) : "?") + " " +
                    unlock(items.empty() ? a : items[0].path);
         },
         "does not load D:\\3C51012B1D0BBBE73FC0A809A58198F9\\a.txt failed 1 3"},
        // The lock list keeps the entry a failed lock made, as every lock does.
        {"an item folder that is a file",
         [&] {
             test::make_folders(data_folder(u"D:"));
             test::write_file(ann_folder, "a file where the item folder goes");
             test::write_file(a, "item");
         },
         [&] {
             std::vector<LockedItem> items;
             service.list_items(items);
             return lock(a) + ", " + unlock(a) + ", " + std::to_string(items.size()) + " listed";
         },
         "failed 2 183, failed 1 3, 0 listed", {lock_list_file(u"D:"), vault_lock_file(u"D:")}},
        // The vault itself is no item.
        {"lock the options file", [&] { put_away(a, LOCK_TYPE_LOCK); ASSERT_TRUE(ensure_options(u"D:", u"pw")); },
         [&] { return lock(options_file(u"D:")); }, "failed 7 5"},
        {"hide the vault's parent folder", [&] { put_away(a, LOCK_TYPE_LOCK); },
         [&] { return lock(u"D:\\...", LOCK_TYPE_HIDE); }, "failed 7 5"},
        {"lock the data folder by another spelling", [&] { put_away(a, LOCK_TYPE_LOCK); },
         [&] { return lock(u"D:/.../hbx/data/"); }, "failed 7 5"},
        {"lock an item folder", [&] { put_away(a, LOCK_TYPE_LOCK); },
         [&] { return lock(ann_folder); }, "failed 7 5"},
        {"lock an item in the vault", [&] { put_away(a, LOCK_TYPE_LOCK); },
         [&] { return lock(u"D:\\\\...\\hbx\\data\\3C51012B1D0BBBE73FC0A809A58198F9\\a.txt"); },
         "failed 7 5"},
        {"unlock what the listing shows for a lock list that is an array", [&] {
             put_away(a, LOCK_TYPE_LOCK);
             test::write_file(lock_list_file(u"D:"), "[]");
         },
         [&] { return unlock(hash_named); }, "failed 1 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        volumes.clear();
        test::make_folders(ann);
        c.setup();
        ASSERT_FALSE(HasFatalFailure());
        const auto before = everything();
        EXPECT_EQ(c.act(), c.outcome);
        const auto after = everything();
        for (const auto& [path, bytes] : after) {
            if (!before.count(path) && !c.written.count(path)) ADD_FAILURE() << "new: " << to_utf8(path);
        }
        for (const auto& [path, bytes] : before) {
            if (!after.count(path)) {
                ADD_FAILURE() << "gone: " << to_utf8(path);
            } else if (after.at(path) != bytes) {
                ADD_FAILURE() << "changed: " << to_utf8(path);
            }
        }
    }
}

#ifndef _WIN32
TEST(BadNativeNames, NamesWithoutAnEngineFormAreRefusedAtTheEdge) {
    TestVolumes volumes;
    const std::string d = to_native_path(u"D:\\").native;
    const struct {
        std::string native;
        const char* refusal;   // part of the message, or nullptr when it converts
    } cases[] = {
        {d + "/a\\b.txt", "backslash"},
        {d + "/caf\xE9.txt", "no valid UTF-8"},           // a Latin-1 byte
        {d + "/\xED\xA0\x80.txt", "no valid UTF-8"},      // an encoded lone surrogate
        {d + "/ok\xEF\xBF\xBD.txt", nullptr},             // a real replacement character
        {d + "/caf\xC3\xA9.txt", nullptr},
        {d + std::string("/a\0b.txt", 8), "NUL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.native);
        const Converted converted = to_engine_path(c.native);
        if (c.refusal == nullptr) {
            ASSERT_TRUE(converted.ok) << converted.message;
            EXPECT_EQ(to_native_path(converted.engine).native, c.native);
        } else {
            EXPECT_FALSE(converted.ok);
            EXPECT_NE(converted.message.find(c.refusal), std::string::npos) << converted.message;
        }
    }
    // An engine name with a lone surrogate has no native name of its own.
    const Converted lone = to_native_path(std::u16string(u"D:\\a") + char16_t(0xD800));
    EXPECT_FALSE(lone.ok);
    EXPECT_NE(lone.message.find("no valid UTF-16"), std::string::npos) << lone.message;
}
#endif
