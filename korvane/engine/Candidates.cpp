// The placement shared by the full-grid generator and the solution counter:
// a random free digit of a snapshot's chosen cell.
#include "DigitSets.h"
#include "PuzzleBuilder.h"

#include <bit>
#include <cstdlib>

bool PuzzleBuilder::placeRandomCandidate(CandidateSnapshot* snapshot, CellGrid& grid) {
    if (snapshot == nullptr) {
        return false;
    }
    const int k = snapshot->chosenCell;
    const std::uint8_t* marks = snapshot->marks + k * kDigitCount;
    unsigned freeDigits = 0; // bit d - 1 for each free digit d
    for (int d = 0; d < kDigitCount; ++d) {
        freeDigits |= marks[d] == kMarkFree ? 1u << d : 0u;
    }
    const int free = digit_sets::kDigitsIn[freeDigits];
    if (free == 0) {
        return false;
    }
    // The r-th free digit in ascending order, counting from 0.
    for (int r = free == 1 ? 0 : std::rand() % free; r > 0; --r) {
        freeDigits &= freeDigits - 1;
    }
    grid[k] = static_cast<CellValue>(std::countr_zero(freeDigits) + 1);
    return true;
}
