#include "paths.h"

namespace hbx {

namespace {

bool is_letter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool is_unc(const std::u16string& p) { return p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\'; }

// PathIsRelativeW: false when the path begins with "\" or has a drive colon.
bool is_relative(const std::u16string& p) {
    if (!p.empty() && p[0] == u'\\') return false;
    return !(p.size() >= 2 && p[1] == u':');
}

// PathStripToRootW for the forms the engine meets.
std::u16string root_of(const std::u16string& p) {
    if (p.size() >= 2 && p[1] == u':') {
        return (p.size() >= 3 && p[2] == u'\\') ? p.substr(0, 3) : p.substr(0, 2);
    }
    if (is_unc(p)) {
        std::size_t server = p.find(u'\\', 2);
        if (server == std::u16string::npos) return p;
        std::size_t share = p.find(u'\\', server + 1);
        return share == std::u16string::npos ? p : p.substr(0, share);
    }
    if (!p.empty() && p[0] == u'\\') return u"\\";
    return std::u16string();
}

char16_t fold(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    return c;
}

}  // namespace

std::u16string drive_prefix(const std::u16string& path) { return path.substr(0, 2); }

std::u16string normalize_slashes(std::u16string path) {
    for (char16_t& c : path) {
        if (c == u'/') c = u'\\';
    }
    return path;
}

PathParts split_path(const std::u16string& path) {
    PathParts parts;
    std::size_t rest = 0;
    if (path.size() >= 2 && path[1] == u':') {
        parts.drive = path.substr(0, 2);
        rest = 2;
    }
    const std::size_t slash = path.find_last_of(u"\\/");
    std::size_t name_start = rest;
    if (slash != std::u16string::npos && slash >= rest) {
        parts.directory = path.substr(rest, slash + 1 - rest);
        name_start = slash + 1;
    }
    const std::size_t dot = path.rfind(u'.');
    if (dot != std::u16string::npos && dot >= name_start) {
        parts.name = path.substr(name_start, dot - name_start);
        parts.extension = path.substr(dot);
    } else {
        parts.name = path.substr(name_start);
    }
    return parts;
}

std::u16string combine(const std::u16string& dir, const std::u16string& name) {
    if (name.empty()) return dir;
    if (dir.empty() || !is_relative(name)) {
        if (dir.empty() || name[0] != u'\\' || is_unc(name)) return name;
        std::u16string root = root_of(dir);
        if (root.empty() || root.back() != u'\\') root += u'\\';
        return root + name.substr(1);
    }
    std::u16string out = dir;
    if (out.back() != u'\\') out += u'\\';
    return out + name;
}

std::u16string append(const std::u16string& dir, const std::u16string& more) {
    std::size_t skip = 0;
    if (!is_unc(more)) {
        while (skip < more.size() && more[skip] == u'\\') ++skip;
    }
    return combine(dir, more.substr(skip));
}

bool parent(std::u16string& path) {
    std::size_t cut = 0;
    std::size_t i = 0;
    if (i < path.size() && path[i] == u'\\') cut = ++i;
    if (i < path.size() && path[i] == u'\\') cut = ++i;
    while (i < path.size()) {
        if (path[i] == u'\\') {
            cut = i;
        } else if (path[i] == u':') {
            cut = ++i;
            if (i < path.size() && path[i] == u'\\') ++cut;
            if (i >= path.size()) break;
        }
        ++i;
    }
    if (cut < path.size()) {
        path.resize(cut);
        return true;
    }
    return false;
}

std::u16string without_trailing_backslash(std::u16string path) {
    if (!path.empty() && path.back() == u'\\' && root_of(path) != path) path.pop_back();
    return path;
}

std::u16string after_root(const std::u16string& path) {
    if (is_unc(path)) {
        const std::size_t server = path.find(u'\\', 2);
        if (server == std::u16string::npos) return std::u16string();
        const std::size_t share = path.find(u'\\', server + 1);
        return share == std::u16string::npos ? std::u16string() : path.substr(share + 1);
    }
    if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') return path.substr(3);
    return std::u16string();
}

std::u16string concat(const std::u16string& a, const std::u16string& b) { return a + b; }

std::u16string find_extension(const std::u16string& path) {
    std::size_t dot = std::u16string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == u'\\' || path[i] == u' ') {
            dot = std::u16string::npos;
        } else if (path[i] == u'.') {
            dot = i;
        }
    }
    return dot == std::u16string::npos ? std::u16string() : path.substr(dot);
}

std::u16string last_name(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

bool equal_ignoring_case(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

bool is_drive_path(const std::u16string& path) {
    return path.size() >= 3 && is_letter(path[0]) && path[1] == u':' &&
           (path[2] == u'\\' || path[2] == u'/');
}

std::u16string numbered(const PathParts& parts, int number) {
    std::u16string n;
    for (char c : std::to_string(number)) n += static_cast<char16_t>(c);
    return parts.drive + parts.directory + parts.name + u" (" + n + u")" + parts.extension;
}

}  // namespace hbx
