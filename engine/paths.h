// Path and string utilities over Windows-form paths. Pure string work, the same on every
// system; each follows the shell function named beside it for the paths the engine builds.
#pragma once

#include <string>

namespace hbx {

/// The four parts of a full path (_wsplitpath_s).
struct PathParts {
    std::u16string drive;       // "C:" or empty
    std::u16string directory;   // "\Users\ann\" for C:\Users\ann\a.txt; "\" at a volume root
    std::u16string name;        // without extension
    std::u16string extension;   // from the last dot of the last name, with the dot, or empty
};

/// The first two characters of a path: drive letter and colon.
std::u16string drive_prefix(const std::u16string& path);

/// Every "/" replaced by "\".
std::u16string normalize_slashes(std::u16string path);

/// Splits a full path into drive, directory, name and extension (_wsplitpath_s).
PathParts split_path(const std::u16string& path);

/// PathCombineW: one backslash between the parts; a second part that begins with a single
/// backslash goes under the root of the first; an absolute second part stands alone. Names
/// are not canonicalised ("." and ".." stay as they are).
std::u16string combine(const std::u16string& dir, const std::u16string& name);

/// PathAppendW: the leading backslashes of `more` are dropped, then `combine`.
std::u16string append(const std::u16string& dir, const std::u16string& more);

/// PathRemoveFileSpecW: the path without its last name. False, and `path` unchanged, when
/// nothing can be removed (a volume root).
bool parent(std::u16string& path);

/// PathRemoveBackslashW: a trailing backslash is dropped unless the path is a root.
std::u16string without_trailing_backslash(std::u16string path);

/// PathSkipRootW: the part after "X:\" or after "\\server\share\"; empty for other paths.
std::u16string after_root(const std::u16string& path);

/// a followed by b, nothing inserted.
std::u16string concat(const std::u16string& a, const std::u16string& b);

/// PathFindExtensionW: from the last "." of the last name, empty when there is none or when a
/// blank follows that dot.
std::u16string find_extension(const std::u16string& path);

/// The last name of a path (the text after its last "\" or "/").
std::u16string last_name(const std::u16string& path);

/// StrCmpIW for the engine's purposes: equal without regard to case (ASCII and Latin-1 letters).
bool equal_ignoring_case(const std::u16string& a, const std::u16string& b);

/// True for "X:" followed by "\" or "/" with X a letter: a path the vault model can hold.
bool is_drive_path(const std::u16string& path);

/// Format "%1%%2%%3% (%4%)%5%" as used by unique_name.
std::u16string numbered(const PathParts& parts, int number);

}  // namespace hbx
