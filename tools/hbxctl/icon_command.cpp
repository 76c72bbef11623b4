// hbxctl icon PATH [--large]: the icon that the engine gives for an item.
//
//   {"path":...,"large":false,"source":...,"is_folder":false,"is_program":false,
//    "handle":true,"origin":"file_type"}
//
// "source" is where the icon comes from (the vault copy or the path itself). On Windows
// "handle" tells whether an icon handle came back and "origin" how it was made ("program":
// the program's own first icon; "file_type": the generic icon of its type; "none"). Linux has
// no icon handles; there each path is followed by its native form.
#include "command.h"
#include "json_line.h"

#include "item_icon.h"
#include "lock_service.h"

namespace hbxctl {

int icon(const Args& args) {
    const char* synopsis = "usage: hbxctl icon PATH [--large]";
    bool large = false;
    std::vector<std::string> paths;
    for (const std::string& arg : args) {
        if (arg == "--large") {
            large = true;
        } else if (arg.compare(0, 2, "--") == 0) {
            return usage("unknown option \"" + arg + "\"; " + synopsis);
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 1) return usage(synopsis);
    std::u16string path;
    if (!engine_argument(paths[0], path)) return usage_status;

    const hbx::ItemIcon icon = hbx::LockService::instance().item_icon(path, large);
    JsonLine line;
    line.path("path", path)
        .boolean("large", large)
        .path("source", icon.source().path)
        .boolean("is_folder", icon.source().is_folder)
        .boolean("is_program", icon.source().is_program);
#ifdef _WIN32
    line.boolean("handle", icon.handle() != nullptr)
        .text("origin", std::string(hbx::icon_origin_name(icon.origin())));
#endif
    print(line);
    return 0;
}

}  // namespace hbxctl
