#include "platform/profile_text.h"

#include <gtest/gtest.h>

using namespace hbx::platform;

TEST(ProfileText, ReadsValuesAsTheProfileFunctionsDo) {
    const std::string text =
        "; comment\r\n[other]\r\nSRC=wrong\r\n[EncryptInfo]\r\n  src =  Users\\ann\\a.txt  \r\n"
        "quoted=\"two words\"\r\n";
    EXPECT_EQ(profile_value(text, "ENCRYPTINFO", "SRC"), "Users\\ann\\a.txt");
    EXPECT_EQ(profile_value(text, "encryptinfo", "QUOTED"), "two words");
    EXPECT_EQ(profile_value(text, "ENCRYPTINFO", "missing"), std::nullopt);
    EXPECT_EQ(profile_value(text, "missing", "SRC"), std::nullopt);
    EXPECT_EQ(profile_value("SRC=x\n", "ENCRYPTINFO", "SRC"), std::nullopt);
    EXPECT_EQ(profile_value("[ENCRYPTINFO]\nSRC=unix\n", "ENCRYPTINFO", "SRC"), "unix");
}

TEST(ProfileText, WritesNewFilesAndUpdatesInPlace) {
    const struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"new file", "", "[ENCRYPTINFO]\r\nSRC=Users\\a.txt\r\n"},
        {"key updated in place", "[x]\r\nk=1\r\n[ENCRYPTINFO]\r\nsrc=old\r\nOTHER=2\r\n",
         "[x]\r\nk=1\r\n[ENCRYPTINFO]\r\nSRC=Users\\a.txt\r\nOTHER=2\r\n"},
        {"key added to its section", "[ENCRYPTINFO]\r\nOTHER=2\r\n\r\n[x]\r\n",
         "[ENCRYPTINFO]\r\nOTHER=2\r\nSRC=Users\\a.txt\r\n\r\n[x]\r\n"},
        {"section appended", "[x]\r\nk=1", "[x]\r\nk=1\r\n[ENCRYPTINFO]\r\nSRC=Users\\a.txt\r\n"},
        {"empty section", "[ENCRYPTINFO]\r\n", "[ENCRYPTINFO]\r\nSRC=Users\\a.txt\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(profile_with_value(c.before, "ENCRYPTINFO", "SRC", "Users\\a.txt"), c.after);
    }
}
