// crash_child AT OPERATION ARGUMENTS...: one mutating operation of the engine, run by the crash
// harness in a process of its own. The engine here is the harness's build with step
// boundaries: the process stops itself dead at boundary AT (1 is the first), as a kill from
// outside would stop it. With AT 0 it runs to the end and prints every boundary it passed, one
// per line ("step<TAB>where"), then the operation's outcome ("result ok", or "result failed"
// with the code and the system error).
//
// AT may also be "N:MARKER" (MARKER a native path): at boundary N the process does not stop
// but makes the file MARKER.paused and waits until the file MARKER.go exists, then goes on. A
// test can so hold one process at a chosen moment while another one runs.
//
// Operations:
//   lock PATH TYPE        LockService::lock
//   unlock PATH           LockService::unlock
//   open PATH             LockService::open
//   relock-pending        LockService::relock_pending
//   remove-empty-vaults   LockService::remove_empty_vaults
//   set-password TEXT     set_password
//   ensure-options VOLUME TEXT   ensure_options
#include "lock_service.h"
#include "password.h"
#include "platform/crash_point.h"
#include "text.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace {

long stop_at = 0;
long passed = 0;
std::string pause_marker;   // when set, boundary stop_at pauses instead of stopping

bool file_exists(const std::string& path) {
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}

void pause_here() {
    if (std::FILE* f = std::fopen((pause_marker + ".paused").c_str(), "wb")) std::fclose(f);
    while (!file_exists(pause_marker + ".go")) {
#ifdef _WIN32
        Sleep(5);
#else
        usleep(5000);
#endif
    }
}

[[noreturn]] void stop_dead() {
    std::fflush(stdout);
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), 137);
    for (;;) Sleep(1000);
#else
    kill(getpid(), SIGKILL);
    for (;;) pause();
#endif
}

int run(const std::vector<std::u16string>& args) {
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: crash_child AT OPERATION ARGUMENTS...\n");
        return 2;
    }
    const std::string at = hbx::to_utf8(args[0]);
    stop_at = std::atol(at.c_str());
    if (const std::size_t colon = at.find(':'); colon != std::string::npos) {
        pause_marker = at.substr(colon + 1);
    }
    const std::u16string& op = args[1];
    const auto arg = [&](std::size_t i) { return i + 2 < args.size() ? args[i + 2] : u""; };
    auto& service = hbx::LockService::instance();
    bool ok = true;
    bool reports_error = true;
    if (op == u"lock") {
        ok = service.lock(arg(0), std::atoi(hbx::to_utf8(arg(1)).c_str()));
    } else if (op == u"unlock" || op == u"open") {
        hbx::LOCK_TYPE type = hbx::LOCK_TYPE_LOCK;
        std::u16string place;
        ok = op == u"unlock" ? service.unlock(arg(0), type, place)
                             : service.open(arg(0), type, place);
    } else if (op == u"relock-pending") {
        service.relock_pending();
        reports_error = false;
    } else if (op == u"remove-empty-vaults") {
        service.remove_empty_vaults();
        reports_error = false;
    } else if (op == u"set-password") {
        ok = hbx::set_password(arg(0));
        reports_error = false;
    } else if (op == u"ensure-options") {
        ok = hbx::ensure_options(arg(0), arg(1));
        reports_error = false;
    } else {
        std::fprintf(stderr, "crash_child: unknown operation %s\n", hbx::to_utf8(op).c_str());
        return 2;
    }
    if (ok) {
        std::printf("result ok\n");
    } else if (reports_error) {
        hbx::LockError error;
        service.last_error(error);
        std::printf("result failed %d %d\n", error.code, error.system_error);
    } else {
        std::printf("result failed\n");
    }
    return 0;
}

}  // namespace

namespace hbx::platform {

void crash_point(const char* step, const std::string& where) {
    ++passed;
    if (passed == stop_at) {
        if (pause_marker.empty()) stop_dead();
        pause_here();
    }
    if (stop_at == 0) std::printf("%s\t%s\n", step, where.c_str());
}

}  // namespace hbx::platform

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    return run(args);
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) args.push_back(hbx::from_utf8(argv[i]));
    return run(args);
}
#endif
