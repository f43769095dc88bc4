// The main window of korvane: its class, its creation and its procedure.
#pragma once

#include <windows.h>

// Registers "SudokuClassApp"; the class atom, 0 on failure.
ATOM RegisterMainClass();
// Creates the main window; its creation generates the puzzle and writes the files.
HWND CreateMainWindow();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
