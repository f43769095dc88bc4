// Counts the completions of a partly hidden grid: 0, 1 or 2 (two or more).
#include "DigitSets.h"
#include "PuzzleBuilder.h"

#include <new>

int PuzzleBuilder::countSolutions(const CellGrid& grid, const ClueMask* mask) {
    CellGrid work = grid;
    if (mask != nullptr) {
        for (int k = 0; k < kCellCount; ++k) {
            if ((*mask)[k] == kMaskHidden) {
                work[k] = 0;
            }
        }
    }
    // Both kept up to date with every placement and undo below.
    digit_sets::UnitDigits units(work);
    digit_sets::EmptyCells empty(work);

    SnapshotStack stack;
    CandidateSnapshot* current = nullptr;
    int count = 0;
    for (;;) {
        // One search pass: fill a cell, or meet a completion or a dead cell.
        if (empty.none()) {
            ++count;
        } else {
            current = stack.push();
            if (current == nullptr) {
                throw std::bad_alloc();
            }
            // A cell with a single free digit is filled at once; otherwise the
            // one with the fewest, the lowest index winning among equals.
            int best = digit_sets::kAboveAnyFreeCount;
            unsigned bestBlocked = 0;
            empty.forEach([&](int k) {
                const unsigned blocked = units.blocked(k);
                const int n = digit_sets::freeCount(blocked);
                if (n < best) {
                    best = n;
                    bestBlocked = blocked;
                    current->chosenCell = k;
                }
                return n > 1;
            });
            if (best > 0) {
                // Only the chosen cell's marks are ever read again.
                const int k = current->chosenCell;
                digit_sets::writeMarks(current, k, bestBlocked);
                placeRandomCandidate(current, work);
                units.add(k, work[k]);
                empty.remove(k);
                continue;
            }
            // A dead cell: the pass's snapshot goes.
            current = stack.pop();
        }
        // Backtrack until a snapshot places its cell's next digit.
        for (;;) {
            if (current == nullptr || count > 1) {
                return count;
            }
            const int k = current->chosenCell;
            const CellValue d = work[k];
            work[k] = 0;
            units.remove(k, d);
            current->marks[k * kDigitCount + (d - 1)] = kMarkTried;
            if (placeRandomCandidate(current, work)) {
                units.add(k, work[k]);
                break;
            }
            empty.add(k);
            current = stack.pop();
        }
    }
}
