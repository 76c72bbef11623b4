// The Base service table: every entry filled over a block of garbage, the path entries, and the
// password transform with its handle-based twin.
#include "base_table.h"

#include "test_volumes.h"
#include "text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace hbx;
using hbx::base::BaseTable;

namespace {

class Base : public ::testing::Test {
protected:
    void SetUp() override {
        // The block is not cleared before fnBase, as at start-up: every entry must be written.
        std::memset(static_cast<void*>(&table), 0xA5, sizeof table);
        base::fnBase(&table);
    }

    // Calls a path entry with a cleared 260-unit out-buffer.
    template <class Entry, class... Args>
    std::u16string call(Entry entry, Args... args) {
        char16_t out[base::buffer_units] = {};
        entry(args..., out);
        return out;
    }

    BaseTable table;
};

#ifdef _WIN32
const std::u16string sep = u"\\";
#else
const std::u16string sep = u"/";
#endif

}  // namespace

TEST_F(Base, NamesAndExtensionsOfPaths) {
    const struct {
        const char16_t* path;
        const char16_t* name;
        const char16_t* extension;
    } cases[] = {
        {u"C:\\Users\\ann\\a.txt", u"a.txt", u".txt"},
        {u"C:\\Users\\ann\\", u"ann", u""},
        {u"C:\\", u"", u""},
        {u"D:\\...", u"...", u"."},
        {u"C:\\x\\archive.tar.gz", u"archive.tar.gz", u".gz"},
        {u"C:\\dir.d\\file", u"file", u""},
        {u"C:\\Users\\ann\\Link.LNK", u"Link.LNK", u".LNK"},
        {u"C:\\Users\\ann\\a.txt.hbxfolder", u"a.txt.hbxfolder", u".hbxfolder"},
        {u"/home/ann/page.url", u"page.url", u".url"},
        {u"plain", u"plain", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.path));
        EXPECT_EQ(call(table.last_component, c.path), c.name);
        EXPECT_EQ(call(table.extension, c.path), c.extension);
    }
}

TEST_F(Base, TheChooserReopensWhereTheItemWas) {
    const struct {
        const char16_t* chosen;
        const char16_t* place;
    } cases[] = {
        {u"C:\\Users\\ann\\a.txt", u"C:\\Users\\ann"},
        {u"C:\\Users\\ann\\docs\\", u"C:\\Users\\ann"},
        {u"C:\\Users", u"C:\\"},
        {u"C:\\", u"C:\\"},
        {u"/home/ann/a.txt", u"/home/ann"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.chosen));
        EXPECT_EQ(call(table.chooser_place, c.chosen), c.place);
    }
}

TEST_F(Base, JoiningAndTheProgramsFolder) {
    EXPECT_EQ(call(table.join, u"C:\\Hushbox", u"lang"), u"C:\\Hushbox" + sep + u"lang");
    EXPECT_EQ(call(table.join, u"C:\\Hushbox\\", u"lang"), u"C:\\Hushbox\\lang");
    EXPECT_EQ(call(table.join, u"/opt/hushbox/", u"/lang"), u"/opt/hushbox/lang");

    // The out-buffer may be the folder's own buffer, as the language loading uses it.
    char16_t path[base::buffer_units] = u"dir";
    table.join(path, u"lang", path);
    table.join(path, u"de", path);
    EXPECT_EQ(std::u16string(path), u"dir" + sep + u"lang" + sep + u"de");

    // A result that does not fit in 260 units is empty, never cut off.
    const std::u16string long_folder(250, u'a');
    EXPECT_EQ(call(table.join, long_folder.c_str(), u"012345678"), u"");
    EXPECT_EQ(call(table.join, long_folder.c_str(), u"01234567").size(), 259u);

    const std::u16string folder = call(table.module_folder, static_cast<const void*>(nullptr));
    EXPECT_EQ(to_utf8(folder), test::program_folder());
}

TEST_F(Base, TheTransformKeepsEveryPasswordThatFitsTheFields) {
    const std::u16string emoji = u"\U0001F511";   // two UTF-16 units
    const struct {
        std::u16string in;
        std::u16string out;
        const char* why;
    } cases[] = {
        {u"", u"", "empty"},
        {u"secret", u"secret", "ordinary"},
        {u"P\u00e4ss w\u00f6rd \u5bc6", u"P\u00e4ss w\u00f6rd \u5bc6", "non-ASCII and blanks"},
        {u"0123456789abcdef", u"0123456789abcdef", "16 units"},
        {u"0123456789abcdefg", u"0123456789abcdef", "17 units are cut to 16"},
        {std::u16string(u"abc\0def", 7), u"abc", "a NUL ends the text"},
        {u"0123456789abcd" + emoji, u"0123456789abcd" + emoji, "a pair at the end fits"},
        {u"0123456789abcde" + emoji, u"0123456789abcde", "a pair is never split"},
    };
    base::TransformHandle* handle = table.open_transform();
    ASSERT_NE(handle, nullptr);
    const char16_t* first = nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::u16string out = u"left over";
        EXPECT_EQ(table.transform_password(&out, &c.in), &out);
        EXPECT_EQ(out, c.out);
        const char16_t* twin = table.transform_text(handle, c.in.c_str(), 0);
        EXPECT_EQ(std::u16string(twin), out);   // 680 and 704 agree
        if (first == nullptr) first = twin;
    }
    // Every text the handle returned stays valid until the handle is released.
    EXPECT_EQ(std::u16string(first), u"");
    handle->release(handle);
}
