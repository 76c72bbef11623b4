// The Linux counterparts of the shell folders: the XDG user directories file and the table
// built from the environment.
#include "platform/special_folders.h"

#include <gtest/gtest.h>

using namespace hbx::platform;

TEST(UserDirs, ReadsQuotedHomeRelativeAndAbsoluteValues) {
    const std::string text =
        "# This file is written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\r\n"
        "  XDG_DOCUMENTS_DIR = \"/srv/docs//\"\n"
        "XDG_MUSIC_DIR=\"$HOME/\"\n"
        "XDG_VIDEOS_DIR=\"$HOME/My \\\"Videos\\\"\"\n"
        "XDG_PICTURES_DIR=$HOME/Pictures\n"          // not quoted
        "XDG_TEMPLATES_DIR=\"Templates\"\n"          // relative
        "XDG_PUBLIC_DIR=\"$HOMEWORK/Public\"\n"      // not $HOME
        "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\n"       // no closing quote
        "= \"/nameless\"\n";
    const auto dirs = parse_user_dirs(text, "/home/ann/");
    const std::map<std::string, std::string> expected = {
        {"XDG_DESKTOP_DIR", "/home/ann/Schreibtisch"},
        {"XDG_DOCUMENTS_DIR", "/srv/docs"},
        {"XDG_MUSIC_DIR", "/home/ann"},
        {"XDG_VIDEOS_DIR", "/home/ann/My \"Videos\""},
    };
    EXPECT_EQ(dirs, expected);

    // Without a home folder only the absolute values remain.
    const std::map<std::string, std::string> absolute_only = {{"XDG_DOCUMENTS_DIR", "/srv/docs"}};
    EXPECT_EQ(parse_user_dirs(text, ""), absolute_only);
}

TEST(LinuxSpecialFolders, DefaultsBelowHome) {
    XdgEnvironment env;
    env.home = "/home/ann";
    const std::vector<std::string> expected = {
        "/home/ann/Desktop",
        "/home/ann/.local/share/applications",
        "/home/ann/.config/menus",
        "/home/ann/.config/autostart",
        "/home/ann/.local/share/Trash",
        "/usr/local/share/applications",
        "/usr/share/applications",
        "/home/ann/.local/share/fonts",
        "/home/ann/.fonts",
        "/usr/local/share/fonts",
        "/usr/share/fonts",
        "/home/ann/.cache",
    };
    EXPECT_EQ(linux_special_folders(env, ""), expected);
    EXPECT_EQ(xdg_config_home(env), "/home/ann/.config");
}

TEST(LinuxSpecialFolders, FollowsTheXdgVariablesAndTheUserDirectories) {
    XdgEnvironment env;
    env.home = "/home/ann";
    env.config_home = "/cfg/";
    env.data_home = "/data";
    env.cache_home = "relative/cache";   // relative: the default is used
    env.data_dirs = "/opt/share/::relative:/usr/share";
    const std::string user_dirs =
        "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"/srv/docs\"\n";
    const std::vector<std::string> expected = {
        "/home/ann/Schreibtisch",
        "/data/applications",
        "/cfg/menus",
        "/srv/docs",
        "/cfg/autostart",
        "/data/Trash",
        "/opt/share/applications",
        "/usr/share/applications",
        "/data/fonts",
        "/home/ann/.fonts",
        "/opt/share/fonts",
        "/usr/share/fonts",
        "/home/ann/.cache",
    };
    EXPECT_EQ(linux_special_folders(env, user_dirs), expected);
    EXPECT_EQ(xdg_config_home(env), "/cfg");
}

TEST(LinuxSpecialFolders, WithoutHomeOnlyAbsolutePlacesRemain) {
    XdgEnvironment env;
    env.data_home = "/data";
    const std::vector<std::string> expected = {
        "/data/applications",       "/data/Trash",     "/usr/local/share/applications",
        "/usr/share/applications",  "/data/fonts",     "/usr/local/share/fonts",
        "/usr/share/fonts",
    };
    EXPECT_EQ(linux_special_folders(env, "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"), expected);
    EXPECT_EQ(xdg_config_home(env), "");
}
