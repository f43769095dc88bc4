#include "TestGrids.h"

#include <algorithm>
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

check::Board boardOf(const CellGrid& grid) {
    check::Board board{};
    std::copy(grid.begin(), grid.end(), board.begin());
    return board;
}

} // namespace

bool isValidGrid(const CellGrid& grid) {
    return check::isCompleteValid(boardOf(grid));
}

Completions findCompletions(const CellGrid& puzzle) {
    check::Board first{};
    Completions found;
    found.count = static_cast<int>(check::countCompletions(boardOf(puzzle), 2, &first));
    std::copy(first.begin(), first.end(), found.first.begin());
    return found;
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
