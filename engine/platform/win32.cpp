// The platform seam on Windows: each operation is the Win32 call the engine's behaviour is
// named after.
//
// Drive-absolute paths are handed to the system with the "\\?\" prefix. Without it Win32 drops
// trailing dots from every name, and the vault's parent folder, whose name is only dots, could
// not be reached at all. With the prefix no name is rewritten, so "." and ".." are refused here,
// as on Linux, before they reach the system.
#include "platform.h"

#include "special_folders.h"
#include "unicode.h"
#include "volume_map.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wincrypt.h>

#include <atomic>

namespace hbx::platform {

namespace {

const wchar_t* w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
std::u16string u(const wchar_t* s) { return std::u16string(reinterpret_cast<const char16_t*>(s)); }

Error last() { return static_cast<Error>(GetLastError()); }

bool drive_absolute(const std::u16string& path) {
    return path.size() >= 3 &&
           ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) &&
           path[1] == u':' && (path[2] == u'\\' || path[2] == u'/');
}

// The form in which a path is handed to the system; false with `e` set when it is refused.
bool system_path(const std::u16string& path, std::u16string& out, Error& e) {
    if (!drive_absolute(path)) {
        out = path;
        return true;
    }
    std::vector<std::u16string> names;
    e = split_engine_path(path, names);
    if (e != err::success) return false;
    out = u"\\\\?\\";
    out += path.substr(0, 2);
    out += u'\\';
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += u'\\';
        out += names[i];
    }
    return true;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    void close() {
        if (valid()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

std::atomic<unsigned> temp_counter{0};

}  // namespace

// ---- files and folders ---------------------------------------------------------------------------

Error query(const std::u16string& path, bool& is_folder_out) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(w(p), GetFileExInfoStandard, &data)) return last();
    is_folder_out = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    if (!p.empty() && p.back() != u'\\') p += u'\\';
    return CreateDirectoryW(w(p), nullptr) ? err::success : last();
}

Error set_hidden(const std::u16string& path) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    return SetFileAttributesW(w(p), FILE_ATTRIBUTE_HIDDEN) ? err::success : last();
}

Error list_folder(const std::u16string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    if (!p.empty() && p.back() != u'\\') p += u'\\';
    p += u"*.*";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(w(p), &data);
    if (find == INVALID_HANDLE_VALUE) return last();
    do {
        const std::u16string name = u(data.cFileName);
        if (name == u"." || name == u"..") continue;
        entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return err::success;
}

Error read_file(const std::u16string& path, std::string& bytes) {
    bytes.clear();
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    Handle file(CreateFileW(w(p), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return last();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return last();
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr)) {
            bytes.clear();
            return last();
        }
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return err::success;
}

Error write_file_replacing(const std::u16string& path, const std::string& bytes) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    std::u16string temp = p + u"." +
                          utf8_to_utf16(std::to_string(GetCurrentProcessId()) + "-" +
                                        std::to_string(temp_counter++)) +
                          u".tmp";
    Handle file(CreateFileW(w(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return last();
    std::size_t done = 0;
    Error result = err::success;
    while (done < bytes.size() && result == err::success) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr)) result = last();
        done += written;
    }
    if (result == err::success && !FlushFileBuffers(file.get())) result = last();
    file.close();
    if (result == err::success &&
        !MoveFileExW(w(temp), w(p), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        result = last();
    }
    if (result != err::success) DeleteFileW(w(temp));
    return result;
}

Error move(const std::u16string& from, const std::u16string& to) {
    std::u16string source, target;
    Error e;
    if (!system_path(from, source, e) || !system_path(to, target, e)) return e;
    return MoveFileW(w(source), w(target)) ? err::success : last();
}

Error delete_file(const std::u16string& path) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    return DeleteFileW(w(p)) ? err::success : last();
}

Error remove_folder(const std::u16string& path) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    return RemoveDirectoryW(w(p)) ? err::success : last();
}

// ---- volumes and system --------------------------------------------------------------------------

std::vector<Drive> drives() {
    std::vector<Drive> list;
    wchar_t buffer[260] = {};
    const DWORD n = GetLogicalDriveStringsW(260, buffer);
    if (n == 0 || n > 260) return list;
    for (const wchar_t* entry = buffer; *entry != 0; entry += wcslen(entry) + 1) {
        list.push_back({static_cast<char16_t>(entry[0]),
                        static_cast<DriveType>(GetDriveTypeW(entry))});
    }
    return list;
}

unsigned os_major_version() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExW(&info) ? info.dwMajorVersion : 0;
}

// ---- shell: special folders and icons -------------------------------------------------------------

std::vector<std::u16string> special_folders() {
    std::vector<std::u16string> folders;
    for (const int id : special_folder_ids) {
        PIDLIST_ABSOLUTE list = nullptr;
        if (FAILED(SHGetFolderLocation(nullptr, id, nullptr, 0, &list))) continue;
        wchar_t buffer[MAX_PATH] = {};
        const BOOL found = SHGetPathFromIDListW(list, buffer);
        CoTaskMemFree(list);
        if (found && buffer[0] != 0) folders.push_back(u(buffer));
    }
    return folders;
}

IconHandle type_icon(const std::u16string& path, bool is_folder, bool large) {
    // The shell's file information wants COM on the calling thread; a thread that has it
    // already (in either model) keeps it as it is.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHFILEINFOW info = {};
    const UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (large ? 0 : SHGFI_SMALLICON);
    const DWORD_PTR found = SHGetFileInfoW(w(path), is_folder ? FILE_ATTRIBUTE_DIRECTORY : 0,
                                           &info, sizeof info, flags);
    if (SUCCEEDED(com)) CoUninitialize();
    return found ? info.hIcon : nullptr;
}

IconHandle program_icon(const std::u16string& path, bool large) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return nullptr;
    // The icon extraction resolves its path once more and, on some systems, shortens a name
    // made only of dots (the vault's parent folder) to "..". The short form of the path has no
    // such name; where the system keeps no short names it is the path itself.
    wchar_t short_path[MAX_PATH] = {};
    const DWORD n = GetShortPathNameW(w(p), short_path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) p = u(short_path);
    HICON icon = nullptr;
    const UINT extracted = ExtractIconExW(w(p), 0, large ? &icon : nullptr,
                                          large ? nullptr : &icon, 1);
    if (extracted == 0 || extracted == UINT_MAX) {
        if (icon != nullptr) DestroyIcon(icon);
        return nullptr;
    }
    return icon;
}

void destroy_icon(IconHandle icon) {
    if (icon != nullptr) DestroyIcon(static_cast<HICON>(icon));
}

// ---- profile files -------------------------------------------------------------------------------

Error write_profile_string(const std::u16string& path, const std::u16string& section,
                           const std::u16string& key, const std::u16string& value) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    return WritePrivateProfileStringW(w(section), w(key), w(value), w(p)) ? err::success : last();
}

std::u16string read_profile_string(const std::u16string& path, const std::u16string& section,
                                   const std::u16string& key) {
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return {};
    wchar_t buffer[260] = {};
    GetPrivateProfileStringW(w(section), w(key), L"", buffer, 260, w(p));
    return u(buffer);
}

// ---- locks between processes --------------------------------------------------------------------

Error acquire_file_lock(const std::u16string& path, unsigned wait_ms, FileLock& lock) {
    lock = no_file_lock;
    std::u16string p;
    Error e;
    if (!system_path(path, p, e)) return e;
    const DWORD start = GetTickCount();
    for (;;) {
        // Opened without sharing: while this handle is open every other open of the file,
        // in this process or another, fails with a sharing violation.
        HANDLE h = CreateFileW(w(p), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            lock = reinterpret_cast<FileLock>(h);
            return err::success;
        }
        const Error failed = last();
        if (failed != err::sharing_violation) return failed;
        if (GetTickCount() - start >= wait_ms) return err::timeout;   // wraps correctly
        Sleep(5);
    }
}

void release_file_lock(FileLock lock) {
    if (lock != no_file_lock) CloseHandle(reinterpret_cast<HANDLE>(lock));
}

// ---- digest --------------------------------------------------------------------------------------

std::array<std::uint8_t, 16> md5(const void* data, std::size_t size) {
    std::array<std::uint8_t, 16> digest{};
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
        return digest;
    }
    HCRYPTHASH hash = 0;
    if (CryptCreateHash(provider, CALG_MD5, 0, 0, &hash)) {
        CryptHashData(hash, static_cast<const BYTE*>(data), static_cast<DWORD>(size), 0);
        DWORD length = static_cast<DWORD>(digest.size());
        CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &length, 0);
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(provider, 0);
    return digest;
}

// ---- native paths --------------------------------------------------------------------------------

Converted native_to_engine(const std::string& native) {
    Converted c;
    if (native.empty()) {
        c.message = "the path is empty";
        return c;
    }
    const std::u16string given = utf8_to_utf16(native);
    wchar_t buffer[32768];
    const DWORD n = GetFullPathNameW(w(given), 32768, buffer, nullptr);
    if (n == 0 || n >= 32768) {
        c.message = "\"" + native + "\" is not a valid path";
        return c;
    }
    c.ok = true;
    c.engine = u(buffer);
    c.native = utf16_to_utf8(c.engine);
    return c;
}

Converted engine_to_native(const std::u16string& engine) {
    Converted c;
    c.ok = true;
    c.engine = engine;
    c.native = utf16_to_utf8(engine);
    return c;
}

std::string volume_map_problem() { return {}; }

}  // namespace hbx::platform
