// The rules of korvane's puzzle window that need no window: where a cell stands,
// which duplicate an entry makes, and when a cell's change notification is no
// change.
#pragma once

#include "PuzzleBuilder.h"

#include <optional>
#include <string>

// A cell's place and size in pixels, in the client area of its window.
struct CellPlace {
    int x;
    int y;
    int width;
    int height;
};

// Cell index in a grid whose top-left cell stands at (margin, margin): a
// 30-pixel pitch, the third cell of each box 2 pixels smaller, so that a gap
// shows between boxes.
CellPlace PlaceOfCell(int index, int margin);

enum class DuplicateUnit { Row, Column, Box };

// The first unit of cell k, in the order row, column, box, in which grid already
// holds value. Each scan covers its nine cells in order, cell k included with
// the value it holds before the entry.
std::optional<DuplicateUnit> FindDuplicate(const CellGrid& grid, int k, int value);

// The warning for a duplicate in that unit.
const char* DuplicateText(DuplicateUnit unit);

// A key that a cell's one-character limit refuses. The cell reports the limit
// (EN_MAXTEXT) and then, although its text stays the same, a change (Wine's edit
// control does, and Windows' does for an insertion truncated to nothing): that
// change is no change, while the key is handled. The cell's own digit typed over
// a selection is a real entry, so only an unchanged text is taken for the key's.
class RefusedKey {
public:
    // The cell reported the limit; text is what it holds.
    void Note(int id, std::string text);
    // Whether a change that cell id reports, holding text, is the refused key's
    // own. The watch of that cell ends with the first change it reports.
    bool IsNoChange(int id, const std::string& text);
    // The key has been handled to its end.
    void End();

private:
    int id_ = 0; // 0 when no cell is watched
    std::string text_;
};
