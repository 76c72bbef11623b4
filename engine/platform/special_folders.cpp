#include "special_folders.h"

#include <cctype>

namespace hbx::platform {

namespace {

bool absolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string without_trailing_slashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// `base` and `name` with one slash between them; empty when `base` is unknown.
std::string join(const std::string& base, const std::string& name) {
    if (base.empty()) return {};
    const std::string b = without_trailing_slashes(base);
    return b == "/" ? "/" + name : b + "/" + name;
}

// An XDG base directory: the variable's value when it is absolute, else the default below
// HOME (unknown when HOME is not set either).
std::string base_directory(const std::string& value, const std::string& home,
                           const char* default_below_home) {
    if (absolute(value)) return without_trailing_slashes(value);
    return join(home, default_below_home);
}

std::vector<std::string> data_dirs(const std::string& value) {
    std::vector<std::string> dirs;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(':', start);
        if (end == std::string::npos) end = value.size();
        const std::string entry = value.substr(start, end - start);
        if (absolute(entry)) dirs.push_back(without_trailing_slashes(entry));
        start = end + 1;
    }
    if (dirs.empty()) dirs = {"/usr/local/share", "/usr/share"};
    return dirs;
}

// The value of one line "NAME = "value"", unquoted and unescaped; false for anything else.
bool parse_line(const std::string& line, std::string& name, std::string& value) {
    std::size_t i = 0;
    auto skip_blanks = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    };
    skip_blanks();
    const std::size_t name_start = i;
    while (i < line.size() &&
           (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_')) {
        ++i;
    }
    if (i == name_start) return false;
    name = line.substr(name_start, i - name_start);
    skip_blanks();
    if (i >= line.size() || line[i] != '=') return false;
    ++i;
    skip_blanks();
    if (i >= line.size() || line[i] != '"') return false;
    ++i;
    value.clear();
    for (; i < line.size(); ++i) {
        if (line[i] == '"') return true;
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        value += line[i];
    }
    return false;   // no closing quote
}

}  // namespace

std::string xdg_config_home(const XdgEnvironment& env) {
    return base_directory(env.config_home, env.home, ".config");
}

std::map<std::string, std::string> parse_user_dirs(const std::string& text,
                                                   const std::string& home) {
    std::map<std::string, std::string> dirs;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string name, value;
        if (!parse_line(line, name, value)) continue;
        std::string path;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            if (!absolute(home)) continue;
            path = without_trailing_slashes(home) + value.substr(5);
        } else if (absolute(value)) {
            path = value;
        } else {
            continue;
        }
        dirs[name] = without_trailing_slashes(path);
    }
    return dirs;
}

std::vector<std::string> linux_special_folders(const XdgEnvironment& env,
                                               const std::string& user_dirs) {
    const std::string home = absolute(env.home) ? without_trailing_slashes(env.home) : "";
    const std::string config_home = xdg_config_home(env);
    const std::string data_home = base_directory(env.data_home, home, ".local/share");
    const std::string cache_home = base_directory(env.cache_home, home, ".cache");
    const std::vector<std::string> system_data = data_dirs(env.data_dirs);
    const std::map<std::string, std::string> user = parse_user_dirs(user_dirs, home);

    std::vector<std::string> folders;
    auto add = [&folders](const std::string& folder) {
        if (!folder.empty()) folders.push_back(folder);
    };
    const auto desktop = user.find("XDG_DESKTOP_DIR");
    add(desktop != user.end() ? desktop->second : join(home, "Desktop"));
    add(join(data_home, "applications"));
    add(join(config_home, "menus"));
    const auto documents = user.find("XDG_DOCUMENTS_DIR");
    if (documents != user.end()) add(documents->second);
    add(join(config_home, "autostart"));
    add(join(data_home, "Trash"));
    for (const std::string& dir : system_data) add(join(dir, "applications"));
    add(join(data_home, "fonts"));
    add(join(home, ".fonts"));
    for (const std::string& dir : system_data) add(join(dir, "fonts"));
    add(cache_home);
    return folders;
}

}  // namespace hbx::platform
