// Restarts the shell's Explorer process after registration and unregistration, so that it
// loads (or lets go of) the handlers at once. It uses the Restart Manager, loaded at run time;
// where the system has none (Windows XP), nothing happens and the handlers take effect when
// Explorer next starts. Nothing here is reported: a failed restart never fails registration.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace hbx::shellext {

/// What the choice of the shell's Explorer needs to know about a running process.
struct RunningProcess {
    DWORD id;
    std::u16string image;        // the process image's full file name, any path form
    std::uint64_t created;       // creation time, as the 64 bits of its FILETIME
};

/// The process to restart: the earliest-created one whose image file name is exactly
/// "explorer.exe" (case-sensitive). The identifier 0 with the largest time when none is.
RunningProcess pick_shell_explorer(const std::vector<RunningProcess>& processes);

class ExplorerRestarter {
public:
    /// Loads the Restart Manager and looks up its functions.
    ExplorerRestarter();
    /// Frees the Restart Manager.
    ~ExplorerRestarter();
    ExplorerRestarter(const ExplorerRestarter&) = delete;
    ExplorerRestarter& operator=(const ExplorerRestarter&) = delete;

    /// Shuts the shell's Explorer down and starts it again, when the Restart Manager exists.
    void restart();

private:
    HMODULE library_ = nullptr;
    FARPROC start_session_ = nullptr;
    FARPROC register_resources_ = nullptr;
    FARPROC get_list_ = nullptr;
    FARPROC shutdown_ = nullptr;
    FARPROC restart_ = nullptr;
    FARPROC end_session_ = nullptr;
};

/// The processes running now that this process may query (EnumProcesses, 2048 at most).
std::vector<RunningProcess> running_processes();

}  // namespace hbx::shellext
