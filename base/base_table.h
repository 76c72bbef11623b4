// The Base service table: a block of plain functions that the program fills once at start-up
// and keeps for the life of the process. Language loading takes the program's folder and joins
// paths with it, the item chooser remembers where it was used last and filters by name and
// extension, and the login and password dialogs pass passwords through its transform.
//
// Text buffers are 260 UTF-16 units including the terminating NUL; out-buffers arrive cleared.
// A result that would not fit is written as the empty text: a cut-off path could name another
// file, and no entry reports a failure to its caller.
#pragma once

#include <string>

namespace hbx::base {

/// Units of every path buffer of the table, the terminating NUL included.
constexpr int buffer_units = 260;

/// The longest password, in UTF-16 units, that the program's password fields accept. The
/// transform leaves every text of up to this length unchanged.
constexpr int password_units = 16;

/// What the table's handle-based transform hands out. Its second member releases it.
struct TransformHandle {
    void* state;                               // the texts returned so far
    void (*release)(TransformHandle* handle);  // frees the handle and every text it returned
};

struct BaseTable {
    /// The folder of the executable `module` is loaded from; null is the program itself.
    /// On Linux only the program has a module handle: any other handle gives the empty text.
    char16_t* (*module_folder)(const void* module, char16_t* out);

    /// `folder` and `name` joined by one separator ("\" on Windows, "/" on Linux, where the
    /// result is handed to the system); `out` may be the folder's own buffer.
    char16_t* (*join)(const char16_t* folder, const char16_t* name, char16_t* out);

    /// The place the item chooser opens expanded the next time, after `chosen` was picked:
    /// the folder that holds it (a drive root stays itself).
    char16_t* (*chooser_place)(const char16_t* chosen, char16_t* out);

    /// The last component of `path` ("\" and "/" separate components).
    char16_t* (*last_component)(const char16_t* path, char16_t* out);

    /// The extension of the last component with its dot, or the empty text.
    char16_t* (*extension)(const char16_t* path, char16_t* out);

    /// The password transform of `in`, written to `out`, whose address is returned.
    std::u16string* (*transform_password)(std::u16string* out, const std::u16string* in);

    /// A new handle for transform_text; the caller releases it once through its own
    /// release function.
    TransformHandle* (*open_transform)();

    /// The same transform as transform_password, of a NUL-terminated text. The result stays
    /// valid until the handle is released. `reserved` must be 0.
    const char16_t* (*transform_text)(TransformHandle* handle, const char16_t* text,
                                      int reserved);
};

/// Fills every entry of `table`, whatever the block held before. Returns 1.
int fnBase(BaseTable* table);

/// The password transform itself: the text up to its first NUL, cut to password_units units
/// (never through the middle of a surrogate pair). A longer text cannot be typed into the
/// program's password fields, so cutting it keeps every stored password one that the lock and
/// unlock dialogs, which check the typed text without the transform, can accept.
std::u16string transform(const std::u16string& text);

}  // namespace hbx::base
