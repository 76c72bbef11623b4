// Paths at the edge of the program: what the user types, a file manager passes or a chooser
// returns is a native path; the engine works in Windows form. On Windows both are the same
// path; on Linux the volume map turns one into the other.
#pragma once

#include "platform/platform.h"

#include <string>

namespace hbx {

using platform::Converted;

/// A native path (UTF-8; relative to the working directory when not absolute) in engine form.
/// Refused, with a message that names the path, when it lies outside every volume or has a
/// name that no Windows path can hold.
inline Converted to_engine_path(const std::string& native) {
    return platform::native_to_engine(native);
}

/// An engine path in native form (UTF-8). Refused, with a message, when its drive letter is
/// not mapped or it climbs out of its volume.
inline Converted to_native_path(const std::u16string& engine) {
    return platform::engine_to_native(engine);
}

/// Why the volume map cannot be used, or empty.
inline std::string volume_map_problem() { return platform::volume_map_problem(); }

}  // namespace hbx
