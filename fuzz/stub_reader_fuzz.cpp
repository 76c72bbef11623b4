// The stub reader on any bytes: the SRC value is found without crashing; a SRC that the
// engine agrees to follow never leads outside its volume; and setting SRC in any text, as the
// stub writer does, reads back the value that was set.
#include "platform/profile_text.h"
#include "platform/unicode.h"
#include "platform/volume_map.h"
#include "stub.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const hbx::platform::VolumeMap& map() {
    static const hbx::platform::VolumeMap m = hbx::platform::parse_volume_map("D=/vol/d");
    return m;
}

bool blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto value = hbx::platform::profile_value(text, "ENCRYPTINFO", "SRC");
    if (value) {
        std::u16string src = hbx::platform::utf8_to_utf16(*value);
        if (src.size() > 259) src.resize(259);   // the 260-unit buffer
        if (hbx::is_safe_stub_source(src)) {
            const auto native = hbx::platform::map_engine_to_native(map(), u"D:\\" + src);
            if (native.ok && native.native != "/vol/d" && native.native.rfind("/vol/d/", 0) != 0) {
                std::abort();   // followed out of the volume
            }
        }
    }

    // The first line of the input as a value to set: the writer writes it after "SRC=", the
    // reader drops blanks around it and one pair of quotation marks.
    std::string wanted = text.substr(0, text.find_first_of("\r\n"));
    if (wanted.empty() || blank(wanted.front()) || blank(wanted.back())) return 0;
    if (wanted.size() >= 2 && (wanted.front() == '"' || wanted.front() == '\'') &&
        wanted.back() == wanted.front()) {
        return 0;
    }
    const std::string rest = text.substr(std::min(text.size(), wanted.size() + 1));
    const std::string written = hbx::platform::profile_with_value(rest, "ENCRYPTINFO", "SRC", wanted);
    const auto read = hbx::platform::profile_value(written, "ENCRYPTINFO", "SRC");
    if (!read || *read != wanted) std::abort();
    return 0;
}
