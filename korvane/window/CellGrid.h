// The main window's 81 cell controls and the duplicate check of an entry.
#pragma once

#include <windows.h>

// Styles of a given cell and of a cell that the player fills.
inline constexpr DWORD kReadOnlyCellStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_READONLY | ES_CENTER;
inline constexpr DWORD kEditableCellStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_CENTER;

// Creates the "Edit" control of one cell, empty, with the given style.
HWND CreateCell(HWND mainWindow, int index, DWORD style);
// Replaces the 81 cells by read-only givens and editable one-character cells.
void RebuildCells(HWND mainWindow);
// Enables the Solution button if it is disabled.
void EnableButtons(HWND mainWindow);
// Stores the cell's new value in playerGrid and warns of a duplicate in its
// row, column or box; false when a duplicate was reported. The change that a
// refused key reports (see NoteRefusedKey) is no change: true, nothing done.
bool CheckCellEntry(HWND mainWindow, int id);

// Posted to the main window when a cell refuses a key: once it arrives, the
// cell's handling of that key is over.
inline constexpr UINT kRefusedKeyHandled = WM_APP;

// A cell's EN_MAXTEXT: the one-character limit refused a key (see RefusedKey).
// Keeps the cell's text, so that CheckCellEntry knows the change that follows
// for what it is, until kRefusedKeyHandled arrives and calls EndRefusedKey.
void NoteRefusedKey(HWND mainWindow, int id);
void EndRefusedKey();
