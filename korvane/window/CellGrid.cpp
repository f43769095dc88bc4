// The 81 cell controls of the main window and the duplicate check.
#include "CellGrid.h"

#include "Globals.h"
#include "resource.h"

#include <cstring>

RECT CellRect(int index, int margin) {
    int row = index / 9;
    int column = index % 9;
    LONG left = 30 * column + margin;
    LONG top = 30 * row + margin;
    LONG width = column % 3 == 2 ? 29 : 31;
    LONG height = row % 3 == 2 ? 29 : 31;
    return RECT{left, top, left + width, top + height};
}

HWND CreateCell(HWND mainWindow, int index, DWORD style) {
    RECT r = CellRect(index, 10);
    return CreateWindowExA(0, "Edit", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           mainWindow,
                           reinterpret_cast<HMENU>(static_cast<LONG_PTR>(IDC_CELL_FIRST + index)),
                           appInstance, nullptr);
}

// The texts set here make the cells send EN_CHANGE; they arrive while
// cellsReady is 0 and are ignored.
void RebuildCells(HWND mainWindow) {
    cellsReady = 0;
    for (int i = 0; i < kCellCount; ++i) {
        int id = IDC_CELL_FIRST + i;
        DestroyWindow(GetDlgItem(mainWindow, id));
        if (puzzleBuilder.clueMask[i] != kMaskGiven) {
            HWND cell = CreateCell(mainWindow, i, kEditableCellStyle);
            if (playerGrid[i] != 0) {
                SetDlgItemInt(mainWindow, id, static_cast<UINT>(playerGrid[i]), TRUE);
            } else {
                SetDlgItemTextA(mainWindow, id, "");
            }
            SendMessageA(cell, EM_LIMITTEXT, 1, 0);
        } else {
            CreateCell(mainWindow, i, kReadOnlyCellStyle);
            SetDlgItemInt(mainWindow, id, static_cast<UINT>(puzzleBuilder.solution[i]), TRUE);
        }
    }
    cellsReady = 1;
}

void EnableButtons(HWND mainWindow) {
    HWND button = GetDlgItem(mainWindow, IDC_SOLUTION);
    if (!IsWindowEnabled(button)) {
        EnableWindow(button, TRUE);
    }
}

namespace {

// The cell that refused a key while that key is handled, and its text then;
// id 0 when none.
struct RefusedKey {
    int id = 0;
    char text[8] = "";
};
RefusedKey refusedKey;

enum class Unit { Row, Column, Box };

// The first unit, in the order row, column, box, in which playerGrid already
// holds value; the scans include cell k itself with its previous value.
bool FindDuplicate(int k, int value, Unit& unit) {
    for (int j = 0; j < 9; ++j) {
        if (playerGrid[9 * (k / 9) + j] == value) {
            unit = Unit::Row;
            return true;
        }
    }
    for (int j = 0; j < 9; ++j) {
        if (playerGrid[9 * j + k % 9] == value) {
            unit = Unit::Column;
            return true;
        }
    }
    int base = 27 * (k / 27) + 3 * ((k % 9) / 3);
    for (int j = 0; j < 9; ++j) {
        if (playerGrid[base + 9 * (j / 3) + j % 3] == value) {
            unit = Unit::Box;
            return true;
        }
    }
    return false;
}

const char* DuplicateText(Unit unit) {
    switch (unit) {
    case Unit::Row:
        return "Doublons sur la meme ligne";
    case Unit::Column:
        return "Doublons sur la même colonne";
    case Unit::Box:
        return "Doublons dans le carré";
    }
    return "";
}

} // namespace

void NoteRefusedKey(HWND mainWindow, int id) {
    refusedKey.id = id;
    GetDlgItemTextA(mainWindow, id, refusedKey.text, sizeof refusedKey.text);
    PostMessageA(mainWindow, kRefusedKeyHandled, 0, 0);
}

void EndRefusedKey() {
    refusedKey = RefusedKey{};
}

bool CheckCellEntry(HWND mainWindow, int id) {
    if (cellsReady == 0) {
        return true;
    }
    if (refusedKey.id == id) {
        char text[sizeof refusedKey.text] = "";
        GetDlgItemTextA(mainWindow, id, text, sizeof text);
        bool unchanged = std::strcmp(text, refusedKey.text) == 0;
        EndRefusedKey();
        if (unchanged) {
            return true;
        }
    }
    UINT value = GetDlgItemInt(mainWindow, id, nullptr, FALSE);
    int k = id - IDC_CELL_FIRST;
    if (value == 0) {
        playerGrid[k] = 0;
        return true;
    }
    Unit unit = Unit::Row;
    bool duplicate = FindDuplicate(k, static_cast<int>(value), unit);
    if (duplicate) {
        MessageBoxA(mainWindow, DuplicateText(unit), "Doublons", MB_OK);
        SetFocus(GetDlgItem(mainWindow, id));
    }
    playerGrid[k] = static_cast<CellValue>(value);
    return !duplicate;
}
