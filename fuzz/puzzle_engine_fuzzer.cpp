// Fuzz target: the puzzle engine with the random seed taken from the input.
// Each puzzle must be valid, keep at least 28 givens, and have exactly one
// completion, equal to the solution, as counted by a search of our own.
#include "GridCheck.h"
#include "PuzzleBuilder.h"

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

} // namespace

// Each seed allocates and frees about 1,700 candidate snapshots of 750 bytes
// (1.4 MB with AddressSanitizer's red zones), all within the seed's own run.
// The default quarantine of 256 MB keeps freed snapshots from being reused
// for 180 seeds, so that every allocation lands on memory long out of the
// caches: a quarter of the target's time. A quarantine of 4 MB still holds
// every snapshot that a seed frees until that seed's end and beyond; a use
// after free within a seed is caught as before. ASAN_OPTIONS still has the
// last word.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=4";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    unsigned seed = 0;
    std::memcpy(&seed, data, size < sizeof seed ? size : sizeof seed);

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
    return 0;
}
