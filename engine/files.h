// Folder and whole-file utilities of the vault.
#pragma once

#include "platform/platform.h"

#include <optional>
#include <string>
#include <vector>

namespace hbx {

using platform::Error;
using platform::FolderEntry;

/// Creates a folder and whatever of its ancestors is missing, from the outermost inwards;
/// each level it creates is hidden at once, levels that already exist keep their attributes.
/// @returns 0 when every level exists afterwards, or the error of the first level that could
///          not be made (the levels made before it stay).
Error create_folder_chain(const std::u16string& path);

/// The entries of a folder ("." and ".." left out), in the file system's order; empty when the
/// folder cannot be opened.
std::vector<FolderEntry> list_folder(const std::u16string& folder);

/// The largest engine file that is read (8 MiB). The engine's own files stay far below it (a
/// pending entry or a lock list entry is a few hundred bytes); a bigger one is no file the
/// engine wrote, and reading and parsing it would cost seconds and gigabytes.
constexpr std::size_t engine_file_limit = 8u << 20;

/// The bytes of a file; nothing when it is missing, unreadable, empty or larger than
/// engine_file_limit.
std::optional<std::string> read_whole_file(const std::u16string& path);

/// Writes a file whole: the missing folders of its path are created hidden first, then the
/// file is replaced atomically, so an interrupted write never leaves it empty or short.
/// @returns 0, or the error of the folder or the write.
Error write_whole_file(const std::u16string& path, const std::string& bytes);

}  // namespace hbx
