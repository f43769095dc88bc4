// The completion check that guards the search against boards without solution.
#include "existence_solution.h"
#include "hard_boards.h"
#include "solver_test_support.h"

#include <sstream>
#include <vector>

using modSudoku::ACompletion;

namespace {

using Cases = std::array<std::int16_t, 81>;

// 81 chars, top row first, into label order (9*y + x).
Cases FromText(std::string_view text) {
    Cases cases{};
    for (int i = 0; i < 81; ++i) {
        cases[static_cast<std::size_t>(9 * (8 - i / 9) + i % 9)] =
            static_cast<std::int16_t>(text[static_cast<std::size_t>(i)] - '0');
    }
    return cases;
}

struct Pair {
    std::string puzzle;
    std::string solved;
};

std::vector<Pair> HardBoards() {
    std::vector<Pair> boards;
    std::istringstream lines{std::string(solver_bench::kHardBoards)};
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != '#') {
            boards.push_back({line.substr(0, 81), line.substr(82, 81)});
        }
    }
    return boards;
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
    for (const Pair& board : HardBoards()) {
        SCOPED_TRACE(board.puzzle);
        ASSERT_TRUE(ACompletion(FromText(board.puzzle)));
        int checked = 0;
        for (std::size_t i = 0; i < 81; i += 7) {
            if (board.puzzle[i] != '0') {
                continue;
            }
            for (char d = '1'; d <= '9'; ++d) {
                std::string puzzle = board.puzzle;
                puzzle[i] = d;
                EXPECT_EQ(ACompletion(FromText(puzzle)), d == board.solved[i]) << i << " " << d;
                ++checked;
            }
        }
        EXPECT_GT(checked, 0);
    }
}

} // namespace
