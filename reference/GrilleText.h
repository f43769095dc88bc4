// The two text layouts of the solver, read apart from the solver itself.
#pragma once

#include "GridCheck.h"

#include <optional>
#include <string>
#include <string_view>

namespace check {

// The board that the bytes of grille.txt leave after a load into an empty
// board. Lines end with CR LF, a lone CR or a lone LF; line k (from 1) is the
// k-th row from the top; the value of column x is the character at position
// 2x + 1 (from 1). The load stops for good at the first value position that
// is not a digit or lies past the end of its line, at a line longer than 64 KiB,
// and at a tenth line.
Board loadedGrille(std::string_view bytes);

// The board held by the bytes of solution.txt when they are exactly 81 lines
// of one digit followed by CR LF; nothing otherwise.
std::optional<Board> savedSolution(std::string_view bytes);

// The bytes that a save of board writes: 81 lines of one digit and CR LF.
std::string solutionBytes(const Board& board);

// The nine lines of board, digits separated by blanks, CR LF after each.
std::string grilleBytes(const Board& board);

// A board from 81 characters, '0' or '.' for an empty cell; nothing when the
// text holds anything else.
std::optional<Board> boardFromText(std::string_view text);

} // namespace check
