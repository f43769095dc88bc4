// Entry point of korvane: registers the classes, seeds the random generator
// and creates the main window, whose creation generates the puzzle and, in a
// normal run, writes the files and ends the process with exit code 1.
#include "Globals.h"
#include "MainWindow.h"

#include <commctrl.h>
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    InitCommonControls();
    appInstance = instance;
    if (RegisterMainClass() == 0) {
        return 0;
    }
    if (RegisterSolutionClass() == 0) {
        return 0;
    }
    playerGrid.fill(0);
    std::srand(GetTickCount());

    HWND mainWindow = CreateMainWindow();
    if (mainWindow == nullptr) {
        // Like the other start-up failures: no window, exit code 0.
        return 0;
    }
    ShowWindow(mainWindow, showCommand);

    MSG msg{};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // WM_QUIT carries the code that WM_DESTROY posted; a failed wait ends with 0.
    return got == 0 ? static_cast<int>(msg.wParam) : 0;
}
