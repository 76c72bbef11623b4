#include "string_resources.h"

#include "module.h"

namespace hbx::shellext {

namespace {

// A string block holds 16 strings, each a count of UTF-16 units followed by the units.
std::u16string string_from_block(HMODULE module, HRSRC block, unsigned index) {
    if (block == nullptr) return {};
    const HGLOBAL loaded = LoadResource(module, block);
    const auto* units = static_cast<const char16_t*>(LockResource(loaded));
    if (units == nullptr) return {};
    const std::size_t size = SizeofResource(module, block) / sizeof(char16_t);
    std::size_t at = 0;
    for (unsigned i = 0; i < index && at < size; ++i) at += 1 + units[at];
    if (at >= size) return {};
    const std::size_t length = units[at];
    if (at + 1 + length > size) return {};
    return std::u16string(units + at + 1, length);
}

}  // namespace

std::u16string load_module_string(unsigned id, LANGID language) {
    const HMODULE module = module_instance();
    const LPCWSTR block_name = MAKEINTRESOURCEW(id / 16 + 1);
    HRSRC block = nullptr;
    if (language != 0) {
        block = FindResourceExW(module, RT_STRING, block_name, language);
        if (block == nullptr) {
            block = FindResourceExW(module, RT_STRING, block_name,
                                    MAKELANGID(PRIMARYLANGID(language), SUBLANG_NEUTRAL));
        }
    }
    if (block == nullptr) block = FindResourceW(module, block_name, RT_STRING);
    return string_from_block(module, block, id % 16);
}

}  // namespace hbx::shellext
