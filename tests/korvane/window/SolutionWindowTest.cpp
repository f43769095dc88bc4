// The solution window: one at a time, placed from the main window, topmost and
// owned by it, showing the solution with the hidden cells in black on white.
#include "MainWindowFixture.h"

#include <string>

namespace {

HWND PressSolution(HWND mainWindow) {
    SendMessageA(GetDlgItem(mainWindow, IDC_SOLUTION), BM_CLICK, 0, 0);
    return solutionView.window;
}

TEST_F(MainWindowTest, SolutionWindowOpensOnceBesideTheMainWindow) {
    HWND hidden = nullptr;
    int hiddenIndex = 0;
    for (int i = 0; i < 81 && hidden == nullptr; ++i) {
        if (puzzleBuilder.clueMask[i] != 0) {
            hidden = cell(i);
            hiddenIndex = i;
        }
    }
    ASSERT_NE(hidden, nullptr);
    // A wrong entry does not show in the solution.
    CellValue wrong = static_cast<CellValue>(puzzleBuilder.solution[hiddenIndex] % 9 + 1);
    SetWindowTextA(hidden, std::to_string(wrong).c_str());

    HWND view = PressSolution(mainWindow);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ClassOf(view), "SudokuSolutionClass");
    EXPECT_EQ(TextOf(view), "Solution");
    EXPECT_EQ(GetWindow(view, GW_OWNER), mainWindow);
    EXPECT_NE(GetWindowLongA(view, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const CreatedWindow* seen = nullptr;
    for (const CreatedWindow& w : recorder->created) {
        seen = w.hwnd == view ? &w : seen;
    }
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(seen->parent, mainWindow);
    EXPECT_EQ(seen->exStyle, static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_WINDOWEDGE));

    RECT mainRect{};
    RECT viewRect{};
    RECT client{};
    GetWindowRect(mainWindow, &mainRect);
    GetWindowRect(view, &viewRect);
    GetClientRect(view, &client);
    EXPECT_EQ(viewRect.left, mainRect.left + 300);
    EXPECT_EQ(viewRect.top, mainRect.top + 150);
    EXPECT_EQ(client.right, 271);
    EXPECT_EQ(client.bottom, 271);

    for (int i = 0; i < 81; ++i) {
        SCOPED_TRACE(i);
        HWND label = GetDlgItem(view, 4000 + i);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(ClassOf(label), "Static");
        EXPECT_EQ(TextOf(label), std::to_string(puzzleBuilder.solution[i]));
        const CreatedWindow* made = recorder->lastChild(view, 4000 + i);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER |
                                                  SS_CENTERIMAGE));
        RECT r = RectInParent(label);
        EXPECT_EQ(r.left, 30 * (i % 9));
        EXPECT_EQ(r.top, 30 * (i / 9));
        EXPECT_EQ(r.right - r.left, i % 9 % 3 == 2 ? 29 : 31);
        EXPECT_EQ(r.bottom - r.top, i / 9 % 3 == 2 ? 29 : 31);
    }

    // A second press opens nothing.
    int opened = recorder->countCreated("SudokuSolutionClass");
    EXPECT_EQ(PressSolution(mainWindow), view);
    EXPECT_FALSE(ShowSolution(solutionView, mainWindow));
    EXPECT_EQ(recorder->countCreated("SudokuSolutionClass"), opened);
}

TEST_F(MainWindowTest, HiddenCellsAndOnlyThemAreBlackOnWhite) {
    HWND view = PressSolution(mainWindow);
    ASSERT_NE(view, nullptr);
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    for (int i = 0; i < 81; ++i) {
        SCOPED_TRACE(i);
        HWND label = GetDlgItem(view, 4000 + i);
        HDC dc = GetDC(label);
        ASSERT_NE(dc, nullptr);
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, RGB(255, 0, 0));
        LRESULT brush = SendMessageA(view, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(label));
        if (puzzleBuilder.clueMask[i] != 0) {
            EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), white);
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
            EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        } else {
            EXPECT_NE(reinterpret_cast<HGDIOBJ>(brush), white);
            EXPECT_EQ(brush, DefWindowProcA(view, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(label)));
            EXPECT_EQ(GetBkMode(dc), OPAQUE);
        }
        ReleaseDC(label, dc);
    }
    // A control of another id keeps the default look.
    HWND other = CreateWindowExA(0, "Static", "x", WS_CHILD, 0, 0, 5, 5, view,
                                 reinterpret_cast<HMENU>(4081), appInstance, nullptr);
    puzzleBuilder.clueMask.fill(kMaskHidden);
    HDC dc = GetDC(other);
    SetBkMode(dc, OPAQUE);
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(ColorSolutionCell(solutionView, view, dc, other)), white);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    ReleaseDC(other, dc);
}

TEST_F(MainWindowTest, ClosingTheWindowAllowsANewOneAtTheMainWindowsNewPlace) {
    HWND first = PressSolution(mainWindow);
    ASSERT_NE(first, nullptr);
    SendMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(solutionView.window, nullptr);
    EXPECT_TRUE(IsWindow(mainWindow));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    MoveWindow(mainWindow, 60, 70, 520, 325, TRUE);
    HWND second = PressSolution(mainWindow);
    ASSERT_NE(second, nullptr);
    RECT mainRect{};
    RECT viewRect{};
    GetWindowRect(mainWindow, &mainRect);
    GetWindowRect(second, &viewRect);
    EXPECT_EQ(viewRect.left, mainRect.left + 300);
    EXPECT_EQ(viewRect.top, mainRect.top + 150);
    EXPECT_EQ(TextOf(GetDlgItem(second, 4000)), std::to_string(puzzleBuilder.solution[0]));

    // The solution window goes with the main window, which posts the quit message.
    DestroyWindow(mainWindow);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(solutionView.window, nullptr);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(MainWindowTest, AnyCodeFromTheSolutionButtonOpensTheWindow) {
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_SOLUTION, 5), 0);
    EXPECT_NE(solutionView.window, nullptr);
}

} // namespace
