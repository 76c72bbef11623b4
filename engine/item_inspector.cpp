#include "item_inspector.h"

#include "lock_service.h"
#include "paths.h"
#include "platform/platform.h"
#include "protected_location.h"
#include "stub.h"

namespace hbx {

ItemInspector& ItemInspector::instance() {
    static ItemInspector inspector;
    return inspector;
}

ItemInspector::~ItemInspector() = default;

int ItemInspector::classify(const std::u16string& path) {
    bool folder = false;
    if (platform::query(path, folder) != platform::err::success) return ITEM_MISSING;
    if (folder) return ITEM_FOLDER;
    const std::u16string extension = find_extension(path);
    if (equal_ignoring_case(extension, file_stub_extension)) return ITEM_FILE_STUB;
    if (equal_ignoring_case(extension, folder_stub_extension)) return ITEM_FOLDER_STUB;
    return ITEM_FILE;
}

bool ItemInspector::resolve_stub(const std::u16string& path, std::u16string* target) {
    const int kind = classify(path);
    const bool stub = kind == ITEM_FILE_STUB || kind == ITEM_FOLDER_STUB;
    if (target != nullptr) *target = stub ? LockService::instance().stub_target(path) : path;
    return stub;
}

bool ItemInspector::is_old_windows() { return platform::os_major_version() == 5; }

bool ItemInspector::is_protected_location(const std::u16string& path) {
    // A drive root needs no lookup of the system's folders.
    if (is_root_length(path)) return true;
    return is_protected_path(path, platform::special_folders());
}

}  // namespace hbx
