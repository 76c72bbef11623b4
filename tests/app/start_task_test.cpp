// The choice of the task: the decision table with plain values, then real paths on real
// volumes through the engine.
#include "start_task.h"

#include "files.h"
#include "native_path.h"
#include "paths.h"
#include "stub.h"
#include "test_volumes.h"
#include "text.h"
#include "vault.h"

#include <gtest/gtest.h>

using namespace hbx;
using namespace hbx::app;
using hbx::test::TestVolumes;

namespace {

const char* name_of(StartTask task) {
    switch (task) {
        case StartTask::ShowMainWindow: return "ShowMainWindow";
        case StartTask::RelockPending: return "RelockPending";
        case StartTask::Uninstall: return "Uninstall";
        case StartTask::AskDeleteInvalidStub: return "AskDeleteInvalidStub";
        case StartTask::ShowUnlockDialog: return "ShowUnlockDialog";
        case StartTask::ShowLockDialog: return "ShowLockDialog";
        case StartTask::RefusePath: return "RefusePath";
    }
    return "?";
}

PathFacts facts(bool is_stub, std::u16string target, std::u16string vault, int kind = 0) {
    PathFacts f;
    f.path = u"D:\\a.txt.hbxfile";
    f.is_stub = is_stub;
    f.target = std::move(target);
    f.vault_location = std::move(vault);
    f.kind = kind;
    return f;
}

}  // namespace

TEST(StartTaskChoice, DecisionTable) {
    const std::u16string vault = u"D:\\...\\hbx\\data\\X\\a.txt";
    PathFacts refused;
    refused.convertible = false;
    refused.refusal = "\"/etc/x\" is outside every volume";
    const struct {
        std::optional<std::u16string> first;
        PathFacts facts;
        StartTask task;
        std::u16string path;
        int kind;
    } cases[] = {
        {std::nullopt, facts(true, u"D:\\a.txt", u""), StartTask::ShowMainWindow, u"", 0},
        {u"-p", facts(true, u"D:\\a.txt", u""), StartTask::RelockPending, u"", 0},
        {u"-u", {}, StartTask::Uninstall, u"", 0},
        // Commands are compared whole and with regard to case; everything else is a path.
        {u"-P", facts(false, u"D:\\-P", u""), StartTask::ShowLockDialog, u"D:\\-P", 0},
        {u"--p", facts(false, u"D:\\--p", u""), StartTask::ShowLockDialog, u"D:\\--p", 0},
        {u"-p ", facts(false, u"D:\\-p ", u""), StartTask::ShowLockDialog, u"D:\\-p ", 0},
        {u"-U", facts(false, u"D:\\-U", vault), StartTask::ShowUnlockDialog, u"D:\\-U", 0},
        // A stub whose item the vault holds, and one whose item is gone (the path as passed).
        {u"x", facts(true, u"D:\\a.txt", vault), StartTask::ShowUnlockDialog, u"D:\\a.txt", 0},
        {u"x", facts(true, u"D:\\a.txt", u"", 3), StartTask::AskDeleteInvalidStub,
         u"D:\\a.txt.hbxfile", 3},
        {u"x", facts(true, u"D:\\a", u"", 4), StartTask::AskDeleteInvalidStub,
         u"D:\\a.txt.hbxfile", 4},
        // The source path of a hidden item, and a path the vault does not know.
        {u"x", facts(false, u"D:\\h.txt", vault), StartTask::ShowUnlockDialog, u"D:\\h.txt", 0},
        {u"x", facts(false, u"D:\\n.txt", u""), StartTask::ShowLockDialog, u"D:\\n.txt", 0},
        {u"/etc/x", refused, StartTask::RefusePath, u"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first ? to_utf8(*c.first) : std::string("(none)"));
        const TaskChoice choice = choose_task(c.first, c.facts);
        EXPECT_STREQ(name_of(choice.task), name_of(c.task));
        EXPECT_EQ(choice.path, c.path);
        EXPECT_EQ(choice.kind, c.kind);
        if (c.task == StartTask::RefusePath) {
            EXPECT_EQ(choice.message, refused.refusal);
        }
    }
    EXPECT_FALSE(is_path_argument(u"-p"));
    EXPECT_FALSE(is_path_argument(u"-u"));
    for (const char16_t* path : {u"-P", u"--p", u"-p ", u" -p", u"-"}) {
        EXPECT_TRUE(is_path_argument(path)) << to_utf8(path);
    }
}

class StartTaskOnVolumes : public ::testing::Test {
protected:
    TestVolumes volumes;
    const std::u16string d = TestVolumes::at(u'D');

    // Puts an item into the vault of D: as the lock does.
    void put_in_vault(const std::u16string& source) {
        const PathParts p = split_path(source);
        const std::u16string folder = item_folder(u"D:", p.directory);
        ASSERT_EQ(create_folder_chain(folder), 0u);
        test::write_file(combine(folder, p.name) + p.extension, "item");
    }

    // The task that the program chooses for `engine_path` given in its native form.
    TaskChoice choose(const std::u16string& engine_path) {
        const Converted native = to_native_path(engine_path);
        EXPECT_TRUE(native.ok) << native.message;
        return choose_task(engine_path, ask_engine(native.native));
    }
};

TEST_F(StartTaskOnVolumes, RealPathsLeadToTheirTasks) {
    test::make_folders(d + u"Users\\ann\\docs");
    test::write_file(d + u"Users\\ann\\plain.txt", "x");
    test::write_file(d + u"Users\\ann\\with blank.txt", "x");
    // A locked file: its stub and the item in the vault.
    put_in_vault(d + u"Users\\ann\\a.txt");
    ASSERT_EQ(write_stub(stub_info_for_item(d + u"Users\\ann\\a.txt", false)), 0u);
    // Stubs whose items are gone.
    ASSERT_EQ(write_stub(stub_info_for_item(d + u"Users\\ann\\gone.txt", false)), 0u);
    ASSERT_EQ(write_stub(stub_info_for_item(d + u"Users\\ann\\gone", true)), 0u);
    // A hidden item: in the vault, nothing at its place.
    put_in_vault(d + u"Users\\ann\\hidden.txt");

    const struct {
        std::u16string path;
        StartTask task;
        std::u16string carried;
        int kind;
    } cases[] = {
        {d + u"Users\\ann\\a.txt.hbxfile", StartTask::ShowUnlockDialog, d + u"Users\\ann\\a.txt", 0},
        {d + u"Users\\ann\\gone.txt.hbxfile", StartTask::AskDeleteInvalidStub,
         d + u"Users\\ann\\gone.txt.hbxfile", 3},
        {d + u"Users\\ann\\gone.hbxfolder", StartTask::AskDeleteInvalidStub,
         d + u"Users\\ann\\gone.hbxfolder", 4},
        {d + u"Users\\ann\\hidden.txt", StartTask::ShowUnlockDialog, d + u"Users\\ann\\hidden.txt", 0},
        {d + u"Users\\ann\\plain.txt", StartTask::ShowLockDialog, d + u"Users\\ann\\plain.txt", 0},
        {d + u"Users\\ann\\with blank.txt", StartTask::ShowLockDialog,
         d + u"Users\\ann\\with blank.txt", 0},
        {d + u"Users\\ann\\docs", StartTask::ShowLockDialog, d + u"Users\\ann\\docs", 0},
        {d + u"Users\\ann\\nothing here", StartTask::ShowLockDialog,
         d + u"Users\\ann\\nothing here", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.path));
        const TaskChoice choice = choose(c.path);
        EXPECT_STREQ(name_of(choice.task), name_of(c.task));
        EXPECT_EQ(choice.path, c.carried);
        EXPECT_EQ(choice.kind, c.kind);
    }
}

#ifndef _WIN32
TEST_F(StartTaskOnVolumes, NativePathsWithoutEngineFormAreRefusedWithTheirName) {
    const Converted root = to_native_path(d);
    ASSERT_TRUE(root.ok);
    const struct {
        std::string native;
        const char* says;
    } cases[] = {
        {"/definitely/not/a/volume/x.txt", "\"/definitely/not/a/volume/x.txt\" is outside every volume"},
        {root.native + "/a\\b.txt", "backslash"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.native);
        const TaskChoice choice = choose_task(from_utf8(c.native), ask_engine(c.native));
        EXPECT_STREQ(name_of(choice.task), "RefusePath");
        EXPECT_NE(choice.message.find(c.says), std::string::npos) << choice.message;
    }
}
#endif
