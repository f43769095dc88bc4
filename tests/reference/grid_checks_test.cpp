// The grid checks that judge the fuzz and stress runs: if they are wrong, those
// runs prove nothing, so each check is tried on cases that it must reject.
#include "GridCheck.h"
#include "GridFiles.h"
#include "GrilleText.h"
#include "PuzzleCheck.h"
#include "SolverOutcome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// Boards with one and with many completions: each hard board's solution with
// a third, a half and two thirds of its cells emptied in a scattered pattern.
std::vector<check::Board> PartlyEmptiedBoards() {
    std::vector<check::Board> boards;
    for (const grids::Grid& hard : grids::HardBoards()) {
        for (int every : {3, 2}) {
            for (bool keep : {false, true}) {
                check::Board board = Board(hard.solved);
                for (int cell = 0; cell < 81; ++cell) {
                    if (((cell * 7 + cell / 9) % every == 0) != keep) {
                        board[cell] = 0;
                    }
                }
                boards.push_back(board);
            }
        }
    }
    return boards;
}

// The search of our own, and the expected run built on it, end on the completion that
// comes first in the solver's order.
TEST(SearchSteps, EndsOnTheSmallestCompletion) {
    for (const check::Board& board : PartlyEmptiedBoards()) {
        SCOPED_TRACE(check::toText(board));
        check::Board smallest{};
        ASSERT_TRUE(check::smallestCompletion(board, check::bottomUpOrder(), smallest));
        const auto expected = check::expectRun(board, 10'000'000);
        ASSERT_TRUE(expected.has_value());
        EXPECT_TRUE(expected->solvable);
        EXPECT_EQ(expected->loaded, board);
        EXPECT_EQ(expected->first, smallest);
    }
    check::Board first{};
    EXPECT_EQ(check::searchSteps(Board(kReference), check::bottomUpOrder(), 0, &first), 0);
    EXPECT_EQ(first, Board(kReference));
    ASSERT_GT(check::searchSteps(check::Board{}, check::bottomUpOrder(), 1'000, &first), 0);
    EXPECT_EQ(check::toText(first), kReference);
}

TEST(SearchSteps, LeavesFirstAloneWithoutACompletion) {
    const check::Board marker = Board(kReference);
    check::Board first = marker;
    // Cell 72, the first in the solver's order, sees 2..5 in its row, 6..9 in
    // its column and 1 in its box: one step, a dead end.
    const check::Board dead = Board("000000000"
                                    "000000000"
                                    "900000000"
                                    "800000000"
                                    "700000000"
                                    "600000000"
                                    "000000000"
                                    "010000000"
                                    "023450000");
    EXPECT_EQ(check::searchSteps(dead, check::bottomUpOrder(), 10'000'000, &first), 1);
    EXPECT_EQ(first, marker);
    // Over the cap: -1, nothing written.
    EXPECT_EQ(check::searchSteps(check::Board{}, check::bottomUpOrder(), 10, &first), -1);
    EXPECT_EQ(first, marker);
}

TEST(ExpectRun, GridsWithoutCompletionAlwaysRunAndLongSearchesDoNot) {
    check::Board clash{};
    clash[0] = 5;
    clash[8] = 5;
    const auto none = check::expectRun(clash, 0);
    ASSERT_TRUE(none.has_value());
    EXPECT_FALSE(none->solvable);
    // The hard boards need more steps than this in the solver's order.
    for (const grids::Grid& hard : grids::HardBoards()) {
        EXPECT_FALSE(check::expectRun(Board(hard.puzzle), 1'000).has_value());
    }
    EXPECT_TRUE(check::expectRun(check::Board{}, 1'000).has_value());
}

void ExpectSameRun(const check::ExpectedRun* got, const std::optional<check::ExpectedRun>& want) {
    ASSERT_EQ(got != nullptr, want.has_value());
    if (got != nullptr) {
        EXPECT_EQ(got->loaded, want->loaded);
        EXPECT_EQ(got->solvable, want->solvable);
        EXPECT_EQ(got->first, want->first);
        EXPECT_EQ(got->steps, want->steps);
    }
}

TEST(ExpectedRunCache, GivesWhatExpectRunGivesWhateverWasAskedBefore) {
    check::Board clash{};
    clash[0] = 5;
    clash[8] = 5;
    std::vector<check::Board> boards = PartlyEmptiedBoards();
    boards.push_back(clash);
    boards.push_back(Board(grids::HardBoards().front().puzzle)); // past the cap below
    for (std::size_t slots : {1u, 7u, 4096u}) {
        SCOPED_TRACE(slots);
        check::ExpectedRunCache cache(100'000, slots);
        for (int round = 0; round < 2; ++round) {
            for (const check::Board& board : boards) {
                ExpectSameRun(cache.find(board), check::expectRun(board, 100'000));
            }
        }
        if (slots == 4096u) {
            EXPECT_EQ(cache.hits(), static_cast<std::int64_t>(boards.size()));
        }
    }
}

TEST(JudgeSolverOutcome, TheExpectedRunJudgesAsTheLoadedGrid) {
    const check::Board reference = Board(kReference);
    check::Board clash{};
    clash[0] = 5;
    clash[8] = 5;
    check::Board other = reference; // the rectangle of rows 3 and 6 swapped
    for (int cell : {30, 31, 57, 58}) {
        other[cell] = 3 - other[cell];
    }
    for (const check::Board& loaded : {check::Board{}, clash, reference}) {
        const auto expected = check::expectRun(loaded, 1'000'000);
        ASSERT_TRUE(expected.has_value());
        for (int exitCode : {check::kSolved, check::kNoSolution, check::kSaveFailed}) {
            for (const check::Board& saved : {reference, other, clash, check::Board{}}) {
                const std::string bytes = check::solutionBytes(saved);
                EXPECT_EQ(check::judgeSolverOutcome(*expected, exitCode, bytes),
                          check::judgeSolverOutcome(loaded, exitCode, bytes));
            }
        }
    }
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

TEST(JudgePuzzle, AcceptsASoundPuzzleAndRejectsEachKindOfFault) {
    const grids::Grid& board = grids::HardBoards().front();
    const struct { check::Board puzzle, solved; } hard{Board(board.puzzle), Board(board.solved)};
    check::Board sound = hard.puzzle; // one completion; givens added up to 30
    auto empty = std::count(sound.begin(), sound.end(), 0);
    for (int cell = 0; empty > 51; ++cell) {
        empty -= sound[cell] == 0 ? 1 : 0;
        sound[cell] = hard.solved[cell];
    }
    ASSERT_EQ(check::judgePuzzle(hard.solved, sound), "");
    std::string files[2];
    for (int i = 0; i < 2; ++i) {
        for (int v : i == 0 ? hard.solved : sound) {
            files[i] += static_cast<char>('0' + v);
            files[i] += '\n';
        }
    }
    EXPECT_EQ(check::judgePuzzleFiles(files[0], files[1]), "");

    check::Board broken = hard.solved;
    std::swap(broken[0], broken[1]);
    check::Board otherGiven = sound;
    otherGiven[80] = otherGiven[80] % 9 + 1;
    check::Board few = sound;
    for (int cell = 0, hidden = 0; hidden < 3; ++cell) {
        hidden += few[cell] != 0 ? 1 : 0;
        few[cell] = 0;
    }
    check::Board twoCompletions = Board(kReference); // a rectangle of rows 3 and 6 hidden
    for (int cell : {30, 31, 57, 58}) {
        twoCompletions[cell] = 0;
    }
    const struct {
        const char* what;
        check::Board solution, puzzle;
    } faults[] = {
        {"solution breaks the rules", broken, sound},
        {"a given that is not the solution's digit", hard.solved, otherGiven},
        {"27 givens", hard.solved, few},
        {"no hidden cell", hard.solved, hard.solved},
        {"two completions", Board(kReference), twoCompletions},
    };
    for (const auto& f : faults) {
        EXPECT_NE(check::judgePuzzle(f.solution, f.puzzle), "") << f.what;
    }
    std::string longer = files[0];
    longer += '\n';
    std::string carriageReturn = files[1];
    carriageReturn.back() = '\r';
    EXPECT_NE(check::judgePuzzleFiles(longer, files[1]), "");
    EXPECT_NE(check::judgePuzzleFiles(files[0], carriageReturn), "");
}

} // namespace
