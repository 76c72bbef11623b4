#include "text.h"

#include "platform/platform.h"
#include "platform/unicode.h"

#include <vector>

namespace hbx {

std::string to_utf8(const std::u16string& text) { return platform::utf16_to_utf8(text); }

std::u16string from_utf8(const std::string& text) { return platform::utf8_to_utf16(text); }

std::u16string hash_text(const std::u16string& text) {
    std::vector<unsigned char> storage;
    storage.reserve(text.size() * 2);
    for (char16_t unit : text) {
        storage.push_back(static_cast<unsigned char>(unit & 0xFF));
        storage.push_back(static_cast<unsigned char>(unit >> 8));
    }
    const auto digest = platform::md5(storage.data(), text.size());
    static const char16_t digits[] = u"0123456789ABCDEF";
    std::u16string out;
    out.reserve(32);
    for (std::uint8_t byte : digest) {
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
    }
    return out;
}

bool same_hash(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto upper = [](char16_t c) {
            return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
        };
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

}  // namespace hbx
