// One JSON object on one line, the output unit of hbxctl.
#pragma once

#include <string>

namespace hbxctl {

class JsonLine {
public:
    JsonLine& text(const std::string& key, const std::string& value);
    JsonLine& text(const std::string& key, const std::u16string& value);
    JsonLine& number(const std::string& key, long long value);
    JsonLine& boolean(const std::string& key, bool value);
    JsonLine& null(const std::string& key);
    /// An engine path; on Linux followed by "<key>_native" with its native form (null when the
    /// path has none).
    JsonLine& path(const std::string& key, const std::u16string& engine);
    /// A JSON value written as it is (for example a nested object).
    JsonLine& raw(const std::string& key, const std::string& json);

    std::string str() const { return "{" + body_ + "}"; }

private:
    JsonLine& member(const std::string& key, const std::string& json);
    std::string body_;
};

/// A JSON string literal of UTF-8 text.
std::string quoted(const std::string& utf8);

/// Writes the line and a line feed to stdout.
void print(const JsonLine& line);

}  // namespace hbxctl
