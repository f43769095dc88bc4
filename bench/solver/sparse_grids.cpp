// Makes sparse grids, slow for the solver's backtracking, from slow ones and prints
// the slowest, one a line as in slow-grids.txt.
//
//   sparse_grids <grids kept> <givens taken away> <most steps walked> <grid file>
//
// From each puzzle of the grid file (in the layout of grids/, already turned and
// relabelled so that the search meets its dead ends early, as slow_grids makes
// them), every way of taking <givens taken away> of its givens away gives a grid
// with several solutions. Each is measured by the solver's own search (every way
// of counting on), and the slowest whose search walks at most <most steps walked>
// digits are kept; the search ends on its first solution, which is listed. The
// same puzzles give the same grids.
#include "GridFiles.h"
#include "measured_walk.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<measured::Grid> kept;

// Every grid of g with `left` more givens taken away, from index `from` on.
void TakeAway(const check::Board& puzzle, int left, int from, std::size_t most, std::int64_t walk) {
    if (left == 0) {
        measured::Grid g;
        g.puzzle = puzzle;
        modSudoku::MemoBandes memo;
        if (check::countCompletions(puzzle, 1, nullptr) == 1 && measured::Measure(g, walk, memo)) {
            kept.push_back(g);
            std::sort(kept.begin(), kept.end(),
                      [](const auto& a, const auto& b) { return a.steps > b.steps; });
            kept.resize(std::min(kept.size(), most));
        }
        return;
    }
    for (int i = from; i < 81; ++i) {
        if (puzzle[static_cast<std::size_t>(i)] != 0) {
            check::Board fewer = puzzle;
            fewer[static_cast<std::size_t>(i)] = 0;
            TakeAway(fewer, left - 1, i + 1, most, walk);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: sparse_grids <grids kept> <givens taken away> <most steps "
                             "walked> <grid file>\n");
        return 2;
    }
    const auto most = static_cast<std::size_t>(std::strtol(argv[1], nullptr, 10));
    const int taken = static_cast<int>(std::strtol(argv[2], nullptr, 10));
    const std::int64_t walk = std::strtoll(argv[3], nullptr, 10);
    for (const grids::Grid& grid : grids::Read(argv[4])) {
        TakeAway(*check::boardFromText(grid.puzzle), taken, 0, most, walk);
    }
    for (const measured::Grid& g : kept) {
        measured::Print(g);
    }
    return 0;
}
