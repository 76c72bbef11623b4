// Stub files: what stands at a locked item's place.
//
// The stub of C:\Users\ann\a.txt is the file C:\Users\ann\a.txt.hbxfile (".hbxfolder" for a
// folder), a profile file of two lines:
//
//   [ENCRYPTINFO]
//   SRC=Users\ann\a.txt
//
// each ended by CR LF, in the system's ANSI code page (UTF-8 on Linux), without byte-order
// mark. SRC is the source path after its drive root; nothing in it is a hash or a key.
#pragma once

#include "platform/platform.h"

#include <string>

namespace hbx {

/// The pair that ties an item to its stub.
struct StubInfo {
    std::u16string target;   // the item's source path, without trailing backslash
    std::u16string stub;     // target followed by ".hbxfolder" or ".hbxfile"
};

constexpr char16_t file_stub_extension[] = u".hbxfile";
constexpr char16_t folder_stub_extension[] = u".hbxfolder";

/// The stub of an item at `source` (a file, or a folder when `is_folder`).
StubInfo stub_info_for_item(const std::u16string& source, bool is_folder);

/// The stub at `stub_path`; its target is that path without its last extension.
StubInfo stub_info_for_stub(const std::u16string& stub_path);

/// Writes (or updates) the stub's SRC. @returns 0 or the system error of the write.
platform::Error write_stub(const StubInfo& info);

/// The SRC value of the stub, empty when the stub, its section or its key cannot be read.
std::u16string read_stub(const StubInfo& info);

/// Deletes the stub file. @returns 0 or the system error.
platform::Error delete_stub(const StubInfo& info);

/// True when a stub's SRC may be followed: a path relative to the volume root that neither
/// names a drive or a network root nor climbs out with "..". A crafted stub must never lead
/// an unlock outside its volume.
bool is_safe_stub_source(const std::u16string& src);

/// `path` itself when nothing exists there, else the first free "name (i).ext" for i from 2
/// up to 9999 (a name already ending in " (d)" with one digit d from 2 to 9 drops those four
/// characters first); when all are taken, the variant 9999 although it exists.
std::u16string unique_name(const std::u16string& path);

}  // namespace hbx
