// The Windows half of the refresh message and of the frame's hit test, with real windows: the
// refresh message crosses into another process and returns only after that process reloaded.
#include "win/window_refresh.h"

#include "test_volumes.h"
#include "text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using namespace hbx;
using namespace hbx::app;

namespace {

// The stand-in main window in its own process; its endpoint is read from its first line.
class PeerWindow {
public:
    explicit PeerWindow(const std::u16string& marker) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE out_read, out_write;
        CreatePipe(&out_read, &out_write, &inherit, 0);
        SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
        std::u16string command = u"\"" + from_utf8(test::program_folder()) +
                                 u"\\refresh_window_peer.exe\" \"" + marker + u"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out_write;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION info = {};
        if (CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr,
                           TRUE, 0, nullptr, nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
        }
        CloseHandle(out_write);
        std::string line;
        char c;
        DWORD got = 0;
        while (process_ && ReadFile(out_read, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
            line += c;
        }
        CloseHandle(out_read);
        if (!line.empty()) endpoint_ = static_cast<RefreshEndpoint>(std::stoul(line));
    }
    ~PeerWindow() { close(); }

    RefreshEndpoint endpoint() const { return endpoint_; }

    // Closes the window, which ends the process.
    void close() {
        if (process_ == nullptr) return;
        SendMessageW(static_cast<HWND>(win::window_of_endpoint(endpoint_)), WM_CLOSE, 0, 0);
        WaitForSingleObject(process_, INFINITE);
        CloseHandle(process_);
        process_ = nullptr;
    }

private:
    HANDLE process_ = nullptr;
    RefreshEndpoint endpoint_ = 0;
};

HWND make_window(int x, int y, int width, int height) {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"HushboxTestFrame";
    RegisterClassW(&window_class);
    return CreateWindowExW(0, window_class.lpszClassName, L"frame", WS_POPUP, x, y, width, height,
                           nullptr, nullptr, window_class.hInstance, nullptr);
}

}  // namespace

TEST(WindowRefresh, EndpointsAreHandlesSignExtended) {
    HWND window = make_window(0, 0, 10, 10);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(win::window_of_endpoint(win::endpoint_of_window(window)), window);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(win::window_of_endpoint(0x80000010u)),
              static_cast<std::uintptr_t>(0xFFFFFFFF80000010ull));
    EXPECT_EQ(win::window_of_endpoint(0x0001002Au), reinterpret_cast<void*>(0x1002A));
    DestroyWindow(window);
}

TEST(WindowRefresh, RefreshMessageWaitsForTheReloadInAnotherProcess) {
    test::TestVolumes volumes;
    const std::u16string marker = test::TestVolumes::at(u'C', u"hbxtest\\reloads");
    PeerWindow main(marker);
    ASSERT_NE(main.endpoint(), 0u);
    EXPECT_TRUE(send_refresh(main.endpoint()));
    EXPECT_EQ(test::read_file(marker), "reloaded\n");
    EXPECT_TRUE(send_refresh(main.endpoint()));
    EXPECT_EQ(test::read_file(marker), "reloaded\nreloaded\n");

    const RefreshEndpoint gone = main.endpoint();
    main.close();
    EXPECT_FALSE(send_refresh(gone));   // no window answers any more
    EXPECT_FALSE(send_refresh(0));
}

TEST(WindowRefresh, FrameAnswersTheHitTestInScreenCoordinates) {
    HWND frame = make_window(200, 100, 490, 144);
    ASSERT_NE(frame, nullptr);
    FrameLayout layout;
    layout.margin = 6;
    layout.height = 144;
    layout.title_width = 478;
    layout.title_height = 30;
    layout.close_button = {448, 0, 30, 30};
    const struct {
        int x, y;   // in frame coordinates
        bool answered;
        std::intptr_t result;
        const char* where;
    } cases[] = {
        {100, 20, true, HTCAPTION, "title bar"},
        {460, 20, true, HTCLIENT, "close button"},
        {100, 100, true, HTCLIENT, "content"},
        {2, 100, false, 0, "shadow margin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        std::intptr_t result = -1;
        const LPARAM screen = MAKELPARAM(200 + c.x, 100 + c.y);
        EXPECT_EQ(win::answer_frame_hit_test(frame, screen, layout, &result), c.answered);
        if (c.answered) {
            EXPECT_EQ(result, c.result);
        }
    }
    layout.title_bar_hidden = true;
    std::intptr_t result = -1;
    EXPECT_FALSE(win::answer_frame_hit_test(frame, MAKELPARAM(300, 120), layout, &result));
    DestroyWindow(frame);
}
