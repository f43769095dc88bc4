// The main window's 81 cell controls and the duplicate check of an entry.
#pragma once

#include <windows.h>

// Styles of a given cell and of a cell that the player fills.
inline constexpr DWORD kReadOnlyCellStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_READONLY | ES_CENTER;
inline constexpr DWORD kEditableCellStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_CENTER;

// Place and size of cell index in a grid whose top-left cell stands at
// (margin, margin): a 30-pixel pitch, the third cell of each box 2 pixels
// smaller so that a gap shows between boxes.
RECT CellRect(int index, int margin);

// Creates the "Edit" control of one cell, empty, with the given style.
HWND CreateCell(HWND mainWindow, int index, DWORD style);
// Replaces the 81 cells by read-only givens and editable one-character cells.
void RebuildCells(HWND mainWindow);
// Enables the Solution button if it is disabled.
void EnableButtons(HWND mainWindow);
// Stores the cell's new value in playerGrid and warns of a duplicate in its
// row, column or box; false when a duplicate was reported.
bool CheckCellEntry(HWND mainWindow, int id);
