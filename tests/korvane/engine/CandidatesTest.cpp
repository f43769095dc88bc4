#include "DigitSets.h"
#include "PuzzleBuilder.h"
#include "TestGrids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

using engine_test::drawAfterSeeding;
using engine_test::seedForFirstDraw;

namespace {

struct Fixture {
    PuzzleBuilder builder;
    SnapshotStack stack;
    CandidateSnapshot* snapshot = stack.push();
    CellGrid grid{};

    std::array<std::uint8_t, 9> marksOf(int k) const {
        std::array<std::uint8_t, 9> marks{};
        std::copy_n(snapshot->marks + k * kDigitCount, kDigitCount, marks.begin());
        return marks;
    }
    void setMarks(int k, const std::array<std::uint8_t, 9>& marks) {
        std::copy(marks.begin(), marks.end(), snapshot->marks + k * kDigitCount);
    }
};

// Same row, same column, or the same band of three rows and stack of three columns.
bool sharesUnit(int a, int b) {
    const int ra = a / 9, ca = a % 9, rb = b / 9, cb = b % 9;
    return ra == rb || ca == cb || (ra / 3 == rb / 3 && ca / 3 == cb / 3);
}

// The digits that block a cell come from the digit sets of its row, column
// and box, and writeMarks turns them into the cell's marks.
std::array<std::uint8_t, 9> marksFor(unsigned blocked) {
    std::array<std::uint8_t, 9> marks{};
    for (int d = 0; d < kDigitCount; ++d) {
        marks[d] = (blocked >> d) & 1u ? kMarkBlocked : kMarkFree;
    }
    return marks;
}

TEST(CandidateMarks, EmptyGridLeavesAllNineDigitsFree) {
    Fixture f;
    const digit_sets::UnitDigits units(f.grid);
    for (int k = 0; k < kCellCount; ++k) {
        EXPECT_EQ(units.blocked(k), 0u) << "cell " << k;
        EXPECT_EQ(digit_sets::freeCount(units.blocked(k)), 9) << "cell " << k;
        digit_sets::writeMarks(f.snapshot, k, units.blocked(k));
    }
    EXPECT_TRUE(std::all_of(std::begin(f.snapshot->marks), std::end(f.snapshot->marks),
                            [](std::uint8_t mark) { return mark == kMarkFree; }));
}

TEST(CandidateMarks, BlockExactlyTheDigitsOfTheCellsRowColumnAndBox) {
    // One digit in one other cell at a time: blocked exactly when the two
    // cells share a row, a column or a box.
    Fixture f;
    for (int k = 0; k < kCellCount; ++k) {
        for (int other = 0; other < kCellCount; ++other) {
            if (other == k) {
                continue;
            }
            const int digit = 1 + (k + other) % 9;
            f.grid.fill(0);
            f.grid[other] = static_cast<CellValue>(digit);
            const unsigned blocked = digit_sets::UnitDigits(f.grid).blocked(k);
            const unsigned expected = sharesUnit(k, other) ? 1u << (digit - 1) : 0u;
            ASSERT_EQ(blocked, expected) << "cell " << k << ", digit at " << other;
            ASSERT_EQ(digit_sets::freeCount(blocked), expected != 0 ? 8 : 9);
            digit_sets::writeMarks(f.snapshot, k, blocked);
            ASSERT_EQ(f.marksOf(k), marksFor(expected)) << "cell " << k << ", digit at " << other;
        }
    }
}

TEST(CandidateMarks, CellSeeingAllNineDigitsHasNone) {
    // Cell 40 (row 4, column 4, box 4) sees 1..3 in its row, 4..6 in its
    // column and 7..9 in its box.
    Fixture f;
    const int cells[9] = {36, 37, 44, 4, 13, 76, 30, 50, 48};
    for (int i = 0; i < 9; ++i) {
        f.grid[cells[i]] = static_cast<CellValue>(i + 1);
    }
    const unsigned blocked = digit_sets::UnitDigits(f.grid).blocked(40);
    EXPECT_EQ(digit_sets::freeCount(blocked), 0);
    digit_sets::writeMarks(f.snapshot, 40, blocked);
    EXPECT_EQ(f.marksOf(40), (std::array<std::uint8_t, 9>{1, 1, 1, 1, 1, 1, 1, 1, 1}));
}

TEST(CandidateMarks, RewritingWipesTriedMarksAndTouchesNoOtherCell) {
    Fixture f;
    std::fill(std::begin(f.snapshot->marks), std::end(f.snapshot->marks), kMarkTried);
    f.grid[1] = 3;  // same row as cell 0
    f.grid[72] = 8; // same column
    const unsigned blocked = digit_sets::UnitDigits(f.grid).blocked(0);
    EXPECT_EQ(digit_sets::freeCount(blocked), 7);
    digit_sets::writeMarks(f.snapshot, 0, blocked);
    EXPECT_EQ(f.marksOf(0), (std::array<std::uint8_t, 9>{0, 0, 1, 0, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(std::all_of(f.snapshot->marks + kDigitCount, std::end(f.snapshot->marks),
                            [](std::uint8_t mark) { return mark == kMarkTried; }));
}

TEST(PlaceRandomCandidate, PlacesTheDrawnFreeDigitAndDrawsOnce) {
    // Free digits {2, 5, 7} at cell 30; tried and blocked digits are skipped.
    const std::array<std::uint8_t, 9> marks = {1, 0, 2, 1, 0, 1, 0, 2, 1};
    const CellValue freeDigits[3] = {2, 5, 7};
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        Fixture f;
        f.snapshot->chosenCell = 30;
        f.setMarks(30, marks);
        const int secondDraw = drawAfterSeeding(seedForFirstDraw(3, r), 2);
        EXPECT_TRUE(f.builder.placeRandomCandidate(f.snapshot, f.grid));
        EXPECT_EQ(f.grid[30], freeDigits[r]);
        EXPECT_EQ(std::count(f.grid.begin(), f.grid.end(), 0), kCellCount - 1);
        EXPECT_EQ(f.marksOf(30), marks) << "placing changes no mark";
        EXPECT_EQ(std::rand(), secondDraw) << "exactly one number drawn";
    }
}

TEST(PlaceRandomCandidate, SingleFreeDigitIsPlacedWithoutDrawing) {
    Fixture f;
    f.snapshot->chosenCell = 80;
    f.setMarks(80, {1, 2, 1, 1, 1, 1, 1, 1, 0});
    const int firstDraw = drawAfterSeeding(7, 1);
    EXPECT_TRUE(f.builder.placeRandomCandidate(f.snapshot, f.grid));
    EXPECT_EQ(f.grid[80], 9);
    EXPECT_EQ(std::rand(), firstDraw);
}

TEST(PlaceRandomCandidate, NoFreeDigitOrNoSnapshotPlacesNothing) {
    Fixture f;
    f.grid = engine_test::gridFromText(engine_test::kValidGrid);
    f.grid[5] = 0;
    const CellGrid before = f.grid;
    f.snapshot->chosenCell = 5;
    f.setMarks(5, {1, 2, 1, 2, 1, 1, 2, 1, 1});
    const int firstDraw = drawAfterSeeding(7, 1);
    EXPECT_FALSE(f.builder.placeRandomCandidate(f.snapshot, f.grid));
    EXPECT_FALSE(f.builder.placeRandomCandidate(nullptr, f.grid));
    EXPECT_EQ(f.grid, before);
    EXPECT_EQ(std::rand(), firstDraw);
}

} // namespace
