// The text rules of profile (INI) files, as the Windows profile functions apply them, for the
// systems that have no such functions. Pure functions over the file's bytes.
#pragma once

#include <optional>
#include <string>

namespace hbx::platform {

/// The value of `key` in `section` of the profile text, as GetPrivateProfileStringW reads it:
/// section and key names compared without regard to ASCII case, blanks around names and value
/// dropped, a value in matching quotation marks unquoted, lines starting with ";" ignored.
/// Nothing when the section or the key is absent.
std::optional<std::string> profile_value(const std::string& text, const std::string& section,
                                         const std::string& key);

/// The profile text after setting `key` in `section`: the key's line is rewritten in place when
/// the key exists; otherwise a line is added after the section's last entry, or the section is
/// appended at the end. Text that does not exist yet becomes "[section]" CRLF "key=value" CRLF.
/// New lines end in CRLF; the other lines keep their bytes.
std::string profile_with_value(const std::string& text, const std::string& section,
                               const std::string& key, const std::string& value);

}  // namespace hbx::platform
