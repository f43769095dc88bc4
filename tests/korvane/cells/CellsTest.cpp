// Where a cell stands, which duplicate an entry makes, and when a change that a
// cell reports is no change.
#include "CellPlace.h"
#include "Duplicates.h"
#include "RefusedKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Cells whose row, column and box offsets differ, on both margins in use.
TEST(CellPlace, PitchOfThirtyAndTheThirdCellOfABoxSmaller) {
    const struct {
        int index, margin;
        CellPlace place;
    } cases[] = {
        {0, 10, {10, 10, 31, 31}},  {2, 10, {70, 10, 29, 31}},    {19, 10, {40, 70, 31, 29}},
        {64, 0, {30, 210, 31, 31}}, {80, 10, {250, 250, 29, 29}}, {47, 0, {60, 150, 29, 29}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const CellPlace p = PlaceOfCell(c.index, c.margin);
        EXPECT_EQ(p.x, c.place.x);
        EXPECT_EQ(p.y, c.place.y);
        EXPECT_EQ(p.width, c.place.width);
        EXPECT_EQ(p.height, c.place.height);
    }
}

// The edited cell 64 lies in row 7, column 1 and box 6, below its box's top row:
// a scan that takes the row for the column, or walks nine cells in a line for
// the box, misses the cells below.
TEST(FindDuplicate, TheFirstUnitInTheOrderRowColumnBox) {
    const struct {
        const char* what;
        int other;
        std::optional<DuplicateUnit> unit;
    } cases[] = {
        {"row", 67, DuplicateUnit::Row},         // row 7, column 4, box 7
        {"column", 28, DuplicateUnit::Column},   // row 3, column 1, box 3
        {"box", 72, DuplicateUnit::Box},         // row 8, column 0, box 6
        {"row and box", 63, DuplicateUnit::Row}, // row 7, column 0, box 6
        {"the cell itself", 64, DuplicateUnit::Row},
        {"column and box", 55, DuplicateUnit::Column}, // row 6, column 1, box 6
        {"elsewhere", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CellGrid grid{};
        grid[c.other] = 7;
        EXPECT_EQ(FindDuplicate(grid, 64, 7), c.unit);
        EXPECT_EQ(FindDuplicate(grid, 64, 6), std::nullopt);
    }
}

TEST(FindDuplicate, EveryBoxIsScannedBeforeAndAfterTheEditedCell) {
    // The middle cell of each box, so that every box row and column offset comes
    // up; the digit stands at the box's top-left corner, before it in the scan,
    // or at its bottom-right corner, after it. Neither shares its row or column.
    for (int box = 0; box < 9; ++box) {
        const int topLeft = 27 * (box / 3) + 3 * (box % 3);
        const int middle = topLeft + 10;
        for (int other : {topLeft, topLeft + 20}) {
            SCOPED_TRACE("cell " + std::to_string(middle) + ", digit at " + std::to_string(other));
            CellGrid grid{};
            grid[other] = 7;
            EXPECT_EQ(FindDuplicate(grid, middle, 7), DuplicateUnit::Box);
        }
    }
}

TEST(RefusedKey, OnlyTheWatchedCellsUnchangedTextIsNoChange) {
    RefusedKey key;
    EXPECT_FALSE(key.IsNoChange(4010, "")); // nothing watched
    key.Note(4010, "5");
    EXPECT_FALSE(key.IsNoChange(4011, "5")); // another cell
    EXPECT_TRUE(key.IsNoChange(4010, "5"));
    EXPECT_FALSE(key.IsNoChange(4010, "5")); // the watch ended with that change
    key.Note(4010, "5");
    EXPECT_FALSE(key.IsNoChange(4010, "")); // the text changed after all
    EXPECT_FALSE(key.IsNoChange(4010, "5"));
    key.Note(4010, "5");
    key.End(); // the key was handled without a change
    EXPECT_FALSE(key.IsNoChange(4010, "5"));
}

} // namespace
