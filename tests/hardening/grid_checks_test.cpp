// The grid checks that judge the fuzz and stress runs: if they are wrong, those
// runs prove nothing, so each check is tried on cases that it must reject.
#include "GridCheck.h"
#include "GrilleText.h"
#include "SolverOutcome.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The board that the solver's search makes of an empty board, top row first.
const std::string kReference = "978531642642978531531642978"
                               "897214365365897214214365897"
                               "789123456456789123123456789";

check::Board Board(const std::string& text) {
    auto board = check::boardFromText(text);
    EXPECT_TRUE(board.has_value()) << text;
    return board.value_or(check::Board{});
}

std::string Rows(const std::string& sep, const std::string& end, const std::string& cells) {
    std::string bytes;
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 9; ++col) {
            bytes += (col > 0 ? sep : "") + cells.substr(row * 9 + col, 1);
        }
        bytes += end;
    }
    return bytes;
}

TEST(LoadedGrille, SeparatorsAndLineEndsGiveTheSameBoard) {
    const check::Board expected = Board(kReference);
    for (const auto& [sep, end] :
         {std::pair{" ", "\r\n"}, {",", "\r\n"}, {"\t", "\r"}, {"a", "\n"}, {";", "\r\n\r\n"}}) {
        SCOPED_TRACE(std::string("separator ") + sep);
        // A doubled line end is an empty line, which stops the load after row 1.
        const bool doubled = std::string(end) == "\r\n\r\n";
        check::Board want = expected;
        if (doubled) {
            for (int cell = 9; cell < 81; ++cell) {
                want[cell] = 0;
            }
        }
        EXPECT_EQ(check::loadedGrille(Rows(sep, end, kReference)), want);
    }
}

TEST(LoadedGrille, StopsAtTheFirstFaultyValuePosition) {
    check::Board want{};
    want[0] = 5;
    want[1] = 3;
    EXPECT_EQ(check::loadedGrille("5 3\r\n" + Rows(" ", "\r\n", kReference)), want);
    EXPECT_EQ(check::loadedGrille("5 3 x 1\r\n1 1 1 1 1 1 1 1 1\r\n"), want);
    EXPECT_EQ(check::loadedGrille("\xef\xbb\xbf" + Rows(" ", "\r\n", kReference)), check::Board{});
    // One value per line: the first line is too short after its only value.
    std::string perLine;
    for (char c : kReference) {
        perLine += std::string(1, c) + "\n";
    }
    check::Board first{};
    first[0] = 9;
    EXPECT_EQ(check::loadedGrille(perLine), first);
}

TEST(LoadedGrille, ReadsAtMostNineLinesAndKeepsShortFiles) {
    const std::string nine = Rows(" ", "\r\n", kReference);
    EXPECT_EQ(check::loadedGrille(nine + "1 1 1 1 1 1 1 1 1\r\n"), Board(kReference));
    EXPECT_EQ(check::loadedGrille(nine.substr(0, nine.size() - 2)), Board(kReference));
    check::Board five = Board(kReference);
    for (int cell = 45; cell < 81; ++cell) {
        five[cell] = 0;
    }
    EXPECT_EQ(check::loadedGrille(nine.substr(0, 5 * 19)), five);
    EXPECT_EQ(check::loadedGrille(""), check::Board{});
}

TEST(SavedSolution, AcceptsOnlyEightyOneDigitLinesWithCrLf) {
    const check::Board board = Board(kReference);
    const std::string bytes = check::solutionBytes(board);
    ASSERT_EQ(bytes.size(), 243u);
    EXPECT_EQ(check::savedSolution(bytes), board);
    EXPECT_FALSE(check::savedSolution(bytes.substr(3)));
    EXPECT_FALSE(check::savedSolution(bytes + "0\r\n"));
    std::string lf = bytes;
    lf[2] = 'x';
    EXPECT_FALSE(check::savedSolution(lf));
    std::string letter = bytes;
    letter[240] = 'A';
    EXPECT_FALSE(check::savedSolution(letter));
}

TEST(CountCompletions, CountsUpToTheLimit) {
    EXPECT_EQ(check::countCompletions(Board(kReference), 2), 1);
    EXPECT_EQ(check::countCompletions(check::Board{}, 2), 2);
    EXPECT_EQ(check::countCompletions(check::Board{}, 5), 5);

    // A hard board of the sample: one completion, its listed solution.
    check::Board first{};
    EXPECT_EQ(check::countCompletions(Board("0000000000000030850010200000005070000040001000900000"
                                            "00500000073002010000000040009"),
                                      2, &first),
              1);
    EXPECT_EQ(check::toText(first), "98765432124617398535192874612853769463489215779546183251"
                                    "9286473472319568863745219");

    // An a-b / b-a rectangle across two boxes of the reference board: rows 3
    // and 6, columns 3 and 4 hold 2 1 over 1 2.
    check::Board swap = Board(kReference);
    for (int cell : {30, 31, 57, 58}) {
        swap[cell] = 0;
    }
    EXPECT_EQ(check::countCompletions(swap, 5), 2);
    // A second rectangle in the same rows (columns 7 and 8: 6 5 over 5 6): each
    // can be swapped alone, so exactly four completions.
    for (int cell : {34, 35, 61, 62}) {
        swap[cell] = 0;
    }
    EXPECT_EQ(check::countCompletions(swap, 100), 4);
}

TEST(CountCompletions, FindsNoneForDuplicatesAndDeadCells) {
    check::Board row = check::Board{};
    row[0] = 5;
    row[8] = 5;
    EXPECT_EQ(check::countCompletions(row, 2), 0);
    check::Board column{};
    column[0] = 1;
    column[72] = 1;
    EXPECT_EQ(check::countCompletions(column, 2), 0);
    check::Board box{};
    box[0] = 4;
    box[20] = 4;
    EXPECT_EQ(check::countCompletions(box, 2), 0);
    // Cell 0 sees 2..5 in its row, 6..9 in its column and 1 in its box.
    const check::Board dead = Board("023450000"
                                    "010000000"
                                    "000000000"
                                    "600000000"
                                    "700000000"
                                    "800000000"
                                    "900000000"
                                    "000000000"
                                    "000000000");
    EXPECT_EQ(check::countCompletions(dead, 2), 0);
    EXPECT_FALSE(check::noDuplicates(row));
    EXPECT_TRUE(check::noDuplicates(dead));
}

TEST(SmallestCompletion, FollowsTheSolverOrder) {
    check::Board out{};
    ASSERT_TRUE(check::smallestCompletion(check::Board{}, check::bottomUpOrder(), out));
    EXPECT_EQ(check::toText(out), kReference);
    // With the top row given, the completion still starts with 1 2 3 at the bottom.
    ASSERT_TRUE(check::smallestCompletion(Board("123456789" + std::string(72, '0')),
                                          check::bottomUpOrder(), out));
    EXPECT_TRUE(check::isCompleteValid(out));
    EXPECT_EQ(out[72], 2); // 1 is taken in column 0 by the top row
    check::Board none{};
    none[0] = 5;
    none[1] = 5;
    EXPECT_FALSE(check::smallestCompletion(none, check::bottomUpOrder(), out));
}

TEST(JudgeSolverOutcome, AcceptsSoundRuns) {
    const check::Board empty{};
    EXPECT_EQ(
        check::judgeSolverOutcome(empty, check::kSolved, check::solutionBytes(Board(kReference))),
        "");
    check::Board clash{};
    clash[0] = 5;
    clash[8] = 5;
    EXPECT_EQ(check::judgeSolverOutcome(clash, check::kNoSolution, check::solutionBytes(clash)),
              "");
}

TEST(JudgeSolverOutcome, RejectsEachKindOfFault) {
    const check::Board reference = Board(kReference);
    const check::Board empty{};
    check::Board clash{};
    clash[0] = 5;
    clash[8] = 5;

    // Wrong layout of the file.
    EXPECT_NE(check::judgeSolverOutcome(empty, check::kSolved, ""), "");
    // Solved, but another valid completion than the first one.
    check::Board other = reference; // the rectangle of rows 3 and 6 swapped
    for (int cell : {30, 31, 57, 58}) {
        other[cell] = 3 - other[cell];
    }
    ASSERT_TRUE(check::isCompleteValid(other));
    EXPECT_NE(check::judgeSolverOutcome(empty, check::kSolved, check::solutionBytes(other)), "");
    // Solved, but a given lost.
    check::Board given{};
    given[0] = 1;
    EXPECT_NE(check::judgeSolverOutcome(given, check::kSolved, check::solutionBytes(reference)),
              "");
    // Solved, but the board breaks the rules or is not full.
    check::Board broken = reference;
    broken[80] = broken[79];
    EXPECT_NE(check::judgeSolverOutcome(empty, check::kSolved, check::solutionBytes(broken)), "");
    EXPECT_NE(check::judgeSolverOutcome(empty, check::kSolved, check::solutionBytes(empty)), "");
    // Solved claimed for a grid without a completion.
    EXPECT_NE(check::judgeSolverOutcome(clash, check::kSolved, check::solutionBytes(reference)),
              "");
    // No solution claimed for a grid that has one.
    EXPECT_NE(check::judgeSolverOutcome(empty, check::kNoSolution, check::solutionBytes(empty)),
              "");
    // No solution, but the file is not the grid as loaded.
    EXPECT_NE(check::judgeSolverOutcome(clash, check::kNoSolution, check::solutionBytes(empty)),
              "");
    // Any other exit code.
    EXPECT_NE(check::judgeSolverOutcome(empty, check::kSaveFailed, check::solutionBytes(reference)),
              "");
}

} // namespace
