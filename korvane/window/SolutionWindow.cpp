// The solution window: a topmost pop-up owned by the main window, one static
// text per cell, the hidden cells in black on white.
#include "SolutionWindow.h"

#include "CellPlace.h"
#include "Globals.h"
#include "resource.h"

#include <cstdio>

ATOM RegisterSolutionClass() {
    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = SolutionWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = appInstance;
    wc.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_KORVANE));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = SOLUTION_CLASS_NAME;
    return RegisterClassA(&wc);
}

// The window is sized for a 271 x 271 client area and placed at (300, 150)
// from the main window's outer top-left corner.
bool ShowSolution(SolutionView& view, HWND mainWindow) {
    if (view.window != nullptr) {
        return false;
    }
    int captionHeight = GetSystemMetrics(SM_CYCAPTION);
    int frameWidth = GetSystemMetrics(SM_CXDLGFRAME);
    int frameHeight = GetSystemMetrics(SM_CYDLGFRAME);
    RECT mainRect{};
    GetWindowRect(mainWindow, &mainRect);

    view.window = CreateWindowExA(WS_EX_TOPMOST, SOLUTION_CLASS_NAME, "Solution",
                                  WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                  mainRect.left + 300, mainRect.top + 150, 271 + 2 * frameWidth,
                                  271 + 2 * frameHeight + captionHeight, mainWindow, nullptr,
                                  appInstance, &view);
    if (view.window == nullptr) {
        return false;
    }
    UpdateWindow(view.window);
    return true;
}

LRESULT CALLBACK SolutionWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The user data holds a pointer: on 32-bit Windows these are SetWindowLongA
    // and GetWindowLongA with GWL_USERDATA.
    if (message == WM_CREATE) {
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    // Null for the messages that arrive before WM_CREATE.
    auto* view = reinterpret_cast<SolutionView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (view == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE:
        return CreateSolutionCells(*view, window);
    case WM_DESTROY:
        view->window = nullptr;
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColorSolutionCell(*view, window, reinterpret_cast<HDC>(wParam),
                                 reinterpret_cast<HWND>(lParam));
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CreateSolutionCells(SolutionView& view, HWND window) {
    view.window = window;
    for (int i = 0; i < kCellCount; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(view.builder->solution[i]));
        const CellPlace p = PlaceOfCell(i, 0);
        CreateWindowExA(0, "Static", text,
                        WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER | SS_CENTERIMAGE, p.x, p.y,
                        p.width, p.height, window,
                        reinterpret_cast<HMENU>(static_cast<LONG_PTR>(IDC_CELL_FIRST + i)),
                        appInstance, nullptr);
    }
    return 0;
}

LRESULT ColorSolutionCell(SolutionView& view, HWND window, HDC dc, HWND control) {
    LONG id = GetWindowLongA(control, GWL_ID);
    if (id < IDC_CELL_FIRST || id > IDC_CELL_LAST ||
        view.builder->clueMask[id - IDC_CELL_FIRST] == kMaskGiven) {
        return DefWindowProcA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}
