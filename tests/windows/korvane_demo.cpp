// Brings korvane.exe's puzzle window into the states worth a picture, for
// scripts/screenshots.sh: a duplicate warning over the grid, then the solution window.
// For each state it prints "shot <name> <left> <top> <width> <height>" (the screen area
// to capture) and waits for a line on its input before going on; "done" at the end.
//   korvane_demo.exe   (korvane.exe's path is built in)
#include "process_driver.h"

#include <cstdio>
#include <initializer_list>
#include <iostream>
#include <string>

using namespace windows_test;

namespace {

constexpr DWORD kWaitMs = 60000;

RECT Union(HWND a, HWND b) {
    RECT ra{}, rb{}, both{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    UnionRect(&both, &ra, &rb);
    return both;
}

// Paints both windows now (a cross-thread update waits for the painting).
void Shot(const char* name, HWND a, HWND b) {
    for (HWND window : {a, b}) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    const RECT area = Union(a, b);
    std::printf("shot %s %ld %ld %ld %ld\n", name, area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
}

// A digit that already stands in the row of an empty cell: the first such pair.
bool FindRowDuplicate(HWND main, int& cell, int& digit) {
    int grid[81] = {};
    for (int i = 0; i < 81; ++i) {
        const std::string text = WindowText(GetDlgItem(main, 4000 + i));
        grid[i] = text.size() == 1 ? text[0] - '0' : 0;
    }
    for (int i = 0; i < 81; ++i) {
        if (grid[i] != 0) {
            continue;
        }
        for (int j = 9 * (i / 9); j < 9 * (i / 9) + 9; ++j) {
            if (grid[j] != 0) {
                cell = i;
                digit = grid[j];
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main() {
    ScratchFolder folder;
    CreateDirectoryA(folder.File("solution.txt").c_str(), nullptr);
    ChildProcess korvane(NativePath(KORVANE_EXE), folder.Text());
    HWND main = WaitForWindow(korvane, "SudokuClassApp", "KORVANE", kWaitMs);
    int cell = 0;
    int digit = 0;
    if (main == nullptr || !FindRowDuplicate(main, cell, digit)) {
        std::fprintf(stderr, "korvane_demo: no puzzle window\n");
        return 1;
    }

    // The warning comes up in the middle of the screen: put the window around it.
    RECT outer{};
    GetWindowRect(main, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(main, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    PostMessageA(GetDlgItem(main, 4000 + cell), WM_CHAR, '0' + digit, 0);
    const auto box = WaitForMessageBox(korvane, kWaitMs);
    if (!box) {
        std::fprintf(stderr, "korvane_demo: no duplicate warning\n");
        return 1;
    }
    Shot("duplicate", main, box->box);
    PressOk(korvane, box->box, kWaitMs);

    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(main, 101), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    HWND solution = WaitForWindow(korvane, "SudokuSolutionClass", "Solution", kWaitMs);
    if (solution == nullptr) {
        std::fprintf(stderr, "korvane_demo: no solution window\n");
        return 1;
    }
    Shot("solution", main, solution);

    PostMessageA(main, WM_CLOSE, 0, 0);
    if (korvane.WaitForExit(kWaitMs) != 0u) {
        std::fprintf(stderr, "korvane_demo: korvane did not end with exit code 0\n");
        return 1;
    }
    std::printf("done\n");
    return 0;
}
