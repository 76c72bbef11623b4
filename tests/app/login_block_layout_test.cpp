// The bytes of the login block.
#include "login_block_layout.h"

#include "text.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace hbx;
using namespace hbx::app;

namespace {
std::u16string password_area(const LoginBlockBytes& block) {
    std::u16string units(32, u'\0');
    std::memcpy(units.data(), block.data() + 4, 64);
    return units;
}
}  // namespace

TEST(LoginBlockLayout, EndpointAndPasswordInTheirPlaces) {
    LoginBlockBytes block = new_login_block(0x01020304u);
    const std::uint32_t endpoint = 0x01020304u;
    EXPECT_EQ(std::memcmp(block.data(), &endpoint, 4), 0);
    EXPECT_EQ(password_area(block), std::u16string(32, u'\0'));
    LoginBlockContent content = read_login_block(block.data());
    EXPECT_EQ(content.endpoint, 0x01020304u);
    EXPECT_EQ(content.password, u"");   // before the login

    const std::u16string units31(31, u'x');
    const struct {
        std::u16string written;
        std::u16string read;
        const char* why;
    } cases[] = {
        {u"0123456789abcdefghijklmnopqrstuvwxyz", u"0123456789abcdefghijklmnopqrstu",
         "cut at 31 units, the block's end untouched"},
        {u"p\u00e4ss", u"p\u00e4ss", "a shorter password leaves no tail of the longer one"},
        {units31, units31, "31 units fit with their NUL"},
        {u"", u"", "empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        write_login_password(block.data(), c.written);
        std::u16string expected_area = c.read;
        expected_area.resize(32, u'\0');
        EXPECT_EQ(password_area(block), expected_area);
        content = read_login_block(block.data());
        EXPECT_EQ(content.password, c.read);
        EXPECT_EQ(content.endpoint, 0x01020304u);
    }

    // A block without NUL in its password area yields at most 31 units.
    std::memset(block.data() + 4, 'A', 64);
    EXPECT_EQ(read_login_block(block.data()).password.size(), 31u);
}
