#include "platform/unicode.h"

#include <gtest/gtest.h>

using namespace hbx::platform;

TEST(Unicode, RoundTripsEveryPlane) {
    const std::u16string text = u"a\u00e9\u4e2d\U0001F512z";
    EXPECT_EQ(utf16_to_utf8(text), "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x94\x92z");
    EXPECT_EQ(utf8_to_utf16(utf16_to_utf8(text)), text);
}

TEST(Unicode, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(utf16_to_utf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\xff", u"\ufffd"},                  // never valid
        {"\xc3", u"\ufffd"},                  // cut short
        {"\xc0\xaf", u"\ufffd\ufffd"},        // overlong
        {"\xed\xa0\x80", u"\ufffd"},            // a surrogate
        {"a\x80z", u"a\ufffdz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(utf8_to_utf16(c.bytes), c.text);
    }
}
