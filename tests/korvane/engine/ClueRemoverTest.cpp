#include "PuzzleBuilder.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

int countOf(const ClueMask& mask, std::uint8_t value) {
    return static_cast<int>(std::count(mask.begin(), mask.end(), value));
}

TEST(RemoveClues, LeavesOnlyGivensAndHiddenCellsAndTheSolutionAlone) {
    PuzzleBuilder builder;
    builder.solution = engine_test::gridFromText(engine_test::kValidGrid);
    builder.clueMask.fill(kMaskMustStay);
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        builder.removeClues();
        EXPECT_EQ(builder.solution, engine_test::gridFromText(engine_test::kValidGrid));
        EXPECT_EQ(countOf(builder.clueMask, kMaskGiven) + countOf(builder.clueMask, kMaskHidden),
                  kCellCount);
        EXPECT_GE(countOf(builder.clueMask, kMaskGiven), kMinGivens);
        EXPECT_GE(countOf(builder.clueMask, kMaskHidden), 3);
        EXPECT_EQ(builder.countDecided(), countOf(builder.clueMask, kMaskHidden));
        EXPECT_EQ(builder.snapshots.top, nullptr);
    }
}

TEST(RemoveClues, DifferentDrawsGiveDifferentMasksForTheSameSolution) {
    PuzzleBuilder builder;
    builder.solution = engine_test::gridFromText(engine_test::kValidGrid);
    std::srand(1);
    builder.removeClues();
    const ClueMask first = builder.clueMask;
    builder.removeClues();
    EXPECT_NE(builder.clueMask, first);
}

TEST(CountDecided, CountsEveryMaskByteThatIsNotZero) {
    PuzzleBuilder builder;
    EXPECT_EQ(builder.countDecided(), 0);
    builder.clueMask[0] = kMaskHidden;
    builder.clueMask[40] = kMaskMustStay;
    builder.clueMask[80] = kMaskHidden;
    EXPECT_EQ(builder.countDecided(), 3);
}

} // namespace
