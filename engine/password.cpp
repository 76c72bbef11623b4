#include "password.h"

#include "files.h"
#include "options.h"
#include "text.h"
#include "vault.h"
#include "vault_lock.h"

namespace hbx {

std::u16string stored_password_hash() {
    for (const auto& root : all_drive_roots()) {
        Options options = Options::create(options_file(root));
        if (!options.load() || !options.machine.empty()) continue;
        if (!options.password.empty()) return options.password;
    }
    return {};
}

bool has_password() { return !stored_password_hash().empty(); }

bool check_password(const std::u16string& password) {
    const std::u16string stored = stored_password_hash();
    return !stored.empty() && same_hash(stored, hash_text(password));
}

bool check_password_on_volume(const std::u16string& volume, const std::u16string& password) {
    Options options = Options::create(options_file(volume));
    if (options.load()) return same_hash(options.password, hash_text(password));
    return check_password(password);
}

bool set_password(const std::u16string& password) {
    const std::u16string hash = hash_text(password);
    bool took_part = false;
    bool all_written = true;
    for (const auto& root : all_drive_roots()) {
        Options options = Options::create(options_file(root));
        if (!options.load() || !options.machine.empty()) continue;
        took_part = true;
        VaultLock lock(root);
        // Read again under the lock: another process may have changed the file meanwhile.
        if (lock.error() != 0 || !options.load()) {
            all_written = false;
            continue;
        }
        if (!options.machine.empty()) continue;
        options.password = hash;
        if (options.save() != 0) all_written = false;
    }
    if (took_part) return all_written;

    // The very first password: the vault of "C:" receives the file.
    const std::u16string c = u"C:";
    if (create_folder_chain(vault_root(c)) != 0) return false;
    VaultLock lock(c);
    if (lock.error() != 0) return false;
    Options options = Options::create(options_file(c));
    if (options.load() && !options.machine.empty()) return false;   // not ours to replace
    options.password = hash;
    options.machine.clear();
    return options.save() == 0;
}

bool ensure_options(const std::u16string& volume, const std::u16string& password) {
    Options options = Options::create(options_file(volume));
    if (options.load()) return true;
    if (create_folder_chain(vault_root(volume)) != 0) return false;
    VaultLock lock(volume);
    if (lock.error() != 0) return false;
    if (options.load()) return true;   // written by another process meanwhile
    options.password = hash_text(password);
    options.machine.clear();
    return options.save() == 0;
}

}  // namespace hbx
