// The backtracking with each way of counting on and off against the plain walk:
// the same steps and board on the hard boards and every grid of the files in
// SUDOKU_MEMO_GRIDS, split by '|' (the solved board, passes and steps, when listed,
// must agree). The memo starts after SUDOKU_MEMO_SEUIL steps with SUDOKU_MEMO_ENTREES
// entries, and first walks the grid with its top row given: band states come
// back with other steps. And, unless SUDOKU_MEMO_GRILLES_SEULES, the guard and (where
// the source tree can be read) the grid of SUDOKU_MEMO_UNREPEATED.
#include "GridFiles.h"
#include "counted_allocations.h"
#include "existence_solution.h"
#include "modSudoku_BackTracking.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <new>
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

using test_allocations::allowedAllocations;

namespace {

using grids::Grid;

// The hard boards (built in, so that this runs under Wine too; not with
// SUDOKU_MEMO_GRILLES_SEULES), then the grid files of SUDOKU_MEMO_GRIDS; of them, those that have a
// completion and, when their steps are listed, few enough for this tree.
std::vector<Grid> Grids() {
#ifdef SUDOKU_MEMO_GRILLES_SEULES
    std::vector<Grid> all;
#else
    std::vector<Grid> all = grids::HardBoards();
#endif
    std::istringstream files(SUDOKU_MEMO_GRIDS);
    for (std::string file; std::getline(files, file, '|');) {
        const std::vector<Grid> more = grids::Read(file);
        all.insert(all.end(), more.begin(), more.end());
    }
    std::vector<Grid> kept;
    for (const Grid& g : all) {
        SetBoard(g.puzzle);
        if (g.steps <= SUDOKU_MEMO_MAX_STEPS && ACompletion(Grille.Cases())) {
            kept.push_back(g);
        }
    }
    return kept;
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
    for (int f = 0; f < 8; ++f) { // bands, whole bands and rests by the bits of f
        SCOPED_TRACE(f);
        MemoBandes memo(SUDOKU_MEMO_SEUIL, SUDOKU_MEMO_ENTREES,
                        Facons{(f & 1) != 0, (f & 2) != 0, (f & 4) != 0});
        SetBoard(walked.substr(0, kTaille) + deduced.substr(kTaille));
        BackTracking(form, suivi, memo);
        SetBoard(deduced);
        EXPECT_EQ(BackTracking(form, suivi, memo), plain);
        EXPECT_EQ(BoardText(), walked);
        const std::int64_t lookups = memo.BilanBande(1).recherches + memo.BilanBande(2).recherches;
        EXPECT_TRUE(f != 7 || lookups > 0); // the grid reaches the memo
    }
    if (g.steps >= 0) {
        EXPECT_EQ(plain, g.steps);
        EXPECT_EQ(passes, g.passes);
        EXPECT_EQ(walked, g.solved);
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, MemoTest, ::testing::ValuesIn(Grids()));

#ifndef SUDOKU_MEMO_GRILLES_SEULES
constexpr Facons kBandesSeules{true, false, false}; // the band memo's own guard
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
        MemoBandes memo(MemoBandes::kSeuil, MemoBandes::kEntrees, kBandesSeules);
        SansSuivi suivi;
        EXPECT_EQ(BackTracking(form, suivi, memo), board.steps);
        const std::int64_t lookups = memo.BilanBande(static_cast<std::uint8_t>(band)).recherches;
        EXPECT_EQ(lookups > MemoBandes::kFenetre, goesOn);
        EXPECT_GE(lookups, MemoBandes::kFenetre);
    }
}

// A memo without memory for its tables looks nothing up, and one whose allocations
// fail from the n-th on (its tables, then a count's lists) stops: either way the
// walk is the plain one. One asked for no entries has one bucket.
TEST(MemoGuard, WithoutItsMemoryTheWalkIsThePlainOne) {
    constexpr std::size_t kMost = std::numeric_limits<std::size_t>::max();
    std::vector<std::tuple<std::size_t, int, bool>> cases{
        {kMost / 2, -1, false}, {kMost, -1, false}, {0, -1, true}};
    for (int n = 0; n < 40; ++n) {
        cases.emplace_back(4096, n, n >= 4); // four tables, then a count's lists
    }
    for (const auto& [entries, allocations, looksUp] : cases) {
        SCOPED_TRACE(testing::Message() << entries << " entries, allocations " << allocations);
        SetBoard(grids::HardBoards()[0].puzzle);
        TestForm form;
        PhaseDecoupage(form);
        MemoBandes memo(0, entries);
        SansSuivi suivi;
        allowedAllocations = allocations;
        std::int64_t steps = -1; // -1: the walk did not end
        try {
            steps = BackTracking(form, suivi, memo);
        } catch (const std::bad_alloc&) {
        }
        allowedAllocations = -1;
        EXPECT_EQ(steps, grids::HardBoards()[0].steps);
        EXPECT_EQ(memo.BilanBande(1).recherches + memo.BilanBande(2).recherches > 0, looksUp);
    }
}

#ifdef SUDOKU_MEMO_UNREPEATED
// The grid that times the memo where it cannot help: the program's memo looks
// states up on its walk and never meets one it knows.
TEST(MemoGuard, TheUnrepeatedGridNeverMeetsAKnownState) {
    const std::vector<Grid> grids = grids::Read(SUDOKU_MEMO_UNREPEATED);
    ASSERT_FALSE(grids.empty());
    const Grid& g = grids[0];
    ASSERT_GT(g.steps, MemoBandes::kSeuil);
    SetBoard(g.puzzle);
    TestForm form;
    PhaseDecoupage(form);
    MemoBandes memo(MemoBandes::kSeuil, MemoBandes::kEntrees, kBandesSeules);
    SansSuivi suivi;
    EXPECT_EQ(BackTracking(form, suivi, memo), g.steps);
    EXPECT_GT(memo.BilanBande(1).recherches + memo.BilanBande(2).recherches, 0);
    EXPECT_EQ(memo.BilanBande(1).trouvees + memo.BilanBande(2).trouvees, 0);
}
#endif
#endif

} // namespace
