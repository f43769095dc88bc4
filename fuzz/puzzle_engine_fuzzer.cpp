// Fuzz target: the puzzle engine with the random seed taken from the input.
// Each puzzle must be valid, keep at least 28 givens, and have exactly one
// completion, equal to the solution, as counted by a search of our own; every
// snapshot that a seed allocates is released by its end (snapshot_pool.h).
#include "GridCheck.h"
#include "PuzzleBuilder.h"
#include "snapshot_pool.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void fail(unsigned seed, const char* what, const check::Board& board) {
    std::fprintf(stderr, "seed %u: %s\n  grid %s\n", seed, what, check::toText(board).c_str());
    std::abort();
}

check::Board toBoard(const CellGrid& grid) {
    check::Board board{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        board[cell] = grid[cell];
    }
    return board;
}

void CheckSeed(unsigned seed) {
    std::srand(seed);
    PuzzleBuilder builder;
    builder.generateFullGrid();
    const CellGrid solution = builder.solution;
    builder.removeClues();

    const check::Board full = toBoard(builder.solution);
    if (!check::isCompleteValid(full)) {
        fail(seed, "the solution is not a complete valid grid", full);
    }
    if (builder.solution != solution) {
        fail(seed, "removeClues changed the solution", full);
    }
    if (builder.snapshots.bottom != nullptr || builder.snapshots.top != nullptr) {
        fail(seed, "snapshots left on the builder's stack", full);
    }

    check::Board puzzle{};
    int givens = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const std::uint8_t mask = builder.clueMask[cell];
        if (mask != kMaskGiven && mask != kMaskHidden) {
            fail(seed, "a clue mask byte other than 0 or 1", full);
        }
        if (mask == kMaskGiven) {
            puzzle[cell] = full[cell];
            ++givens;
        }
    }
    if (givens < kMinGivens) {
        fail(seed, "fewer than 28 givens", puzzle);
    }
    check::Board completion{};
    if (check::countCompletions(puzzle, 2, &completion) != 1) {
        fail(seed, "the puzzle does not have exactly one completion", puzzle);
    }
    if (completion != full) {
        fail(seed, "the puzzle's completion differs from the solution", puzzle);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    snapshot_pool::Serve(sizeof(CandidateSnapshot));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    unsigned seed = 0;
    std::memcpy(&seed, data, size < sizeof seed ? size : sizeof seed);
    const std::size_t live = snapshot_pool::Live();
    CheckSeed(seed);
    if (snapshot_pool::Live() != live) {
        fail(seed, "snapshots not released", check::Board{});
    }
    return 0;
}
