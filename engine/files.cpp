#include "files.h"

#include "paths.h"

namespace hbx {

Error create_folder_chain(const std::u16string& path) {
    std::vector<std::u16string> levels;
    std::u16string level = path;
    levels.push_back(level);
    while (parent(level)) levels.push_back(level);
    levels.pop_back();   // the volume root
    for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
        const Error e = platform::create_folder(*it);
        if (e == platform::err::already_exists) continue;
        if (e != platform::err::success) return e;
        platform::set_hidden(*it);
    }
    // A file standing where the innermost folder should be is no folder.
    if (!platform::is_folder(path)) return platform::err::already_exists;
    return platform::err::success;
}

std::vector<FolderEntry> list_folder(const std::u16string& folder) {
    std::vector<FolderEntry> entries;
    if (platform::list_folder(folder, entries) != platform::err::success) entries.clear();
    return entries;
}

std::optional<std::string> read_whole_file(const std::u16string& path) {
    std::string bytes;
    if (platform::read_file(path, bytes, engine_file_limit) != platform::err::success ||
        bytes.empty()) {
        return std::nullopt;
    }
    return bytes;
}

Error write_whole_file(const std::u16string& path, const std::string& bytes) {
    std::u16string folder = path;
    if (parent(folder)) {
        const Error e = create_folder_chain(folder);
        if (e != platform::err::success) return e;
    }
    return platform::write_file_replacing(path, bytes);
}

}  // namespace hbx
