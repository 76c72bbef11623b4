#include "volume_map.h"

#include "unicode.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace hbx::platform {

namespace {

char16_t upper_letter(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool is_letter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool parse_type(const std::string& word, DriveType& type) {
    static const struct {
        const char* word;
        DriveType type;
    } types[] = {
        {"fixed", DriveType::fixed},
        {"removable", DriveType::removable},
        {"network", DriveType::remote},
        {"cdrom", DriveType::cdrom},
    };
    for (const auto& t : types) {
        if (word == t.word) {
            type = t.type;
            return true;
        }
    }
    return false;
}

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

void sort_by_letter(std::vector<Volume>& volumes) {
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.letter < b.letter; });
}

// True when `path` is `directory` or lies inside it; `rest` receives the part after it
// (without a leading slash).
bool inside(const std::string& path, const std::string& directory, std::string& rest) {
    if (directory == "/") {
        rest = path.size() > 1 ? path.substr(1) : std::string();
        return true;
    }
    if (path.compare(0, directory.size(), directory) != 0) return false;
    if (path.size() == directory.size()) {
        rest.clear();
        return true;
    }
    if (path[directory.size()] != '/') return false;
    rest = path.substr(directory.size() + 1);
    return true;
}

// UTF-8 and UTF-16 are converted with a replacement character for what does not convert, so
// a name converts without loss exactly when it comes back unchanged. A name that does not
// would stand for another file than the one it came from.
bool converts_exactly(const std::string& utf8) { return utf16_to_utf8(utf8_to_utf16(utf8)) == utf8; }

// UTF-16 text converts exactly unless it holds a surrogate without its partner.
bool has_lone_surrogate(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

Converted refused(std::string message) {
    Converted c;
    c.message = std::move(message);
    return c;
}

}  // namespace

const Volume* VolumeMap::find(char16_t letter) const {
    const char16_t wanted = upper_letter(letter);
    for (const auto& v : volumes) {
        if (v.letter == wanted) return &v;
    }
    return nullptr;
}

VolumeMap parse_volume_map(const std::string& text) {
    VolumeMap map;
    auto fail = [&map](std::string why) {
        map.volumes.clear();
        map.problem = "HUSHBOX_VOLUMES: " + why;
        return map;
    };
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string entry = trim(text.substr(start, comma - start));
        start = comma + 1;
        if (entry.empty()) {
            if (comma == text.size()) break;
            continue;
        }
        if (entry.size() < 3 || entry[1] != '=' || !is_letter(static_cast<char16_t>(entry[0]))) {
            return fail("\"" + entry + "\" is not of the form LETTER=/directory[:type]");
        }
        Volume volume{upper_letter(static_cast<char16_t>(entry[0])), entry.substr(2),
                      DriveType::fixed};
        const std::size_t colon = volume.directory.rfind(':');
        if (colon != std::string::npos) {
            const std::string word = volume.directory.substr(colon + 1);
            if (!parse_type(word, volume.type)) {
                return fail("unknown drive type \"" + word + "\" in \"" + entry +
                            "\" (use fixed, removable, network or cdrom)");
            }
            volume.directory.resize(colon);
        }
        if (volume.directory.empty() || volume.directory[0] != '/') {
            return fail("the directory of \"" + entry + "\" is not an absolute path");
        }
        volume.directory = normalize_native(volume.directory, "/");
        if (map.find(volume.letter) != nullptr) {
            return fail(std::string("the letter ") + static_cast<char>(volume.letter) +
                        " is given twice");
        }
        map.volumes.push_back(volume);
        if (comma == text.size()) break;
    }
    if (map.volumes.empty()) return fail("no volume is given");
    sort_by_letter(map.volumes);
    return map;
}

VolumeMap default_volume_map(const std::string& home, const std::string& user,
                             const std::vector<std::string>& mount_points) {
    VolumeMap map;
    if (home.empty() || home[0] != '/') {
        map.problem = "HOME is not set to an absolute path, so there is no drive C:";
        return map;
    }
    map.volumes.push_back({u'C', normalize_native(home, "/"), DriveType::fixed});
    char16_t next = u'D';
    for (const std::string& point : mount_points) {
        if (user.empty() || next > u'Z') break;
        const std::string normalized = normalize_native(point, "/");
        const std::string parent = normalized.substr(0, normalized.rfind('/'));
        if (parent != "/media/" + user && parent != "/run/media/" + user) continue;
        bool known = false;
        for (const auto& v : map.volumes) known = known || v.directory == normalized;
        if (known) continue;
        map.volumes.push_back({next++, normalized, DriveType::removable});
    }
    return map;
}

std::vector<std::string> parse_mount_table(const std::string& text) {
    std::vector<std::string> points;
    std::size_t line_start = 0;
    while (line_start < text.size()) {
        std::size_t line_end = text.find('\n', line_start);
        if (line_end == std::string::npos) line_end = text.size();
        const std::string line = text.substr(line_start, line_end - line_start);
        line_start = line_end + 1;
        const std::size_t first = line.find(' ');
        if (first == std::string::npos) continue;
        const std::size_t second = line.find(' ', first + 1);
        const std::string field = line.substr(first + 1, second == std::string::npos
                                                             ? std::string::npos
                                                             : second - first - 1);
        std::string point;
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
                field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
                field[i + 3] >= '0' && field[i + 3] <= '7') {
                point += static_cast<char>(((field[i + 1] - '0') << 6) |
                                           ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
                i += 3;
            } else {
                point += field[i];
            }
        }
        if (!point.empty()) points.push_back(point);
    }
    return points;
}

std::string normalize_native(const std::string& path, const std::string& working_directory) {
    const std::string full =
        (!path.empty() && path[0] == '/') ? path : working_directory + "/" + path;
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i <= full.size()) {
        std::size_t slash = full.find('/', i);
        if (slash == std::string::npos) slash = full.size();
        const std::string name = full.substr(i, slash - i);
        i = slash + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        names.push_back(name);
    }
    std::string out;
    for (const auto& name : names) out += "/" + name;
    return out.empty() ? "/" : out;
}

Error split_engine_path(const std::u16string& engine, std::vector<std::u16string>& names) {
    names.clear();
    if (engine.size() < 2 || !is_letter(engine[0]) || engine[1] != u':') return err::invalid_name;
    if (engine.size() > 2 && engine[2] != u'\\' && engine[2] != u'/') return err::invalid_name;
    std::u16string name;
    for (std::size_t i = 2; i <= engine.size(); ++i) {
        const bool end = i == engine.size() || engine[i] == u'\\' || engine[i] == u'/';
        if (!end) {
            if (engine[i] == u'\0') return err::bad_pathname;
            name += engine[i];
            continue;
        }
        if (name == u"." || name == u"..") return err::bad_pathname;
        if (!name.empty()) names.push_back(name);
        name.clear();
    }
    return err::success;
}

Error engine_path_error(const VolumeMap& map, const std::u16string& engine) {
    std::vector<std::u16string> names;
    const Error e = split_engine_path(engine, names);
    if (e != err::success) return e;
    if (map.find(engine[0]) == nullptr) return err::path_not_found;
    if (has_lone_surrogate(engine)) return err::invalid_name;
    return err::success;
}

Converted map_engine_to_native(const VolumeMap& map, const std::u16string& engine) {
    // Every path the seam touches comes through here: one conversion of the whole text, then
    // the names are taken from its bytes ("\\" and "/" never occur inside a multi-byte
    // sequence).
    const std::string utf8 = utf16_to_utf8(engine);
    const bool drive_absolute = engine.size() >= 2 && is_letter(engine[0]) && engine[1] == u':' &&
                                (engine.size() == 2 || engine[2] == u'\\' || engine[2] == u'/');
    if (!drive_absolute) {
        return refused("the path \"" + utf8 + "\" does not start with a drive letter and \":\\\"");
    }
    const Volume* volume = map.find(engine[0]);
    std::string native = volume != nullptr && volume->directory != "/" ? volume->directory : "";
    bool climbs = false;
    for (std::size_t i = 2; i <= utf8.size();) {
        std::size_t end = utf8.find_first_of("\\/", i);
        if (end == std::string::npos) end = utf8.size();
        const std::size_t length = end - i;
        if ((length == 1 && utf8[i] == '.') || (length == 2 && utf8.compare(i, 2, "..") == 0) ||
            std::memchr(utf8.data() + i, '\0', length) != nullptr) {
            climbs = true;
        } else if (length > 0) {
            native += '/';
            native.append(utf8, i, length);
        }
        i = end + 1;
    }
    if (climbs) return refused("the path \"" + utf8 + "\" climbs out of its volume with \"..\"");
    if (volume == nullptr) {
        return refused(std::string("the drive ") + static_cast<char>(upper_letter(engine[0])) +
                       ": of \"" + utf8 + "\" is not in the volume map" +
                       (map.problem.empty() ? "" : " (" + map.problem + ")"));
    }
    if (has_lone_surrogate(engine)) {
        return refused("the path \"" + utf8 + "\" has a name that is no valid UTF-16 text");
    }
    Converted c;
    c.ok = true;
    c.engine = engine;
    c.native = native.empty() ? "/" : std::move(native);
    return c;
}

Converted map_native_to_engine(const VolumeMap& map, const std::string& native,
                               const std::string& working_directory) {
    if (native.empty()) return refused("the path is empty");
    // No file name holds a NUL; the engine form would end at it.
    if (native.find('\0') != std::string::npos) return refused("the path holds a NUL character");
    const std::string full = normalize_native(native, working_directory);
    const Volume* best = nullptr;
    std::string best_rest;
    for (const auto& v : map.volumes) {
        std::string rest;
        if (inside(full, v.directory, rest) &&
            (best == nullptr || v.directory.size() > best->directory.size())) {
            best = &v;
            best_rest = rest;
        }
    }
    if (best == nullptr) {
        return refused("\"" + full + "\" is outside every volume of the volume map" +
                       (map.problem.empty() ? std::string(" (set HUSHBOX_VOLUMES to add one)")
                                            : " (" + map.problem + ")"));
    }
    if (best_rest.find('\\') != std::string::npos) {
        return refused("\"" + full + "\" has a name with a backslash, which a Windows path cannot hold");
    }
    if (!converts_exactly(best_rest)) {
        return refused("\"" + full + "\" has a name that is no valid UTF-8, which a Windows path cannot hold");
    }
    Converted c;
    c.ok = true;
    c.native = full;
    c.engine = std::u16string(1, best->letter) + u":\\";
    for (char& ch : best_rest) {
        if (ch == '/') ch = '\\';
    }
    c.engine += utf8_to_utf16(best_rest);
    return c;
}

const char* drive_type_name(DriveType type) {
    switch (type) {
        case DriveType::fixed: return "fixed";
        case DriveType::removable: return "removable";
        case DriveType::remote: return "network";
        case DriveType::cdrom: return "cdrom";
        default: return "unknown";
    }
}

}  // namespace hbx::platform
