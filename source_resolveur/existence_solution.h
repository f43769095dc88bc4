// An independent check that a board can be completed: no digit twice in a unit,
// and a depth-first search over bitmasks (fewest candidates first) that stops at
// the first completion. Any 9 x 9 board is decided within milliseconds.
#pragma once

#include <array>
#include <cstdint>

namespace modSudoku {

// cases: 81 values 0..9 in label order (9*y + x).
bool ACompletion(const std::array<std::int16_t, 81>& cases);

} // namespace modSudoku
