#include "TestGrids.h"

#include <bit>
#include <cstdlib>

namespace engine_test {

CellGrid gridFromText(std::string_view text) {
    CellGrid grid{};
    for (int k = 0; k < kCellCount; ++k) {
        grid[k] = static_cast<CellValue>(text[k] - '0');
    }
    return grid;
}

namespace {

int boxOf(int k) {
    return (k / 27) * 3 + (k % 9) / 3;
}

struct Search {
    CellGrid cells{};
    unsigned rows[9] = {};
    unsigned columns[9] = {};
    unsigned boxes[9] = {};
    Completions found;

    unsigned used(int k) const { return rows[k / 9] | columns[k % 9] | boxes[boxOf(k)]; }

    void toggle(int k, int digit) {
        const unsigned bit = 1u << digit;
        rows[k / 9] ^= bit;
        columns[k % 9] ^= bit;
        boxes[boxOf(k)] ^= bit;
    }

    void run() {
        int cell = -1;
        int fewest = 10;
        for (int k = 0; k < kCellCount; ++k) {
            if (cells[k] == 0) {
                const int free = 9 - std::popcount(used(k) & 0x3FEu);
                if (free < fewest) {
                    fewest = free;
                    cell = k;
                }
            }
        }
        if (cell < 0) {
            if (found.count++ == 0) {
                found.first = cells;
            }
            return;
        }
        for (int digit = 1; digit <= 9 && found.count < 2; ++digit) {
            if ((used(cell) & (1u << digit)) == 0) {
                cells[cell] = static_cast<CellValue>(digit);
                toggle(cell, digit);
                run();
                toggle(cell, digit);
                cells[cell] = 0;
            }
        }
    }
};

} // namespace

bool isValidGrid(const CellGrid& grid) {
    unsigned rows[9] = {}, columns[9] = {}, boxes[9] = {};
    for (int k = 0; k < kCellCount; ++k) {
        const int v = grid[k];
        if (v < 1 || v > 9) {
            return false;
        }
        rows[k / 9] |= 1u << v;
        columns[k % 9] |= 1u << v;
        boxes[boxOf(k)] |= 1u << v;
    }
    for (int i = 0; i < 9; ++i) {
        if (rows[i] != 0x3FEu || columns[i] != 0x3FEu || boxes[i] != 0x3FEu) {
            return false;
        }
    }
    return true;
}

Completions findCompletions(const CellGrid& puzzle) {
    Search search;
    for (int k = 0; k < kCellCount; ++k) {
        const int v = puzzle[k];
        if (v == 0) {
            continue;
        }
        if ((search.used(k) & (1u << v)) != 0) {
            return {};
        }
        search.cells[k] = static_cast<CellValue>(v);
        search.toggle(k, v);
    }
    search.run();
    return search.found;
}

CellGrid puzzleOf(const PuzzleBuilder& builder) {
    CellGrid puzzle = builder.solution;
    for (int k = 0; k < kCellCount; ++k) {
        if (builder.clueMask[k] != kMaskGiven) {
            puzzle[k] = 0;
        }
    }
    return puzzle;
}

unsigned seedForFirstDraw(int modulus, int residue) {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if (std::rand() % modulus == residue) {
            return seed;
        }
    }
}

int drawAfterSeeding(unsigned seed, int n) {
    std::srand(seed);
    int value = 0;
    for (int i = 0; i < n; ++i) {
        value = std::rand();
    }
    std::srand(seed);
    return value;
}

} // namespace engine_test
