#include "PuzzleBuilder.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using engine_test::isValidGrid;

namespace {

TEST(GenerateFullGrid, FillsAValidGridAndLeavesMaskAndStackAlone) {
    PuzzleBuilder builder;
    for (int k = 0; k < kCellCount; ++k) {
        builder.clueMask[k] = static_cast<std::uint8_t>(k % 2);
    }
    const ClueMask mask = builder.clueMask;
    for (unsigned seed : {1u, 2u, 3u, 99u}) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        builder.generateFullGrid();
        EXPECT_TRUE(isValidGrid(builder.solution));
        EXPECT_EQ(builder.clueMask, mask);
        EXPECT_EQ(builder.snapshots.bottom, nullptr);
        EXPECT_EQ(builder.snapshots.top, nullptr);
    }
}

TEST(GenerateFullGrid, SameSeedSameGridWhateverTheBuilderHeldBefore) {
    PuzzleBuilder fresh;
    std::srand(5);
    fresh.generateFullGrid();

    PuzzleBuilder used;
    used.solution.fill(9);
    used.snapshots.push();
    used.snapshots.push();
    std::srand(5);
    used.generateFullGrid();
    EXPECT_EQ(used.solution, fresh.solution);
    EXPECT_EQ(used.snapshots.top, nullptr);
}

TEST(Backtrack, DescendsPastExhaustedCellsToTheNextDigitLeft) {
    // Three placements: cell 0 still has digit 7 left, cells 1 and 2 have
    // nothing left once their digit is given up.
    PuzzleBuilder builder;
    CandidateSnapshot* first = builder.snapshots.push();
    first->chosenCell = 0;
    for (int d : {1, 2, 4, 5, 6, 8, 9}) {
        first->marks[d - 1] = kMarkTried;
    }
    builder.solution[0] = 3;
    CandidateSnapshot* second = builder.snapshots.push();
    second->chosenCell = 1;
    std::fill(second->marks + 9, second->marks + 18, kMarkBlocked);
    second->marks[9 + 3] = kMarkFree;
    builder.solution[1] = 4;
    CandidateSnapshot* third = builder.snapshots.push();
    third->chosenCell = 2;
    std::fill(third->marks + 18, third->marks + 27, kMarkTried);
    third->marks[18 + 4] = kMarkFree;
    builder.solution[2] = 5;

    const int firstDraw = engine_test::drawAfterSeeding(3, 1);
    builder.backtrack(third);

    EXPECT_EQ(builder.solution[0], 7);
    EXPECT_EQ(builder.solution[1], 0);
    EXPECT_EQ(builder.solution[2], 0);
    EXPECT_EQ(first->marks[2], kMarkTried) << "digit 3 given up at cell 0";
    EXPECT_EQ(builder.snapshots.bottom, first);
    EXPECT_EQ(builder.snapshots.top, first);
    EXPECT_EQ(first->above, nullptr);
    EXPECT_EQ(std::rand(), firstDraw) << "a single digit left is placed without a draw";
}

TEST(Backtrack, EmptyingTheWholeStackLeavesAnEmptyGrid) {
    PuzzleBuilder builder;
    CandidateSnapshot* only = builder.snapshots.push();
    only->chosenCell = 40;
    std::fill(only->marks + 360, only->marks + 369, kMarkBlocked);
    builder.solution[40] = 6;
    builder.backtrack(only);
    builder.backtrack(nullptr);
    EXPECT_EQ(builder.solution, CellGrid{});
    EXPECT_EQ(builder.snapshots.bottom, nullptr);
    EXPECT_EQ(builder.snapshots.top, nullptr);
}

} // namespace
