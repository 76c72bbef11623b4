// The conversion between native Linux paths and engine paths on any bytes, with a fixed volume
// map: an accepted native path becomes an engine path that leads back to exactly it, and an
// accepted engine path leads to a native path inside its volume that leads back to the same
// names. Nothing ever climbs out of a volume.
#include "platform/unicode.h"
#include "platform/volume_map.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace hbx::platform;

const VolumeMap& map() {
    static const VolumeMap m =
        parse_volume_map("C=/home/ann,D=/media/ann/USB:removable,N=/mnt/share:network");
    return m;
}

bool inside(const std::string& native, const Volume& volume) {
    return native == volume.directory || native.rfind(volume.directory + "/", 0) == 0;
}

void check_native(const std::string& text) {
    const Converted engine = map_native_to_engine(map(), text, "/home/ann/work");
    if (!engine.ok) return;
    const Volume* volume = map().find(engine.engine[0]);
    if (volume == nullptr || engine.engine.size() < 3 || engine.engine[1] != u':' ||
        engine.engine[2] != u'\\' || !inside(engine.native, *volume)) {
        std::abort();
    }
    const Converted back = map_engine_to_native(map(), engine.engine);
    if (!back.ok || back.native != engine.native) std::abort();
}

void check_engine(const std::u16string& engine) {
    const Converted native = map_engine_to_native(map(), engine);
    if (!native.ok) {
        if (engine_path_error(map(), engine) == 0) std::abort();   // refused without a reason
        return;
    }
    const Volume* volume = map().find(engine[0]);
    if (volume == nullptr || !inside(native.native, *volume)) std::abort();
    std::vector<std::u16string> names;
    if (split_engine_path(engine, names) != 0) std::abort();
    std::u16string canonical = std::u16string(1, volume->letter) + u":\\";
    for (std::size_t i = 0; i < names.size(); ++i) canonical += (i ? u"\\" : u"") + names[i];
    const Converted back = map_native_to_engine(map(), native.native, "/");
    if (!back.ok || back.engine != canonical) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check_native(std::string(reinterpret_cast<const char*>(data), size));
    std::u16string engine;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        engine += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    check_engine(engine);
    check_engine(utf8_to_utf16(std::string(reinterpret_cast<const char*>(data), size)));
    return 0;
}
