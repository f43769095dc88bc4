// Judges korvane's puzzles apart from korvane: the layout of its two files and
// the puzzle they hold.
#pragma once

#include "GridCheck.h"

#include <optional>
#include <string>
#include <string_view>

namespace check {

// The board held by the bytes of one of korvane's files when they are exactly
// 81 lines of one digit followed by LF; nothing otherwise.
std::optional<Board> puzzleFileBoard(std::string_view bytes);

// Empty when puzzle is a sound puzzle of solution, otherwise what is wrong:
// solution is complete and valid, every given of puzzle is solution's digit,
// at least 28 givens stand and at least one cell is hidden, and puzzle has
// exactly one completion: solution.
std::string judgePuzzle(const Board& solution, const Board& puzzle);

// judgePuzzle for the bytes of solution.txt and masque.txt, which must both be
// in korvane's layout.
std::string judgePuzzleFiles(std::string_view solutionBytes, std::string_view maskBytes);

} // namespace check
