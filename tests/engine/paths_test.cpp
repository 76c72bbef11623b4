// The path utilities, as tables. In the Windows lane every row is also checked against the
// shell function the utility follows.
#include "paths.h"

#include "text.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <shlwapi.h>
#endif

using namespace hbx;

namespace {
#ifdef _WIN32
const wchar_t* w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
std::u16string u(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
#endif
}  // namespace

TEST(Paths, SplitPath) {
    const struct {
        const char16_t* path;
        const char16_t* drive;
        const char16_t* dir;
        const char16_t* name;
        const char16_t* ext;
    } cases[] = {
        {u"C:\\Users\\ann\\a.txt", u"C:", u"\\Users\\ann\\", u"a", u".txt"},
        {u"C:\\a.txt", u"C:", u"\\", u"a", u".txt"},
        {u"C:\\d\\docs", u"C:", u"\\d\\", u"docs", u""},
        {u"C:\\d\\a.b.c", u"C:", u"\\d\\", u"a.b", u".c"},
        {u"C:\\d.x\\name", u"C:", u"\\d.x\\", u"name", u""},
        {u"C:\\d\\.profile", u"C:", u"\\d\\", u"", u".profile"},
        {u"C:/u/a.txt", u"C:", u"/u/", u"a", u".txt"},
        {u"\\\\srv\\share\\a.txt", u"", u"\\\\srv\\share\\", u"a", u".txt"},
        {u"C:\\x\\a.txt.hbxfile", u"C:", u"\\x\\", u"a.txt", u".hbxfile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.path));
        const PathParts p = split_path(c.path);
        EXPECT_EQ(p.drive, c.drive);
        EXPECT_EQ(p.directory, c.dir);
        EXPECT_EQ(p.name, c.name);
        EXPECT_EQ(p.extension, c.ext);
#ifdef _WIN32
        wchar_t d[3], dir[260], n[260], e[260];
        ASSERT_EQ(_wsplitpath_s(w(c.path), d, 3, dir, 260, n, 260, e, 260), 0);
        EXPECT_EQ(p.drive, u(d));
        EXPECT_EQ(p.directory, u(dir));
        EXPECT_EQ(p.name, u(n));
        EXPECT_EQ(p.extension, u(e));
#endif
    }
}

TEST(Paths, CombineAndAppend) {
    const struct {
        const char16_t* dir;
        const char16_t* name;
        const char16_t* combined;
        const char16_t* appended;
    } cases[] = {
        {u"C:\\", u"\\a\\b\\", u"C:\\a\\b\\", u"C:\\a\\b\\"},
        {u"C:\\x\\y", u"\\a", u"C:\\a", u"C:\\x\\y\\a"},
        {u"C:\\x\\", u"a.txt", u"C:\\x\\a.txt", u"C:\\x\\a.txt"},
        {u"C:\\x", u"a.txt", u"C:\\x\\a.txt", u"C:\\x\\a.txt"},
        {u"C:\\x", u"", u"C:\\x", u"C:\\x"},
        {u"C:\\x", u"D:\\y", u"D:\\y", u"D:\\y"},
        {u"C:\\hbx\\data\\", u"70350F6027BCE3713F6B76473084309B",
         u"C:\\hbx\\data\\70350F6027BCE3713F6B76473084309B",
         u"C:\\hbx\\data\\70350F6027BCE3713F6B76473084309B"},
        {u"C:\\hbx\\data\\AB", u"\\Users\\ann\\", u"C:\\Users\\ann\\",
         u"C:\\hbx\\data\\AB\\Users\\ann\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(std::u16string(c.dir) + u" + " + c.name));
        EXPECT_EQ(combine(c.dir, c.name), c.combined);
        EXPECT_EQ(append(c.dir, c.name), c.appended);
#ifdef _WIN32
        wchar_t buffer[MAX_PATH];
        ASSERT_NE(PathCombineW(buffer, w(c.dir), w(c.name)), nullptr);
        EXPECT_EQ(u(buffer), c.combined);
        wcscpy(buffer, w(c.dir));
        ASSERT_TRUE(PathAppendW(buffer, w(c.name)));
        EXPECT_EQ(u(buffer), c.appended);
#endif
    }
}

TEST(Paths, ParentRootAndBackslash) {
    const struct {
        const char16_t* path;
        bool removed;
        const char16_t* parent;
        const char16_t* without_backslash;
        const char16_t* after_root;
    } cases[] = {
        {u"C:\\a\\b", true, u"C:\\a", u"C:\\a\\b", u"a\\b"},
        {u"C:\\a", true, u"C:\\", u"C:\\a", u"a"},
        {u"C:\\a\\", true, u"C:\\a", u"C:\\a", u"a\\"},
        {u"C:\\", false, u"C:\\", u"C:\\", u""},
        {u"C:\\Users\\ann\\a.txt", true, u"C:\\Users\\ann", u"C:\\Users\\ann\\a.txt",
         u"Users\\ann\\a.txt"},
        {u"\\\\srv\\share\\x", true, u"\\\\srv\\share", u"\\\\srv\\share\\x", u"x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.path));
        std::u16string p = c.path;
        EXPECT_EQ(parent(p), c.removed);
        EXPECT_EQ(p, c.parent);
        EXPECT_EQ(without_trailing_backslash(c.path), c.without_backslash);
        EXPECT_EQ(after_root(c.path), c.after_root);
#ifdef _WIN32
        wchar_t buffer[MAX_PATH];
        wcscpy(buffer, w(c.path));
        EXPECT_EQ(PathRemoveFileSpecW(buffer) != FALSE, c.removed);
        EXPECT_EQ(u(buffer), c.parent);
        wcscpy(buffer, w(c.path));
        PathRemoveBackslashW(buffer);
        EXPECT_EQ(u(buffer), c.without_backslash);
        const std::u16string whole = c.path;
        const wchar_t* rest = PathSkipRootW(w(whole));
        EXPECT_EQ(rest ? u(rest) : u"", c.after_root);
#endif
    }
}

TEST(Paths, ExtensionsAndCase) {
    const struct {
        const char16_t* path;
        const char16_t* extension;
    } cases[] = {
        {u"C:\\x\\report.doc.hbxfile", u".hbxfile"},
        {u"C:\\x.y\\name", u""},
        {u"C:\\x\\a.hbxfolder.txt", u".txt"},
        {u"C:\\x\\report.my file", u""},
        {u"C:\\x\\noext", u""},
        {u"C:\\x\\dot.", u"."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(c.path));
        EXPECT_EQ(find_extension(c.path), c.extension);
#ifdef _WIN32
        EXPECT_EQ(u(PathFindExtensionW(w(c.path))), c.extension);
#endif
    }
    EXPECT_TRUE(equal_ignoring_case(u".HbxFile", u".hbxfile"));
    EXPECT_TRUE(equal_ignoring_case(u"\u00c9T\u00c9", u"\u00e9t\u00e9"));
    EXPECT_FALSE(equal_ignoring_case(u".hbxfile", u".hbxfil"));
    EXPECT_EQ(drive_prefix(u"C:\\a"), u"C:");
    EXPECT_EQ(normalize_slashes(u"C:/a/b\\c"), u"C:\\a\\b\\c");
    EXPECT_TRUE(is_drive_path(u"c:/a"));
    EXPECT_FALSE(is_drive_path(u"\\\\srv\\share"));
    EXPECT_FALSE(is_drive_path(u"C:a"));
}
