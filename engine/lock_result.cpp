#include "lock_result.h"

#include "text.h"

namespace hbx {

const char* lock_result_message(std::int32_t code) {
    static const char* const messages[] = {
        "Successful.",
        "Unknown error.",
        "Failed to create directory.",
        "Failed to create stub file.",
        "The lock target does not exist.",
        "The lock target name conflict, you can rename it first.",
        "The lock target is on use.",
        "No permission to lock target.",
        "The unlock target does not exist.",
    };
    if (code < 0 || code >= static_cast<std::int32_t>(sizeof messages / sizeof messages[0])) {
        return nullptr;
    }
    return messages[code];
}

std::int32_t lock_move_result(std::uint32_t move_error) {
    switch (move_error) {
        case 5: return LOCK_RESULT_NO_PERMISSION;
        case 32: return LOCK_RESULT_IN_USE;
        case 183: return LOCK_RESULT_NAME_CONFLICT;
        default: return LOCK_RESULT_OTHER;
    }
}

std::int32_t unlock_move_result(std::uint32_t move_error) {
    switch (move_error) {
        case 2: return LOCK_RESULT_UNLOCK_TARGET_MISSING;
        case 5: return LOCK_RESULT_NO_PERMISSION;
        case 32: return LOCK_RESULT_IN_USE;
        default: return LOCK_RESULT_OTHER;
    }
}

std::u16string result_text(const std::u16string& message, std::int32_t system_error) {
    return message + u" (" + from_utf8(std::to_string(system_error)) + u")";
}

std::u16string result_text(const LockError& error) {
    const char* message = lock_result_message(error.code);
    return result_text(message ? from_utf8(message) : std::u16string(), error.system_error);
}

}  // namespace hbx
