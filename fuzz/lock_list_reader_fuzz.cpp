// The lock list reader, and the reader of the source record that stands beside it, on any
// bytes: they never crash or read out of bounds, and what they load, written out again,
// reads back the same.
#include "lock_list.h"
#include "source_record.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::map<std::u16string, std::u16string> entries;
    if (hbx::parse_lock_list(text, entries)) {
        std::map<std::u16string, std::u16string> again;
        if (!hbx::parse_lock_list(hbx::lock_list_json(entries), again) || again != entries) {
            std::abort();
        }
    }
    hbx::SourceMap sources;
    if (hbx::parse_source_record(text, sources)) {
        hbx::SourceMap again;
        if (!hbx::parse_source_record(hbx::source_record_json(sources), again)) std::abort();
        // A folder without items is not written, so it does not come back.
        for (auto it = sources.begin(); it != sources.end();) {
            it = it->second.empty() ? sources.erase(it) : std::next(it);
        }
        if (again != sources) std::abort();
    }
    return 0;
}
