// The Linux volume map: which directory stands for which drive letter.
//
// Pure functions, compiled on every system so that their rules are tested in both lanes; only
// the POSIX seam uses them for real. The map comes from HUSHBOX_VOLUMES, for example
//
//   C=/home/ann,E=/media/ann/USB:removable,N=/mnt/share:network
//
// (the type defaults to fixed; the types are fixed, removable, network and cdrom), or, when
// the variable is not set, C: is the home directory and each mount point under /media/$USER
// and /run/media/$USER follows as D:, E:, ... (removable), in mount-table order.
#pragma once

#include "platform.h"

#include <string>
#include <vector>

namespace hbx::platform {

/// One volume: a drive letter (upper case), an absolute directory without trailing slash
/// ("/" for the file-system root), and a drive type.
struct Volume {
    char16_t letter;
    std::string directory;
    DriveType type;
};

/// A volume map, sorted by letter.
struct VolumeMap {
    std::vector<Volume> volumes;
    std::string problem;   // why the map could not be built, or empty

    /// The volume of `letter` (either case), or nullptr.
    const Volume* find(char16_t letter) const;
};

/// Parses the text of HUSHBOX_VOLUMES. A malformed entry, a relative directory, an unknown
/// type or a letter given twice leaves the map empty and names the fault in `problem`.
VolumeMap parse_volume_map(const std::string& text);

/// The map used when HUSHBOX_VOLUMES is not set: `home` as C: (fixed), then every mount point
/// of `mount_points` (in mount-table order) that lies directly under /media/<user> or
/// /run/media/<user>, as D:, E:, ... (removable).
VolumeMap default_volume_map(const std::string& home, const std::string& user,
                             const std::vector<std::string>& mount_points);

/// The mount points listed in the text of /proc/self/mounts, in order, with the octal escapes
/// of the mount table (\040 for a space, ...) undone.
std::vector<std::string> parse_mount_table(const std::string& text);

/// Lexically normalises an absolute native path: repeated slashes are merged, "." is dropped,
/// ".." removes the component before it (never climbing above "/"), and a trailing slash is
/// dropped. A relative path is first joined to `working_directory`.
std::string normalize_native(const std::string& path, const std::string& working_directory);

/// Splits the part of an engine path after its drive root into its names, with "\" and "/"
/// as separators and empty names dropped.
/// @returns 0, or 161 (ERROR_BAD_PATHNAME) when a name is "." or ".." or contains a NUL, or
///          123 (ERROR_INVALID_NAME) when the path is not drive-absolute ("C:" alone is the
///          root; "C:name" is refused).
Error split_engine_path(const std::u16string& engine, std::vector<std::u16string>& names);

/// Engine path to native path through the map. Refused when the letter is not mapped, a name
/// climbs out, or a name holds a lone surrogate (it has no UTF-8 form of its own).
Converted map_engine_to_native(const VolumeMap& map, const std::u16string& engine);

/// Native path (absolute, or relative to `working_directory`) to engine path through the map.
/// The volume whose directory is the longest prefix of the path wins. Refused outside every
/// volume, and for a name with a backslash or one that is no valid UTF-8: neither has an
/// engine form that leads back to it.
Converted map_native_to_engine(const VolumeMap& map, const std::string& native,
                               const std::string& working_directory);

/// The error number for a refused conversion of an engine path (3 for an unmapped letter,
/// 161 for a path that climbs out, 123 for one that is not drive-absolute or holds a lone
/// surrogate).
Error engine_path_error(const VolumeMap& map, const std::u16string& engine);

/// "fixed", "removable", "network", "cdrom", or "unknown".
const char* drive_type_name(DriveType type);

}  // namespace hbx::platform
