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

#ifndef _WIN32
// Without a display nothing can ever arrive: where Windows would wait, the
// stand-in closes the remaining top-level windows as an ending session does,
// and fails the wait if even that brings no message.
namespace {

int closes = 0;

LRESULT CALLBACK QuitOnDestroyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++closes;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(QueueWithoutDisplay, AnEmptyQueueClosesTheWindowsThenFails) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = QuitOnDestroyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "StandInQuitOnDestroy";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND window = CreateWindowExA(0, "StandInQuitOnDestroy", "", WS_OVERLAPPED | WS_CAPTION, 0, 0,
                                  100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), -1);
}

TEST(QueueWithoutDisplay, AMessageBoxThatNoOneCanAnswerReturnsOk) {
    EXPECT_EQ(MessageBoxA(nullptr, "texte", "titre", MB_OK), IDOK);
}

} // namespace
#endif
