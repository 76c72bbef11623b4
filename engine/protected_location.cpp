#include "protected_location.h"

#include "paths.h"

namespace hbx {

namespace {

// A drive-absolute path or a network path ("\\server\share\..."): a folder on a file system.
bool is_file_system_path(const std::u16string& folder) {
    return is_drive_path(folder) || folder.compare(0, 2, u"\\\\") == 0;
}

}  // namespace

bool is_root_length(const std::u16string& path) { return path.size() <= 3; }

bool is_protected_path(const std::u16string& path,
                       const std::vector<std::u16string>& special_folders) {
    if (is_root_length(path)) return true;
    for (const std::u16string& folder : special_folders) {
        if (is_file_system_path(folder) && folder == path) return true;
    }
    return false;
}

}  // namespace hbx
