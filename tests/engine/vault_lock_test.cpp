// Writers of one vault take turns: none loses another's entry, and a lock that another writer
// keeps too long is a clear failure, not a hang.
#include "lock_list.h"
#include "options.h"
#include "password.h"
#include "pending_list.h"
#include "stub.h"
#include "vault_lock.h"

#include "vault_fixture.h"

#include <thread>

using namespace hbx;
using hbx::test::TestVolumes;

namespace {

class VaultLocking : public test::VaultTest {};

// A folder name whose item folder is its own: the distinguishing digits come first, within the
// part of the directory text that the hash covers.
std::string name_of(int writer, int round) {
    return std::to_string(writer) + std::to_string(round) + "-folder";
}

}  // namespace

TEST_F(VaultLocking, WritersAtTheSameMomentLoseNothing) {
    // Each writer reads a vault file, changes it and writes it back. Without the lock two of
    // them read the same content and the later write drops the other's entry. (Two holders in
    // one process exclude each other as two processes do.)
    ASSERT_TRUE(ensure_options(u"D:", u"secret"));
    constexpr int writers = 6;
    constexpr int rounds = 8;
    for (int w = 0; w < writers; ++w) {
        for (int r = 0; r < rounds; ++r) {
            const std::u16string folder = TestVolumes::at(u'D', from_utf8(name_of(w, r)));
            test::make_folders(folder);
            test::write_file(folder + u"\\f.txt", "x");
        }
    }
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w) {
        threads.emplace_back([w] {
            for (int r = 0; r < rounds; ++r) {
                const std::string name = name_of(w, r);
                const std::u16string folder = TestVolumes::at(u'D', from_utf8(name));
                // Different folders: each lock adds its own lock list entry.
                EXPECT_TRUE(LockService::instance().lock(folder + u"\\f.txt", LOCK_TYPE_HIDE));
                EXPECT_EQ(record_pending(TestVolumes::at(u'D', from_utf8(name + ".txt")),
                                         LOCK_TYPE_LOCK),
                          0u);
            }
        });
    }
    for (auto& t : threads) t.join();

    LockList list = LockList::create(lock_list_file(u"D:"));
    ASSERT_TRUE(list.load());
    EXPECT_EQ(list.entries.size(), static_cast<std::size_t>(writers * rounds));
    Options options = Options::create(options_file(u"D:"));
    ASSERT_TRUE(options.load());
    EXPECT_EQ(options.pending.size(), static_cast<std::size_t>(writers * rounds));
    EXPECT_TRUE(check_password_on_volume(u"D:", u"secret"));
}

TEST_F(VaultLocking, ALockKeptTooLongIsAClearFailure) {
    ASSERT_TRUE(set_password(u"old"));
    Options c = Options::create(options_file(u"C:"));
    ASSERT_TRUE(c.load());
    c.add_pending(u"\\hbxtest\\open.txt", LOCK_TYPE_LOCK);
    ASSERT_EQ(c.save(), 0u);
    ASSERT_TRUE(ensure_options(u"E:", u"old"));
    const std::string e_before = test::read_file(options_file(u"E:"));
    test::write_file(ann + u"a.txt", "item");
    test::make_folders(vault_root(u"D:"));

    VaultLock held_d(u"D:");
    VaultLock held_e(u"E:");
    ASSERT_EQ(held_d.error(), 0u);
    ASSERT_EQ(held_e.error(), 0u);

    // The lock waits, then gives up with ERROR_TIMEOUT; nothing moved, no stub left.
    EXPECT_FALSE(service.lock(ann + u"a.txt", LOCK_TYPE_LOCK));
    EXPECT_EQ(error().code, LOCK_RESULT_OTHER);
    EXPECT_EQ(error().system_error, 1460);
    EXPECT_EQ(test::read_file(ann + u"a.txt"), "item");
    EXPECT_FALSE(platform::exists(ann + u"a.txt.hbxfile"));

    // The password change writes C: and cannot write E:. It reports the failure and writes no
    // fresh file over C:, whose pending entry stays.
    EXPECT_FALSE(set_password(u"new"));
    ASSERT_TRUE(c.load());
    EXPECT_EQ(c.password, hash_text(u"new"));
    EXPECT_EQ(c.pending.size(), 1u);
    EXPECT_EQ(test::read_file(options_file(u"E:")), e_before);

    held_d.release();
    EXPECT_TRUE(service.lock(ann + u"a.txt", LOCK_TYPE_LOCK));
}
