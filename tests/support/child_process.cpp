#include "child_process.h"

#include "platform/platform.h"
#include "test_volumes.h"
#include "text.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace hbx::test {

namespace {

std::atomic<unsigned> next_output{0};

#ifndef _WIN32
std::string slurp(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
#endif

}  // namespace

#ifdef _WIN32

Child::Child(const std::string& program, const std::vector<std::u16string>& args) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::u16string output =
        std::u16string(reinterpret_cast<const char16_t*>(temp)) + u"hbx-child-" +
        from_utf8(std::to_string(GetCurrentProcessId()) + "-" + std::to_string(next_output++)) +
        u".out";
    output_file_ = to_utf8(output);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW(reinterpret_cast<const wchar_t*>(output.c_str()), GENERIC_WRITE,
                             FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    std::u16string command = u"\"" + from_utf8(program_folder()) + u"\\" + from_utf8(program) +
                             u".exe\"";
    for (const auto& arg : args) command += u" \"" + arg + u"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    // Under Wine a start has been seen to fail, rarely, in long runs of short-lived children
    // (the crash harness starts thousands); a failed start is tried again a few times before
    // the test hears of it. A child that started and then failed is never started again.
    for (int attempt = 0; attempt < 5 && !started_; ++attempt) {
        if (attempt > 0) Sleep(200);
        std::u16string line = command;   // CreateProcessW may write into its command line
        PROCESS_INFORMATION info = {};
        if (CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr,
                           TRUE, 0, nullptr, nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            started_ = true;
            start_error_ = 0;
        } else {
            start_error_ = GetLastError();
        }
    }
    CloseHandle(out);
}

Child::~Child() {
    if (process_ != nullptr) {
        WaitForSingleObject(static_cast<HANDLE>(process_), INFINITE);
        CloseHandle(static_cast<HANDLE>(process_));
    }
    DeleteFileW(reinterpret_cast<const wchar_t*>(from_utf8(output_file_).c_str()));
}

ChildEnd Child::wait() {
    ChildEnd end;
    end.started = started_;
    end.start_error = start_error_;
    if (process_ == nullptr) return end;
    WaitForSingleObject(static_cast<HANDLE>(process_), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(static_cast<HANDLE>(process_), &code);
    CloseHandle(static_cast<HANDLE>(process_));
    process_ = nullptr;
    end.killed = code == static_cast<DWORD>(killed_exit_code);
    end.exit_code = static_cast<int>(code);
    platform::read_file(from_utf8(output_file_), end.output);
    return end;
}

#else

Child::Child(const std::string& program, const std::vector<std::u16string>& args) {
    const char* tmp = std::getenv("TMPDIR");
    output_file_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/hbx-child-" +
                   std::to_string(getpid()) + "-" + std::to_string(next_output++) + ".out";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output_file_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string path = program_folder() + "/" + program;
    std::vector<std::string> words = {path};
    for (const auto& arg : args) words.push_back(to_utf8(arg));
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    if (spawned == 0) {
        pid_ = pid;
        started_ = true;
    } else {
        start_error_ = static_cast<unsigned>(spawned);
    }
    posix_spawn_file_actions_destroy(&actions);
}

Child::~Child() {
    if (pid_ > 0) {
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    unlink(output_file_.c_str());
}

ChildEnd Child::wait() {
    ChildEnd end;
    end.started = started_;
    end.start_error = start_error_;
    if (pid_ <= 0) return end;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    end.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    end.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    end.output = slurp(output_file_);
    return end;
}

#endif

ChildEnd run_child(const std::string& program, const std::vector<std::u16string>& args) {
    Child child(program, args);
    return child.wait();
}

}  // namespace hbx::test
