// The randomised depth-first search that fills solution with a complete grid.
#include "DigitSets.h"
#include "PuzzleBuilder.h"

void PuzzleBuilder::generateFullGrid() {
    solution.fill(0);
    snapshots.clear();
    for (;;) {
        CandidateSnapshot* pass = snapshots.push();
        if (pass == nullptr) {
            return;
        }
        // Rate every empty cell; the lowest index wins among equals, and a dead
        // cell ends the pass with a backtrack alone.
        const digit_sets::UnitDigits units(solution);
        int best = digit_sets::kAboveAnyFreeCount;
        unsigned bestBlocked = 0;
        bool backtracked = false;
        for (int k = 0; k < kCellCount; ++k) {
            if (solution[k] != 0) {
                continue;
            }
            const unsigned blocked = units.blocked(k);
            const int n = digit_sets::freeCount(blocked);
            if (n == 0) {
                backtrack(snapshots.pop());
                backtracked = true;
                break;
            }
            if (n < best) {
                best = n;
                bestBlocked = blocked;
                pass->chosenCell = k;
            }
        }
        if (backtracked) {
            continue;
        }
        if (best == digit_sets::kAboveAnyFreeCount) {
            break;
        }
        // Only the chosen cell's marks are ever read again.
        digit_sets::writeMarks(pass, pass->chosenCell, bestBlocked);
        placeRandomCandidate(pass, solution);
    }
    snapshots.clear();
}

void PuzzleBuilder::backtrack(CandidateSnapshot* snapshot) {
    while (snapshot != nullptr) {
        const int k = snapshot->chosenCell;
        const int d = solution[k];
        solution[k] = 0;
        snapshot->marks[k * kDigitCount + (d - 1)] = kMarkTried;
        if (placeRandomCandidate(snapshot, solution)) {
            return;
        }
        snapshot = snapshots.pop();
    }
}
