// The lock list of a volume, "path.list" in its vault root: each item folder's name (the hash
// of a source folder's directory part) mapped back to that directory part.
//
// The file is UTF-8 JSON, byte for byte this layout ("hash_path" the empty string when the map
// is empty, entries in key order, a line feed after the last brace):
//
//   {
//       "hash_path": {
//           "3C51012B1D0BBBE73FC0A809A58198F9": "\\Users\\ann\\"
//       }
//   }
//
// Any JSON layout reads as long as "hash_path" is present; a repeated key keeps its first
// value, and every "/" of a value reads as "\".
#pragma once

#include "platform/platform.h"

#include <map>
#include <string>

namespace hbx {

/// "X:\...\hbx\path.list" for a volume string.
std::u16string lock_list_file(const std::u16string& volume);

struct LockList {
    std::u16string file_name;
    /// Item folder name to directory part (leading and trailing backslash, no drive).
    std::map<std::u16string, std::u16string> entries;

    /// An empty list for the file `file_name`.
    static LockList create(const std::u16string& file_name);

    /// Reads the file. False when it is missing, empty, no JSON or lacks "hash_path"; the
    /// entries read before a failure stay, and callers go on with them.
    bool load();

    /// Writes the file whole (missing vault folders are created hidden, the file is replaced
    /// atomically). @returns 0 or the error of the write.
    platform::Error save() const;

    /// Enters hash_text(directory) with the value `directory` and returns the hash. An existing
    /// entry keeps its value: when another directory part with the same hash holds it, the
    /// source record (source_record.h) names the items that came from this one.
    std::u16string add(const std::u16string& directory);

    /// The directory part of an item folder name, or empty.
    std::u16string lookup(const std::u16string& hash) const;
};

/// The bytes of a lock list file holding `entries`.
std::string lock_list_json(const std::map<std::u16string, std::u16string>& entries);

/// Reads the bytes of a lock list file into `entries` (cleared first). False when the text is
/// no JSON or lacks "hash_path".
bool parse_lock_list(const std::string& text, std::map<std::u16string, std::u16string>& entries);

}  // namespace hbx
