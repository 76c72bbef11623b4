// The options file of a volume, "options.cfg" in its vault root: the hash of the one password
// and the pending list (the items of the volume that are open for the moment and must be
// locked or hidden again).
//
// The file is UTF-8 JSON, byte for byte this layout (every value a JSON string, "pending" the
// empty string when there are no entries, a line feed after the last brace):
//
//   {
//       "user": {
//           "password": "2C0D7EE4567F7E08BFD9175B516A183C",
//           "machine": ""
//       },
//       "pending": [
//           {
//               "path": "\\Users\\ann\\a.txt",
//               "type": "0"
//           }
//       ]
//   }
//
// Any JSON layout reads: "type" may be a number or a string holding an integer, "pending" an
// array, an object (member names ignored) or a string, and a repeated path keeps its first type.
// A file without "user" with "password" and "machine", without "pending", with a pending entry
// lacking "path" or an integer "type", or that is no JSON, does not load.
#pragma once

#include "item_kind.h"
#include "platform/platform.h"

#include <map>
#include <string>

namespace hbx {

/// "X:\...\hbx\options.cfg" for a volume string.
std::u16string options_file(const std::u16string& volume);

/// The pending-list key of an item: its current full path (slashes normalised) without drive
/// letter and colon, for example "\Users\ann\a.txt".
std::u16string pending_key(const std::u16string& path);

struct Options {
    std::u16string file_name;   // vault root of the volume followed by "options.cfg"
    std::u16string password;    // hash_text of the password, or empty
    std::u16string machine;     // written empty; a file whose machine is set belongs elsewhere
    /// Pending items: key as pending_key gives it, value the LOCK_TYPE the item had. Ordered by
    /// UTF-16 code units, case counts.
    std::map<std::u16string, LOCK_TYPE> pending;

    /// An empty object for the file `file_name`.
    static Options create(const std::u16string& file_name);

    /// Reads the file: password, machine, then pending. False when the file is missing, empty
    /// or does not load (see above); the fields read before the failure stay.
    bool load();

    /// Writes the file whole (missing vault folders are created hidden, the file is replaced
    /// atomically). @returns 0 or the error of the write.
    platform::Error save() const;

    /// Adds a pending entry unless its key is present (an existing entry keeps its type).
    /// @returns true when it was added.
    bool add_pending(const std::u16string& key, LOCK_TYPE type);
};

/// The bytes of the file for `options` (its file_name is not used).
std::string options_json(const Options& options);

/// Reads the bytes of an options file into password, machine and pending, which are cleared
/// first. @returns false when the text does not load; the fields read before stay.
bool parse_options(const std::string& text, Options& options);

}  // namespace hbx
