#include "registry_layout.h"

namespace hbx::shellext {

namespace {

// Where a key of the table goes: the class root, or its per-user part, or the machine.
void place(Hive hive, std::u16string_view path, bool per_user, RootKey& root,
           std::u16string& full_path) {
    if (hive == Hive::local_machine) {
        root = RootKey::local_machine;
        full_path = std::u16string(path);
    } else if (per_user) {
        root = RootKey::current_user;
        full_path = u"Software\\Classes";
        if (!path.empty()) full_path += u"\\" + std::u16string(path);
    } else {
        root = RootKey::classes_root;
        full_path = std::u16string(path);
    }
}

// The data with every %MODULE% replaced by the module's path.
std::u16string substitute(std::u16string_view data, std::u16string_view module) {
    std::u16string text;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = data.find(module_placeholder, from);
        if (at == std::u16string_view::npos) break;
        text.append(data.substr(from, at - from));
        text.append(module);
        from = at + module_placeholder.size();
    }
    text.append(data.substr(from));
    return text;
}

}  // namespace

std::vector<RegistryOperation> registration_operations(Script script, std::u16string_view module,
                                                       bool per_user) {
    std::vector<RegistryOperation> operations;
    for (const RegistryKey& key : registry_table) {
        if (key.script != script || key.path.empty()) continue;
        RootKey root;
        std::u16string path;
        place(key.hive, key.path, per_user, root, path);
        if (key.mark == Mark::force_remove) {
            operations.push_back({RegistryOperation::delete_tree, root, path, {}, {}});
        }
        operations.push_back({RegistryOperation::create_key, root, path, {}, {}});
        for (std::size_t i = 0; i < key.value_count; ++i) {
            operations.push_back({RegistryOperation::set_value, root, path,
                                  std::u16string(key.values[i].name),
                                  substitute(key.values[i].data, module)});
        }
    }
    return operations;
}

std::vector<RegistryOperation> unregistration_operations(Script script, bool per_user) {
    std::vector<RegistryOperation> operations;
    for (auto key = std::rbegin(registry_table); key != std::rend(registry_table); ++key) {
        if (key->script != script || key->path.empty() || key->mark == Mark::no_remove) continue;
        RootKey root;
        std::u16string path;
        place(key->hive, key->path, per_user, root, path);
        operations.push_back({key->mark == Mark::force_remove ? RegistryOperation::delete_tree
                                                              : RegistryOperation::delete_key,
                              root, path, {}, {}});
    }
    return operations;
}

}  // namespace hbx::shellext
