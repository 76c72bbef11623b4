// The special folders that must never be locked: which ones each system has.
//
// Locking a folder moves it into the vault, so a folder the system or the desktop relies on
// (the desktop, the documents folder, the start menu, the fonts) must stay where it is. The
// seam's special_folders() looks up the folders below on the running system; the engine
// compares a path with them (protected_location.h).
//
// Pure data and pure functions, compiled on every system so that their rules are tested in
// both lanes; only the seam of each system uses them for real.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace hbx::platform {

/// The Windows shell folders, as CSIDL values, in the order in which they are looked up. The
/// documents folder is asked twice. Several are virtual (the recycle bin, the network, the
/// printers, the control panel, ...) and have no file-system path.
constexpr int special_folder_ids[] = {
    0x00,   // CSIDL_DESKTOP
    0x02,   // CSIDL_PROGRAMS
    0x05,   // CSIDL_PERSONAL
    0x07,   // CSIDL_STARTUP
    0x05,   // CSIDL_PERSONAL
    0x0A,   // CSIDL_BITBUCKET
    0x3B,   // CSIDL_CDBURN_AREA
    0x1F,   // CSIDL_COMMON_FAVORITES
    0x16,   // CSIDL_COMMON_STARTMENU
    0x3D,   // CSIDL_COMPUTERSNEARME
    0x31,   // CSIDL_CONNECTIONS
    0x03,   // CSIDL_CONTROLS
    0x21,   // CSIDL_COOKIES
    0x06,   // CSIDL_FAVORITES
    0x14,   // CSIDL_FONTS
    0x22,   // CSIDL_HISTORY
    0x01,   // CSIDL_INTERNET
    0x20,   // CSIDL_INTERNET_CACHE
    0x13,   // CSIDL_NETHOOD
    0x12,   // CSIDL_NETWORK
    0x04,   // CSIDL_PRINTERS
    0x1B,   // CSIDL_PRINTHOOD
    0x08,   // CSIDL_RECENT
    0x09,   // CSIDL_SENDTO
    0x0B,   // CSIDL_STARTMENU
};

/// The environment that places the user's folders on Linux: the raw values of the variables,
/// empty when a variable is not set.
struct XdgEnvironment {
    std::string home;          // HOME
    std::string config_home;   // XDG_CONFIG_HOME
    std::string data_home;     // XDG_DATA_HOME
    std::string cache_home;    // XDG_CACHE_HOME
    std::string data_dirs;     // XDG_DATA_DIRS, colon-separated
};

/// The user's configuration folder: XDG_CONFIG_HOME when it is an absolute path, else
/// $HOME/.config; empty when neither is known.
std::string xdg_config_home(const XdgEnvironment& env);

/// The entries of a "user-dirs.dirs" file (the XDG user directories), by variable name:
///
///   XDG_DESKTOP_DIR="$HOME/Desktop"
///   XDG_DOCUMENTS_DIR="/srv/docs"
///
/// A value is double-quoted, may escape a character with a backslash, and is either "$HOME"
/// followed by "/..." (or nothing) or an absolute path; anything else, comments and malformed
/// lines are passed over. Trailing slashes are dropped. A "$HOME" value is left out when
/// `home` is empty.
std::map<std::string, std::string> parse_user_dirs(const std::string& text, const std::string& home);

/// The Linux counterparts of the Windows shell folders above that a Linux desktop has, as
/// absolute native paths, in this order:
///
///   the desktop            XDG_DESKTOP_DIR of user-dirs.dirs, else $HOME/Desktop   (desktop)
///   the user's menus       $XDG_DATA_HOME/applications, the menu entries of the user,
///                          and $XDG_CONFIG_HOME/menus, the menu layout    (programs, start menu)
///   the documents          XDG_DOCUMENTS_DIR of user-dirs.dirs, when set   (personal)
///   the autostart folder   $XDG_CONFIG_HOME/autostart                      (startup)
///   the trash              $XDG_DATA_HOME/Trash                            (recycle bin)
///   the common menus       <each entry of XDG_DATA_DIRS>/applications      (common start menu)
///   the fonts              $XDG_DATA_HOME/fonts, $HOME/.fonts and
///                          <each entry of XDG_DATA_DIRS>/fonts             (fonts)
///   the cache              $XDG_CACHE_HOME                                 (internet cache)
///
/// The base directories take their defaults when unset, empty or relative: XDG_CONFIG_HOME
/// $HOME/.config, XDG_DATA_HOME $HOME/.local/share, XDG_CACHE_HOME $HOME/.cache, XDG_DATA_DIRS
/// "/usr/local/share:/usr/share" (relative entries of the list are passed over). A folder that
/// would be built on an unknown HOME is left out. A user directory set to the home folder
/// itself names the home folder, which then is protected as well.
///
/// The other shell folders have no counterpart that is a folder: the favourites, the recent
/// items and the history are files of the desktop or of a browser, the cookies and the "send
/// to" entries belong to single programs, and the remaining ones are virtual.
/// `user_dirs` is the text of $XDG_CONFIG_HOME/user-dirs.dirs, empty when it cannot be read.
std::vector<std::string> linux_special_folders(const XdgEnvironment& env,
                                               const std::string& user_dirs);

}  // namespace hbx::platform
