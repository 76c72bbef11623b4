// The two services: one object each, the result codes and the failure text.
#include "item_inspector.h"
#include "lock_result.h"
#include "lock_service.h"
#include "text.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace hbx;

TEST(LockService, LastErrorStartsAtSuccess) {
    LockError error{7, 7};
    const LockError returned = LockService::instance().last_error(error);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(error.system_error, 0);
    EXPECT_EQ(returned.code, 0);
    EXPECT_EQ(to_utf8(result_text(error)), "Successful. (0)");
}

TEST(LockService, OneObjectPerProcessEvenWhenThreadsRace) {
    std::vector<std::thread> threads;
    std::vector<void*> seen(8);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] {
            seen[i] = (i % 2) ? static_cast<void*>(&LockService::instance())
                              : static_cast<void*>(&ItemInspector::instance());
        });
    }
    for (auto& t : threads) t.join();
    for (std::size_t i = 2; i < seen.size(); ++i) EXPECT_EQ(seen[i], seen[i % 2]);
}

TEST(LockResult, MessagesAndTheFailureText) {
    const struct {
        int code;
        int system_error;
        const char* text;
    } cases[] = {
        {6, 32, "The lock target is on use. (32)"},
        {5, 183, "The lock target name conflict, you can rename it first. (183)"},
        {8, 2, "The unlock target does not exist. (2)"},
        {1, 17, "Unknown error. (17)"},
        {9, 5, " (5)"},
        {-1, 0, " (0)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(to_utf8(result_text(LockError{c.code, c.system_error})), c.text);
    }
    EXPECT_STREQ(lock_result_message(LOCK_RESULT_CREATE_STUB_FAILED), "Failed to create stub file.");
    EXPECT_EQ(lock_result_message(9), nullptr);
}
