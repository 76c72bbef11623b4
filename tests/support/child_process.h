// Test programs that run other test programs: start one or several at once, let them run to
// their end (or be killed), and read what they printed.
#pragma once

#include <string>
#include <vector>

namespace hbx::test {

/// How a child process ended.
struct ChildEnd {
    bool started = false;
    unsigned start_error = 0;   // when it could not be started: the system error (Linux: errno)
    bool killed = false;   // Linux: ended by SIGKILL; Windows: terminated with killed_exit_code
    int exit_code = -1;    // when it exited by itself
    std::string output;    // everything it wrote to its standard output
};

/// The exit code a Windows child gives TerminateProcess when it stops itself as if killed.
constexpr int killed_exit_code = 137;

/// One child process: a program from the test program's own folder, started with `args`
/// (engine paths and words, UTF-16), its standard output collected in a temporary file.
class Child {
public:
    Child(const std::string& program, const std::vector<std::u16string>& args);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    /// Waits for the end of the process and gives how it ended (once).
    ChildEnd wait();

private:
    std::string output_file_;
    bool started_ = false;
    unsigned start_error_ = 0;
#ifdef _WIN32
    void* process_ = nullptr;
#else
    int pid_ = -1;
#endif
};

/// Starts a child and waits for its end.
ChildEnd run_child(const std::string& program, const std::vector<std::u16string>& args);

}  // namespace hbx::test
