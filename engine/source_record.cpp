#include "source_record.h"

#include "files.h"
#include "json_text.h"
#include "text.h"
#include "vault.h"

namespace hbx {

using boost::property_tree::ptree;

std::u16string source_record_file(const std::u16string& volume) {
    return vault_root(volume) + u"sources.list";
}

SourceRecord SourceRecord::create(const std::u16string& file_name) {
    SourceRecord record;
    record.file_name = file_name;
    return record;
}

bool SourceRecord::load() {
    const auto bytes = read_whole_file(file_name);
    if (!bytes || !parse_source_record(*bytes, sources)) {
        sources.clear();
        return false;
    }
    return true;
}

platform::Error SourceRecord::save() const {
    if (sources.empty()) {
        const platform::Error e = platform::delete_file(file_name);
        return e == platform::err::file_not_found || e == platform::err::path_not_found
                   ? platform::err::success
                   : e;
    }
    return write_whole_file(file_name, source_record_json(sources));
}

std::u16string SourceRecord::lookup(const std::u16string& folder,
                                    const std::u16string& name) const {
    const auto items = sources.find(folder);
    if (items == sources.end()) return {};
    const auto found = items->second.find(name);
    return found == items->second.end() ? std::u16string() : found->second;
}

bool SourceRecord::set(const std::u16string& folder, const std::u16string& name,
                       const std::u16string& directory) {
    std::u16string& value = sources[folder][name];
    if (value == directory) return false;
    value = directory;
    return true;
}

bool SourceRecord::remove(const std::u16string& folder, const std::u16string& name) {
    const auto items = sources.find(folder);
    if (items == sources.end() || items->second.erase(name) == 0) return false;
    if (items->second.empty()) sources.erase(items);
    return true;
}

std::string source_record_json(const SourceMap& sources) {
    std::string out = "{\n    \"sources\": {\n";
    std::size_t folders_left = sources.size();
    for (const auto& [folder, items] : sources) {
        out += "        " + json_string(to_utf8(folder)) + ": {\n";
        std::size_t items_left = items.size();
        for (const auto& [name, directory] : items) {
            out += "            " + json_string(to_utf8(name)) + ": " +
                   json_string(to_utf8(directory));
            out += --items_left > 0 ? ",\n" : "\n";
        }
        out += --folders_left > 0 ? "        },\n" : "        }\n";
    }
    out += "    }\n}\n";
    return out;
}

bool parse_source_record(const std::string& text, SourceMap& sources) {
    sources.clear();
    ptree tree;
    if (!parse_json(text, tree)) return false;
    const ptree* all = json_child(tree, "sources");
    if (all == nullptr) return false;
    for (const auto& [folder, items] : *all) {
        for (const auto& [name, value] : items) {
            std::string directory = value.data();
            for (char& c : directory) {
                if (c == '/') c = '\\';
            }
            sources[from_utf8(folder)].emplace(from_utf8(name), from_utf8(directory));
        }
    }
    return true;
}

}  // namespace hbx
