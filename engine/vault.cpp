#include "vault.h"

#include "paths.h"
#include "platform/platform.h"
#include "text.h"

namespace hbx {

std::u16string vault_parent_name() {
    return platform::os_major_version() <= 5 ? u"...." : u"...";
}

std::u16string vault_parent(const std::u16string& volume) {
    std::u16string path = volume;
    if (path.size() == 2) path += u'\\';
    return path + vault_parent_name() + u'\\';
}

std::u16string vault_root(const std::u16string& volume) { return vault_parent(volume) + u"hbx\\"; }

std::u16string data_folder(const std::u16string& volume) { return vault_root(volume) + u"data\\"; }

std::u16string item_folder(const std::u16string& volume, const std::u16string& directory) {
    return append(data_folder(volume), hash_text(directory));
}

bool is_inside_vault(const std::u16string& path) {
    if (!is_drive_path(path)) return false;
    const std::u16string path_after_root = normalize_slashes(path).substr(3);
    const std::size_t start = path_after_root.find_first_not_of(u'\\');
    if (start == std::u16string::npos) return false;
    const std::size_t end = path_after_root.find(u'\\', start);
    return path_after_root.substr(start, end == std::u16string::npos ? end : end - start) ==
           vault_parent_name();
}

std::vector<DriveRoot> drive_roots() {
    std::vector<DriveRoot> list;
    for (const auto& drive : platform::drives()) {
        list.push_back({std::u16string(1, drive.letter) + u":\\", drive.type});
    }
    return list;
}

bool is_item_volume_type(platform::DriveType type) {
    return type == platform::DriveType::fixed || type == platform::DriveType::removable;
}

std::vector<std::u16string> all_drive_roots() {
    std::vector<std::u16string> list;
    for (const auto& drive : drive_roots()) list.push_back(drive.root);
    return list;
}

std::vector<std::u16string> item_volumes() {
    std::vector<std::u16string> list;
    for (const auto& drive : drive_roots()) {
        if (is_item_volume_type(drive.type)) list.push_back(drive.root);
    }
    return list;
}

}  // namespace hbx
