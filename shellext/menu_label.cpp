#include "menu_label.h"

namespace hbx::shellext {

std::u16string menu_label(std::u16string_view path, bool is_stub, std::u16string_view lock_format,
                          std::u16string_view unlock_format) {
    const std::u16string_view format = is_stub ? unlock_format : lock_format;
    if (format.empty()) return {};

    const std::size_t separator = path.find_last_of(u"\\/");
    std::u16string_view name =
        separator == std::u16string_view::npos ? path : path.substr(separator + 1);
    if (is_stub) {
        const std::size_t dot = name.find_last_of(u'.');
        name = dot == std::u16string_view::npos ? std::u16string_view() : name.substr(0, dot);
    }

    std::u16string label(format);
    const std::size_t placeholder = label.find(u"%ls");
    if (placeholder != std::u16string::npos) label.replace(placeholder, 3, name);
    return label;
}

int menu_icon_size(int menu_check_width) {
    for (int size : {19, 17, 15, 13}) {
        if (size <= menu_check_width) return size;
    }
    return 15;
}

}  // namespace hbx::shellext
