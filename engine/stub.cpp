#include "stub.h"

#include "paths.h"

namespace hbx {

namespace {

const std::u16string section = u"ENCRYPTINFO";
const std::u16string key = u"SRC";

}  // namespace

StubInfo stub_info_for_item(const std::u16string& source, bool is_folder) {
    StubInfo info;
    info.target = without_trailing_backslash(source);
    info.stub = info.target + (is_folder ? folder_stub_extension : file_stub_extension);
    return info;
}

StubInfo stub_info_for_stub(const std::u16string& stub_path) {
    const PathParts parts = split_path(stub_path);
    return {parts.drive + parts.directory + parts.name, stub_path};
}

platform::Error write_stub(const StubInfo& info) {
    return platform::write_profile_string(info.stub, section, key, after_root(info.target));
}

std::u16string read_stub(const StubInfo& info) {
    return platform::read_profile_string(info.stub, section, key);
}

platform::Error delete_stub(const StubInfo& info) { return platform::delete_file(info.stub); }

bool is_safe_stub_source(const std::u16string& src) {
    if (src.empty() || src[0] == u'\\' || src[0] == u'/') return false;
    if (src.find(u':') != std::u16string::npos) return false;
    std::size_t start = 0;
    while (start <= src.size()) {
        std::size_t end = src.find_first_of(u"\\/", start);
        if (end == std::u16string::npos) end = src.size();
        if (src.compare(start, end - start, u"..") == 0) return false;
        start = end + 1;
    }
    return true;
}

std::u16string unique_name(const std::u16string& path) {
    if (!platform::exists(path)) return path;
    std::u16string candidate;
    for (int i = 2; i <= 9999; ++i) {
        PathParts parts = split_path(path);
        const std::u16string& n = parts.name;
        if (n.size() > 4 && n[n.size() - 3] == u'(' && n.back() == u')' &&
            n[n.size() - 2] >= u'2' && n[n.size() - 2] <= u'9') {
            parts.name.resize(n.size() - 4);
        }
        candidate = numbered(parts, i);
        if (!platform::exists(candidate)) return candidate;
    }
    return candidate;
}

}  // namespace hbx
