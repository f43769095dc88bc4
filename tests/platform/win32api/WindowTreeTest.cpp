// The window tree: creation and destruction messages, parents and owners,
// rectangles and long values. These tests pass on Windows (under Wine) and on
// the stand-in alike.
#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen {
    HWND hwnd;
    UINT message;
};
std::vector<Seen> seen;

// Keeps only the creation and destruction messages, which code relies on.
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE || message == WM_CREATE || message == WM_DESTROY ||
        message == WM_NCDESTROY) {
        seen.push_back(Seen{hwnd, message});
    }
    if (message == WM_CREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* RecordingClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "StandInRecording";
        registered = RegisterClassA(&wc) != 0;
    }
    return "StandInRecording";
}

HWND MakeTop(DWORD style, DWORD exStyle = 0, HWND owner = nullptr, void* param = nullptr) {
    return CreateWindowExA(exStyle, RecordingClass(), "top", style, 40, 50, 300, 200, owner,
                           nullptr, GetModuleHandleA(nullptr), param);
}

HWND MakeChild(HWND parent, int id) {
    return CreateWindowExA(0, RecordingClass(), "child", WS_CHILD | WS_VISIBLE, 5, 6, 20, 10,
                           parent, reinterpret_cast<HMENU>(static_cast<LONG_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(WindowTree, CreationSendsNcCreateThenCreateWithTheCreationData) {
    seen.clear();
    static int data = 7;
    HWND top = MakeTop(WS_OVERLAPPED | WS_CAPTION, 0, nullptr, &data);
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(seen[1].hwnd, top);
    EXPECT_EQ(GetWindowLongPtrA(top, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&data));
    EXPECT_EQ(TextOf(top), "top");
    EXPECT_EQ(ClassNameOf(top), "StandInRecording");
    DestroyWindow(top);
}

TEST(WindowTree, DestroyingAParentDestroysChildrenAndOwnedWindowsInOrder) {
    HWND top = MakeTop(WS_OVERLAPPED | WS_CAPTION);
    HWND child = MakeChild(top, 12);
    HWND grandChild = MakeChild(child, 13);
    HWND owned = MakeTop(WS_POPUP | WS_CAPTION, WS_EX_TOPMOST, top);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), top);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetDlgItem(top, 12), child);
    EXPECT_EQ(GetDlgItem(child, 13), grandChild);
    EXPECT_EQ(GetWindowLongA(child, GWL_ID), 12);
    EXPECT_TRUE(GetWindowLongA(owned, GWL_EXSTYLE) & WS_EX_TOPMOST);

    seen.clear();
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandChild));
    EXPECT_FALSE(IsWindow(owned));

    // The owned window goes first; WM_DESTROY runs down the tree, WM_NCDESTROY up.
    std::vector<std::pair<HWND, UINT>> order;
    for (const Seen& s : seen) {
        order.emplace_back(s.hwnd, s.message);
    }
    std::vector<std::pair<HWND, UINT>> expected = {
        {owned, WM_DESTROY},   {owned, WM_NCDESTROY},    {top, WM_DESTROY},
        {child, WM_DESTROY},   {grandChild, WM_DESTROY}, {grandChild, WM_NCDESTROY},
        {child, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
}

TEST(WindowTree, ClientAreaFollowsTheSystemMetricsOfACaptionedPopup) {
    int width = 271 + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    int height = 271 + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION);
    HWND popup =
        CreateWindowExA(0, RecordingClass(), "p", WS_POPUP | WS_CAPTION | WS_SYSMENU, 120, 80,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(popup, nullptr);
    RECT client{};
    GetClientRect(popup, &client);
    EXPECT_EQ(client.right - client.left, 271);
    EXPECT_EQ(client.bottom - client.top, 271);
    RECT outer{};
    GetWindowRect(popup, &outer);
    EXPECT_EQ(outer.left, 120);
    EXPECT_EQ(outer.top, 80);
    EXPECT_EQ(outer.right - outer.left, width);

    HWND child = MakeChild(popup, 3);
    EXPECT_EQ(RectInParent(child).left, 5);
    EXPECT_EQ(RectInParent(child).top, 6);
    POINT origin{0, 0};
    ClientToScreen(popup, &origin);
    EXPECT_EQ(origin.x, 120 + GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(origin.y, 80 + GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION));
    DestroyWindow(popup);
}

TEST(WindowTree, CreationHookSeesTheStylesAskedForAndCanRefuse) {
    CbtRecorder recorder;
    HWND top = MakeTop(WS_OVERLAPPED | WS_CAPTION);
    HWND edit =
        CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER, 1, 2, 30, 31,
                        top, reinterpret_cast<HMENU>(4000), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    const CreatedWindow* seenEdit = recorder.lastChild(top, 4000);
    ASSERT_NE(seenEdit, nullptr);
    EXPECT_EQ(seenEdit->className, "Edit");
    EXPECT_EQ(seenEdit->style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER));
    EXPECT_EQ(seenEdit->x, 1);
    EXPECT_EQ(seenEdit->height, 31);
    // The edit control draws its own border and drops WS_BORDER from its style.
    EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_NUMBER, 0);
    DestroyWindow(top);
}

TEST(WindowTree, FailuresReportNothingAsDone) {
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClassHere", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
    HWND gone = MakeTop(WS_POPUP);
    DestroyWindow(gone);
    EXPECT_FALSE(DestroyWindow(gone));
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(SetWindowTextA(gone, "x"));
    RECT r{};
    EXPECT_FALSE(GetWindowRect(gone, &r));

    WNDCLASSA again{};
    again.lpfnWndProc = RecordingProc;
    again.hInstance = GetModuleHandleA(nullptr);
    again.lpszClassName = RecordingClass();
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
}

TEST(WindowTree, EnableAndShowReportThePreviousState) {
    HWND top = MakeTop(WS_OVERLAPPED | WS_CAPTION);
    HWND child = MakeChild(top, 9);
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(EnableWindow(child, TRUE));
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_EQ(GetWindowLongA(top, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_FALSE(ShowWindow(top, SW_SHOWNORMAL));
    EXPECT_NE(GetWindowLongA(top, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_TRUE(ShowWindow(top, SW_SHOWNORMAL));
    DestroyWindow(top);
}

TEST(WindowTree, SystemObjectsAreDistinctHandles) {
    std::vector<HGDIOBJ> objects = {GetStockObject(WHITE_BRUSH), GetStockObject(DEFAULT_GUI_FONT),
                                    reinterpret_cast<HGDIOBJ>(GetSysColorBrush(COLOR_BTNFACE))};
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_NE(objects[i], nullptr) << i;
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(objects[i], objects[j]) << i << " " << j;
        }
    }
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_WAIT), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), 0);
    EXPECT_GT(GetSystemMetrics(SM_CXDLGFRAME), 0);
}

} // namespace
