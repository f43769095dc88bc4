// The pop-up window that shows the complete solution of the current puzzle.
#pragma once

#include "PuzzleBuilder.h"

#include <windows.h>

struct SolutionView {
    // The open solution window, null when none is open.
    HWND window;
    // The record whose solution is shown and whose clue mask picks the colours.
    PuzzleBuilder* builder;
};

// Registers "SudokuSolutionClass"; the class atom, 0 on failure.
ATOM RegisterSolutionClass();
// Opens the window next to the main window unless one is open; true when it
// has just opened one.
bool ShowSolution(SolutionView& view, HWND mainWindow);
LRESULT CALLBACK SolutionWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Creates the 81 cell texts; 0 so that the creation goes on.
LRESULT CreateSolutionCells(SolutionView& view, HWND window);
// Black text on white for the hidden cells, the default look for the givens.
LRESULT ColorSolutionCell(SolutionView& view, HWND window, HDC dc, HWND control);
