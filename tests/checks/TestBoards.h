// The boards that the checks of both programs share: the hard boards of the
// solver's search (bench/solver/hard-boards.txt), the first of which is the example
// grid that the releases ship as grille.txt.
#pragma once

#include "GridCheck.h"

#include <cstdint>
#include <vector>

namespace check {

struct HardBoard {
    Board puzzle;
    Board solved;
    int passes = 0;         // deduction passes of the solver's search
    std::int64_t steps = 0; // backtracking steps of the solver's search
};

// The hard boards in file order.
const std::vector<HardBoard>& hardBoards();

// The example grid: the puzzle and its solution.
const HardBoard& exampleBoard();

} // namespace check
