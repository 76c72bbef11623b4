#include "json_text.h"

#include <boost/property_tree/json_parser.hpp>

#include <exception>
#include <sstream>

namespace hbx {

std::string json_string(const std::string& utf8) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '/': out += "\\/"; break;
            case '\b': out += "\\b"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\f': out += "\\f"; break;
            case '\r': out += "\\r"; break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += digits[c >> 4];
                    out += digits[c & 0x0F];
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

bool parse_json(const std::string& text, boost::property_tree::ptree& tree) {
    tree.clear();
    try {
        std::istringstream in(text);
        boost::property_tree::read_json(in, tree);
        return true;
    } catch (const std::exception&) {
        tree.clear();
        return false;
    }
}

const boost::property_tree::ptree* json_child(const boost::property_tree::ptree& tree,
                                              const std::string& key) {
    for (const auto& member : tree) {
        if (member.first == key) return &member.second;
    }
    return nullptr;
}

}  // namespace hbx
