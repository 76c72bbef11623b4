#include "explorer_restarter.h"

#include "wide.h"

#include <psapi.h>
#include <restartmanager.h>

#include <limits>

namespace hbx::shellext {

namespace {

using StartSession = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RegisterResources = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT,
                                         LPCWSTR*);
using GetList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, LPDWORD);
using Shutdown = DWORD(WINAPI*)(DWORD, ULONG, RM_WRITE_STATUS_CALLBACK);
using Restart = DWORD(WINAPI*)(DWORD, DWORD, RM_WRITE_STATUS_CALLBACK);
using EndSession = DWORD(WINAPI*)(DWORD);

template <class F>
F as(FARPROC function) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(function));
}

std::uint64_t time_bits(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

RunningProcess pick_shell_explorer(const std::vector<RunningProcess>& processes) {
    RunningProcess earliest{0, u"", std::numeric_limits<std::uint64_t>::max()};
    for (const RunningProcess& process : processes) {
        const std::size_t slash = process.image.find_last_of(u"\\/");
        const std::u16string name =
            slash == std::u16string::npos ? process.image : process.image.substr(slash + 1);
        if (name == u"explorer.exe" && process.created < earliest.created) earliest = process;
    }
    return earliest;
}

std::vector<RunningProcess> running_processes() {
    std::vector<DWORD> ids(2048);
    DWORD bytes = 0;
    std::vector<RunningProcess> processes;
    if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) {
        return processes;
    }
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (process == nullptr) continue;
        wchar_t image[MAX_PATH] = {};
        FILETIME created{}, exited{}, kernel{}, user{};
        if (GetProcessImageFileNameW(process, image, MAX_PATH) > 0 &&
            GetProcessTimes(process, &created, &exited, &kernel, &user)) {
            processes.push_back({ids[i], from_wide(image), time_bits(created)});
        }
        CloseHandle(process);
    }
    return processes;
}

ExplorerRestarter::ExplorerRestarter() {
    library_ = LoadLibraryW(L"Rstrtmgr.dll");
    if (library_ == nullptr) return;
    start_session_ = GetProcAddress(library_, "RmStartSession");
    register_resources_ = GetProcAddress(library_, "RmRegisterResources");
    get_list_ = GetProcAddress(library_, "RmGetList");
    shutdown_ = GetProcAddress(library_, "RmShutdown");
    restart_ = GetProcAddress(library_, "RmRestart");
    end_session_ = GetProcAddress(library_, "RmEndSession");
}

ExplorerRestarter::~ExplorerRestarter() {
    if (library_ != nullptr) FreeLibrary(library_);
}

void ExplorerRestarter::restart() {
    if (library_ == nullptr || start_session_ == nullptr || register_resources_ == nullptr ||
        get_list_ == nullptr || shutdown_ == nullptr || restart_ == nullptr ||
        end_session_ == nullptr) {
        return;
    }
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (as<StartSession>(start_session_)(&session, 0, key) != ERROR_SUCCESS) return;

    const RunningProcess explorer = pick_shell_explorer(running_processes());
    RM_UNIQUE_PROCESS process{};
    process.dwProcessId = explorer.id;
    process.ProcessStartTime.dwLowDateTime = static_cast<DWORD>(explorer.created);
    process.ProcessStartTime.dwHighDateTime = static_cast<DWORD>(explorer.created >> 32);

    as<RegisterResources>(register_resources_)(session, 0, nullptr, 1, &process, 0, nullptr);
    UINT needed = 0;
    UINT count = 16;
    RM_PROCESS_INFO affected[16] = {};
    DWORD reasons = RmRebootReasonNone;
    const DWORD listed =
        as<GetList>(get_list_)(session, &needed, &count, affected, &reasons);
    // Explorer is shut down only when the list could be had and nothing calls for a reboot.
    if ((listed == ERROR_SUCCESS || listed == ERROR_MORE_DATA) && reasons == RmRebootReasonNone) {
        as<Shutdown>(shutdown_)(session, RmForceShutdown, nullptr);
    }
    as<Restart>(restart_)(session, 0, nullptr);
    as<EndSession>(end_session_)(session);
}

}  // namespace hbx::shellext
