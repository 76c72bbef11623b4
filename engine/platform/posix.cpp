// The platform seam on Linux: engine paths go through the volume map, errno becomes the
// Windows error number, and the Windows behaviours the engine relies on (a move that never
// replaces, an item in use that cannot be moved, profile files) are built from POSIX calls.
#include "platform.h"

#include "crash_point.h"
#include "profile_text.h"
#include "special_folders.h"
#include "unicode.h"
#include "volume_map.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
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
// default map is in use (media come and go). Every path the seam handles goes through it, so a
// map is shared rather than copied; a rebuilt map replaces it for later calls.
class MapCache {
public:
    std::shared_ptr<const VolumeMap> get(bool refresh_default) {
        std::lock_guard<std::mutex> lock(mutex_);
        const char* text = std::getenv("HUSHBOX_VOLUMES");
        const bool set = text != nullptr;
        const std::string value = set ? text : "";
        if (!built_ || set != set_ || value != value_ || (!set && refresh_default)) {
            map_ = std::make_shared<const VolumeMap>(build_map());
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
    std::shared_ptr<const VolumeMap> map_;
};

MapCache& cache() {
    static MapCache c;
    return c;
}

// Engine path to native path; on failure `e` is the error to return.
bool native(const std::u16string& path, std::string& out, Error& e) {
    const std::shared_ptr<const VolumeMap> map = cache().get(false);
    Converted c = map_engine_to_native(*map, path);
    if (!c.ok) {
        e = engine_path_error(*map, path);
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

// True when `link` is `item` itself, or for a folder lies inside it.
bool inside_item(const std::string& link, const std::string& item) {
    if (link == item) return true;
    return link.size() > item.size() && link.compare(0, item.size(), item) == 0 &&
           link[item.size()] == '/';
}

std::string read_link_at(int folder, const char* name) {
    char buffer[4096];
    const ssize_t n = readlinkat(folder, name, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// True when a process of this user holds `item` open: a descriptor on the file, or for a folder
// a descriptor on anything inside it or a working directory inside it.
//
// Every process's descriptors are looked at, so the walk goes through /proc by descriptors
// (openat, fstatat, readlinkat) rather than by full path names. A file is recognised by its
// device and inode, which also finds it when it was opened under another name (a hard link, a
// path through a symbolic link); a folder by the real path that /proc gives for what lies
// inside it, compared with the folder's own real path.
bool in_use(const std::string& item, bool folder) {
    struct stat wanted;
    if (lstat(item.c_str(), &wanted) != 0) return false;
    std::string real;
    if (folder) {
        char* resolved = realpath(item.c_str(), nullptr);
        real = resolved != nullptr ? resolved : item;
        std::free(resolved);
    }
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return false;
    const int proc_fd = dirfd(proc);
    const uid_t me = getuid();
    bool used = false;
    while (!used) {
        const dirent* entry = readdir(proc);
        if (entry == nullptr) break;
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        struct stat st;
        if (fstatat(proc_fd, entry->d_name, &st, 0) != 0 || st.st_uid != me) continue;
        const int pid_fd = openat(proc_fd, entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (pid_fd < 0) continue;
        if (folder && inside_item(read_link_at(pid_fd, "cwd"), real)) {
            close(pid_fd);
            used = true;
            break;
        }
        const int fd_dir = openat(pid_fd, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(pid_fd);
        if (fd_dir < 0) continue;
        DIR* fds = fdopendir(fd_dir);
        if (fds == nullptr) {
            close(fd_dir);
            continue;
        }
        while (const dirent* fd = readdir(fds)) {
            if (fd->d_name[0] == '.') continue;
            if (folder) {
                used = inside_item(read_link_at(fd_dir, fd->d_name), real);
            } else {
                struct stat open_file;
                used = fstatat(fd_dir, fd->d_name, &open_file, 0) == 0 &&
                       open_file.st_dev == wanted.st_dev && open_file.st_ino == wanted.st_ino;
            }
            if (used) break;
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
    HBX_CRASH_POINT("write before", target);
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
    if (e == err::success) HBX_CRASH_POINT("write temporary", temp);
    if (e == err::success && rename(temp.c_str(), target.c_str()) != 0) e = from_errno(errno);
    if (e != err::success) {
        unlink(temp.c_str());
        return e;
    }
    HBX_CRASH_POINT("write after", target);
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return err::success;
}

Error read_native(const std::string& path, std::string& bytes,
                  std::size_t limit = static_cast<std::size_t>(-1)) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? missing(path) : from_errno(errno);
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const Error e = S_ISDIR(st.st_mode) ? err::access_denied : from_errno(errno);
        close(fd);
        return e;
    }
    if (static_cast<std::uint64_t>(st.st_size) > limit) {
        close(fd);
        return err::file_too_large;
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
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {   // it grew while being read
            bytes.clear();
            close(fd);
            return err::file_too_large;
        }
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
    // Only whether: without query's second look that tells a missing name from a missing folder.
    std::string n;
    Error e;
    struct stat st;
    return native(path, n, e) && lstat(n.c_str(), &st) == 0;
}

bool is_folder(const std::u16string& path) {
    bool folder = false;
    return query(path, folder) == err::success && folder;
}

Error create_folder(const std::u16string& path) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    HBX_CRASH_POINT("create folder before", n);
    if (mkdir(n.c_str(), 0777) == 0) {
        HBX_CRASH_POINT("create folder after", n);
        return err::success;
    }
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

Error read_file(const std::u16string& path, std::string& bytes, std::size_t limit) {
    bytes.clear();
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    return read_native(n, bytes, limit);
}

Error write_file_replacing(const std::u16string& path, const std::string& bytes) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    return replace_native(n, bytes);
}

bool is_replacing_temporary(const std::u16string& name, const std::u16string& target_name) {
    // mkostemp's pattern: "." target "." XXXXXX
    const std::size_t size = target_name.size() + 8;
    if (name.size() != size || name[0] != u'.' || name[size - 7] != u'.' ||
        name.compare(1, target_name.size(), target_name) != 0) {
        return false;
    }
    for (std::size_t i = size - 6; i < size; ++i) {
        const char16_t c = name[i];
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))) {
            return false;
        }
    }
    return true;
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
    HBX_CRASH_POINT("move before", source);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        HBX_CRASH_POINT("move after", target);
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
    HBX_CRASH_POINT("delete before", n);
    if (unlink(n.c_str()) == 0) {
        HBX_CRASH_POINT("delete after", n);
        return err::success;
    }
    return errno == ENOENT ? missing(n) : from_errno(errno);
}

Error remove_folder(const std::u16string& path) {
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    HBX_CRASH_POINT("remove folder before", n);
    if (rmdir(n.c_str()) == 0) {
        HBX_CRASH_POINT("remove folder after", n);
        return err::success;
    }
    if (errno == ENOTEMPTY || errno == EEXIST) return err::dir_not_empty;
    if (errno == ENOTDIR) return err::not_a_folder;
    return errno == ENOENT ? missing(n) : from_errno(errno);
}

// ---- volumes and system --------------------------------------------------------------------------

std::vector<Drive> drives() {
    std::vector<Drive> list;
    for (const Volume& v : cache().get(true)->volumes) list.push_back({v.letter, v.type});
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
    const std::shared_ptr<const VolumeMap> map = cache().get(false);
    std::vector<std::u16string> folders;
    for (const std::string& folder : linux_special_folders(env, user_dirs)) {
        const Converted c = map_native_to_engine(*map, folder, "/");
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
    e = read_native(n, text, profile_file_limit);
    if (e != err::success && e != err::file_not_found) return e;
    return replace_native(n, profile_with_value(text, utf16_to_utf8(section), utf16_to_utf8(key),
                                                utf16_to_utf8(value)));
}

std::u16string read_profile_string(const std::u16string& path, const std::u16string& section,
                                   const std::u16string& key) {
    std::string n, text;
    Error e;
    if (!native(path, n, e) || read_native(n, text, profile_file_limit) != err::success) return {};
    const auto value = profile_value(text, utf16_to_utf8(section), utf16_to_utf8(key));
    if (!value) return {};
    std::u16string wide = utf8_to_utf16(*value);
    if (wide.size() > 259) wide.resize(259);   // the 260-unit buffer with its terminator
    return wide;
}

// ---- locks between processes --------------------------------------------------------------------

namespace {

// Where a waiting thread leaves its answer for the caller that started it.
struct LockWait {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    int error = 0;
};

// Takes flock on `fd` exclusively, waiting until `deadline` at the most: 0 when held, ETIMEDOUT,
// or the errno of the failure. The fd stays the caller's in every case.
//
// A blocked flock waits in the kernel and is woken as soon as the holder lets go; polling would
// let a busy writer that asks again at once keep the others out for as long as it likes. The
// kernel has no timed flock, so the blocking call runs on a thread of its own with a duplicate
// of the fd (a flock belongs to the open file, which both share). A caller that gives up leaves
// the thread behind: when it gets the lock it closes its duplicate, and once the caller's fd is
// closed too, the lock is gone.
int flock_until(int fd, std::chrono::steady_clock::time_point deadline) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
    if (errno != EWOULDBLOCK && errno != EINTR) return errno;
    const int waiting_fd = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (waiting_fd < 0) return errno;
    auto wait = std::make_shared<LockWait>();
    try {
        std::thread([waiting_fd, wait] {
            int error = 0;
            while (flock(waiting_fd, LOCK_EX) != 0) {
                if (errno != EINTR) {
                    error = errno;
                    break;
                }
            }
            std::lock_guard<std::mutex> hold(wait->mutex);
            close(waiting_fd);
            wait->done = true;
            wait->error = error;
            wait->answered.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        close(waiting_fd);
        return EAGAIN;
    }
    std::unique_lock<std::mutex> hold(wait->mutex);
    if (!wait->answered.wait_until(hold, deadline, [&] { return wait->done; })) return ETIMEDOUT;
    return wait->error;
}

}  // namespace

Error acquire_file_lock(const std::u16string& path, unsigned wait_ms, FileLock& lock) {
    lock = no_file_lock;
    std::string n;
    Error e;
    if (!native(path, n, e)) return e;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    HBX_CRASH_POINT("lock before", n);
    for (;;) {
        const int fd = open(n.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return errno == ENOENT ? err::path_not_found : from_errno(errno);
        const int got = flock_until(fd, deadline);
        if (got == 0) {
            // The file may have been deleted and made anew between the open and the flock (a
            // vault being removed deletes it while holding it); a lock on a file that no longer
            // stands at the path guards nothing, so the path is opened again.
            struct stat held, now;
            if (fstat(fd, &held) == 0 && stat(n.c_str(), &now) == 0 &&
                held.st_dev == now.st_dev && held.st_ino == now.st_ino) {
                lock = fd;
                HBX_CRASH_POINT("lock after", n);
                return err::success;
            }
        }
        close(fd);
        if (got == ETIMEDOUT || std::chrono::steady_clock::now() >= deadline) return err::timeout;
        if (got != 0) return from_errno(got);
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
    return map_native_to_engine(*cache().get(false), path, working_directory());
}

Converted engine_to_native(const std::u16string& engine) {
    return map_engine_to_native(*cache().get(false), engine);
}

std::string volume_map_problem() { return cache().get(false)->problem; }

}  // namespace hbx::platform
