// concurrency_worker K OPERATIONS PASSWORD: one of several processes that work on the volume D:
// at the same time. It runs OPERATIONS operations on its own items (worker_items.h), chosen at
// random from a sequence seeded by K: an item in its place is locked (then, as the lock dialog
// does, the volume's options file is made sure of) or hidden; a locked or hidden item is
// unlocked or opened; an opened item is locked again as it was. Every operation must succeed.
// At the end it prints one line per item with the state it left it in
// ("<state> <path>", state one of placed, locked, hidden, open-locked, open-hidden) and one
// line per failure ("failed ..."), and exits 1 when anything failed.
#include "lock_service.h"
#include "password.h"
#include "worker_items.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

enum class State { placed, locked, hidden, open_locked, open_hidden };

const char* name_of(State s) {
    switch (s) {
        case State::placed: return "placed";
        case State::locked: return "locked";
        case State::hidden: return "hidden";
        case State::open_locked: return "open-locked";
        default: return "open-hidden";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: concurrency_worker K OPERATIONS PASSWORD\n");
        return 2;
    }
    const int k = std::atoi(argv[1]);
    const int operations = std::atoi(argv[2]);
    const std::u16string password = hbx::from_utf8(argv[3]);
    const auto items = hbx::test::worker_items(k);
    std::vector<State> states(items.size(), State::placed);
    std::mt19937 random(static_cast<unsigned>(k) * 7919u + 1u);
    auto& service = hbx::LockService::instance();
    int failures = 0;

    for (int op = 0; op < operations; ++op) {
        const std::size_t i = random() % items.size();
        const std::u16string& path = items[i].path;
        const bool either = random() % 2 == 0;
        bool ok = true;
        const char* what = "";
        hbx::LOCK_TYPE type = hbx::LOCK_TYPE_LOCK;
        std::u16string place;
        switch (states[i]) {
            case State::placed:
                what = either ? "lock" : "hide";
                ok = service.lock(path, either ? hbx::LOCK_TYPE_LOCK : hbx::LOCK_TYPE_HIDE);
                if (ok && either) ok = hbx::ensure_options(u"D:", password);
                if (ok) states[i] = either ? State::locked : State::hidden;
                break;
            case State::locked:
            case State::hidden: {
                const bool was_locked = states[i] == State::locked;
                what = either ? "unlock" : "open";
                ok = either ? service.unlock(path, type, place) : service.open(path, type, place);
                ok = ok && place == path && type == (was_locked ? hbx::LOCK_TYPE_LOCK
                                                                : hbx::LOCK_TYPE_HIDE);
                if (ok) {
                    states[i] = either ? State::placed
                                       : (was_locked ? State::open_locked : State::open_hidden);
                }
                break;
            }
            case State::open_locked:
            case State::open_hidden: {
                const bool locked = states[i] == State::open_locked;
                what = "relock";
                ok = service.lock(path, locked ? hbx::LOCK_TYPE_LOCK : hbx::LOCK_TYPE_HIDE);
                if (ok) states[i] = locked ? State::locked : State::hidden;
                break;
            }
        }
        if (!ok) {
            hbx::LockError error;
            service.last_error(error);
            std::printf("failed %s %s at operation %d: code %d, system error %d\n", what,
                        hbx::to_utf8(path).c_str(), op, error.code, error.system_error);
            ++failures;
            // The state of the item is no longer known: leave it for the test to see.
            break;
        }
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::printf("%s %s\n", name_of(states[i]), hbx::to_utf8(items[i].path).c_str());
    }
    return failures == 0 ? 0 : 1;
}
