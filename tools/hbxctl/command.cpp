#include "command.h"

#include "native_path.h"
#include "text.h"

#include <cstdio>

namespace hbxctl {

int usage(const std::string& message) {
    std::fprintf(stderr, "hbxctl: %s\n", message.c_str());
    return usage_status;
}

bool engine_argument(const std::string& argument, std::u16string& engine) {
    const bool letter = argument.size() >= 2 && argument[1] == ':' &&
                        ((argument[0] >= 'A' && argument[0] <= 'Z') ||
                         (argument[0] >= 'a' && argument[0] <= 'z'));
    if (letter) {
        engine = hbx::from_utf8(argument);
        // On Linux the letter must be mapped and the path must stay inside its volume.
        const hbx::Converted native = hbx::to_native_path(engine);
        if (!native.ok) usage("refused path: " + native.message);
        return native.ok;
    }
    const hbx::Converted converted = hbx::to_engine_path(argument);
    if (!converted.ok) {
        usage("refused path: " + converted.message);
        return false;
    }
    engine = converted.engine;
    return true;
}

}  // namespace hbxctl
