// The two per-cell operations shared by the full-grid generator and the
// solution counter.
#include "DigitSets.h"
#include "PuzzleBuilder.h"

#include <cstdlib>

int PuzzleBuilder::computeCandidates(CandidateSnapshot* snapshot, int k, const CellGrid& grid) {
    // The 27 cells of k's row, column and box; k itself is among them.
    const int rowStart = (k / 9) * 9;
    const int column = k % 9;
    const int boxStart = (k / 27) * 27 + ((k % 9) / 3) * 3;
    unsigned blocked = 0;
    for (int i = 0; i < 9; ++i) {
        const CellValue values[3] = {grid[rowStart + i], grid[column + 9 * i],
                                     grid[boxStart + i + 6 * (i / 3)]};
        for (CellValue v : values) {
            if (v != 0) {
                blocked |= digit_sets::bitOf(v);
            }
        }
    }
    digit_sets::writeMarks(snapshot, k, blocked);
    return digit_sets::kFreeCount[blocked];
}

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
