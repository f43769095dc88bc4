// Makes grids that are slow for the solver's backtracking order and prints the
// slowest, one a line as in hard-boards.txt: the puzzle and its solved board (81
// digits, top row first), the deduction passes and the backtracking steps.
//
//   slow_grids <grids kept> <most steps> < puzzles
//
// Each puzzle read (the first 81 characters of a line; those without exactly one
// solution are passed over) is turned by the eight symmetries of the square, each
// with its bands and its stacks in the six orders of three, and relabelled so
// that its solution, read in the search order (bottom row first, each from the
// left), starts 9, 8, 7, ...: the first cells then go through every smaller digit
// first. Each of these is measured by the solver's own search, and the slowest
// that take at most <most steps> are kept. The same puzzles give the same grids.
#include "measured_walk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Cell (r, c) of the board, r from the top, moved by transformation t: t % 8 one
// of the eight symmetries of the square, then the bands in the order (t / 8) % 6
// and the stacks in the order t / 48 of the six orders of three.
int Moved(int t, int r, int c) {
    static constexpr int kOrdres[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                          {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    const int s = t % 8;
    const int rr[8] = {r, c, 8 - r, 8 - c, c, 8 - c, r, 8 - r};
    const int cc[8] = {c, 8 - r, 8 - c, r, r, 8 - r, 8 - c, c};
    const int r2 = 3 * kOrdres[(t / 8) % 6][rr[s] / 3] + rr[s] % 3;
    const int c2 = 3 * kOrdres[t / 48][cc[s] / 3] + cc[s] % 3;
    return 9 * r2 + c2;
}

check::Board Transformed(const check::Board& board, int t) {
    check::Board out{};
    for (int i = 0; i < 81; ++i) {
        out[static_cast<std::size_t>(Moved(t, i / 9, i % 9))] = board[static_cast<std::size_t>(i)];
    }
    return out;
}

// The digits renamed so that the solution, read in search order, starts 9, 8, 7, ...
void Relabel(check::Board& puzzle, check::Board& solved) {
    std::array<int, 10> name{};
    int next = 9;
    for (const int cell : check::bottomUpOrder()) {
        int& n = name[static_cast<std::size_t>(solved[static_cast<std::size_t>(cell)])];
        if (n == 0) {
            n = next--;
        }
    }
    for (int i = 0; i < 81; ++i) {
        const auto at = static_cast<std::size_t>(i);
        puzzle[at] = name[static_cast<std::size_t>(puzzle[at])];
        solved[at] = name[static_cast<std::size_t>(solved[at])];
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: slow_grids <grids kept> <most steps> <grid file>\n");
        return 2;
    }
    const auto kept = static_cast<std::size_t>(std::strtol(argv[1], nullptr, 10));
    const std::int64_t most = std::strtoll(argv[2], nullptr, 10);

    std::vector<measured::Grid> slowest;
    for (const grids::Grid& grid : grids::Read(argv[3])) {
        measured::Grid source;
        source.puzzle = *check::boardFromText(grid.puzzle);
        if (check::countCompletions(source.puzzle, 2, &source.solved) != 1) {
            continue;
        }
        for (int t = 0; t < 8 * 36; ++t) {
            measured::Grid g;
            g.puzzle = Transformed(source.puzzle, t);
            g.solved = Transformed(source.solved, t);
            Relabel(g.puzzle, g.solved);
            modSudoku::MemoBandes memo;
            if (!measured::Measure(g, most, memo) || g.steps > most) {
                continue;
            }
            slowest.push_back(g);
            std::sort(
                slowest.begin(), slowest.end(),
                [](const measured::Grid& a, const measured::Grid& b) { return a.steps > b.steps; });
            if (slowest.size() > kept) {
                slowest.pop_back();
            }
        }
    }
    for (const measured::Grid& g : slowest) {
        measured::Print(g);
    }
    return 0;
}
