// Which duplicate an entry into a cell of korvane's puzzle window makes.
#pragma once

#include "PuzzleBuilder.h"

#include <optional>

enum class DuplicateUnit { Row, Column, Box };

// The first unit of cell k, in the order row, column, box, in which grid already
// holds value. Each scan covers its nine cells in order, cell k included with
// the value it holds before the entry.
std::optional<DuplicateUnit> FindDuplicate(const CellGrid& grid, int k, int value);

// The warning for a duplicate in that unit.
const char* DuplicateText(DuplicateUnit unit);
