// Test data for the puzzle engine's tests, and the engine's grids handed to the
// grid checks written apart from both programs (sudoku_checks).
#pragma once

#include "GridCheck.h"
#include "PuzzleBuilder.h"

#include <string_view>

namespace engine_test {

// A valid complete grid. Cells 0, 8, 9 and 17 (rows 0 and 1, columns 0 and 8,
// boxes 0 and 2) hold 2 6 over 6 2: hiding those four gives two completions.
inline constexpr std::string_view kValidGrid =
    "284379516637145982519628734792584163168732459345961278451893627826457391973216845";
inline constexpr int kRectangleCells[4] = {0, 8, 9, 17};

// 81 digits, '0' for an empty cell.
CellGrid gridFromText(std::string_view text);

// Every row, column and box holds each digit 1..9 exactly once.
bool isValidGrid(const CellGrid& grid);

struct Completions {
    int count = 0;    // 0, 1 or 2 (two or more)
    CellGrid first{}; // the first completion found, when count > 0
};

// Completions of a grid (0 = empty), counted by the grid checks, which share
// nothing with the engine. Conflicting givens give 0.
Completions findCompletions(const CellGrid& puzzle);

// The smallest seed after which the first rand() % modulus equals residue.
unsigned seedForFirstDraw(int modulus, int residue);

// The n-th rand() value (from 1) after srand(seed); rand() is then seeded
// with seed again, so that the code under test draws the same sequence.
int drawAfterSeeding(unsigned seed, int n);

} // namespace engine_test
