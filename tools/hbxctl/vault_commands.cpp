// The commands that change the vault or ask for the password: list, password, lock, unlock,
// open, relock-pending, remove-empty-vaults. Passwords are read from standard input, one per
// line (UTF-8), as the dialogs would take them from their password fields.
#include "command.h"
#include "json_line.h"

#include "item_inspector.h"
#include "lock_result.h"
#include "lock_service.h"
#include "options.h"
#include "password.h"
#include "paths.h"
#include "platform/platform.h"
#include "text.h"
#include "vault.h"

#include <cstdio>

namespace hbxctl {

namespace {

constexpr int refused_status = 1;        // wrong or empty password, a check that fails
constexpr int not_written_status = 3;    // the password could not be written
constexpr int operation_status = 10;     // plus the result code of a refused operation

// One line of standard input without its line end. False at the end of the input.
bool read_line(std::u16string& line) {
    std::string bytes;
    bool any = false;
    for (int c = std::getchar(); c != EOF; c = std::getchar()) {
        any = true;
        if (c == '\n') break;
        bytes += static_cast<char>(c);
    }
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    line = hbx::from_utf8(bytes);
    return any;
}

int refuse(const char* message) {
    std::fprintf(stderr, "%s\n", message);
    return refused_status;
}

// Reads the password and checks it as the lock and unlock dialogs do, against the options file
// of the item's volume. 0 when it checks, otherwise the exit status.
int check_item_password(const std::u16string& path, std::u16string& password) {
    read_line(password);
    if (password.empty()) return refuse("Please enter your password.");
    if (!hbx::check_password_on_volume(hbx::drive_prefix(path), password)) {
        return refuse("Incorrect password.");
    }
    return 0;
}

// A refused operation: its result text on stderr, 10 plus its code as the exit status.
int failed_operation() {
    hbx::LockError error;
    hbx::LockService::instance().last_error(error);
    std::fprintf(stderr, "%s\n", hbx::to_utf8(hbx::result_text(error)).c_str());
    return operation_status + error.code;
}

// The path of a command: a stub stands for its item, as when the program is started with it.
bool item_argument(const std::string& argument, std::u16string& path) {
    if (!engine_argument(argument, path)) return false;
    std::u16string target;
    if (hbx::ItemInspector::instance().resolve_stub(path, &target)) path = target;
    return true;
}

// "D:" or "D:\" as the volume string "D:"; empty when the argument names no volume.
std::u16string volume_argument(const std::string& argument) {
    const std::u16string given = hbx::from_utf8(argument);
    const bool with_root = given.size() == 3 && given[2] == u'\\';
    if (given.size() != 2 && !with_root) return {};
    if (!hbx::is_drive_path(given.substr(0, 2) + u'\\')) return {};
    return given.substr(0, 2);
}

// unlock and open: PATH, the password, then the operation.
template <typename Operation>
int bring_back(const Args& args, const char* command, Operation operation) {
    if (args.size() != 1) return usage(std::string("usage: hbxctl ") + command + " PATH");
    std::u16string path;
    if (!item_argument(args[0], path)) return usage_status;
    std::u16string password;
    if (const int status = check_item_password(path, password)) return status;
    hbx::LOCK_TYPE type = hbx::LOCK_TYPE_LOCK;
    std::u16string place;
    if (!operation(hbx::LockService::instance(), path, type, place)) return failed_operation();
    print(JsonLine().path("path", path).number("type", type).path("place", place));
    return 0;
}

}  // namespace

int list(const Args& args) {
    if (!args.empty()) return usage("usage: hbxctl list");
    std::vector<hbx::LockedItem> items;
    hbx::LockService::instance().list_items(items);
    for (const auto& item : items) {
        print(JsonLine()
                  .path("path", item.path)
                  .path("vault_path", item.vault_path)
                  .boolean("is_folder", item.is_folder)
                  .boolean("hidden", item.hidden));
    }
    return 0;
}

int password(const Args& args) {
    const char* synopsis = "usage: hbxctl password status|set|check [VOLUME]";
    if (args.empty()) return usage(synopsis);
    if (args[0] == "status" && args.size() == 1) {
        print(JsonLine().boolean("has_password", hbx::has_password()));
        return 0;
    }
    if (args[0] == "set" && args.size() == 1) {
        std::u16string current, wanted;
        if (hbx::has_password()) {
            read_line(current);
            if (!hbx::check_password(current)) return refuse("Incorrect password.");
        }
        read_line(wanted);
        if (wanted.empty()) return refuse("Please enter your password.");
        if (!hbx::set_password(wanted)) {
            std::fprintf(stderr, "The password could not be saved.\n");
            return not_written_status;
        }
        print(JsonLine().boolean("has_password", true));
        return 0;
    }
    if (args[0] == "check" && args.size() <= 2) {
        std::u16string volume;
        if (args.size() == 2) {
            volume = volume_argument(args[1]);
            if (volume.empty()) {
                return usage("not a volume: " + args[1] + " (a drive letter and a colon)");
            }
        }
        std::u16string given;
        read_line(given);
        const bool checks = volume.empty() ? hbx::check_password(given)
                                           : hbx::check_password_on_volume(volume, given);
        print(JsonLine().boolean("checks", checks));
        return checks ? 0 : refused_status;
    }
    return usage(synopsis);
}

int lock(const Args& args) {
    const bool hide = args.size() == 2 && args[1] == "--hide";
    if (args.size() != 1 && !hide) return usage("usage: hbxctl lock PATH [--hide]");
    std::u16string path;
    if (!engine_argument(args[0], path)) return usage_status;
    // Callers of the engine never lock a drive root or a special folder of the system.
    if (hbx::ItemInspector::instance().is_protected_location(path)) {
        return usage("refused path: " + hbx::to_utf8(path) + " is a protected location");
    }
    std::u16string password;
    if (const int status = check_item_password(path, password)) return status;
    auto& service = hbx::LockService::instance();
    if (!service.lock(path, hide ? hbx::LOCK_TYPE_HIDE : hbx::LOCK_TYPE_LOCK)) {
        return failed_operation();
    }
    // As the lock dialog does: the volume carries the password hash from now on.
    if (!hide) hbx::ensure_options(hbx::drive_prefix(path), password);
    print(JsonLine().path("path", path));
    return 0;
}

int unlock(const Args& args) {
    return bring_back(args, "unlock",
                      [](hbx::LockService& service, const std::u16string& path,
                         hbx::LOCK_TYPE& type, std::u16string& place) {
                          return service.unlock(path, type, place);
                      });
}

int open(const Args& args) {
    return bring_back(args, "open",
                      [](hbx::LockService& service, const std::u16string& path,
                         hbx::LOCK_TYPE& type, std::u16string& place) {
                          return service.open(path, type, place);
                      });
}

int relock_pending(const Args& args) {
    if (!args.empty()) return usage("usage: hbxctl relock-pending");
    hbx::LockService::instance().relock_pending();
    // What is still pending waits for the next run.
    for (const auto& root : hbx::all_drive_roots()) {
        hbx::Options options = hbx::Options::create(hbx::options_file(root));
        if (!options.load()) continue;
        for (const auto& [key, type] : options.pending) {
            print(JsonLine().path("pending", hbx::drive_prefix(root) + key).number("type", type));
        }
    }
    return 0;
}

int remove_empty_vaults(const Args& args) {
    if (!args.empty()) return usage("usage: hbxctl remove-empty-vaults");
    std::u16string password;
    read_line(password);
    if (password.empty()) return refuse("Please enter your password.");
    if (!hbx::check_password(password)) return refuse("Incorrect password.");
    std::vector<std::u16string> had_vault;
    for (const auto& root : hbx::all_drive_roots()) {
        if (hbx::platform::exists(hbx::vault_parent(root))) had_vault.push_back(root);
    }
    hbx::LockService::instance().remove_empty_vaults();
    for (const auto& root : had_vault) {
        print(JsonLine().path("root", root).boolean(
            "removed", !hbx::platform::exists(hbx::vault_parent(root))));
    }
    return 0;
}

}  // namespace hbxctl
