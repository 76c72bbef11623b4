// The platform seam: every effect the lock engine needs from an operating system.
//
// The engine works in Windows-form paths ("C:\Users\ann\a.txt") on every system and calls
// only the functions below; it never includes an OS header itself. There is one
// implementation per operating system (win32.cpp, posix.cpp); each is a thin translation:
// turn the arguments into the system's form, make the call, map the error.
//
// Errors are Windows error numbers returned as values (0 is success), on Linux as well: the
// POSIX file maps errno onto the same numbers, so the engine's decisions (for example "a move
// that failed with 32 means the item is in use") read the same on both systems. Nothing here
// throws and nothing is left in a thread-global.
//
// On Linux a drive letter is an entry of the volume map (volume_map.h): "C:\Docs\a.txt" is
// "<directory of C>/Docs/a.txt". A path whose letter is not mapped, or that climbs out of its
// volume with "..", fails with an error and never reaches the file system.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hbx::platform {

/// A Windows error number; 0 means success.
using Error = std::uint32_t;

/// The Windows error numbers the engine and its callers look at.
namespace err {
constexpr Error success = 0;
constexpr Error file_not_found = 2;        // ERROR_FILE_NOT_FOUND
constexpr Error path_not_found = 3;        // ERROR_PATH_NOT_FOUND
constexpr Error access_denied = 5;         // ERROR_ACCESS_DENIED
constexpr Error not_enough_memory = 8;     // ERROR_NOT_ENOUGH_MEMORY
constexpr Error not_same_device = 17;      // ERROR_NOT_SAME_DEVICE
constexpr Error write_protect = 19;        // ERROR_WRITE_PROTECT
constexpr Error sharing_violation = 32;    // ERROR_SHARING_VIOLATION
constexpr Error lock_violation = 33;       // ERROR_LOCK_VIOLATION
constexpr Error disk_full = 112;           // ERROR_DISK_FULL
constexpr Error invalid_parameter = 87;    // ERROR_INVALID_PARAMETER
constexpr Error invalid_name = 123;        // ERROR_INVALID_NAME
constexpr Error dir_not_empty = 145;       // ERROR_DIR_NOT_EMPTY
constexpr Error bad_pathname = 161;        // ERROR_BAD_PATHNAME
constexpr Error already_exists = 183;      // ERROR_ALREADY_EXISTS
constexpr Error not_a_folder = 267;        // ERROR_DIRECTORY
constexpr Error filename_too_long = 206;   // ERROR_FILENAME_EXCED_RANGE
constexpr Error file_too_large = 223;      // ERROR_FILE_TOO_LARGE
constexpr Error timeout = 1460;            // ERROR_TIMEOUT
}  // namespace err

/// Drive types as GetDriveTypeW reports them.
enum class DriveType : std::uint32_t {
    unknown = 0,
    no_root_dir = 1,
    removable = 2,
    fixed = 3,
    remote = 4,
    cdrom = 5,
    ramdisk = 6,
};

/// One logical drive: its upper-case letter and its type.
struct Drive {
    char16_t letter;
    DriveType type;
};

/// One entry of a folder listing.
struct FolderEntry {
    std::u16string name;
    bool is_folder;
};

// ---- Files and folders ---------------------------------------------------------------------

/// Reads what exists at `path` (GetFileAttributesExW).
/// @returns 0 and sets `is_folder` when something exists there; otherwise the error that
///          made it unreadable (2, 3, 5, ...).
Error query(const std::u16string& path, bool& is_folder);

/// PathFileExistsW: true when anything (file or folder) can be read at `path`.
bool exists(const std::u16string& path);

/// PathIsDirectoryW: true when `path` is an existing folder.
bool is_folder(const std::u16string& path);

/// Creates one folder (CreateDirectoryW); its parent must exist.
/// @returns 0, 183 when something already stands there, or another error.
Error create_folder(const std::u16string& path);

/// Gives an existing folder or file exactly the hidden attribute (SetFileAttributesW with
/// FILE_ATTRIBUTE_HIDDEN). On Linux hiding is by name (the vault's dots folder starts with a
/// dot), so this only checks that the path exists.
Error set_hidden(const std::u16string& path);

/// Lists a folder (FindFirstFileW "*.*"), in the order the file system gives, without "."
/// and "..", hidden entries included.
/// @returns 0 with the entries, or the error that kept the folder from being opened.
Error list_folder(const std::u16string& path, std::vector<FolderEntry>& entries);

/// Reads a whole file (shared for reading).
/// @returns 0 with its bytes; 223 (ERROR_FILE_TOO_LARGE), with nothing read, when the file
///          holds more than `limit` bytes; or the error.
Error read_file(const std::u16string& path, std::string& bytes,
                std::size_t limit = static_cast<std::size_t>(-1));

/// Replaces a file's content atomically: the bytes go to a new file beside it, are flushed to
/// the disk, and that file is renamed over `path`. A crash or a full disk leaves either the
/// old content or the new, never an empty or short file. The folder must exist.
Error write_file_replacing(const std::u16string& path, const std::string& bytes);

/// True when `name` is the name write_file_replacing gives the temporary file it writes beside
/// the file named `target_name` (Linux: "." target "." and six letters or digits; Windows:
/// target "." process id "-" number ".tmp"). Only a writer stopped between writing that file
/// and renaming it leaves one behind.
bool is_replacing_temporary(const std::u16string& name, const std::u16string& target_name);

/// Moves a file or folder within its volume (MoveFileW). Never replaces the target: an
/// existing target gives 183. An item in use gives 32: on Windows a file opened without
/// sharing; on Linux a file that a process of the user holds open, or a folder that contains
/// such a file or any process's working directory.
Error move(const std::u16string& from, const std::u16string& to);

/// Deletes a file (DeleteFileW); a folder gives 5.
Error delete_file(const std::u16string& path);

/// Removes an empty folder (RemoveDirectoryW); a folder with entries gives 145.
Error remove_folder(const std::u16string& path);

// ---- Volumes and system ----------------------------------------------------------------------

/// Every logical drive in the order GetLogicalDriveStringsW gives (letter order), with its
/// type. On Linux: the volume map.
std::vector<Drive> drives();

/// The major version of the operating system (GetVersionExW); 10 on Linux.
unsigned os_major_version();

// ---- Shell: special folders and icons ----------------------------------------------------------

/// The system's special folders that must never be locked, in engine form and in lookup order
/// (special_folders.h holds both tables).
/// Windows: each folder of special_folder_ids is looked up with SHGetFolderLocation (no window,
/// no token) and SHGetPathFromIDListW into a 260-unit buffer; the item list is freed with
/// CoTaskMemFree either way; a folder whose lookup fails or gives an empty path is left out.
/// The shell may name a virtual folder "::{...}"; such entries are passed on as they come.
/// Linux: the folders of linux_special_folders for the user's environment (HOME, the XDG base
/// directories and the XDG user directories), each turned into engine form through the volume
/// map; a folder outside every volume is left out.
std::vector<std::u16string> special_folders();

/// An icon handle: an HICON on Windows, whose receiver destroys it with destroy_icon. Linux has
/// no icon handles; there it is always null.
using IconHandle = void*;

/// The generic icon of a type of item, not read from the item itself: SHGetFileInfoW on `path`
/// with the attribute FILE_ATTRIBUTE_DIRECTORY for a folder (0 otherwise) and the flags
/// SHGFI_ICON and SHGFI_USEFILEATTRIBUTES, plus SHGFI_SMALLICON unless `large`.
/// @returns the icon, or null when the shell gives none (always null on Linux).
IconHandle type_icon(const std::u16string& path, bool is_folder, bool large);

/// The first icon of a program file (ExtractIconExW with index 0, one large icon when `large`,
/// else one small icon).
/// @returns the icon, or null when the file cannot be read or holds no icon (always null on
///          Linux).
IconHandle program_icon(const std::u16string& path, bool large);

/// Destroys an icon handle (DestroyIcon); null is passed over.
void destroy_icon(IconHandle icon);

// ---- Profile (INI) files ---------------------------------------------------------------------

/// The largest profile file the Linux profile functions read or update (a stub is a line or
/// two); a bigger file reads as empty and is not written (223).
constexpr std::size_t profile_file_limit = 64 * 1024;

/// WritePrivateProfileStringW: sets `key` in `section` of the file at `path`. A new file is
/// "[section]" CRLF "key=value" CRLF in the system's ANSI code page (UTF-8 on Linux), without
/// a byte-order mark; in an existing file the key is updated in place.
Error write_profile_string(const std::u16string& path, const std::u16string& section,
                           const std::u16string& key, const std::u16string& value);

/// GetPrivateProfileStringW into a 260-unit buffer: the value of `key` in `section`, or the
/// empty text when the file, the section or the key is missing or unreadable.
std::u16string read_profile_string(const std::u16string& path, const std::u16string& section,
                                   const std::u16string& key);

// ---- Locks between processes ----------------------------------------------------------------

/// An exclusive lock held on a lock file (see acquire_file_lock).
using FileLock = std::intptr_t;
constexpr FileLock no_file_lock = -1;

/// Opens the lock file at `path`, creating it when missing (its folder must exist), and holds it
/// exclusively: on Linux with flock on the open file, on Windows by keeping the file open
/// without sharing. A second holder waits for at most `wait_ms` milliseconds (Linux: blocked
/// in the kernel, woken when the holder lets go; Windows: trying again every few milliseconds).
/// Two holders in one process exclude each other as two processes do, so a holder must not ask
/// for a lock it already holds.
/// @returns 0 with `lock` set; 1460 (ERROR_TIMEOUT) when another holder kept the lock longer;
///          or the error that kept the file from being opened.
Error acquire_file_lock(const std::u16string& path, unsigned wait_ms, FileLock& lock);

/// Lets go of a lock taken with acquire_file_lock; the lock file stays where it is.
void release_file_lock(FileLock lock);

// ---- Digest --------------------------------------------------------------------------------

/// MD5 of `size` bytes (OpenSSL on Linux, the system's crypto provider on Windows).
std::array<std::uint8_t, 16> md5(const void* data, std::size_t size);

// ---- Native paths at the edge of the program --------------------------------------------------

/// The outcome of turning a path from one form into the other.
struct Converted {
    bool ok = false;
    std::u16string engine;   // Windows form
    std::string native;      // UTF-8; the system's own form
    std::string message;     // why the path was refused, when !ok
};

/// Turns a path as the user or the system gives it (UTF-8; relative paths count from the
/// working directory) into engine form. On Linux a path outside every volume or with a name
/// that contains a backslash is refused; on Windows the path is made absolute.
Converted native_to_engine(const std::string& native);

/// Turns an engine path into the system's own form (UTF-8). On Linux an unmapped drive
/// letter or a path that climbs out of its volume is refused.
Converted engine_to_native(const std::u16string& engine);

/// Why the volume map cannot be used (for example a malformed HUSHBOX_VOLUMES), or empty.
/// Always empty on Windows.
std::string volume_map_problem();

}  // namespace hbx::platform
