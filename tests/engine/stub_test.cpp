// Item kinds, stub files, the way back from a stub to its item, and free names.
#include "item_inspector.h"
#include "lock_service.h"
#include "files.h"
#include "paths.h"
#include "stub.h"
#include "text.h"
#include "vault.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

using namespace hbx;
using hbx::test::TestVolumes;

class Stubs : public ::testing::Test {
protected:
    TestVolumes volumes;
    const std::u16string d = TestVolumes::at(u'D');
    ItemInspector& inspector = ItemInspector::instance();
    LockService& service = LockService::instance();

    // Puts an item into the vault of D: as the lock does, so that the vault holds it.
    void put_in_vault(const std::u16string& source) {
        const PathParts p = split_path(source);
        const std::u16string folder = item_folder(u"D:", p.directory);
        ASSERT_EQ(create_folder_chain(folder), 0u);
        test::write_file(combine(folder, p.name) + p.extension, "item");
    }
};

TEST_F(Stubs, ClassifyByFolderFlagThenExtension) {
    test::make_folders(d + u"x.hbxfile");
    test::write_file(d + u"w.HBXFILE", "");
    test::write_file(d + u"y.hbxfolder", "");
    test::write_file(d + u"x.hbxfolder.txt", "");
    test::write_file(d + u"plain", "");
    const struct {
        const char16_t* name;
        int kind;
    } cases[] = {
        {u"x.hbxfile", ITEM_FOLDER},       {u"w.HBXFILE", ITEM_FILE_STUB},
        {u"y.hbxfolder", ITEM_FOLDER_STUB}, {u"x.hbxfolder.txt", ITEM_FILE},
        {u"plain", ITEM_FILE},             {u"missing.hbxfile", ITEM_MISSING},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.name));
        EXPECT_EQ(inspector.classify(d + c.name), c.kind);
    }
    EXPECT_EQ(inspector.classify(u"Q:\\unmapped"), ITEM_MISSING);
}

TEST_F(Stubs, AStubHoldsItsSourceAfterTheRootInTwoLines) {
    test::make_folders(d + u"Users\\ann\\docs");
    const StubInfo file = stub_info_for_item(d + u"Users\\ann\\a.txt", false);
    EXPECT_EQ(file.stub, d + u"Users\\ann\\a.txt.hbxfile");
    ASSERT_EQ(write_stub(file), 0u);
    EXPECT_EQ(test::read_file(file.stub), "[ENCRYPTINFO]\r\nSRC=Users\\ann\\a.txt\r\n");
    EXPECT_EQ(read_stub(file), u"Users\\ann\\a.txt");

    const StubInfo folder = stub_info_for_item(d + u"Users\\ann\\docs\\", true);
    EXPECT_EQ(folder.target, d + u"Users\\ann\\docs");
    EXPECT_EQ(folder.stub, d + u"Users\\ann\\docs.hbxfolder");
    ASSERT_EQ(write_stub(folder), 0u);
    EXPECT_TRUE(platform::is_folder(d + u"Users\\ann\\docs"));   // the stub is a file beside it
    EXPECT_EQ(inspector.classify(folder.stub), ITEM_FOLDER_STUB);

    EXPECT_EQ(stub_info_for_stub(file.stub).target, file.target);
    EXPECT_EQ(delete_stub(file), 0u);
    EXPECT_FALSE(platform::exists(file.stub));
    EXPECT_EQ(read_stub(file), u"");
}

TEST_F(Stubs, ResolveAndStubTarget) {
    test::make_folders(d + u"Users\\ann");
    put_in_vault(d + u"Users\\ann\\a.txt");
    ASSERT_EQ(write_stub(stub_info_for_item(d + u"Users\\ann\\a.txt", false)), 0u);

    std::u16string target;
    EXPECT_TRUE(inspector.resolve_stub(d + u"Users\\ann\\a.txt.hbxfile", &target));
    EXPECT_EQ(target, d + u"Users\\ann\\a.txt");
    EXPECT_TRUE(inspector.resolve_stub(d + u"Users\\ann\\a.txt.hbxfile", nullptr));
    EXPECT_FALSE(inspector.resolve_stub(d + u"Users\\ann", &target));
    EXPECT_EQ(target, d + u"Users\\ann");
    EXPECT_EQ(service.vault_location(d + u"Users\\ann\\a.txt"),
              item_folder(u"D:", u"\\Users\\ann\\") + u"\\a.txt");
    EXPECT_EQ(service.vault_location(d + u"Users/ann/a.txt"),
              service.vault_location(d + u"Users\\ann\\a.txt"));
    EXPECT_EQ(service.vault_location(d + u"Users\\ann\\b.txt"), u"");
    EXPECT_EQ(service.vault_location(u"\\\\srv\\share\\a.txt"), u"");

    // A renamed stub still leads to its item through SRC.
    ASSERT_EQ(platform::move(d + u"Users\\ann\\a.txt.hbxfile", d + u"Users\\ann\\b.txt.hbxfile"),
              0u);
    EXPECT_EQ(service.stub_target(d + u"Users\\ann\\b.txt.hbxfile"), d + u"Users\\ann\\a.txt");

    // With the item in the vault under the candidate name, SRC is not read at all.
    put_in_vault(d + u"Users\\ann\\b.txt");
    EXPECT_EQ(service.stub_target(d + u"Users\\ann\\b.txt.hbxfile"), d + u"Users\\ann\\b.txt");

    // A stub that cannot be read falls back to the candidate.
    test::write_file(d + u"Users\\ann\\c.txt.hbxfile", "\x01\x02binary\xff");
    EXPECT_EQ(service.stub_target(d + u"Users\\ann\\c.txt.hbxfile"), d + u"Users\\ann\\c.txt");
}

TEST_F(Stubs, ACraftedSourceNeverLeadsOutOfTheVolume) {
    const struct {
        const char* src;
        bool followed;
    } cases[] = {
        {"Users\\ann\\a.txt", true},
        {"a..b\\c", true},
        {"..\\..\\etc\\passwd", false},
        {"Users\\..\\..\\x", false},
        {"Users/../../x", false},
        {"\\Windows\\x", false},
        {"C:\\Windows\\x", false},
        {"\\\\server\\share\\x", false},
        {"x\\..", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.src);
        EXPECT_EQ(is_safe_stub_source(from_utf8(c.src)), c.followed);
        test::write_file(d + u"s.txt.hbxfile",
                         std::string("[ENCRYPTINFO]\r\nSRC=") + c.src + "\r\n");
        EXPECT_EQ(service.stub_target(d + u"s.txt.hbxfile"),
                  c.followed ? d + from_utf8(c.src) : d + u"s.txt");
    }
}

TEST_F(Stubs, UniqueNameCountsFromTwo) {
    for (const char16_t* name : {u"report.txt", u"report (2).txt", u"r (12).txt", u"ab(5)",
                                 u"taken", u"taken (2)", u"taken (3)"}) {
        test::write_file(d + name, "");
    }
    const struct {
        const char16_t* path;
        const char16_t* unique;
    } cases[] = {
        {u"free.txt", u"free.txt"},
        {u"report.txt", u"report (3).txt"},
        {u"report (2).txt", u"report (3).txt"},
        {u"r (12).txt", u"r (12) (2).txt"},
        {u"ab(5)", u"a (2)"},
        {u"taken", u"taken (4)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.path));
        EXPECT_EQ(unique_name(d + c.path), d + c.unique);
    }
}
