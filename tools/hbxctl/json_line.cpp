#include "json_line.h"

#include "native_path.h"
#include "text.h"

#include <cstdio>

namespace hbxctl {

std::string quoted(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

JsonLine& JsonLine::member(const std::string& key, const std::string& json) {
    if (!body_.empty()) body_ += ",";
    body_ += quoted(key) + ":" + json;
    return *this;
}

JsonLine& JsonLine::text(const std::string& key, const std::string& value) {
    return member(key, quoted(value));
}

JsonLine& JsonLine::text(const std::string& key, const std::u16string& value) {
    return member(key, quoted(hbx::to_utf8(value)));
}

JsonLine& JsonLine::number(const std::string& key, long long value) {
    return member(key, std::to_string(value));
}

JsonLine& JsonLine::boolean(const std::string& key, bool value) {
    return member(key, value ? "true" : "false");
}

JsonLine& JsonLine::null(const std::string& key) { return member(key, "null"); }

JsonLine& JsonLine::raw(const std::string& key, const std::string& json) {
    return member(key, json);
}

JsonLine& JsonLine::path(const std::string& key, const std::u16string& engine) {
    text(key, engine);
#ifndef _WIN32
    if (engine.empty()) return text(key + "_native", std::string());
    const hbx::Converted native = hbx::to_native_path(engine);
    if (native.ok) return text(key + "_native", native.native);
    return null(key + "_native");
#else
    return *this;
#endif
}

void print(const JsonLine& line) {
    const std::string out = line.str() + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

}  // namespace hbxctl
