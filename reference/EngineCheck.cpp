#include "EngineCheck.h"

#include "PuzzleCheck.h"

namespace check {

std::string judgeBuilder(const PuzzleBuilder& builder, const CellGrid& generated) {
    Board solution{};
    Board puzzle{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const auto mask = builder.clueMask[cell];
        if (mask != kMaskGiven && mask != kMaskHidden) {
            return "clue mask byte " + std::to_string(mask) + " at cell " + std::to_string(cell);
        }
        solution[cell] = builder.solution[cell];
        puzzle[cell] = mask == kMaskGiven ? solution[cell] : 0;
    }
    if (builder.solution != generated) {
        return "the clue removal changed the solution";
    }
    if (builder.snapshots.bottom != nullptr || builder.snapshots.top != nullptr) {
        return "snapshots left on the builder's stack";
    }
    return judgePuzzle(solution, puzzle);
}

} // namespace check
