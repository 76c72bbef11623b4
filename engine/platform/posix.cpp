// The platform seam on Linux: engine paths go through the volume map, errno becomes the
// Windows error number, and the Windows behaviours the engine relies on (a move that never
// replaces, an item in use that cannot be moved, profile files) are built from POSIX calls.
#include "platform.h"

#include "profile_text.h"
#include "special_folders.h"
#include "unicode.h"
#include "volume_map.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <openssl/evp.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hbx::platform {

namespace {

// ---- errors ------------------------------------------------------------------------------------

Error from_errno(int e) {
    switch (e) {
        case 0: return err::success;
        case ENOENT: return err::file_not_found;
        case ENOTDIR: return err::path_not_found;
        case EACCES:
        case EPERM:
        case EISDIR: return err::access_denied;
        case EEXIST:
        case ENOTEMPTY: return err::already_exists;
        case EXDEV: return err::not_same_device;
        case EBUSY:
        case ETXTBSY: return err::sharing_violation;
        case ENOSPC:
        case EDQUOT: return err::disk_full;
        case ENAMETOOLONG: return err::filename_too_long;
        case EROFS: return err::write_protect;
        case ENOMEM: return err::not_enough_memory;
        case EINVAL: return err::invalid_parameter;
        default: return err::access_denied;
    }
}

std::string parent_of(const std::string& native) {
    const std::size_t slash = native.rfind('/');
    if (slash == std::string::npos || slash == 0) return "/";
    return native.substr(0, slash);
}

bool native_exists(const std::string& native) {
    struct stat st;
    return lstat(native.c_str(), &st) == 0;
}

// ENOENT means 2 when only the last name is missing and 3 when a folder on the way is.
Error missing(const std::string& native) {
    return native_exists(parent_of(native)) ? err::file_not_found : err::path_not_found;
}

// ---- the volume map ----------------------------------------------------------------------------

std::string read_text(const char* path) {
    std::string text;
    if (FILE* f = std::fopen(path, "re")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

VolumeMap build_map() {
    if (const char* text = std::getenv("HUSHBOX_VOLUMES")) return parse_volume_map(text);
    std::string user = environment("USER");
    if (user.empty()) user = environment("LOGNAME");
    return default_volume_map(environment("HOME"), user,
                              parse_mount_table(read_text("/proc/self/mounts")));
}

// The map is rebuilt when HUSHBOX_VOLUMES changes, and at every drive-list walk when the
// default map is in use (media come and go).
class MapCache {
public:
    VolumeMap get(bool refresh_default) {
        std::lock_guard<std::mutex> lock(mutex_);
        const char* text = std::getenv("HUSHBOX_VOLUMES");
        const bool set = text != nullptr;
        const std::string value = set ? text : "";
        if (!built_ || set != set_ || value != value_ || (!set && refresh_default)) {
            map_ = build_map();
            built_ = true;
            set_ = set;
            value_ = value;
        }
        return map_;
    }

private:
    std::mutex mutex_;
    bool built_ = false;
    bool set_ = false;
    std::string value_;
    VolumeMap map_;
};

MapCache& cache() {
    static MapCache c;
    return c;
}

// Engine path to native path; on failure `e` is the error to return.
bool native(const std::u16string& path, std::string& out, Error& e) {
    const VolumeMap map = cache().get(false);
    Converted c = map_engine_to_native(map, path);
    if (!c.ok) {
        e = engine_path_error(map, path);
        if (e == err::success) e = err::path_not_found;
        return false;
    }
    out = std::move(c.native);
    return true;
}

std::string working_directory() {
    std::string cwd(4096, '\0');
    while (getcwd(cwd.data(), cwd.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        cwd.resize(cwd.size() * 2);
    }
    cwd.resize(std::strlen(cwd.c_str()));
    return cwd;
}

// ---- items in use ------------------------------------------------------------------------------

bool names(const std::string& link, const std::string& item, bool folder) {
    if (link == item) return true;
    return folder && link.size() > item.size() && link.compare(0, item.size(), item) == 0 &&
           link[item.size()] == '/';
}

std::string read_link(const std::string& path) {
    char buffer[4096];
    const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// True when a process of this user holds `item` open: a descriptor on the file, or for a folder
// a descriptor on anything inside it or a working directory inside it.
bool in_use(const std::string& item, bool folder) {
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return false;
    const uid_t me = getuid();
    bool used = false;
    while (!used) {
        const dirent* entry = readdir(proc);
        if (entry == nullptr) break;
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        const std::string base = std::string("/proc/") + entry->d_name;
        struct stat st;
        if (stat(base.c_str(), &st) != 0 || st.st_uid != me) continue;
        if (folder && names(read_link(base + "/cwd"), item, true)) {
            used = true;
            break;
        }
        DIR* fds = opendir((base + "/fd").c_str());
        if (fds == nullptr) continue;
        while (const dirent* fd = readdir(fds)) {
            if (fd->d_name[0] == '.') continue;
            if (names(read_link(base + "/fd/" + fd->d_name), item, folder)) {
                used = true;
                break;
            }
        }
        closedir(fds);
    }
    closedir(proc);
    return used;
}

// ---- whole files -------------------------------------------------------------------------------

Error write_all(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return from_errno(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    return err::success;
}

Error replace_native(const std::string& target, const std::string& bytes) {
    const std::string folder = parent_of(target);
    std::string temp = folder + "/." + target.substr(target.rfind('/') + 1) + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? err::path_not_found : from_errno(errno);
    struct stat old;
    if (stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            close(fd);
            unlink(temp.c_str());
            return err::access_denied;
        }
        fchmod(fd, old.st_mode & 07777);
    }
    Error e = write_all(fd, bytes);
    if (e == err::success && fsync(fd) != 0) e = from_errno(errno);
    if (close(fd) != 0 && e == err::success) e = from_errno(errno);
    if (e == err::success && rename(temp.c_str(), target.c_str()) != 0) e = from_errno(errno);
    if (e != err::success) {
        unlink(temp.c_str());
        return e;
    }
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return err::success;
}

Error read_native(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? missing(path) : from_errno(errno);
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const Error e = S_ISDIR(st.st_mode) ? err::access_denied : from_errno(errno);
        close(fd);
        return e;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const Error e = from_errno(errno);
            close(fd);
            return e;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return err::success;
}

}  // namespace

// ---- files and folders ---------------------------------------------------------------------------

Error query(const std::u16string& path, bool& is_folder_out) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    struct stat st;
    if (lstat(n.c_str(), &st) != 0) return errno == ENOENT ? missing(n) : from_errno(errno);
    struct stat target;
    is_folder_out = S_ISDIR(st.st_mode) ||
                    (S_ISLNK(st.st_mode) && stat(n.c_str(), &target) == 0 && S_ISDIR(target.st_mode));
    return err::success;
}

bool exists(const std::u16string& path) {
    bool folder = false;
    return query(path, folder) == err::success;
}

bool is_folder(const std::u16string& path) {
    bool folder = false;
    return query(path, folder) == err::success && folder;
}

Error create_folder(const std::u16string& path) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    if (mkdir(n.c_str(), 0777) == 0) return err::success;
    return errno == ENOENT ? err::path_not_found : from_errno(errno);
}

Error set_hidden(const std::u16string& path) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    return native_exists(n) ? err::success : missing(n);
}

Error list_folder(const std::u16string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    DIR* dir = opendir(n.c_str());
    if (dir == nullptr) return errno == ENOENT ? missing(n) : from_errno(errno);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            folder = stat((n + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({utf8_to_utf16(name), folder});
    }
    closedir(dir);
    return err::success;
}

Error read_file(const std::u16string& path, std::string& bytes) {
    bytes.clear();
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    return read_native(n, bytes);
}

Error write_file_replacing(const std::u16string& path, const std::string& bytes) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    return replace_native(n, bytes);
}

Error move(const std::u16string& from, const std::u16string& to) {
    std::string source, target;
    Error e;
    if (!native(from, source, e) || !native(to, target, e)) return e;
    struct stat st;
    if (lstat(source.c_str(), &st) != 0) return errno == ENOENT ? missing(source) : from_errno(errno);
    if (!native_exists(parent_of(target))) return err::path_not_found;
    if (native_exists(target)) return err::already_exists;
    if (in_use(source, S_ISDIR(st.st_mode))) return err::sharing_violation;
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return err::success;
    }
    if (errno == ENOENT) return native_exists(source) ? err::path_not_found : missing(source);
    return from_errno(errno);
}

Error delete_file(const std::u16string& path) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    struct stat st;
    if (lstat(n.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return err::access_denied;
    if (unlink(n.c_str()) == 0) return err::success;
    return errno == ENOENT ? missing(n) : from_errno(errno);
}

Error remove_folder(const std::u16string& path) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    if (rmdir(n.c_str()) == 0) return err::success;
    if (errno == ENOTEMPTY || errno == EEXIST) return err::dir_not_empty;
    if (errno == ENOTDIR) return err::not_a_folder;
    return errno == ENOENT ? missing(n) : from_errno(errno);
}

// ---- volumes and system --------------------------------------------------------------------------

std::vector<Drive> drives() {
    std::vector<Drive> list;
    for (const Volume& v : cache().get(true).volumes) list.push_back({v.letter, v.type});
    return list;
}

unsigned os_major_version() { return 10; }

// ---- shell: special folders and icons -------------------------------------------------------------

std::vector<std::u16string> special_folders() {
    XdgEnvironment env;
    env.home = environment("HOME");
    env.config_home = environment("XDG_CONFIG_HOME");
    env.data_home = environment("XDG_DATA_HOME");
    env.cache_home = environment("XDG_CACHE_HOME");
    env.data_dirs = environment("XDG_DATA_DIRS");
    const std::string config_home = xdg_config_home(env);
    const std::string user_dirs =
        config_home.empty() ? std::string() : read_text((config_home + "/user-dirs.dirs").c_str());
    const VolumeMap map = cache().get(false);
    std::vector<std::u16string> folders;
    for (const std::string& folder : linux_special_folders(env, user_dirs)) {
        const Converted c = map_native_to_engine(map, folder, "/");
        if (c.ok) folders.push_back(c.engine);
    }
    return folders;
}

IconHandle type_icon(const std::u16string&, bool, bool) { return nullptr; }

IconHandle program_icon(const std::u16string&, bool) { return nullptr; }

void destroy_icon(IconHandle) {}

// ---- profile files -------------------------------------------------------------------------------

Error write_profile_string(const std::u16string& path, const std::u16string& section,
                           const std::u16string& key, const std::u16string& value) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    std::string text;
    e = read_native(n, text);
    if (e != err::success && e != err::file_not_found) return e;
    return replace_native(n, profile_with_value(text, utf16_to_utf8(section), utf16_to_utf8(key),
                                                utf16_to_utf8(value)));
}

std::u16string read_profile_string(const std::u16string& path, const std::u16string& section,
                                   const std::u16string& key) {
    std::string n, text;
    Error e;
    if (!native(path, n, e) || read_native(n, text) != err::success) return {};
    const auto value = profile_value(text, utf16_to_utf8(section), utf16_to_utf8(key));
    if (!value) return {};
    std::u16string wide = utf8_to_utf16(*value);
    if (wide.size() > 259) wide.resize(259);   // the 260-unit buffer with its terminator
    return wide;
}

// ---- locks between processes --------------------------------------------------------------------

Error acquire_file_lock(const std::u16string& path, unsigned wait_ms, FileLock& lock) {
    lock = no_file_lock;
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    for (;;) {
        const int fd = open(n.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return errno == ENOENT ? err::path_not_found : from_errno(errno);
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The file may have been deleted and made anew between the open and the flock (a
            // vault being removed deletes it while holding it); a lock on a file that no longer
            // stands at the path guards nothing, so the path is opened again.
            struct stat held, now;
            if (fstat(fd, &held) == 0 && stat(n.c_str(), &now) == 0 &&
                held.st_dev == now.st_dev && held.st_ino == now.st_ino) {
                lock = fd;
                return err::success;
            }
        } else if (errno != EWOULDBLOCK && errno != EINTR) {
            const Error failed = from_errno(errno);
            close(fd);
            return failed;
        }
        close(fd);
        if (std::chrono::steady_clock::now() >= deadline) return err::timeout;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void release_file_lock(FileLock lock) {
    if (lock != no_file_lock) close(static_cast<int>(lock));   // closing drops the flock
}

// ---- digest --------------------------------------------------------------------------------------

std::array<std::uint8_t, 16> md5(const void* data, std::size_t size) {
    std::array<std::uint8_t, 16> digest{};
    unsigned int length = 0;
    EVP_Digest(data, size, digest.data(), &length, EVP_md5(), nullptr);
    return digest;
}

// ---- native paths --------------------------------------------------------------------------------

Converted native_to_engine(const std::string& path) {
    return map_native_to_engine(cache().get(false), path, working_directory());
}

Converted engine_to_native(const std::u16string& engine) {
    return map_engine_to_native(cache().get(false), engine);
}

std::string volume_map_problem() { return cache().get(false).problem; }

}  // namespace hbx::platform
