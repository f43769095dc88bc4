// The completion check that guards the search against boards without solution.
#include "GridFiles.h"
#include "existence_solution.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

using modSudoku::ACompletion;

namespace {

using Cases = std::array<std::int16_t, 81>;

// 81 chars, top row first, into label order (9*y + x).
Cases FromText(std::string_view text) {
    Cases cases{};
    for (int i = 0; i < 81; ++i) {
        cases[static_cast<std::size_t>(grids::Label(i))] =
            static_cast<std::int16_t>(text[static_cast<std::size_t>(i)] - '0');
    }
    return cases;
}

TEST(ACompletion, BoardsWithSolutionsAndBoardsWithout) {
    EXPECT_TRUE(ACompletion(FromText(std::string(81, '0'))));
    EXPECT_TRUE(ACompletion(FromText(solver_test::kReference)));
    std::string twice(solver_test::kReference);
    twice[80] = twice[79];
    EXPECT_FALSE(ACompletion(FromText(twice)));
    std::string conflicting(81, '0');
    conflicting[0] = '5';
    conflicting[7] = '5';
    EXPECT_FALSE(ACompletion(FromText(conflicting)));
    // Nine different digits pushed out of one cell by its row, column and square.
    std::string blocked(81, '0');
    const char* row = "012345600";
    for (int x = 0; x < 9; ++x) {
        blocked[static_cast<std::size_t>(72 + x)] = row[x];
    }
    blocked[36] = '7';
    blocked[0] = '8';
    blocked[56] = '9';
    EXPECT_FALSE(ACompletion(FromText(blocked)));
    // A digit with no place in a unit although every cell has candidates: the 1s
    // of rows 0 and 1 (from the top) and of columns 0 and 1 leave the top-left
    // square only the cell at row 2, column 2.
    std::string noPlace(81, '0');
    noPlace[9 * 0 + 3] = '1';
    noPlace[9 * 1 + 6] = '1';
    noPlace[9 * 3 + 0] = '1';
    noPlace[9 * 6 + 1] = '1';
    EXPECT_TRUE(ACompletion(FromText(noPlace)));
    noPlace[9 * 2 + 2] = '2';
    EXPECT_FALSE(ACompletion(FromText(noPlace)));
    // Sparse givens on which a search by fewest candidates alone, without forced
    // cells, wanders for about a minute before finding its completion.
    EXPECT_TRUE(ACompletion(FromText(
        "020000000000000050900000107000000000040000000000090000300000000000000045000400000")));
}

TEST(ACompletion, HardBoardsWithOneMoreGiven) {
    // Each hard board has one solution: adding a given keeps a completion exactly
    // when it is that solution's digit.
    for (const grids::Grid& board : grids::HardBoards()) {
        const std::string& given = board.puzzle;
        const std::string& solved = board.solved;
        SCOPED_TRACE(given);
        ASSERT_TRUE(ACompletion(FromText(given)));
        int checked = 0;
        for (std::size_t i = 0; i < 81; i += 7) {
            if (given[i] != '0') {
                continue;
            }
            for (char d = '1'; d <= '9'; ++d) {
                std::string puzzle = given;
                puzzle[i] = d;
                EXPECT_EQ(ACompletion(FromText(puzzle)), d == solved[i]) << i << " " << d;
                ++checked;
            }
        }
        EXPECT_GT(checked, 0);
    }
}

} // namespace
