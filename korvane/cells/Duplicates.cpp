#include "Duplicates.h"

std::optional<DuplicateUnit> FindDuplicate(const CellGrid& grid, int k, int value) {
    for (int j = 0; j < 9; ++j) {
        if (grid[9 * (k / 9) + j] == value) {
            return DuplicateUnit::Row;
        }
    }
    for (int j = 0; j < 9; ++j) {
        if (grid[9 * j + k % 9] == value) {
            return DuplicateUnit::Column;
        }
    }
    const int base = 27 * (k / 27) + 3 * ((k % 9) / 3);
    for (int j = 0; j < 9; ++j) {
        if (grid[base + 9 * (j / 3) + j % 3] == value) {
            return DuplicateUnit::Box;
        }
    }
    return std::nullopt;
}

const char* DuplicateText(DuplicateUnit unit) {
    switch (unit) {
    case DuplicateUnit::Row:
        return "Doublons sur la meme ligne";
    case DuplicateUnit::Column:
        return "Doublons sur la même colonne";
    case DuplicateUnit::Box:
        return "Doublons dans le carré";
    }
    return "";
}
