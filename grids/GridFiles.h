// The grid data files of this folder (README.md): one reader for all of them, and
// the one conversion between a grid's text order and the solver's label order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <vector>

namespace grids {

// One line of a grid file. The boards are 81 digits, top row first, each row
// from the left, '0' for an empty cell.
struct Grid {
    std::string source; // file:line
    std::string puzzle;
    // What the solver's search makes of the puzzle, when the line gives it: the
    // board it saves, its deduction passes and its backtracking steps.
    std::string solved;
    int passes = -1;
    std::int64_t steps = -1;
};

// The grids of a file, in its order. A line that is not a comment and not a grid
// in this layout is an error (std::runtime_error naming it).
std::vector<Grid> Read(std::istream& lines, const std::string& name);
std::vector<Grid> Read(const std::filesystem::path& file);

// hard-boards.txt, built into the program: the boards that are hard for the
// solver's backtracking, where tests run without the source tree (under Wine).
const std::vector<Grid>& HardBoards();

// The solver's label (9y + x, y the row from the bottom, x the column from the
// left) of the cell at index i of a grid's text, and the other way round: the
// conversion is its own inverse.
constexpr int Label(int i) {
    return 9 * (8 - i / 9) + i % 9;
}

} // namespace grids
