// The seam's effects on real folders: the Windows behaviours the engine relies on, in both
// lanes.
#include "platform/platform.h"

#include "held_open.h"
#include "test_volumes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace hbx;
using namespace hbx::platform;
using hbx::test::TestVolumes;

class Seam : public ::testing::Test {
protected:
    TestVolumes volumes;
    const std::u16string d = TestVolumes::at(u'D');
};

TEST_F(Seam, MoveNeverReplacesAndReportsWhatIsMissing) {
    test::write_file(d + u"a.txt", "a");
    test::write_file(d + u"b.txt", "b");
    test::make_folders(d + u"dir");
    EXPECT_EQ(move(d + u"a.txt", d + u"b.txt"), err::already_exists);
    EXPECT_EQ(move(d + u"a.txt", d + u"dir"), err::already_exists);
    EXPECT_EQ(test::read_file(d + u"b.txt"), "b");
    EXPECT_EQ(move(d + u"none.txt", d + u"c.txt"), err::file_not_found);
    EXPECT_EQ(move(d + u"a.txt", d + u"nofolder\\a.txt"), err::path_not_found);
    EXPECT_EQ(move(d + u"a.txt", d + u"dir\\a.txt"), err::success);
    EXPECT_EQ(test::read_file(d + u"dir\\a.txt"), "a");
    EXPECT_EQ(move(d + u"dir", d + u"dir2"), err::success);
    EXPECT_TRUE(is_folder(d + u"dir2"));
}

TEST_F(Seam, AFileHeldOpenByAnotherProcessCannotBeMoved) {
    test::write_file(d + u"held.txt", "x");
    {
        test::HeldOpen held(d + u"held.txt", test::HeldOpen::How::file);
        ASSERT_TRUE(held.holding());
        EXPECT_EQ(move(d + u"held.txt", d + u"moved.txt"), err::sharing_violation);
        EXPECT_TRUE(exists(d + u"held.txt"));
    }
    EXPECT_EQ(move(d + u"held.txt", d + u"moved.txt"), err::success);
}

#ifndef _WIN32
TEST_F(Seam, AFolderInUseCannotBeMovedOnLinux) {
    test::make_folders(d + u"docs\\deep");
    test::write_file(d + u"docs\\deep\\held.txt", "x");
    {
        test::HeldOpen held(d + u"docs\\deep\\held.txt", test::HeldOpen::How::file);
        ASSERT_TRUE(held.holding());
        EXPECT_EQ(move(d + u"docs", d + u"moved"), err::sharing_violation);
    }
    {
        test::HeldOpen held(d + u"docs\\deep", test::HeldOpen::How::working_folder);
        ASSERT_TRUE(held.holding());
        EXPECT_EQ(move(d + u"docs", d + u"moved"), err::sharing_violation);
    }
    // A folder whose name merely begins like the held one is not in use.
    test::make_folders(d + u"doc");
    {
        test::HeldOpen held(d + u"docs\\deep", test::HeldOpen::How::working_folder);
        EXPECT_EQ(move(d + u"doc", d + u"other"), err::success);
    }
    EXPECT_EQ(move(d + u"docs", d + u"moved"), err::success);
}

TEST_F(Seam, PathsOutsideTheMapNeverReachTheFileSystem) {
    EXPECT_EQ(write_file_replacing(u"Q:\\a.txt", "x"), err::path_not_found);
    EXPECT_EQ(write_file_replacing(d + u"..\\escape.txt", "x"), err::bad_pathname);
    EXPECT_EQ(create_folder(d + u"a\\..\\..\\b"), err::bad_pathname);
    EXPECT_FALSE(exists(u"C:\\..\\d"));
    EXPECT_EQ(move(d + u"x", u"C:rel"), err::invalid_name);
}
#endif

TEST_F(Seam, ReplacingAFileLeavesNoTraceOfTheTemporaryFile) {
    test::make_folders(d + u"vault");
    const std::u16string file = d + u"vault\\options.cfg";
    EXPECT_EQ(write_file_replacing(file, "first"), err::success);
    EXPECT_EQ(write_file_replacing(file, "second, longer"), err::success);
    EXPECT_EQ(write_file_replacing(file, "3"), err::success);
    EXPECT_EQ(test::read_file(file), "3");
    std::vector<FolderEntry> entries;
    ASSERT_EQ(list_folder(d + u"vault", entries), err::success);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, u"options.cfg");
    EXPECT_EQ(write_file_replacing(d + u"missing\\f", "x"), err::path_not_found);
    EXPECT_EQ(write_file_replacing(d + u"vault", "x"), err::access_denied);
}

TEST_F(Seam, AFileIsReplacedWhileAnotherThreadKeepsReadingIt) {
    // Readers take no lock: one may have the file open at the very moment a writer renames its
    // new content over it. On Windows that rename is refused while the reader holds the file;
    // the writer must wait the moment out, and the reader must see the old or the new bytes.
    test::make_folders(d + u"vault");
    const std::u16string file = d + u"vault\\options.cfg";
    ASSERT_EQ(write_file_replacing(file, "content 0"), err::success);
    std::atomic<bool> done{false};
    std::atomic<int> bad_reads{0};
    std::thread reader([&] {
        while (!done) {
            std::string bytes;
            if (read_file(file, bytes) != err::success || bytes.rfind("content ", 0) != 0) {
                ++bad_reads;
            }
            std::this_thread::yield();
        }
    });
    int failed_writes = 0;
    for (int i = 1; i <= 200; ++i) {
        if (write_file_replacing(file, "content " + std::to_string(i)) != err::success) ++failed_writes;
    }
    done = true;
    reader.join();
    EXPECT_EQ(failed_writes, 0);
    EXPECT_EQ(bad_reads, 0);
    EXPECT_EQ(test::read_file(file), "content 200");
}

TEST_F(Seam, FilesAndFoldersReportWindowsErrors) {
    test::make_folders(d + u"full");
    test::write_file(d + u"full\\f", "");
    std::string bytes = "old";
    EXPECT_EQ(read_file(d + u"full\\f", bytes), err::success);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(read_file(d + u"none", bytes), err::file_not_found);
    EXPECT_EQ(read_file(d + u"nofolder\\none", bytes), err::path_not_found);
    EXPECT_EQ(create_folder(d + u"full"), err::already_exists);
    EXPECT_EQ(create_folder(d + u"a\\b"), err::path_not_found);
    EXPECT_EQ(delete_file(d + u"full"), err::access_denied);
    EXPECT_EQ(remove_folder(d + u"full"), err::dir_not_empty);
    EXPECT_EQ(delete_file(d + u"full\\f"), err::success);
    EXPECT_EQ(remove_folder(d + u"full"), err::success);
    EXPECT_EQ(delete_file(d + u"full\\f"), err::path_not_found);
    bool folder = true;
    EXPECT_EQ(query(d + u"none", folder), err::file_not_found);
    std::vector<FolderEntry> entries;
    EXPECT_NE(list_folder(d + u"none", entries), err::success);
}

TEST_F(Seam, ProfileFilesHoldTheStubBytes) {
    const std::u16string stub = d + u"a.txt.hbxfile";
    ASSERT_EQ(write_profile_string(stub, u"ENCRYPTINFO", u"SRC", u"Users\\ann\\a.txt"),
              err::success);
    EXPECT_EQ(test::read_file(stub), "[ENCRYPTINFO]\r\nSRC=Users\\ann\\a.txt\r\n");
    EXPECT_EQ(read_profile_string(stub, u"ENCRYPTINFO", u"SRC"), u"Users\\ann\\a.txt");
    ASSERT_EQ(write_profile_string(stub, u"ENCRYPTINFO", u"SRC", u"b.txt"), err::success);
    EXPECT_EQ(test::read_file(stub), "[ENCRYPTINFO]\r\nSRC=b.txt\r\n");
    EXPECT_EQ(read_profile_string(d + u"none", u"ENCRYPTINFO", u"SRC"), u"");
    EXPECT_NE(write_profile_string(d + u"nofolder\\x", u"ENCRYPTINFO", u"SRC", u"x"),
              err::success);
}

TEST_F(Seam, DrivesComeInLetterOrderWithTheirTypes) {
    const auto list = drives();
    auto type_of = [&list](char16_t letter) {
        for (const auto& drive : list) {
            if (drive.letter == letter) return drive.type;
        }
        return DriveType::unknown;
    };
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const Drive& a, const Drive& b) {
        return a.letter < b.letter;
    }));
    EXPECT_EQ(type_of(u'C'), DriveType::fixed);
    EXPECT_EQ(type_of(u'D'), DriveType::fixed);
    EXPECT_EQ(type_of(u'E'), DriveType::removable);
    EXPECT_EQ(type_of(u'N'), DriveType::remote);
    EXPECT_EQ(type_of(u'R'), DriveType::cdrom);
}

TEST(SeamSystem, Md5AndVersion) {
    const auto digest = md5("abc", 3);
    EXPECT_EQ(digest[0], 0x90);
    EXPECT_EQ(digest[15], 0x72);
#ifdef _WIN32
    EXPECT_GE(os_major_version(), 5u);
#else
    EXPECT_EQ(os_major_version(), 10u);
#endif
}
