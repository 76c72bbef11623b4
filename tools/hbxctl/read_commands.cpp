// The commands that only read: volumes, hash, classify, resolve, stub-target, vault-location,
// unique-name.
#include "command.h"
#include "json_line.h"

#include "item_inspector.h"
#include "lock_service.h"
#include "native_path.h"
#include "platform/platform.h"
#include "platform/volume_map.h"
#include "stub.h"
#include "text.h"
#include "vault.h"

namespace hbxctl {

namespace {

// Runs `body` with the one path argument of a command.
template <typename Body>
int with_path(const Args& args, const char* command, Body body) {
    if (args.size() != 1) return usage(std::string("usage: hbxctl ") + command + " PATH");
    std::u16string path;
    if (!engine_argument(args[0], path)) return usage_status;
    body(path);
    return 0;
}

}  // namespace

int volumes(const Args& args) {
    if (!args.empty()) return usage("usage: hbxctl volumes");
    const std::string problem = hbx::volume_map_problem();
    if (!problem.empty()) return usage(problem);
    for (const auto& drive : hbx::drive_roots()) {
        print(JsonLine()
                  .path("root", drive.root)
                  .text("type", std::string(hbx::platform::drive_type_name(drive.type)))
                  .boolean("item_volume", hbx::is_item_volume_type(drive.type))
                  .boolean("vault", hbx::platform::is_folder(hbx::vault_parent(drive.root))));
    }
    return 0;
}

int hash(const Args& args) {
    if (args.size() != 1) return usage("usage: hbxctl hash TEXT");
    const std::u16string text = hbx::from_utf8(args[0]);
    print(JsonLine().text("text", text).text("hash", hbx::hash_text(text)));
    return 0;
}

int classify(const Args& args) {
    return with_path(args, "classify", [](const std::u16string& path) {
        print(JsonLine().path("path", path).number(
            "kind", hbx::ItemInspector::instance().classify(path)));
    });
}

int resolve(const Args& args) {
    return with_path(args, "resolve", [](const std::u16string& path) {
        std::u16string target;
        const bool stub = hbx::ItemInspector::instance().resolve_stub(path, &target);
        print(JsonLine().path("path", path).boolean("is_stub", stub).path("target", target));
    });
}

int stub_target(const Args& args) {
    return with_path(args, "stub-target", [](const std::u16string& path) {
        print(JsonLine().path("stub", path).path(
            "target", hbx::LockService::instance().stub_target(path)));
    });
}

int vault_location(const Args& args) {
    return with_path(args, "vault-location", [](const std::u16string& path) {
        print(JsonLine().path("path", path).path(
            "vault_location", hbx::LockService::instance().vault_location(path)));
    });
}

int unique_name(const Args& args) {
    return with_path(args, "unique-name", [](const std::u16string& path) {
        print(JsonLine().path("path", path).path("unique", hbx::unique_name(path)));
    });
}

}  // namespace hbxctl
