// The placement shared by the full-grid generator and the solution counter:
// a random free digit of a snapshot's chosen cell.
#include "PuzzleBuilder.h"

#include <cstdlib>

bool PuzzleBuilder::placeRandomCandidate(CandidateSnapshot* snapshot, CellGrid& grid) {
    if (snapshot == nullptr) {
        return false;
    }
    const int k = snapshot->chosenCell;
    const std::uint8_t* marks = snapshot->marks + k * kDigitCount;
    int free = 0;
    for (int d = 0; d < kDigitCount; ++d) {
        free += marks[d] == kMarkFree ? 1 : 0;
    }
    if (free == 0) {
        return false;
    }
    // The r-th free digit in ascending order, counting from 0.
    int r = free == 1 ? 0 : std::rand() % free;
    for (int d = 0; d < kDigitCount; ++d) {
        if (marks[d] == kMarkFree && r-- == 0) {
            grid[k] = static_cast<CellValue>(d + 1);
            break;
        }
    }
    return true;
}
