// An independent check that a board can be completed: no digit twice in a unit,
// then a depth-first search over bitmasks that fills forced cells first (a cell
// with one candidate, a digit with one place in its row, column or square),
// fails as soon as a cell has no candidate or a digit no place in a unit, and
// branches on the cell with the fewest candidates.
#pragma once

#include <array>
#include <cstdint>

namespace modSudoku {

// cases: 81 values 0..9 in label order (9*y + x).
bool ACompletion(const std::array<std::int16_t, 81>& cases);

} // namespace modSudoku
