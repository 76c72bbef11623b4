// Several processes at once: each runs a long sequence of mixed operations (lock, hide, unlock,
// open, relock) on its own items of one volume, all at the same time, so that they meet in
// one vault, one lock list, one options file, shared item folders and a source record. Then
// the volume must hold exactly what the workers say they left: every item once, where its
// state puts it, with its bytes; a stub for exactly the locked ones; a pending entry for
// exactly the open ones; a lock list entry for every item folder; a listing that shows every
// item in the vault at its own source path; and nothing else.
#include "child_process.h"
#include "files.h"
#include "lock_list.h"
#include "lock_service.h"
#include "options.h"
#include "password.h"
#include "paths.h"
#include "platform/platform.h"
#include "stub.h"
#include "test_volumes.h"
#include "text.h"
#include "vault.h"
#include "worker_items.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>

using namespace hbx;
using hbx::test::TestVolumes;

namespace {

// The size of the run: 8 processes of 1,000 operations each on Linux, 4 of 100 under Wine,
// or "PROCESSESxOPERATIONS" from HBX_CONCURRENCY for a run of another size.
struct RunSize {
#ifdef _WIN32
    int workers = 4;
    int operations = 100;
#else
    int workers = 8;
    int operations = 1000;
#endif
};

RunSize run_size() {
    RunSize size;
    if (const char* given = std::getenv("HBX_CONCURRENCY")) {
        int w = 0, o = 0;
        if (std::sscanf(given, "%dx%d", &w, &o) == 2 && w > 0 && w <= 10 && o > 0) {
            size.workers = w;
            size.operations = o;
        }
    }
    return size;
}

std::u16string vault_place(const std::u16string& source) {
    const PathParts parts = split_path(source);
    return combine(item_folder(parts.drive, parts.directory), parts.name) + parts.extension;
}

std::u16string file_of(const test::WorkerItem& item, const std::u16string& base) {
    return item.folder ? base + u"\\inner\\f.txt" : base;
}

}  // namespace

TEST(SeveralProcesses, MixedOperationsOnOneVolumeLoseNothing) {
    const RunSize size = run_size();
    const int workers = size.workers;
    const int operations = size.operations;
    TestVolumes volumes;
    ASSERT_TRUE(set_password(u"secret"));
    std::vector<test::WorkerItem> items;
    for (int k = 0; k < workers; ++k) {
        for (const auto& item : test::worker_items(k)) {
            test::place_item(item.path, item.bytes, item.folder);
            items.push_back(item);
        }
    }

    std::vector<std::unique_ptr<test::Child>> children;
    for (int k = 0; k < workers; ++k) {
        children.push_back(std::make_unique<test::Child>(
            "concurrency_worker",
            std::vector<std::u16string>{from_utf8(std::to_string(k)),
                                        from_utf8(std::to_string(operations)), u"secret"}));
    }
    std::map<std::u16string, std::string> state;   // item path -> state the worker left
    for (int k = 0; k < workers; ++k) {
        const test::ChildEnd end = children[k]->wait();
        SCOPED_TRACE("worker " + std::to_string(k));
        EXPECT_EQ(end.exit_code, 0) << end.output;
        std::istringstream lines(end.output);
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::size_t space = line.find(' ');
            if (space == std::string::npos || line.rfind("failed", 0) == 0) continue;
            state[from_utf8(line.substr(space + 1))] = line.substr(0, space);
        }
    }
    ASSERT_EQ(state.size(), items.size());

    std::map<std::u16string, std::string> files;
    test::read_tree(TestVolumes::at(u'D'), files);
    std::set<std::u16string> expected_files;
    std::map<std::u16string, LOCK_TYPE> expected_pending;
    std::map<std::u16string, bool> expected_listing;   // vault item path -> hidden
    for (const auto& item : items) {
        SCOPED_TRACE(to_utf8(item.path) + " " + state[item.path]);
        const std::string& s = state[item.path];
        const bool in_vault = s == "locked" || s == "hidden";
        const std::u16string place = file_of(item, in_vault ? vault_place(item.path) : item.path);
        int found = 0;
        for (const auto& [path, bytes] : files) found += bytes == item.bytes;
        EXPECT_EQ(found, 1);
        EXPECT_EQ(files[place], item.bytes);
        expected_files.insert(place);
        const StubInfo stub = stub_info_for_item(item.path, item.folder);
        if (s == "locked") {
            EXPECT_EQ(files[stub.stub], "[ENCRYPTINFO]\r\nSRC=" + to_utf8(after_root(item.path)) + "\r\n");
            expected_files.insert(stub.stub);
        }
        if (s == "open-locked") expected_pending[pending_key(item.path)] = LOCK_TYPE_LOCK;
        if (s == "open-hidden") expected_pending[pending_key(item.path)] = LOCK_TYPE_HIDE;
        if (in_vault) expected_listing[item.path] = s == "hidden";
    }

    // Nothing else stands on the volume: no stray stub, no temporary file of a write, no
    // copy. The vault root holds only its own files.
    for (const std::u16string name : {u"options.cfg", u"path.list", u"sources.list", u"vault.lock"}) {
        expected_files.insert(vault_root(u"D:") + name);
    }
    for (const auto& [path, bytes] : files) {
        EXPECT_TRUE(expected_files.count(path)) << "unexpected file " << to_utf8(path);
    }

    Options options = Options::create(options_file(u"D:"));
    ASSERT_TRUE(options.load());
    EXPECT_EQ(options.pending, expected_pending);
    EXPECT_TRUE(check_password_on_volume(u"D:", u"secret"));

    LockList list = LockList::create(lock_list_file(u"D:"));
    ASSERT_TRUE(list.load());
    for (const auto& folder : list_folder(data_folder(u"D:"))) {
        EXPECT_FALSE(list.lookup(folder.name).empty()) << "no entry for " << to_utf8(folder.name);
    }

    std::vector<LockedItem> listed;
    LockService::instance().list_items(listed);
    std::map<std::u16string, bool> listing;
    for (const auto& entry : listed) {
        EXPECT_EQ(listing.count(entry.path), 0u) << "listed twice: " << to_utf8(entry.path);
        listing[entry.path] = entry.hidden;
        EXPECT_EQ(entry.vault_path, vault_place(entry.path));
    }
    EXPECT_EQ(listing, expected_listing);
    std::printf("[ concurrency ] %d processes x %d operations on one volume: %zu items, %zu in "
                "the vault, %zu open\n",
                workers, operations, items.size(), expected_listing.size(),
                expected_pending.size());
}
