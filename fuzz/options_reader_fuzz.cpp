// The options file reader on any bytes: it never crashes or reads out of bounds, and what it
// loads, written out by the engine's writer, reads back the same.
#include "options.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    hbx::Options options;
    if (!hbx::parse_options(text, options)) return 0;
    hbx::Options again;
    if (!hbx::parse_options(hbx::options_json(options), again) ||
        again.password != options.password || again.machine != options.machine ||
        again.pending != options.pending) {
        std::abort();   // the writer's bytes do not read back as what was written
    }
    return 0;
}
