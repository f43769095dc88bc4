// The posted-message queue: order, dispatch into the window procedure, and the
// quit message after everything posted before it.
#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> dispatched;

LRESULT CALLBACK QueueProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) {
        dispatched.push_back(message);
        return static_cast<LRESULT>(wParam) + 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MakeWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = QueueProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "StandInQueue";
        registered = RegisterClassA(&wc) != 0;
    }
    return CreateWindowExA(0, "StandInQueue", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(Queue, PostedMessagesArriveInOrderAndQuitComesLast) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    dispatched.clear();
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_TRUE(PostMessageA(window, WM_USER + 1, 10, 0));
    PostQuitMessage(3);
    EXPECT_TRUE(PostMessageA(window, WM_USER + 2, 20, 0));

    ASSERT_GT(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(DispatchMessageA(&msg), 11);
    ASSERT_GT(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    DispatchMessageA(&msg);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(dispatched, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(window);
}

TEST(Queue, PostingToAMissingWindowFails) {
    HWND window = MakeWindow();
    DestroyWindow(window);
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
}

} // namespace
