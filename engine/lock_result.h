// The engine's result codes, their messages, and the failure text shown to the user.
#pragma once

#include <cstdint>
#include <string>

namespace hbx {

/// Why a lock, unlock or open failed.
enum LOCK_RESULT : std::int32_t {
    LOCK_RESULT_SUCCESS = 0,
    LOCK_RESULT_OTHER = 1,
    LOCK_RESULT_CREATE_DIRECTORY_FAILED = 2,
    LOCK_RESULT_CREATE_STUB_FAILED = 3,
    LOCK_RESULT_LOCK_TARGET_MISSING = 4,
    LOCK_RESULT_NAME_CONFLICT = 5,
    LOCK_RESULT_IN_USE = 6,
    LOCK_RESULT_NO_PERMISSION = 7,
    LOCK_RESULT_UNLOCK_TARGET_MISSING = 8,
};

/// The most recent failure: a LOCK_RESULT and the Windows error number that caused it.
struct LockError {
    std::int32_t code = LOCK_RESULT_SUCCESS;
    std::int32_t system_error = 0;
};

/// The code of a lock whose move into the vault failed with the Windows error `move_error`:
/// 5 gives LOCK_RESULT_NO_PERMISSION, 32 LOCK_RESULT_IN_USE, 183 LOCK_RESULT_NAME_CONFLICT,
/// anything else LOCK_RESULT_OTHER.
std::int32_t lock_move_result(std::uint32_t move_error);

/// The code of an unlock or open whose move back failed with `move_error`: 2 gives
/// LOCK_RESULT_UNLOCK_TARGET_MISSING, 5 LOCK_RESULT_NO_PERMISSION, 32 LOCK_RESULT_IN_USE,
/// anything else (183 and 3 among them) LOCK_RESULT_OTHER.
std::int32_t unlock_move_result(std::uint32_t move_error);

/// The untranslated English message of a code (UTF-8), or nullptr for a code outside the table.
/// The program translates these texts in the context "QObject".
const char* lock_result_message(std::int32_t code);

/// The failure text: "%1 (%2)" with the message and the system error in decimal.
std::u16string result_text(const std::u16string& message, std::int32_t system_error);

/// The failure text of an error with the untranslated message (empty for an unknown code).
std::u16string result_text(const LockError& error);

}  // namespace hbx
