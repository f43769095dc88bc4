// The boards that the checks of both programs share: the hard boards of the
// solver's search (bench/solver/hard-boards.txt) and the example grille.txt that
// the releases ship (packaging/grille.txt).
#pragma once

#include "GridCheck.h"

#include <cstdint>
#include <string_view>
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

// The bytes of the example grille.txt as the source tree holds them (LF line ends).
std::string_view exampleGrille();
// The hard board that the example grille.txt loads: the puzzle and its solution.
const HardBoard& exampleBoard();

} // namespace check
