// A stand-in main window for the Windows refresh test, run as a process of its own:
//
//   refresh_window_peer MARKER
//
// It creates a window, prints its refresh endpoint (the handle's 32 bits, in decimal) and runs
// its message loop until the window is closed. Each refresh message appends "reloaded" to the
// file MARKER after a pause, so that a sender released before the reload is caught.
#include "win/window_refresh.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring marker;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (hbx::app::win::is_refresh_message(message)) {
        Sleep(300);
        HANDLE file = CreateFileW(marker.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, "reloaded\n", 9, &written, nullptr);
        CloseHandle(file);
        // then the default handling, as the main window does
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    marker = argv[1];
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"HushboxRefreshPeer";
    RegisterClassW(&window_class);
    HWND window = CreateWindowExW(0, window_class.lpszClassName, L"peer", WS_POPUP, 0, 0, 100, 100,
                                  nullptr, nullptr, window_class.hInstance, nullptr);
    if (window == nullptr) return 3;
    std::printf("%u\n", hbx::app::win::endpoint_of_window(window));
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
