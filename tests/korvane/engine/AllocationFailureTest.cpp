// Memory exhaustion in the engine: the allocation's std::bad_alloc passes out,
// and the counter's own stack is released on the way. This program replaces
// the global operator new so that a test can make the n-th allocation fail.
#include "PuzzleBuilder.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
// Allocations still allowed before one fails; negative means no limit.
int allowedAllocations = -1;
// Blocks allocated through operator new and not yet released.
long liveBlocks = 0;
} // namespace

void* operator new(std::size_t size) {
    if (allowedAllocations == 0) {
        throw std::bad_alloc();
    }
    if (allowedAllocations > 0) {
        --allowedAllocations;
    }
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++liveBlocks;
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        --liveBlocks;
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {

TEST(AllocationFailure, PushPassesBadAllocOutAndLeavesTheStackAsItWas) {
    SnapshotStack stack;
    CandidateSnapshot* first = stack.push();
    allowedAllocations = 0;
    EXPECT_THROW(stack.push(), std::bad_alloc);
    allowedAllocations = -1;
    EXPECT_EQ(stack.bottom, first);
    EXPECT_EQ(stack.top, first);
    EXPECT_EQ(first->above, nullptr);
}

TEST(AllocationFailure, CounterReleasesItsOwnStackOnTheWayOut) {
    PuzzleBuilder builder;
    ClueMask mask{};
    mask.fill(kMaskHidden);
    const CellGrid grid = engine_test::gridFromText(engine_test::kValidGrid);
    for (int allowed : {0, 1, 10, 40}) {
        SCOPED_TRACE(allowed);
        const long before = liveBlocks;
        std::srand(1);
        allowedAllocations = allowed;
        EXPECT_THROW(builder.countSolutions(grid, &mask), std::bad_alloc);
        allowedAllocations = -1;
        EXPECT_EQ(liveBlocks, before);
    }
}

TEST(AllocationFailure, GeneratorKeepsItsSnapshotsUntilTheNextClear) {
    PuzzleBuilder builder;
    const long before = liveBlocks;
    std::srand(1);
    allowedAllocations = 30;
    EXPECT_THROW(builder.generateFullGrid(), std::bad_alloc);
    allowedAllocations = -1;
    long kept = 0;
    for (CandidateSnapshot* s = builder.snapshots.bottom; s != nullptr; s = s->above) {
        ++kept;
    }
    EXPECT_GT(kept, 0);
    EXPECT_EQ(liveBlocks, before + kept);
    builder.snapshots.clear();
    EXPECT_EQ(liveBlocks, before);
    // And the next call starts afresh.
    std::srand(1);
    builder.generateFullGrid();
    EXPECT_TRUE(engine_test::isValidGrid(builder.solution));
}

} // namespace
