// The crash harness: every mutating operation of the engine, killed at every step boundary in
// turn.
//
// For each scenario the harness builds the volumes' state, runs the operation once to its end
// in crash_child (which lists the step boundaries it passed: before and after every folder it
// makes, file it writes, stub, move and delete, and the moment a replacing write has its new
// content beside the target), and then, for each boundary in turn, builds the same state
// again and runs the operation in a child that is killed exactly there (SIGKILL on Linux,
// TerminateProcess on Windows). After each kill it checks what a user relies on:
//   - every item exists exactly once, in its place or in its item folder, its bytes unchanged;
//   - no options file, lock list or source record is empty, short or unreadable (unless it was
//     so before), the lock list lost no entry, and the stored password hash is the old or
//     the new one, never gone;
//   - the pending list lost no entry that the operation keeps and gained none it never adds;
//   - no stub points nowhere; a stub may stand beside its own item, where a lock stopped
//     before its move or an unlock stopped between its move and the stub's delete leave it;
// and then that the next run of the program brings everything back: relock_pending, a listing
// that shows every item in the vault once at its own source path, locked or hidden as its
// stub says, an unlock of every listed item, and removal of the vaults, which leaves nothing.
#include "child_process.h"
#include "item_inspector.h"
#include "lock_list.h"
#include "lock_service.h"
#include "options.h"
#include "password.h"
#include "paths.h"
#include "platform/platform.h"
#include "source_record.h"
#include "stub.h"
#include "test_volumes.h"
#include "text.h"
#include "vault.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace hbx;
using hbx::test::TestVolumes;

namespace {

const std::u16string ann = u"D:\\Users\\ann\\";
const std::u16string docs = u"D:\\Users\\ann\\docs\\";   // docs and pics share an item folder
const std::u16string pics = u"D:\\Users\\ann\\pics\\";
const char16_t letters[] = {u'C', u'D', u'E'};

// An item the scenario watches: a file, or a folder holding the file "inner\f.txt", whose
// bytes are its own and found nowhere else.
struct Item {
    std::u16string source;
    std::string bytes;
    bool folder = false;
    std::vector<std::u16string> other_places = {};   // where an unlock may put it instead
};

struct Scenario {
    const char* name;
    std::function<void()> setup;
    std::vector<std::u16string> operation;
    std::vector<Item> items;
    bool succeeds = true;
};

std::u16string file_of(const Item& item, const std::u16string& base) {
    return item.folder ? base + u"\\inner\\f.txt" : base;
}

std::u16string vault_place(const std::u16string& source) {
    const PathParts parts = split_path(source);
    return combine(item_folder(parts.drive, parts.directory), parts.name) + parts.extension;
}

// ---- building states -----------------------------------------------------------------------------

LockService& service() { return LockService::instance(); }

void put(const Item& item) { test::place_item(item.source, item.bytes, item.folder); }

void lock(const Item& item, int type) {
    put(item);
    ASSERT_TRUE(service().lock(item.source, type)) << to_utf8(item.source);
}

void open(const std::u16string& path) {
    LOCK_TYPE type;
    std::u16string place;
    ASSERT_TRUE(service().open(path, type, place)) << to_utf8(path);
}

void unlock(const std::u16string& path) {
    LOCK_TYPE type;
    std::u16string place;
    ASSERT_TRUE(service().unlock(path, type, place)) << to_utf8(path);
}

void add_pending(const std::u16string& volume, const std::u16string& key, LOCK_TYPE type) {
    Options options = Options::create(options_file(volume));
    ASSERT_TRUE(options.load());
    options.add_pending(key, type);
    ASSERT_EQ(options.save(), 0u);
}

// ---- what is on the disk ----------------------------------------------------------------------------

struct VaultFiles {
    bool options_exists = false;
    bool options_loads = false;
    Options options;
    bool list_exists = false;
    bool list_loads = false;
    LockList list;
    bool record_exists = false;
    bool record_loads = false;
};

struct Snapshot {
    std::map<std::u16string, std::string> files;   // every file of the watched folders
    std::map<char16_t, VaultFiles> vaults;
};

Snapshot snapshot() {
    Snapshot s;
    // On C: only the vault and the scratch folder: under Wine C: is the whole Windows drive.
    test::read_tree(vault_parent(u"C:"), s.files);
    test::read_tree(TestVolumes::at(u'C', u"hbxtest"), s.files);
    test::read_tree(TestVolumes::at(u'D'), s.files);
    test::read_tree(TestVolumes::at(u'E'), s.files);
    for (char16_t letter : letters) {
        const std::u16string volume = std::u16string(1, letter) + u":";
        VaultFiles& v = s.vaults[letter];
        v.options = Options::create(options_file(volume));
        v.options_exists = platform::exists(v.options.file_name);
        v.options_loads = v.options.load();
        v.list = LockList::create(lock_list_file(volume));
        v.list_exists = platform::exists(v.list.file_name);
        v.list_loads = v.list.load();
        SourceRecord record = SourceRecord::create(source_record_file(volume));
        v.record_exists = platform::exists(record.file_name);
        v.record_loads = record.load();
    }
    return s;
}

std::string shown(const std::u16string& path) { return to_utf8(path); }

// ---- the checks -------------------------------------------------------------------------------------

// Every item exactly once, in a place it may have, with its bytes. `vault_allowed` is false
// once everything was unlocked.
void expect_items_once(const Snapshot& s, const std::vector<Item>& items, bool vault_allowed) {
    for (const Item& item : items) {
        SCOPED_TRACE("item " + shown(item.source));
        std::vector<std::u16string> found;
        for (const auto& [path, bytes] : s.files) {
            if (bytes == item.bytes) found.push_back(path);
        }
        ASSERT_EQ(found.size(), 1u) << "the item's bytes are found " << found.size() << " times";
        std::set<std::u16string> allowed = {file_of(item, item.source)};
        for (const auto& place : item.other_places) allowed.insert(file_of(item, place));
        if (vault_allowed) allowed.insert(file_of(item, vault_place(item.source)));
        EXPECT_TRUE(allowed.count(found[0])) << "the item stands at " << shown(found[0]);
    }
}

// No stub points nowhere. A stub beside its own item is what a lock stopped before its move,
// or an unlock stopped between its move and its delete, leaves; the program offers to delete
// such a stub when it is opened.
void expect_no_stub_pointing_nowhere(const Snapshot& s) {
    auto& inspector = ItemInspector::instance();
    for (const auto& entry : s.files) {
        const std::u16string& path = entry.first;
        std::u16string target;
        if (path.find(u"\\...\\") != std::u16string::npos) continue;   // inside a vault
        if (!inspector.resolve_stub(path, &target)) continue;
        if (!service().vault_location(target).empty()) continue;
        EXPECT_TRUE(platform::exists(target))
            << "the stub " << shown(path) << " points nowhere (" << shown(target) << ")";
    }
}

// The vault files are whole, the lock list lost nothing, the hash is the old or the new one.
void expect_vault_files_whole(const Snapshot& before, const Snapshot& done, const Snapshot& now) {
    for (char16_t letter : letters) {
        SCOPED_TRACE(std::string("volume ") + static_cast<char>(letter));
        const VaultFiles& b = before.vaults.at(letter);
        const VaultFiles& d = done.vaults.at(letter);
        const VaultFiles& n = now.vaults.at(letter);
        // A file that did not load before may still not load; every other one loads.
        if (n.options_exists && (b.options_loads || !b.options_exists)) {
            EXPECT_TRUE(n.options_loads) << "options file broken";
        }
        if (n.list_exists && (b.list_loads || !b.list_exists)) {
            EXPECT_TRUE(n.list_loads) << "lock list broken";
        }
        if (n.record_exists) {
            EXPECT_TRUE(n.record_loads) << "source record broken";
        }
        if (b.options_loads && !b.options.password.empty()) {
            const bool removed_when_done = !d.options_exists;   // the vault itself went
            const std::u16string hash = n.options_loads ? n.options.password : u"";
            EXPECT_TRUE(hash == b.options.password || (d.options_loads && hash == d.options.password) ||
                        (removed_when_done && !n.options_exists))
                << "password hash " << shown(b.options.password) << " became " << shown(hash);
        }
        if (b.list_loads && d.list_exists) {
            for (const auto& [hash, directory] : b.list.entries) {
                EXPECT_EQ(n.list.lookup(hash), directory) << "lock list lost " << shown(hash);
            }
        }
    }
}

// Pending entries that the operation keeps stay; none appears that it never adds.
void expect_pending_between(const Snapshot& before, const Snapshot& done, const Snapshot& now) {
    for (char16_t letter : letters) {
        SCOPED_TRACE(std::string("volume ") + static_cast<char>(letter));
        const auto& b = before.vaults.at(letter).options.pending;
        const auto& d = done.vaults.at(letter).options.pending;
        const auto& n = now.vaults.at(letter).options.pending;
        for (const auto& [key, type] : b) {
            if (d.count(key) && d.at(key) == type) {
                EXPECT_TRUE(n.count(key) && n.at(key) == type) << "lost pending " << shown(key);
            }
        }
        for (const auto& [key, type] : n) {
            EXPECT_TRUE((b.count(key) && b.at(key) == type) || (d.count(key) && d.at(key) == type))
                << "unexpected pending " << shown(key);
        }
    }
}

// The listing shows every item in the vault once, at its own source path, hidden exactly when
// no stub stands there.
void expect_listing_true(const Snapshot& s, const std::vector<Item>& items,
                         const std::vector<LockedItem>& listed) {
    std::map<std::string, int> times;   // by the item's bytes
    for (const LockedItem& entry : listed) {
        SCOPED_TRACE("listed " + shown(entry.path));
        const Item* which = nullptr;
        for (const Item& item : items) {
            const auto found = s.files.find(file_of(item, entry.vault_path));
            if (found != s.files.end() && found->second == item.bytes) which = &item;
        }
        ASSERT_NE(which, nullptr) << "no watched item at " << shown(entry.vault_path);
        EXPECT_EQ(entry.path, which->source);
        EXPECT_EQ(entry.is_folder, which->folder);
        EXPECT_EQ(entry.hidden,
                  !platform::exists(stub_info_for_item(entry.path, entry.is_folder).stub));
        ++times[which->bytes];
    }
    for (const Item& item : items) {
        const auto found = s.files.find(file_of(item, vault_place(item.source)));
        const bool in_vault = found != s.files.end() && found->second == item.bytes;
        EXPECT_EQ(times[item.bytes], in_vault ? 1 : 0) << "listing of " << shown(item.source);
    }
}

// The next run of the program: relock what is pending, list, unlock everything listed, remove
// the empty vaults.
void expect_recovery(const Snapshot& before, const Snapshot& done, const Scenario& scenario) {
    service().relock_pending();
    const Snapshot relocked = snapshot();
    expect_items_once(relocked, scenario.items, true);
    expect_vault_files_whole(before, done, relocked);
    expect_no_stub_pointing_nowhere(relocked);

    // Nothing is in use, so nothing stays pending: an entry whose item was locked again, or
    // whose item is gone, must not wait for a relock that can never succeed.
    for (char16_t letter : letters) {
        const VaultFiles& vault = relocked.vaults.at(letter);
        if (!vault.options_loads) continue;   // a file that does not load is not relocked from
        for (const auto& [key, type] : vault.options.pending) {
            ADD_FAILURE() << "still pending after relock_pending: " << static_cast<char>(letter)
                          << ":" << shown(key);
        }
    }

    std::vector<LockedItem> listed;
    service().list_items(listed);
    expect_listing_true(relocked, scenario.items, listed);
    for (const LockedItem& entry : listed) {
        LOCK_TYPE type;
        std::u16string place;
        EXPECT_TRUE(service().unlock(entry.path, type, place)) << "unlock " << shown(entry.path);
    }
    const Snapshot unlocked = snapshot();
    expect_items_once(unlocked, scenario.items, false);
    expect_no_stub_pointing_nowhere(unlocked);

    service().remove_empty_vaults();
    for (char16_t letter : letters) {
        const std::u16string volume = std::u16string(1, letter) + u":";
        EXPECT_FALSE(platform::exists(vault_parent(volume)))
            << "the empty vault of " << shown(volume) << " was not removed";
    }
}

// ---- the scenarios ---------------------------------------------------------------------------------

const Item a{ann + u"a.txt", "<the a.txt item>"};
const Item b{ann + u"b.txt", "<the b.txt item>"};
const Item old_a{ann + u"a.txt", "<an earlier a.txt>", false, {ann + u"a (2).txt"}};
const Item folder{u"D:\\d\\docs", "<the docs folder's file>", true};
const Item in_docs{docs + u"a.txt", "<a.txt of docs>"};
const Item in_pics{pics + u"b.txt", "<b.txt of pics>"};
const Item on_c{TestVolumes::at(u'C', u"hbxtest\\c.txt"), "<c.txt on C>"};
const Item on_e{u"E:\\e.txt", "<e.txt on E>"};

void write_broken_options(const std::u16string& volume, const std::string& bytes) {
    test::make_folders(vault_root(volume));
    test::write_file(options_file(volume), bytes);
}

std::vector<Scenario> scenarios() {
    return {
        {"LockOnANewVolume", [] { put(a); }, {u"lock", a.source, u"0"}, {a}},
        {"HideAFolder",
         [] {
             lock(b, LOCK_TYPE_LOCK);
             put(folder);
         },
         {u"lock", folder.source, u"1"}, {b, folder}},
        {"RelockAnOpenedItem",
         [] {
             ASSERT_TRUE(set_password(u"secret"));
             ASSERT_TRUE(ensure_options(u"D:", u"secret"));
             lock(a, LOCK_TYPE_LOCK);
             lock(b, LOCK_TYPE_LOCK);
             open(a.source);
         },
         {u"lock", a.source, u"0"}, {a, b}},
        {"LockIntoASharedItemFolder",
         [] {
             lock(in_docs, LOCK_TYPE_LOCK);
             put(in_pics);
         },
         {u"lock", in_pics.source, u"0"}, {in_docs, in_pics}},
        {"RefusedLockOfASecondItemOfTheSameName",
         [] {
             lock(old_a, LOCK_TYPE_LOCK);
             put(a);
             // An earlier stub that differs from the one the lock writes, so that putting it
             // back is a write of its own.
             test::write_file(a.source + u".hbxfile", "[ENCRYPTINFO]\r\nSRC=Users\\ann\\x.txt\r\n");
         },
         {u"lock", a.source, u"0"}, {old_a, a}, false},
        {"UnlockALockedFile",
         [] {
             ASSERT_TRUE(ensure_options(u"D:", u"secret"));
             lock(a, LOCK_TYPE_LOCK);
             lock(b, LOCK_TYPE_HIDE);
         },
         {u"unlock", a.source}, {a, b}},
        {"UnlockBesideANewItemOfItsName",
         [] {
             lock(old_a, LOCK_TYPE_LOCK);
             put(a);
         },
         {u"unlock", a.source}, {old_a, a}},
        {"UnlockFromASharedItemFolder",
         [] {
             lock(in_docs, LOCK_TYPE_LOCK);
             lock(in_pics, LOCK_TYPE_HIDE);
         },
         {u"unlock", in_pics.source}, {in_docs, in_pics}},
        {"OpenALockedFile",
         [] {
             ASSERT_TRUE(set_password(u"secret"));
             ASSERT_TRUE(ensure_options(u"D:", u"secret"));
             lock(a, LOCK_TYPE_LOCK);
         },
         {u"open", a.source}, {a}},
        {"OpenWhereTheOptionsFileDoesNotLoad",
         [] {
             ASSERT_TRUE(set_password(u"secret"));
             lock(a, LOCK_TYPE_LOCK);
             write_broken_options(u"D:", "{\"user\": {\"password\": \"\"}}");
         },
         {u"open", a.source}, {a}},
        {"RelockPendingOnTwoVolumes",
         [] {
             ASSERT_TRUE(set_password(u"secret"));
             ASSERT_TRUE(ensure_options(u"D:", u"secret"));
             lock(a, LOCK_TYPE_LOCK);
             lock(b, LOCK_TYPE_HIDE);
             lock(on_c, LOCK_TYPE_LOCK);
             open(a.source);
             open(b.source);
             open(on_c.source);
             // An entry whose item is gone: nothing can lock it again.
             add_pending(u"D:", u"\\Users\\ann\\gone.txt", LOCK_TYPE_LOCK);
         },
         {u"relock-pending"}, {a, b, on_c}},
        {"ChangeThePassword",
         [] {
             ASSERT_TRUE(set_password(u"old"));
             ASSERT_TRUE(ensure_options(u"D:", u"old"));
             ASSERT_TRUE(ensure_options(u"E:", u"old"));
             lock(a, LOCK_TYPE_LOCK);
             open(a.source);
         },
         {u"set-password", u"new"}, {a}},
        {"TheFirstPassword", [] {}, {u"set-password", u"first"}, {}},
        {"EnsureOptionsWhereThereAreNone",
         [] { lock(a, LOCK_TYPE_LOCK); },
         {u"ensure-options", u"D:", u"secret"}, {a}},
        {"EnsureOptionsOverAFileThatDoesNotLoad",
         [] {
             ASSERT_TRUE(set_password(u"secret"));
             lock(a, LOCK_TYPE_LOCK);
             // The first pending entry reads, the second has no integer type.
             write_broken_options(
                 u"D:",
                 "{\"user\": {\"password\": \"\", \"machine\": \"\"}, \"pending\": ["
                 "{\"path\": \"\\\\Users\\\\ann\\\\b.txt\", \"type\": \"1\"},"
                 "{\"path\": \"\\\\x\", \"type\": \"one\"}]}");
         },
         {u"ensure-options", u"D:", u"secret"}, {a}},
        {"RemoveEmptyVaults",
         [] {
             ASSERT_TRUE(set_password(u"secret"));
             ASSERT_TRUE(ensure_options(u"D:", u"secret"));
             lock(a, LOCK_TYPE_LOCK);
             unlock(a.source);
             lock(on_e, LOCK_TYPE_HIDE);
         },
         {u"remove-empty-vaults"}, {a, on_e}},
    };
}

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

// The step boundaries a run passed, from the child's output, and its outcome line.
struct ChildRun {
    std::vector<std::string> steps;
    std::string result;
};

ChildRun parse_run(const std::string& output) {
    ChildRun run;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("result", 0) == 0) {
            run.result = line;
        } else if (!line.empty()) {
            run.steps.push_back(line);
        }
    }
    return run;
}

class CrashHarness : public ::testing::TestWithParam<Scenario> {
protected:
    TestVolumes volumes;

    Snapshot build() {
        volumes.clear();
        GetParam().setup();
        return snapshot();
    }

    std::vector<std::u16string> command(long stop_at) {
        std::vector<std::u16string> args = {from_utf8(std::to_string(stop_at))};
        for (const auto& word : GetParam().operation) args.push_back(word);
        return args;
    }
};

}  // namespace

TEST_P(CrashHarness, EveryStepBoundaryIsSafe) {
    const Scenario& scenario = GetParam();

    // The whole run: the boundaries it passes and the state it ends in.
    const Snapshot before = build();
    ASSERT_FALSE(HasFatalFailure());
    const test::ChildEnd whole = test::run_child("crash_child", command(0));
    ASSERT_TRUE(whole.started);
    ASSERT_EQ(whole.exit_code, 0) << whole.output;
    const ChildRun run = parse_run(whole.output);
    EXPECT_EQ(run.result.rfind(scenario.succeeds ? "result ok" : "result failed", 0), 0u)
        << run.result;
    ASSERT_FALSE(run.steps.empty());
    for (std::size_t i = 0; i < run.steps.size(); ++i) {
        std::printf("  boundary %zu: %s\n", i + 1, run.steps[i].c_str());
    }
    const Snapshot done = snapshot();
    expect_items_once(done, scenario.items, true);
    expect_vault_files_whole(before, done, done);
    expect_no_stub_pointing_nowhere(done);

    std::size_t checked = 0;
    for (std::size_t i = 1; i <= run.steps.size(); ++i) {
        SCOPED_TRACE("killed at boundary " + std::to_string(i) + " of " +
                     std::to_string(run.steps.size()) + ": " + run.steps[i - 1]);
        const Snapshot start = build();
        ASSERT_FALSE(HasFatalFailure());
        const test::ChildEnd end = test::run_child("crash_child", command(static_cast<long>(i)));
        ASSERT_TRUE(end.started) << "the child could not be started: error " << end.start_error;
        ASSERT_TRUE(end.killed) << "the run was not stopped at this boundary (exit code "
                                << end.exit_code << "): " << end.output;
        const Snapshot now = snapshot();
        expect_items_once(now, scenario.items, true);
        expect_vault_files_whole(start, done, now);
        expect_pending_between(start, done, now);
        expect_no_stub_pointing_nowhere(now);
        expect_recovery(start, done, scenario);
        if (HasFailure()) break;   // one boundary's failures at a time
        ++checked;
    }
    std::printf("[ crash points ] %s: %zu of %zu boundaries killed and passed\n", scenario.name,
                checked, run.steps.size());
}

namespace {

std::string temp_marker() {
#ifdef _WIN32
    const char* tmp = std::getenv("TEMP");
    return std::string(tmp ? tmp : "C:\\windows\\temp") + "\\hbx-marker-" +
           std::to_string(std::rand());
#else
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/hbx-marker-" + std::to_string(getpid());
#endif
}

bool marker_exists(const std::string& path) {
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}

void pause_briefly(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

// Two processes lock one path at the same moment. The first is held just after it wrote its
// stub while the second runs as far as it can; then the first goes on. Whichever moves the
// item, the other finds it gone and changes nothing, and the stub of the locked item stays.
TEST(TwoProcesses, LockingOnePathAtOnceKeepsTheStubOfTheLockedItem) {
    TestVolumes volumes;
    put(a);
    const ChildRun whole =
        parse_run(test::run_child("crash_child", {u"0", u"lock", a.source, u"0"}).output);
    std::size_t stub_written = 0;
    for (std::size_t i = 0; i < whole.steps.size() && stub_written == 0; ++i) {
        // "write after" on Linux, "write profile after" on Windows
        const std::string& step = whole.steps[i];
        if (step.rfind("write", 0) == 0 && step.find(" after") != std::string::npos &&
            step.find(".hbxfile") != std::string::npos) {
            stub_written = i + 1;
        }
    }
    ASSERT_NE(stub_written, 0u) << whole.steps.size();

    volumes.clear();
    put(a);
    const std::string marker = temp_marker();
    std::remove((marker + ".paused").c_str());
    std::remove((marker + ".go").c_str());
    test::Child first("crash_child",
                      {from_utf8(std::to_string(stub_written) + ":" + marker), u"lock", a.source, u"0"});
    while (!marker_exists(marker + ".paused")) pause_briefly(5);
    test::Child second("crash_child", {u"0", u"lock", a.source, u"0"});
    pause_briefly(300);
    if (std::FILE* go = std::fopen((marker + ".go").c_str(), "wb")) std::fclose(go);
    const std::string first_result = parse_run(first.wait().output).result;
    const std::string second_result = parse_run(second.wait().output).result;
    std::remove((marker + ".paused").c_str());
    std::remove((marker + ".go").c_str());

    // One lock moved the item; the other found nothing left to lock.
    const std::set<std::string> results = {first_result, second_result};
    EXPECT_EQ(results, (std::set<std::string>{"result ok", "result failed 4 0"}));
    EXPECT_TRUE(platform::exists(vault_place(a.source)));
    EXPECT_EQ(test::read_file(a.source + u".hbxfile"), "[ENCRYPTINFO]\r\nSRC=Users\\ann\\a.txt\r\n");
    std::vector<LockedItem> listed;
    service().list_items(listed);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_FALSE(listed[0].hidden);
}

INSTANTIATE_TEST_SUITE_P(Operations, CrashHarness, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& param) {
                             return std::string(param.param.name);
                         });
