// The main window: the creation sequence that does the program's whole job,
// and the commands of the cells and of the Solution button.
#include "MainWindow.h"

#include "CellGrid.h"
#include "Globals.h"
#include "PuzzleFiles.h"
#include "PuzzleText.h"
#include "SolutionWindow.h"
#include "resource.h"

namespace {

// Placeholder cells and the disabled Solution button, then the puzzle, the
// real cells and the files. On success WritePuzzleFiles ends the process.
LRESULT OnCreate(HWND window) {
    for (int i = 0; i < kCellCount; ++i) {
        CreateCell(window, i, kReadOnlyCellStyle);
    }
    HWND button = CreateWindowExA(
        0, "Button", "Solution", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 300, 30, 180,
        24, window, reinterpret_cast<HMENU>(IDC_SOLUTION), appInstance, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    puzzleBuilder.generateFullGrid();
    puzzleBuilder.removeClues();
    playerGrid = GivensOf(puzzleBuilder);
    puzzleGrid = playerGrid;

    RebuildCells(window);
    EnableButtons(window);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    WritePuzzleFiles();
    return 0;
}

LRESULT OnCommand(HWND window, int id, int code) {
    if (id == IDC_SOLUTION) {
        ShowSolution(solutionView, window);
    } else if (id >= IDC_CELL_FIRST && id <= IDC_CELL_LAST && code == EN_CHANGE) {
        CheckCellEntry(window, id);
    } else if (id >= IDC_CELL_FIRST && id <= IDC_CELL_LAST && code == EN_MAXTEXT) {
        NoteRefusedKey(window, id);
    }
    return 0;
}

} // namespace

ATOM RegisterMainClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = appInstance;
    wc.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_KORVANE));
    wc.hIconSm = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_KORVANE));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = MAIN_CLASS_NAME;
    return RegisterClassExA(&wc);
}

HWND CreateMainWindow() {
    return CreateWindowExA(0, MAIN_CLASS_NAME, "KORVANE",
                           WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                           CW_USEDEFAULT, 520, 325, nullptr, nullptr, appInstance, nullptr);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_COMMAND:
        return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case kRefusedKeyHandled:
        EndRefusedKey();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
