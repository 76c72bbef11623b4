#include "item_icon.h"

#include "paths.h"

#include <utility>

namespace hbx {

IconSource choose_icon_source(const std::u16string& path, const std::u16string& vault_copy,
                              const std::function<bool(const std::u16string&)>& is_folder) {
    IconSource source;
    source.path = vault_copy.empty() ? path : vault_copy;
    source.is_folder = is_folder(source.path);
    source.is_program = !source.is_folder &&
                        equal_ignoring_case(split_path(normalize_slashes(path)).extension, u".exe");
    return source;
}

const char* icon_origin_name(IconOrigin origin) {
    switch (origin) {
        case IconOrigin::file_type: return "file_type";
        case IconOrigin::program: return "program";
        default: return "none";
    }
}

ItemIcon::ItemIcon(IconSource source, platform::IconHandle handle, IconOrigin origin)
    : source_(std::move(source)), handle_(handle), origin_(handle ? origin : IconOrigin::none) {}

ItemIcon::~ItemIcon() { platform::destroy_icon(handle_); }

ItemIcon::ItemIcon(ItemIcon&& other) noexcept
    : source_(std::move(other.source_)), handle_(other.handle_), origin_(other.origin_) {
    other.handle_ = nullptr;
    other.origin_ = IconOrigin::none;
}

ItemIcon& ItemIcon::operator=(ItemIcon&& other) noexcept {
    if (this != &other) {
        platform::destroy_icon(handle_);
        source_ = std::move(other.source_);
        handle_ = other.handle_;
        origin_ = other.origin_;
        other.handle_ = nullptr;
        other.origin_ = IconOrigin::none;
    }
    return *this;
}

platform::IconHandle ItemIcon::release() {
    platform::IconHandle handle = handle_;
    handle_ = nullptr;
    return handle;
}

ItemIcon make_item_icon(IconSource source, bool large) {
    if (source.is_program) {
        if (platform::IconHandle own = platform::program_icon(source.path, large)) {
            return ItemIcon(std::move(source), own, IconOrigin::program);
        }
    }
    platform::IconHandle generic = platform::type_icon(source.path, source.is_folder, large);
    return ItemIcon(std::move(source), generic, IconOrigin::file_type);
}

}  // namespace hbx
