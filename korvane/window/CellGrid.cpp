// The 81 cell controls of the main window and the duplicate check.
#include "CellGrid.h"

#include "CellPlace.h"
#include "Duplicates.h"
#include "Globals.h"
#include "RefusedKey.h"
#include "resource.h"

#include <optional>
#include <string>

HWND CreateCell(HWND mainWindow, int index, DWORD style) {
    const CellPlace p = PlaceOfCell(index, 10);
    return CreateWindowExA(0, "Edit", "", style, p.x, p.y, p.width, p.height, mainWindow,
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

// The cell that refused a key while that key is handled.
RefusedKey refusedKey;

std::string CellText(HWND mainWindow, int id) {
    char text[8] = "";
    GetDlgItemTextA(mainWindow, id, text, sizeof text);
    return text;
}

} // namespace

void NoteRefusedKey(HWND mainWindow, int id) {
    refusedKey.Note(id, CellText(mainWindow, id));
    PostMessageA(mainWindow, kRefusedKeyHandled, 0, 0);
}

void EndRefusedKey() {
    refusedKey.End();
}

bool CheckCellEntry(HWND mainWindow, int id) {
    if (cellsReady == 0) {
        return true;
    }
    if (refusedKey.IsNoChange(id, CellText(mainWindow, id))) {
        return true;
    }
    UINT value = GetDlgItemInt(mainWindow, id, nullptr, FALSE);
    int k = id - IDC_CELL_FIRST;
    if (value == 0) {
        playerGrid[k] = 0;
        return true;
    }
    const std::optional<DuplicateUnit> unit = FindDuplicate(playerGrid, k, static_cast<int>(value));
    if (unit) {
        MessageBoxA(mainWindow, DuplicateText(*unit), "Doublons", MB_OK);
        SetFocus(GetDlgItem(mainWindow, id));
    }
    playerGrid[k] = static_cast<CellValue>(value);
    return !unit;
}
