#include "profile_text.h"

#include <vector>

namespace hbx::platform {

namespace {

struct Line {
    std::size_t begin;   // first byte of the line
    std::size_t end;     // one past the last byte before the line break
    std::size_t next;    // first byte of the following line
};

std::vector<Line> split_lines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t nl = text.find('\n', i);
        const std::size_t next = nl == std::string::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string::npos ? text.size() : nl;
        if (end > i && text[end - 1] == '\r') --end;
        lines.push_back({i, end, next});
        i = next;
    }
    return lines;
}

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& text, std::size_t b, std::size_t e) {
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

bool same_name(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string> section_of(const std::string& line) {
    if (line.empty() || line[0] != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trimmed(line, 1, close);
}

// The key of a "key=value" line and where its value starts, or nothing.
std::optional<std::string> key_of(const std::string& line, std::size_t& value_at) {
    if (line.empty() || line[0] == ';') return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    value_at = eq + 1;
    return trimmed(line, 0, eq);
}

}  // namespace

std::optional<std::string> profile_value(const std::string& text, const std::string& section,
                                         const std::string& key) {
    bool in_section = false;
    for (const Line& l : split_lines(text)) {
        const std::string line = trimmed(text, l.begin, l.end);
        if (auto name = section_of(line)) {
            in_section = same_name(*name, section);
            continue;
        }
        std::size_t value_at = 0;
        auto name = in_section ? key_of(line, value_at) : std::nullopt;
        if (!name || !same_name(*name, key)) continue;
        std::string value = trimmed(line, value_at, line.size());
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return std::nullopt;
}

std::string profile_with_value(const std::string& text, const std::string& section,
                               const std::string& key, const std::string& value) {
    const std::string entry = key + "=" + value;
    const std::vector<Line> lines = split_lines(text);
    bool in_section = false;
    std::size_t insert_at = std::string::npos;   // after the section's last non-blank line
    for (const Line& l : lines) {
        const std::string line = trimmed(text, l.begin, l.end);
        if (auto name = section_of(line)) {
            if (in_section) break;
            in_section = same_name(*name, section);
            if (in_section) insert_at = l.next;
            continue;
        }
        if (!in_section) continue;
        std::size_t value_at = 0;
        if (auto name = key_of(line, value_at); name && same_name(*name, key)) {
            return text.substr(0, l.begin) + entry + text.substr(l.end);
        }
        if (!line.empty()) insert_at = l.next;
    }
    if (insert_at != std::string::npos) {
        std::string before = text.substr(0, insert_at);
        if (!before.empty() && before.back() != '\n') before += "\r\n";
        return before + entry + "\r\n" + text.substr(insert_at);
    }
    std::string out = text;
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    return out + "[" + section + "]\r\n" + entry + "\r\n";
}

}  // namespace hbx::platform
