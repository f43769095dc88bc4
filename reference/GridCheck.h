// Checks of sudoku grids written apart from both programs, so that the fuzz
// targets and the stress run can judge the programs' results on their own.
//
// Grid convention: 81 cell values in row-major order from the top-left cell,
// 0 for an empty cell and 1..9 for a digit. Nothing else is accepted.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace check {

using Board = std::array<int, 81>;

// True when every value is 0..9.
bool valuesInRange(const Board& board);

// True when no row, column or box holds a digit twice (empty cells allowed).
bool noDuplicates(const Board& board);

// True when every cell holds a digit and no unit holds a digit twice.
bool isCompleteValid(const Board& board);

// True when every nonzero cell of puzzle holds the same digit in filled.
bool keepsGivens(const Board& puzzle, const Board& filled);

// Number of completions of board, counted up to limit (at least 1). A board
// with a duplicate has none. When first is given and a completion exists, it
// receives the first one found.
std::int64_t countCompletions(const Board& board, std::int64_t limit, Board* first = nullptr);

// The completion that comes first when cells are compared one by one in the
// given order of cell indices (digits increasing). False when there is none.
bool smallestCompletion(const Board& board, const std::array<int, 81>& order, Board& out);

// Steps of a depth-first search that fills the empty cells in the given order,
// each with its allowed digits in increasing order, and stops at the first
// completion: one step per cell entered, a dead end included. Returns -1 as
// soon as the count passes cap, or when the board has a digit twice. When the
// search ends on a completion and first is given, first receives it: the
// completion that smallestCompletion gives for the same order.
std::int64_t searchSteps(const Board& board, const std::array<int, 81>& order, std::int64_t cap,
                         Board* first = nullptr);

// The order in which the solver fills its cells: bottom row first, each row
// from the left.
std::array<int, 81> bottomUpOrder();

// 81 digits, row-major, for messages.
std::string toText(const Board& board);

} // namespace check
