#include "module.h"

#include "wide.h"

#include <atomic>

// The linker's symbol for the start of the image that contains this code.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace hbx::shellext {

namespace {
std::atomic<HINSTANCE> instance{nullptr};
std::atomic<long> locks{0};
std::atomic<bool> per_user{false};
}  // namespace

void set_module_instance(HINSTANCE module) { instance = module; }

HINSTANCE module_instance() {
    HINSTANCE module = instance;
    return module != nullptr ? module : reinterpret_cast<HINSTANCE>(&__ImageBase);
}

std::u16string module_path() {
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(module_instance(), buffer, MAX_PATH);
    return from_wide(buffer);
}

void lock_module() { ++locks; }

void unlock_module() { --locks; }

long module_lock_count() { return locks; }

void set_per_user_registration() { per_user = true; }

bool per_user_registration() { return per_user; }

}  // namespace hbx::shellext
