#include "options.h"

#include "files.h"
#include "json_text.h"
#include "paths.h"
#include "text.h"
#include "vault.h"

namespace hbx {

using boost::property_tree::ptree;

std::u16string options_file(const std::u16string& volume) {
    return vault_root(volume) + u"options.cfg";
}

std::u16string pending_key(const std::u16string& path) {
    return normalize_slashes(path).substr(std::min<std::size_t>(2, path.size()));
}

Options Options::create(const std::u16string& file_name) {
    Options options;
    options.file_name = file_name;
    return options;
}

bool Options::load() {
    const auto bytes = read_whole_file(file_name);
    if (!bytes) {
        password.clear();
        machine.clear();
        pending.clear();
        return false;
    }
    return parse_options(*bytes, *this);
}

platform::Error Options::save() const { return write_whole_file(file_name, options_json(*this)); }

bool Options::add_pending(const std::u16string& key, LOCK_TYPE type) {
    return pending.emplace(key, type).second;
}

std::string options_json(const Options& options) {
    std::string out = "{\n    \"user\": {\n        \"password\": ";
    out += json_string(to_utf8(options.password));
    out += ",\n        \"machine\": ";
    out += json_string(to_utf8(options.machine));
    out += "\n    },\n    \"pending\": ";
    if (options.pending.empty()) {
        out += "\"\"\n";
    } else {
        out += "[\n";
        std::size_t left = options.pending.size();
        for (const auto& [key, type] : options.pending) {
            out += "        {\n            \"path\": ";
            out += json_string(to_utf8(key));
            out += ",\n            \"type\": ";
            out += json_string(std::to_string(static_cast<int>(type)));
            out += "\n        }";
            out += --left > 0 ? ",\n" : "\n";
        }
        out += "    ]\n";
    }
    out += "}\n";
    return out;
}

bool parse_options(const std::string& text, Options& options) {
    options.password.clear();
    options.machine.clear();
    options.pending.clear();
    ptree tree;
    if (!parse_json(text, tree)) return false;
    const ptree* user = json_child(tree, "user");
    if (user == nullptr) return false;
    const ptree* password = json_child(*user, "password");
    if (password == nullptr) return false;
    options.password = from_utf8(password->data());
    const ptree* machine = json_child(*user, "machine");
    if (machine == nullptr) return false;
    options.machine = from_utf8(machine->data());
    const ptree* pending = json_child(tree, "pending");
    if (pending == nullptr) return false;
    for (const auto& entry : *pending) {
        const ptree* path = json_child(entry.second, "path");
        const ptree* type = json_child(entry.second, "type");
        if (path == nullptr || type == nullptr) return false;
        const auto value = type->get_value_optional<int>();
        if (!value) return false;
        options.pending.emplace(from_utf8(path->data()), static_cast<LOCK_TYPE>(*value));
    }
    return true;
}

}  // namespace hbx
