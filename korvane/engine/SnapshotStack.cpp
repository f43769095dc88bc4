// The doubly linked stack of candidate snapshots.
#include "PuzzleBuilder.h"

#include <cstring>

CandidateSnapshot* SnapshotStack::push() {
    // Every byte 0: every mark 0, chosenCell 0, both links null.
    auto* snapshot = new CandidateSnapshot;
    std::memset(snapshot, 0, sizeof *snapshot);
    snapshot->below = top;
    if (top != nullptr) {
        top->above = snapshot;
    }
    if (bottom == nullptr) {
        bottom = snapshot;
    }
    top = snapshot;
    return snapshot;
}

CandidateSnapshot* SnapshotStack::pop() {
    if (top == nullptr) {
        return nullptr;
    }
    CandidateSnapshot* below = top->below;
    if (below != nullptr) {
        below->above = nullptr;
    }
    delete top;
    top = below;
    if (below == nullptr) {
        bottom = nullptr;
    }
    return below;
}

void SnapshotStack::clear() {
    CandidateSnapshot* snapshot = bottom;
    while (snapshot != nullptr) {
        CandidateSnapshot* above = snapshot->above;
        delete snapshot;
        snapshot = above;
    }
    bottom = nullptr;
    top = nullptr;
}
