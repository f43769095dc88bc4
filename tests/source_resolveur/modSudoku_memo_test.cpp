// The backtracking with its memo against the plain walk: the same steps and board
// on every grid of the files named in SUDOKU_MEMO_GRIDS, separated by '|' (lines
// of a puzzle, with or without its solved board, passes and steps, which must
// then agree; or a folder of grille.txt files). The memo starts after
// SUDOKU_MEMO_SEUIL steps with SUDOKU_MEMO_ENTREES entries. And the guard and the
// grid of SUDOKU_MEMO_UNREPEATED, unless SUDOKU_MEMO_GRILLES_SEULES.
#include "GridFiles.h"
#include "GrilleText.h"
#include "existence_solution.h"
#include "modSudoku_BackTracking.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <tuple>

using namespace modSudoku;

namespace grids {
void PrintTo(const Grid& g, std::ostream* out) {
    *out << g.source;
}
} // namespace grids
using solver_test::BoardText;
using solver_test::SetBoard;
using solver_test::TestForm;

namespace {

using grids::Grid;

// The grids of one grid file or of a folder of grille.txt files.
std::vector<Grid> GridsOf(const std::string& file) {
    if (!std::filesystem::is_directory(file)) {
        return grids::Read(file);
    }
    std::vector<Grid> grids;
    for (const auto& entry : std::filesystem::directory_iterator(file)) {
        std::ostringstream bytes;
        bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        grids.push_back(
            {entry.path().string(), check::toText(check::loadedGrille(bytes.str())), ""});
    }
    return grids;
}

// The grids that have a completion and, when listed, few enough steps for this tree.
std::vector<Grid> Grids() {
    std::vector<Grid> grids;
    std::istringstream files(SUDOKU_MEMO_GRIDS);
    for (std::string file; std::getline(files, file, '|');) {
        for (const Grid& g : GridsOf(file)) {
            if (!check::boardFromText(g.puzzle) || g.steps > SUDOKU_MEMO_MAX_STEPS) {
                continue;
            }
            SetBoard(g.puzzle);
            if (ACompletion(Grille.Cases())) {
                grids.push_back(g);
            }
        }
    }
    return grids;
}

class MemoTest : public ::testing::TestWithParam<Grid> {};

TEST_P(MemoTest, CountsAndBoardOfThePlainWalk) {
    const Grid& g = GetParam();
    SetBoard(g.puzzle);
    TestForm form;
    const int passes = PhaseDecoupage(form);
    const std::string deduced = BoardText();
    SansSuivi suivi;
    const std::int64_t plain = BackTracking(form, suivi);
    const std::string walked = BoardText();

    SetBoard(deduced);
    MemoBandes memo(SUDOKU_MEMO_SEUIL, SUDOKU_MEMO_ENTREES);
    EXPECT_EQ(BackTracking(form, suivi, memo), plain);
    EXPECT_EQ(BoardText(), walked);
    if (g.steps >= 0) {
        EXPECT_EQ(plain, g.steps);
        EXPECT_EQ(passes, g.passes);
        EXPECT_EQ(walked, g.solved);
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, MemoTest, ::testing::ValuesIn(Grids()));

#ifndef SUDOKU_MEMO_GRILLES_SEULES
// The program's memo on hard boards: a band whose first window of lookups saved
// too little stops looking up, one that saved enough goes on.
TEST(MemoGuard, ABandStopsLookingUpOnlyWhenItsLookupsSaveTooLittle) {
    // The board's index in hard-boards.txt, the band, whether it goes on.
    for (const auto& [index, band, goesOn] : {std::tuple{2, 2, false}, std::tuple{3, 1, true}}) {
        const grids::Grid& board = grids::HardBoards().at(index);
        SCOPED_TRACE(index);
        SetBoard(board.puzzle);
        TestForm form;
        PhaseDecoupage(form);
        MemoBandes memo;
        SansSuivi suivi;
        EXPECT_EQ(BackTracking(form, suivi, memo), board.steps);
        const std::int64_t lookups = memo.BilanBande(static_cast<std::uint8_t>(band)).recherches;
        EXPECT_EQ(lookups > MemoBandes::kFenetre, goesOn);
        EXPECT_GE(lookups, MemoBandes::kFenetre);
    }
}

// A memo that cannot have its table looks nothing up: the walk is the plain one.
TEST(MemoGuard, WithoutItsTableTheWalkIsThePlainOne) {
    SetBoard(grids::HardBoards()[0].puzzle);
    TestForm form;
    PhaseDecoupage(form);
    MemoBandes memo(0, std::numeric_limits<std::size_t>::max() / 2);
    SansSuivi suivi;
    EXPECT_EQ(BackTracking(form, suivi, memo), grids::HardBoards()[0].steps);
    EXPECT_EQ(memo.BilanBande(1).recherches + memo.BilanBande(2).recherches, 0);
}

// The grid that times the memo where it cannot help: the program's memo looks
// states up on its walk and never meets one it knows.
TEST(MemoGuard, TheUnrepeatedGridNeverMeetsAKnownState) {
    const std::vector<Grid> grids = GridsOf(SUDOKU_MEMO_UNREPEATED);
    ASSERT_FALSE(grids.empty());
    const Grid& g = grids[0];
    ASSERT_GT(g.steps, MemoBandes::kSeuil);
    SetBoard(g.puzzle);
    TestForm form;
    PhaseDecoupage(form);
    MemoBandes memo;
    SansSuivi suivi;
    EXPECT_EQ(BackTracking(form, suivi, memo), g.steps);
    EXPECT_GT(memo.BilanBande(1).recherches + memo.BilanBande(2).recherches, 0);
    EXPECT_EQ(memo.BilanBande(1).trouvees + memo.BilanBande(2).trouvees, 0);
}
#endif

} // namespace
