// The search: worked examples with their pass and step counts, the log lines,
// the hard boards, and boards without a completion.
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace modSudoku;
using solver_test::BoardText;
using solver_test::kReference;
using solver_test::SetBoard;
using solver_test::TestForm;

namespace {

std::string Log(int passes, long long steps) {
    return "12:34:56 : Début recherche par découpage...\r\n"
           "12:34:56 : Fin recherche par découpage : " +
           std::to_string(passes) +
           " itération(s)\r\n"
           "12:34:56 : Fin recherche par back tracking : " +
           std::to_string(steps) + " itération(s)";
}

// The reference board with the cells chosen by empty(x, y) emptied.
template <typename Pred> std::string ReferenceWithout(Pred empty) {
    std::string board(kReference);
    for (int i = 0; i < 81; ++i) {
        if (empty(i % 9, 8 - i / 9)) {
            board[static_cast<std::size_t>(i)] = '0';
        }
    }
    return board;
}

std::string CaptionsText(const TestForm& form) {
    std::string text;
    for (int y = 8; y >= 0; --y) {
        for (int x = 0; x < 9; ++x) {
            text += form.Caption(9 * y + x);
        }
    }
    return text;
}

struct Example {
    const char* name;
    std::string board;
    int passes;
    long long steps;
};

class RechercheTest : public ::testing::Test {
protected:
    void SetUp() override { Efface_Grille(); }
};

TEST_F(RechercheTest, WorkedExamplesGiveTheReferenceBoardWithTheirCounts) {
    const Example examples[] = {
        {"empty board", std::string(81, '0'), 1, 391},
        {"complete board", std::string(kReference), 1, 0},
        {"squares 0, 4 and 8 emptied",
         ReferenceWithout([](int x, int y) { return x / 3 == y / 3; }), 2, 0},
        {"x + y even emptied", ReferenceWithout([](int x, int y) { return (x + y) % 2 == 0; }), 4,
         20},
        {"one empty cell", ReferenceWithout([](int x, int y) { return x == 6 && y == 2; }), 2, 0},
        {"bottom row emptied", ReferenceWithout([](int, int y) { return y == 0; }), 2, 0},
        // Singles that only the column step at x = 0 and the row steps at y = 0 and y = 8
        // place in the first pass: a step that skips its first or last line needs a pass more.
        {"singles at x = 0, y = 0 and y = 8",
         "970001040600978001030000970000214065365897004214305097089003056456009120003050780", 2, 0},
        // The same for the column step at x = 8 (and the row steps at y = 0 and y = 8).
        {"singles at x = 8, y = 0 and y = 8",
         "000531042042070531000640970097204005365007014204000090080123000406780000123450080", 2, 0},
    };
    for (const Example& example : examples) {
        SCOPED_TRACE(example.name);
        TestForm form;
        SetBoard(example.board);
        Affiche_Grille(form);
        const BilanRecherche bilan = Recherche(form);
        EXPECT_TRUE(bilan.resolue);
        EXPECT_EQ(bilan.passes, example.passes);
        EXPECT_EQ(bilan.iterations, example.steps);
        EXPECT_EQ(BoardText(), kReference);
        EXPECT_EQ(form.LogText(), Log(example.passes, example.steps));
        EXPECT_EQ(CaptionsText(form), kReference) << "the labels follow the last change";
    }
}

TEST_F(RechercheTest, FortyOneEmptyCellsCountedOnTheBoard) {
    const std::string board = ReferenceWithout([](int x, int y) { return (x + y) % 2 == 0; });
    EXPECT_EQ(std::count(board.begin(), board.end(), '0'), 41);
}

TEST_F(RechercheTest, DeductionLetsEventsThroughOncePerPass) {
    TestForm form;
    SetBoard(ReferenceWithout([](int x, int y) { return (x + y) % 2 == 0; }));
    const BilanRecherche bilan = Recherche(form);
    EXPECT_EQ(form.EventRounds(), bilan.passes);
}

struct Unsolvable {
    const char* name;
    std::string board;
};

TEST_F(RechercheTest, BoardsWithoutCompletionAreLeftAsLoadedAndSaySo) {
    std::string conflicting(81, '0'); // two 5s in the top row, all else empty
    conflicting[0] = '5';
    conflicting[7] = '5';
    std::string fullRowTwice(kReference); // top row full with 9 twice, other rows empty
    for (std::size_t i = 9; i < 81; ++i) {
        fullRowTwice[i] = '0';
    }
    fullRowTwice[1] = '9';
    // (0, 0) empty: its square and row say 1, but the top of its column holds a 1.
    std::string clashing(kReference);
    clashing[72] = '0';
    clashing[0] = '1';
    // No digit fits the first empty cell (0, 0): 1..6 in its row, 7 and 8 in its
    // column, 9 in its square.
    std::string deadFirst(81, '0');
    for (int x = 1; x <= 6; ++x) {
        deadFirst[static_cast<std::size_t>(72 + x)] = static_cast<char>('0' + x);
    }
    deadFirst[36] = '7';
    deadFirst[0] = '8';
    deadFirst[56] = '9';
    const Unsolvable boards[] = {
        {"two conflicting givens", conflicting},
        {"full row holding a digit twice", fullRowTwice},
        {"deduction would write a clash", clashing},
        {"first cell has no digit", deadFirst},
    };
    for (const Unsolvable& u : boards) {
        SCOPED_TRACE(u.name);
        TestForm form;
        SetBoard(u.board);
        const BilanRecherche bilan = Recherche(form);
        EXPECT_FALSE(bilan.resolue);
        EXPECT_EQ(BoardText(), u.board);
        EXPECT_EQ(CaptionsText(form).size(), 81u);
        const std::string expected = Log(bilan.passes, 0) + "\r\n12:34:56 : Grille sans solution";
        EXPECT_EQ(form.LogText(), expected);
        EXPECT_GE(bilan.passes, 1);
        EXPECT_LE(bilan.passes, 82);
    }
}

TEST_F(RechercheTest, FullUnitWithADuplicateDoesNotKeepTheDeductionGoing) {
    // The whole reference board with one digit doubled in a full row, square and column.
    TestForm form;
    std::string board(kReference);
    board[80] = board[79];
    SetBoard(board);
    const BilanRecherche bilan = Recherche(form);
    EXPECT_EQ(bilan.passes, 1);
    EXPECT_FALSE(bilan.resolue);
    EXPECT_EQ(BoardText(), board);
}

} // namespace
