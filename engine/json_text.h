// The JSON text of the engine's files: how strings are written, and the tolerant reader.
//
// The files are written by the engine's own small writers, byte for byte in the pretty layout
// each file's header describes, and read back through Boost property_tree's JSON reader, which
// accepts any JSON layout.
#pragma once

#include <boost/property_tree/ptree.hpp>

#include <string>

namespace hbx {

/// A JSON string literal of UTF-8 text, with the file writers' escapes: `"` and `\` get a
/// backslash, `/` becomes `\/`, the control characters 8, 9, 10, 12 and 13 become `\b`, `\t`,
/// `\n`, `\f` and `\r`, other bytes below 32 become `\u00XX` (upper-case hexadecimal digits);
/// every other byte, multi-byte UTF-8 included, is written unchanged.
std::string json_string(const std::string& utf8);

/// Parses JSON text. False when it is not JSON (nothing is thrown).
bool parse_json(const std::string& text, boost::property_tree::ptree& tree);

/// The child of `tree` named `key` (the first of several), or nullptr. Keys are compared
/// whole; a "." in them is not a path separator.
const boost::property_tree::ptree* json_child(const boost::property_tree::ptree& tree,
                                              const std::string& key);

}  // namespace hbx
