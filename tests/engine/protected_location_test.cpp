// Which paths must never be locked: drive roots and the system's special folders, compared
// exactly; and the old-Windows question of the inspector.
#include "item_inspector.h"
#include "platform/platform.h"
#include "protected_location.h"
#include "text.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>
#endif

using namespace hbx;

TEST(ProtectedLocation, RootsAndExactSpecialFolders) {
    const std::vector<std::u16string> folders = {
        u"C:\\Users\\ann\\Desktop",
        u"C:\\Windows\\Fonts",
        u"::{208D2C60-3AEA-1069-A2D7-08002B30309D}",   // a virtual folder as the shell names it
        u"\\\\server\\share\\Favorites",
    };
    const struct {
        const char16_t* path;
        bool is_protected;
        const char* why;
    } cases[] = {
        {u"C:\\", true, "drive root"},
        {u"E:", true, "drive without backslash"},
        {u"", true, "nothing at all has root length"},
        {u"C:\\Users\\ann\\Desktop", true, "special folder"},
        {u"C:\\Windows\\Fonts", true, "second special folder"},
        {u"\\\\server\\share\\Favorites", true, "special folder on a network path"},
        {u"c:\\users\\ann\\desktop", false, "other letter case"},
        {u"C:\\Users\\ann\\DESKTOP", false, "other letter case of the last name"},
        {u"C:\\Users\\ann\\Desktop\\", false, "trailing backslash"},
        {u"C:\\Users\\ann\\Desktop\\notes", false, "inside a special folder"},
        {u"C:\\Users\\ann\\Deskto", false, "a prefix of a special folder"},
        {u"C:\\Users\\ann", false, "parent of a special folder"},
        {u"C:/Users/ann/Desktop", false, "forward slashes"},
        {u"::{208D2C60-3AEA-1069-A2D7-08002B30309D}", false, "virtual folders never match"},
        {u"C:\\a", false, "four units"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(is_protected_path(c.path, folders), c.is_protected) << to_utf8(c.path);
    }
}

#ifdef _WIN32

namespace {

std::u16string shell_folder(int csidl) {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buffer));
}

std::u16string with_case(std::u16string text, bool upper) {
    for (char16_t& c : text) {
        if (upper && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        if (!upper && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return text;
}

}  // namespace

TEST(ProtectedLocation, TheShellFoldersOfThisSystem) {
    test::TestVolumes volumes;
    const std::u16string desktop = shell_folder(CSIDL_DESKTOPDIRECTORY);
    const std::u16string fonts = shell_folder(CSIDL_FONTS);
    const std::u16string startup = shell_folder(CSIDL_STARTUP);
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(fonts.empty());
    ASSERT_FALSE(startup.empty());
    ASSERT_NE(with_case(desktop, false), desktop);
    ASSERT_NE(with_case(desktop, true), desktop);

    const struct {
        std::u16string path;
        bool is_protected;
        const char* why;
    } cases[] = {
        {u"C:\\", true, "drive root"},
        {u"D:\\", true, "drive root of a test drive"},
        {desktop, true, "the desktop exactly as the shell reports it"},
        {fonts, true, "the fonts folder"},
        {startup, true, "the startup folder"},
        {with_case(desktop, false), false, "the desktop in lower case"},
        {with_case(desktop, true), false, "the desktop in upper case"},
        {desktop + u"\\notes", false, "a folder inside the desktop"},
        {desktop + u"\\", false, "the desktop with a trailing backslash"},
        {u"C:\\hbxtest", false, "an ordinary folder"},
        {u"::{208d2c60-3aea-1069-a2d7-08002b30309d}", false, "the network, a virtual folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ItemInspector::instance().is_protected_location(c.path), c.is_protected)
            << to_utf8(c.path);
    }
}

#else

namespace {

// Sets environment variables for one test and restores them afterwards.
class ScopedEnvironment {
public:
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->was_set) {
                setenv(it->name.c_str(), it->value.c_str(), 1);
            } else {
                unsetenv(it->name.c_str());
            }
        }
    }
    void set(const char* name, const std::string& value) {
        save(name);
        setenv(name, value.c_str(), 1);
    }
    void unset(const char* name) {
        save(name);
        unsetenv(name);
    }

private:
    struct Saved {
        std::string name;
        bool was_set;
        std::string value;
    };
    void save(const char* name) {
        const char* value = std::getenv(name);
        saved_.push_back({name, value != nullptr, value ? value : ""});
    }
    std::vector<Saved> saved_;
};

std::string native(const std::u16string& engine) {
    const platform::Converted c = platform::engine_to_native(engine);
    EXPECT_TRUE(c.ok) << c.message;
    return c.native;
}

}  // namespace

// A home folder on C:, a documents folder on D:, the common data folders on D: and outside
// every volume; the user directories file names a desktop that is not the default one.
TEST(ProtectedLocation, TheUsersFoldersOnThisSystem) {
    test::TestVolumes volumes;
    ScopedEnvironment env;
    env.set("HOME", native(u"C:\\Users\\ann"));
    env.unset("XDG_CONFIG_HOME");
    env.unset("XDG_DATA_HOME");
    env.unset("XDG_CACHE_HOME");
    env.set("XDG_DATA_DIRS", native(u"D:\\") + "/share:/usr/share");
    test::make_folders(u"C:\\Users\\ann\\.config");
    test::write_file(u"C:\\Users\\ann\\.config\\user-dirs.dirs",
                     "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                     "XDG_DOCUMENTS_DIR=\"" + native(u"D:\\") + "/Docs/\"\n");

    const struct {
        const char16_t* path;
        bool is_protected;
        const char* why;
    } cases[] = {
        {u"C:\\", true, "volume root"},
        {u"E:\\", true, "volume root of a removable volume"},
        {u"C:\\Users\\ann\\Schreibtisch", true, "the desktop of the user directories"},
        {u"C:\\users\\ann\\schreibtisch", false, "the desktop in other letter case"},
        {u"C:\\Users\\ann\\Schreibtisch\\notes", false, "a folder inside the desktop"},
        {u"C:\\Users\\ann\\Schreibtisch\\", false, "the desktop with a trailing backslash"},
        {u"C:\\Users\\ann\\Desktop", false, "the default desktop, not the configured one"},
        {u"D:\\Docs", true, "the documents folder on another volume"},
        {u"C:\\Users\\ann\\.config\\autostart", true, "the autostart folder"},
        {u"C:\\Users\\ann\\.config\\menus", true, "the menu layout"},
        {u"C:\\Users\\ann\\.local\\share\\Trash", true, "the trash"},
        {u"C:\\Users\\ann\\.local\\share\\Trash\\files", false, "inside the trash"},
        {u"C:\\Users\\ann\\.local\\share\\applications", true, "the user's menu entries"},
        {u"D:\\share\\applications", true, "common menu entries on a volume"},
        {u"D:\\share\\fonts", true, "common fonts on a volume"},
        {u"C:\\Users\\ann\\.local\\share\\fonts", true, "the user's fonts"},
        {u"C:\\Users\\ann\\.cache", true, "the cache"},
        {u"C:\\Users\\ann", false, "the home folder itself is no special folder"},
        {u"C:\\usr\\share\\fonts", false, "/usr/share lies outside every volume"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ItemInspector::instance().is_protected_location(c.path), c.is_protected)
            << to_utf8(c.path);
    }
}

#endif

// engine_old_windows_test holds the other half: there the answer is true.
TEST(ItemInspector, IsNotOldWindowsOnThisSystem) {
    EXPECT_FALSE(ItemInspector::instance().is_old_windows());
}
