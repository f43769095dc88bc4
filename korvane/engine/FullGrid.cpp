// The randomised depth-first search that fills solution with a complete grid.
#include "DigitSets.h"
#include "PuzzleBuilder.h"

void PuzzleBuilder::generateFullGrid() {
    solution.fill(0);
    snapshots.clear();
    // The digits of each unit, kept with each placement and read again from the
    // grid after a backtrack, which may undo and redo several cells.
    digit_sets::UnitDigits units(solution);
    for (;;) {
        CandidateSnapshot* pass = snapshots.push();
        if (pass == nullptr) {
            return;
        }
        // Rate every empty cell; the lowest index wins among equals, and a dead
        // cell ends the pass with a backtrack alone.
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
                units = digit_sets::UnitDigits(solution);
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
        const int k = pass->chosenCell;
        digit_sets::writeMarks(pass, k, bestBlocked);
        placeRandomCandidate(pass, solution);
        units.add(k, solution[k]);
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
