#include "PuzzleBuilder.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <vector>

using engine_test::gridFromText;
using engine_test::kRectangleCells;
using engine_test::kValidGrid;

namespace {

struct Counter {
    PuzzleBuilder builder;
    CellGrid grid = gridFromText(kValidGrid);
    ClueMask mask{};

    // Counts with the given mask, and checks that neither argument changed
    // and that the builder's own stack was not used.
    int count(const ClueMask* withMask) {
        const CellGrid gridBefore = grid;
        const ClueMask maskBefore = mask;
        const int result = builder.countSolutions(grid, withMask);
        EXPECT_EQ(grid, gridBefore);
        EXPECT_EQ(mask, maskBefore);
        EXPECT_EQ(builder.snapshots.top, nullptr);
        return result;
    }
    int countHiding(const std::vector<int>& cells) {
        mask.fill(kMaskGiven);
        for (int k : cells) {
            mask[k] = kMaskHidden;
        }
        return count(&mask);
    }
};

TEST(CountSolutions, CountsTheCompletionsOfTheHiddenCells) {
    const auto& r = kRectangleCells;
    const struct {
        const char* what;
        std::vector<int> hidden;
        int count;
    } cases[] = {
        {"cell 0", {0}, 1},
        {"cell 40", {40}, 1},
        {"cell 80", {80}, 1},
        {"row 4", {36, 37, 38, 39, 40, 41, 42, 43, 44}, 1},
        {"a crosswise rectangle", {r[0], r[1], r[2], r[3]}, 2},
        {"three of its corners", {r[0], r[1], r[2]}, 1},
    };
    for (const auto& c : cases) {
        Counter counter;
        EXPECT_EQ(counter.countHiding(c.hidden), c.count) << c.what;
    }
}

TEST(CountSolutions, AllCellsHiddenGivesTwo) {
    Counter c;
    c.mask.fill(kMaskHidden);
    EXPECT_EQ(c.count(&c.mask), 2);
}

TEST(CountSolutions, MustStayCellsCountAsGivens) {
    Counter c;
    const auto& r = kRectangleCells;
    c.mask.fill(kMaskGiven);
    c.mask[r[0]] = kMaskHidden;
    c.mask[r[1]] = kMaskHidden;
    c.mask[r[2]] = kMaskHidden;
    c.mask[r[3]] = kMaskMustStay;
    EXPECT_EQ(c.count(&c.mask), 1);
    // Any value other than 1 keeps the cell's digit.
    c.mask[r[3]] = 7;
    EXPECT_EQ(c.count(&c.mask), 1);
}

TEST(CountSolutions, WithoutMaskTheGridIsSearchedAsItIs) {
    Counter c;
    EXPECT_EQ(c.count(nullptr), 1) << "a complete grid";
    for (int k : kRectangleCells) {
        c.grid[k] = 0;
    }
    EXPECT_EQ(c.count(nullptr), 2);
    c.grid[kRectangleCells[0]] = 2;
    EXPECT_EQ(c.count(nullptr), 1);
    // A mask full of hidden cells has no effect when it is not passed.
    c.mask.fill(kMaskHidden);
    EXPECT_EQ(c.count(nullptr), 1);
}

TEST(CountSolutions, DeadCellGivesNone) {
    // Cell 0 is empty: its row holds every digit but 2, and a 2 now stands at
    // cell 72 in its column too.
    Counter c;
    c.grid[0] = 0;
    c.grid[72] = 2;
    EXPECT_EQ(c.count(nullptr), 0);
    // The same with cell 0 hidden by the mask rather than emptied.
    c.grid[0] = 2;
    EXPECT_EQ(c.countHiding({0}), 0);
}

TEST(CountSolutions, SameArgumentsSameResult) {
    Counter c;
    c.mask.fill(kMaskGiven);
    for (int k = 0; k < kCellCount; k += 2) {
        c.mask[k] = kMaskHidden;
    }
    CellGrid puzzle = c.grid;
    for (int k = 0; k < kCellCount; k += 2) {
        puzzle[k] = 0;
    }
    const int first = c.count(&c.mask);
    EXPECT_EQ(first, engine_test::findCompletions(puzzle).count);
    EXPECT_EQ(c.count(&c.mask), first);
}

} // namespace
