#include "test_volumes.h"

#include "paths.h"
#include "platform/platform.h"
#include "text.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#include <unistd.h>
#endif

namespace hbx::test {

namespace {
const char16_t letters[] = {u'C', u'D', u'E', u'N', u'R'};
}

std::u16string TestVolumes::at(char16_t letter, const std::u16string& rest) {
    return std::u16string(1, letter) + u":\\" + rest;
}

#ifdef _WIN32

TestVolumes::TestVolumes() { clear(); }

TestVolumes::~TestVolumes() { clear(); }

void TestVolumes::clear() {
    for (char16_t letter : letters) {
        if (letter == u'C') {
            remove_tree(at(u'C', u"..."));
            remove_tree(at(u'C', u"...."));
            remove_tree(at(u'C', u"hbxtest"));
            continue;
        }
        std::vector<platform::FolderEntry> entries;
        platform::list_folder(at(letter), entries);
        for (const auto& entry : entries) remove_tree(at(letter, entry.name));
    }
    make_folders(at(u'C', u"hbxtest"));
}

bool looks_hidden(const std::u16string& path) {
    const std::u16string full = u"\\\\?\\" + path;
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(full.c_str()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

std::string program_folder() {
    wchar_t buffer[MAX_PATH];
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::u16string path(reinterpret_cast<const char16_t*>(buffer));
    parent(path);
    return to_utf8(path);
}

#else

TestVolumes::TestVolumes() {
    if (const char* saved = std::getenv("HUSHBOX_VOLUMES")) {
        had_map_ = true;
        saved_map_ = saved;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/hbx-volumes-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    root_ = pattern;
    const std::string map = "C=" + root_ + "/c,D=" + root_ + "/d,E=" + root_ +
                            "/e:removable,N=" + root_ + "/n:network,R=" + root_ + "/r:cdrom";
    setenv("HUSHBOX_VOLUMES", map.c_str(), 1);
    clear();
}

TestVolumes::~TestVolumes() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    if (had_map_) {
        setenv("HUSHBOX_VOLUMES", saved_map_.c_str(), 1);
    } else {
        unsetenv("HUSHBOX_VOLUMES");
    }
}

void TestVolumes::clear() {
    for (const char* name : {"c", "d", "e", "n", "r"}) {
        std::error_code ignored;
        std::filesystem::remove_all(root_ + "/" + name, ignored);
        std::filesystem::create_directories(root_ + "/" + name);
    }
    make_folders(at(u'C', u"hbxtest"));
}

bool looks_hidden(const std::u16string& path) {
    const std::u16string name = last_name(without_trailing_backslash(path));
    return !name.empty() && name[0] == u'.';
}

std::string program_folder() {
    std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    return exe.substr(0, exe.rfind('/'));
}

#endif

void write_file(const std::u16string& path, const std::string& bytes) {
    ASSERT_EQ(platform::write_file_replacing(path, bytes), 0u) << to_utf8(path);
}

std::string read_file(const std::u16string& path) {
    std::string bytes;
    if (platform::read_file(path, bytes) != 0) return "<missing>";
    return bytes;
}

void read_tree(const std::u16string& folder, std::map<std::u16string, std::string>& files) {
    std::vector<platform::FolderEntry> entries;
    platform::list_folder(folder, entries);
    for (const auto& entry : entries) {
        const std::u16string path = combine(folder, entry.name);
        if (entry.is_folder) {
            read_tree(path, files);
        } else {
            files[path] = read_file(path);
        }
    }
}

void place_item(const std::u16string& path, const std::string& bytes, bool folder) {
    std::u16string up = path;
    parent(up);
    make_folders(up);
    if (folder) {
        make_folders(path + u"\\inner");
        write_file(path + u"\\inner\\f.txt", bytes);
    } else {
        write_file(path, bytes);
    }
}

void make_folders(const std::u16string& path) {
    std::u16string level = without_trailing_backslash(path);
    std::u16string up = level;
    if (parent(up) && !platform::exists(up)) make_folders(up);
    const auto e = platform::create_folder(level);
    ASSERT_TRUE(e == 0 || e == platform::err::already_exists) << to_utf8(path) << " " << e;
}

void remove_tree(const std::u16string& path) {
    bool folder = false;
    if (platform::query(path, folder) != 0) return;
    if (!folder) {
        platform::delete_file(path);
        return;
    }
    std::vector<platform::FolderEntry> entries;
    platform::list_folder(path, entries);
    for (const auto& entry : entries) remove_tree(combine(path, entry.name));
    platform::remove_folder(path);
}

}  // namespace hbx::test
