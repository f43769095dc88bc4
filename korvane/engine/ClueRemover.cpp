// Turns the complete solution into a puzzle with exactly one completion.
#include "PuzzleBuilder.h"

#include <cstdlib>

void PuzzleBuilder::removeClues() {
    clueMask.fill(kMaskGiven);
    int undecided = kCellCount - countDecided();
    do {
        const int r = std::rand() % undecided;
        int seen = 0;
        for (int k = 0; k < kCellCount; ++k) {
            if (clueMask[k] != kMaskGiven) {
                continue;
            }
            if (seen == r) {
                clueMask[k] = kMaskHidden;
                if (countSolutions(solution, &clueMask) != 1) {
                    clueMask[k] = kMaskMustStay;
                }
                break;
            }
            ++seen;
        }
        undecided = kCellCount - countDecided();
    } while (undecided > kMinGivens);
    for (std::uint8_t& byte : clueMask) {
        if (byte == kMaskMustStay) {
            byte = kMaskGiven;
        }
    }
}

int PuzzleBuilder::countDecided() const {
    int decided = 0;
    for (std::uint8_t byte : clueMask) {
        decided += byte != kMaskGiven ? 1 : 0;
    }
    return decided;
}
