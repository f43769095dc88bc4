// Where a cell of korvane's puzzle window stands.
#pragma once

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
