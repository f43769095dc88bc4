// Process-wide state of korvane.
#pragma once

#include "PuzzleBuilder.h"
#include "SolutionWindow.h"

#include <windows.h>

#include <cstdint>

// Module instance, stored by WinMain before anything else.
extern HINSTANCE appInstance;
// What the main window's cells hold: the givens and the player's entries.
extern CellGrid playerGrid;
// The puzzle as generated: the givens, 0 in every hidden cell.
extern CellGrid puzzleGrid;
// 0 while the cells are being built, 1 once they are: cell notifications are
// ignored while it is 0.
extern std::int32_t cellsReady;
// The one generator record.
extern PuzzleBuilder puzzleBuilder;
// The solution window's record; refers to puzzleBuilder.
extern SolutionView solutionView;
