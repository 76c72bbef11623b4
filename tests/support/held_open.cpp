#include "held_open.h"

#include "native_path.h"
#include "test_volumes.h"
#include "text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace hbx::test {

namespace {
const char* mode_name(HeldOpen::How how) {
    return how == HeldOpen::How::file ? "file" : "folder";
}
}  // namespace

#ifdef _WIN32

HeldOpen::HeldOpen(const std::u16string& path, How how) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE child_out_read, child_out_write, child_in_read, child_in_write;
    CreatePipe(&child_out_read, &child_out_write, &inherit, 0);
    CreatePipe(&child_in_read, &child_in_write, &inherit, 0);
    SetHandleInformation(child_out_read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(child_in_write, HANDLE_FLAG_INHERIT, 0);
    std::u16string command = u"\"" + from_utf8(program_folder()) + u"\\hold_open.exe\" " +
                             from_utf8(mode_name(how)) + u" \"" + path + u"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = child_in_read;
    startup.hStdOutput = child_out_write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr,
                       TRUE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
    }
    CloseHandle(child_out_write);
    CloseHandle(child_in_read);
    input_ = child_in_write;
    char reply[8] = {};
    DWORD got = 0;
    if (process_ != nullptr && ReadFile(child_out_read, reply, 5, &got, nullptr)) {
        holding_ = got == 5 && std::string(reply, 5) == "ready";
    }
    CloseHandle(child_out_read);
}

HeldOpen::~HeldOpen() {
    CloseHandle(static_cast<HANDLE>(input_));
    if (process_ != nullptr) {
        if (WaitForSingleObject(static_cast<HANDLE>(process_), 10000) != WAIT_OBJECT_0) {
            TerminateProcess(static_cast<HANDLE>(process_), 1);
        }
        CloseHandle(static_cast<HANDLE>(process_));
    }
}

#else

HeldOpen::HeldOpen(const std::u16string& path, How how) {
    const Converted native = to_native_path(path);
    if (!native.ok) return;
    int to_child[2], from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_child[0], 0);
    posix_spawn_file_actions_adddup2(&actions, from_child[1], 1);
    posix_spawn_file_actions_addclose(&actions, to_child[1]);
    posix_spawn_file_actions_addclose(&actions, from_child[0]);
    const std::string program = program_folder() + "/hold_open";
    const std::string mode = mode_name(how);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(mode.c_str()),
                    const_cast<char*>(native.native.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) == 0) pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    close(to_child[0]);
    close(from_child[1]);
    input_ = to_child[1];
    char reply[5] = {};
    std::size_t got = 0;
    while (pid_ > 0 && got < 5) {
        const ssize_t n = read(from_child[0], reply + got, 5 - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    holding_ = got == 5 && std::string(reply, 5) == "ready";
    close(from_child[0]);
}

HeldOpen::~HeldOpen() {
    if (input_ >= 0) close(input_);
    if (pid_ > 0) {
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

#endif

}  // namespace hbx::test
