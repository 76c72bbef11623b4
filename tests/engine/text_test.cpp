#include "text.h"

#include <gtest/gtest.h>

using namespace hbx;

TEST(HashText, CoversTheFirstNBytesOfTheUtf16Storage) {
    const struct {
        const char16_t* text;
        const char* hash;
    } cases[] = {
        {u"abc", "70350F6027BCE3713F6B76473084309B"},   // bytes 61 00 62
        {u"", "D41D8CD98F00B204E9800998ECF8427E"},      // MD5 of nothing
        {u"\\", "28D397E87306B8631F3ED80D858D35F0"},    // the byte 5C
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hash);
        EXPECT_EQ(to_utf8(hash_text(c.text)), c.hash);
    }
    EXPECT_EQ(hash_text(u"abc"), hash_text(u"abd"));   // the third character is never read
    EXPECT_EQ(hash_text(u"\\Users\\ann\\docs\\"), hash_text(u"\\Users\\ann\\pics\\"));
    EXPECT_NE(hash_text(u"\\Users\\ann\\docs\\"), hash_text(u"\\Users\\ann\\doc\\"));
    EXPECT_TRUE(same_hash(u"70350f6027bce3713f6b76473084309b", hash_text(u"abc")));
    EXPECT_FALSE(same_hash(u"70350F60", hash_text(u"abc")));
}

TEST(TextConversion, Utf8BothWays) {
    const std::u16string text = u"\\Users\\J\u00fcrgen\\\u65e5\u672c\\\U0001F600.txt";
    EXPECT_EQ(from_utf8(to_utf8(text)), text);
    EXPECT_EQ(to_utf8(u"\u00fc"), "\xc3\xbc");
    // Values longer than the 518 bytes of the original buffers are converted whole.
    const std::u16string longer(300, u'\u00e9');
    EXPECT_EQ(to_utf8(longer).size(), 600u);
    EXPECT_EQ(from_utf8(to_utf8(longer)), longer);
}
