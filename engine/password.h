// The password: its hash lives in the options file of each volume that holds locked items;
// there is no central copy. The lookup walks the volumes in drive order.
//
// The stored hash is hash_text of the password, which covers only the first half of the
// text's UTF-16 bytes (see text.h): stored files of every build depend on exactly that.
#pragma once

#include <string>

namespace hbx {

/// The hash of the first volume, in drive order, whose options file loads with an empty
/// "machine" and a non-empty password; empty when there is none.
std::u16string stored_password_hash();

/// True when some volume carries a password hash.
bool has_password();

/// True when `password` hashes to stored_password_hash() (hexadecimal digits compared without
/// regard to case); false when no hash is stored.
bool check_password(const std::u16string& password);

/// The options file of `volume` (a volume string) decides when it loads, whatever its
/// "machine"; otherwise check_password.
bool check_password_on_volume(const std::u16string& volume, const std::u16string& password);

/// Writes the hash of `password` into every options file that loads with an empty "machine",
/// on every volume. When no file takes part, the vault of "C:" receives a new options file
/// (keeping the pending entries that could be read from a file there that did not load). A
/// failed write is never followed by a new file over one that holds pending entries.
/// @returns true when every file that took part was written.
bool set_password(const std::u16string& password);

/// Makes sure the options file of `volume` loads: when it does, nothing is written (whatever
/// password it holds); otherwise it is written with the hash of `password`, an empty "machine"
/// and the pending entries that could be read. @returns true when it loads or was written.
bool ensure_options(const std::u16string& volume, const std::u16string& password);

}  // namespace hbx
