#include "lock_service.h"

#include "paths.h"
#include "platform/platform.h"
#include "stub.h"
#include "text.h"
#include "vault.h"

namespace hbx {

LockService& LockService::instance() {
    static LockService service;
    return service;
}

LockService::~LockService() = default;

ItemIcon LockService::item_icon(const std::u16string& path, bool large) {
    const std::u16string copy = LockService::vault_location(path);
    return make_item_icon(choose_icon_source(path, copy, platform::is_folder), large);
}

std::u16string LockService::stub_target(const std::u16string& stub_path) {
    const std::u16string stub = normalize_slashes(stub_path);
    const PathParts parts = split_path(stub);
    const std::u16string candidate = parts.drive + parts.directory + parts.name;
    if (!vault_location(candidate).empty()) return candidate;
    const std::u16string src = read_stub(stub_info_for_stub(stub));
    if (!src.empty() && is_safe_stub_source(src) && is_drive_path(stub)) {
        return stub.substr(0, 2) + u'\\' + src;
    }
    return candidate;
}

std::u16string LockService::vault_location(const std::u16string& source) {
    const std::u16string path = normalize_slashes(source);
    if (!is_drive_path(path)) return {};
    const PathParts parts = split_path(path);
    const std::u16string candidate =
        combine(append(data_folder(parts.drive), hash_text(parts.directory)), parts.name) +
        parts.extension;
    return platform::exists(candidate) ? candidate : std::u16string();
}

LockError LockService::last_error(LockError& error) {
    std::lock_guard<std::mutex> lock(error_mutex_);
    error = error_;
    return error_;
}

void LockService::set_error(std::int32_t code, std::int32_t system_error) {
    std::lock_guard<std::mutex> lock(error_mutex_);
    error_.code = code;
    error_.system_error = system_error;
}

}  // namespace hbx
