// The source record of a volume, "sources.list" in its vault root: where the items of a shared
// item folder came from.
//
// An item folder is named by hash_text of its items' directory part, and that hash covers only
// the first half of the text's bytes, so two source folders of one length that agree in their
// first half, such as \Users\ann\docs\ and \Users\ann\pics\, share one item folder. The lock
// list has one entry per item folder and keeps the directory part that came first. For every
// item in the vault whose own directory part is not the one the lock list names, the record
// names it, so that the listing shows the item at its own source path and unlocking from the
// list brings it back there. Nothing else reads the record: a vault without it lists as the
// lock list says, and a build that does not know the record keeps working on the vault. The
// file exists only while it holds an entry.
//
//   {
//       "sources": {
//           "3F92B9032FD3733936F55BECC26EF2D1": {
//               "b.txt": "\\Users\\ann\\pics\\"
//           }
//       }
//   }
#pragma once

#include "platform/platform.h"

#include <map>
#include <string>

namespace hbx {

/// "X:\...\hbx\sources.list" for a volume string.
std::u16string source_record_file(const std::u16string& volume);

/// Item folder name, then item name, to the item's own directory part.
using SourceMap = std::map<std::u16string, std::map<std::u16string, std::u16string>>;

struct SourceRecord {
    std::u16string file_name;
    SourceMap sources;

    /// An empty record for the file `file_name`.
    static SourceRecord create(const std::u16string& file_name);

    /// Reads the file. False when it is missing or does not read; then the record is empty.
    bool load();

    /// Writes the file whole, or deletes it when the record is empty.
    /// @returns 0 or the error of the write or delete.
    platform::Error save() const;

    /// The directory part recorded for the item `name` of the item folder `folder`, or empty.
    std::u16string lookup(const std::u16string& folder, const std::u16string& name) const;

    /// Records `directory` for the item. @returns true when the record changed.
    bool set(const std::u16string& folder, const std::u16string& name,
             const std::u16string& directory);

    /// Forgets the item. @returns true when the record changed.
    bool remove(const std::u16string& folder, const std::u16string& name);
};

/// The bytes of a record file.
std::string source_record_json(const SourceMap& sources);

/// Reads the bytes of a record file into `sources` (cleared first); every "/" of a directory
/// part reads as "\". False when the text is no JSON or lacks "sources".
bool parse_source_record(const std::string& text, SourceMap& sources);

}  // namespace hbx
