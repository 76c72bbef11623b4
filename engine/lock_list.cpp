#include "lock_list.h"

#include "files.h"
#include "json_text.h"
#include "paths.h"
#include "text.h"
#include "vault.h"

namespace hbx {

using boost::property_tree::ptree;

std::u16string lock_list_file(const std::u16string& volume) {
    return vault_root(volume) + u"path.list";
}

LockList LockList::create(const std::u16string& file_name) {
    LockList list;
    list.file_name = file_name;
    return list;
}

bool LockList::load() {
    const auto bytes = read_whole_file(file_name);
    if (!bytes) {
        entries.clear();
        return false;
    }
    return parse_lock_list(*bytes, entries);
}

platform::Error LockList::save() const {
    return write_whole_file(file_name, lock_list_json(entries));
}

std::u16string LockList::add(const std::u16string& directory) {
    std::u16string hash = hash_text(directory);
    entries.emplace(hash, directory);
    return hash;
}

std::u16string LockList::lookup(const std::u16string& hash) const {
    const auto found = entries.find(hash);
    return found == entries.end() ? std::u16string() : found->second;
}

std::string lock_list_json(const std::map<std::u16string, std::u16string>& entries) {
    std::string out = "{\n    \"hash_path\": ";
    if (entries.empty()) {
        out += "\"\"\n";
    } else {
        out += "{\n";
        std::size_t left = entries.size();
        for (const auto& [hash, directory] : entries) {
            out += "        " + json_string(to_utf8(hash)) + ": " + json_string(to_utf8(directory));
            out += --left > 0 ? ",\n" : "\n";
        }
        out += "    }\n";
    }
    out += "}\n";
    return out;
}

bool parse_lock_list(const std::string& text, std::map<std::u16string, std::u16string>& entries) {
    entries.clear();
    ptree tree;
    if (!parse_json(text, tree)) return false;
    const ptree* hash_path = json_child(tree, "hash_path");
    if (hash_path == nullptr) return false;
    for (const auto& [hash, value] : *hash_path) {
        std::string directory = value.data();
        for (char& c : directory) {
            if (c == '/') c = '\\';
        }
        entries.emplace(from_utf8(hash), from_utf8(directory));
    }
    return true;
}

}  // namespace hbx
