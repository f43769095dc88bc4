#include "CellPlace.h"

CellPlace PlaceOfCell(int index, int margin) {
    const int row = index / 9;
    const int column = index % 9;
    return CellPlace{30 * column + margin, 30 * row + margin, column % 3 == 2 ? 29 : 31,
                     row % 3 == 2 ? 29 : 31};
}
