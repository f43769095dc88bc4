// The backtracking with its memo against the plain walk: the same steps and the
// same board on every grid of the files named in SUDOKU_MEMO_GRIDS, separated by '|' (lines of a
// puzzle, with or without its solved board, passes and steps; or a folder of
// grille.txt files), and the figures listed beside a puzzle. The memo starts at
// the first step, with a table small enough that entries are replaced; or, with
// SUDOKU_MEMO_DU_PROGRAMME, it is the program's own.
#include "GrilleText.h"
#include "TestBoards.h"
#include "existence_solution.h"
#include "modSudoku_BackTracking.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace modSudoku;
using solver_test::BoardText;
using solver_test::SetBoard;
using solver_test::TestForm;

namespace {

struct Grid {
    std::string source; // file:line or file
    std::string puzzle; // 81 digits, top row first
    std::string solved; // listed beside it, or empty
    int passes = 0;
    std::int64_t steps = -1;
};

void PrintTo(const Grid& g, std::ostream* out) {
    *out << g.source;
}

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Whether the search walks the grid: it has a completion, and its steps, when
// listed, are few enough for this tree.
bool Walked(const Grid& g) {
    std::array<std::int16_t, kCases> cases{};
    for (int i = 0; i < kCases; ++i) {
        cases[static_cast<std::size_t>(9 * (8 - i / 9) + i % 9)] =
            static_cast<std::int16_t>(g.puzzle[static_cast<std::size_t>(i)] - '0');
    }
    return g.steps <= SUDOKU_MEMO_MAX_STEPS && ACompletion(cases);
}

std::vector<Grid> Grids() {
    std::vector<Grid> grids;
    std::istringstream files(SUDOKU_MEMO_GRIDS);
    std::string file;
    while (std::getline(files, file, '|')) {
        if (std::filesystem::is_directory(file)) {
            for (const auto& entry : std::filesystem::directory_iterator(file)) {
                const check::Board board = check::loadedGrille(Read(entry.path()));
                Grid g;
                g.source = entry.path().string();
                g.puzzle = check::toText(board);
                if (Walked(g)) {
                    grids.push_back(g);
                }
            }
            continue;
        }
        std::istringstream lines(Read(file));
        std::string line;
        for (int number = 1; std::getline(lines, line); ++number) {
            std::istringstream fields(line);
            Grid g;
            g.source = file + ":" + std::to_string(number);
            fields >> g.puzzle >> g.solved >> g.passes >> g.steps;
            if (check::boardFromText(g.puzzle) && Walked(g)) {
                grids.push_back(g);
            }
        }
    }
    return grids;
}

// Stops a walk longer than a test may take.
struct Borne {
    std::int64_t reste = SUDOKU_MEMO_MAX_STEPS;
    void operator()(int, int valeur) {
        if (valeur != 0 && --reste < 0) {
            throw std::runtime_error("too long for this test");
        }
    }
};

class MemoTest : public ::testing::TestWithParam<Grid> {};

TEST_P(MemoTest, CountsAndBoardOfThePlainWalk) {
    const Grid& g = GetParam();
    SCOPED_TRACE(g.source);
    SetBoard(g.puzzle);
    TestForm form;
    const int passes = PhaseDecoupage(form);
    const std::string deduced = BoardText();
    Borne borne;
    std::int64_t plain = 0;
    try {
        plain = BackTracking(form, borne);
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "too long for this tree";
    }
    const std::string walked = BoardText();

    SetBoard(deduced);
#ifdef SUDOKU_MEMO_DU_PROGRAMME
    MemoBandes memo;
#else
    MemoBandes memo(0, 1 << 12);
#endif
    SansSuivi suivi;
    EXPECT_EQ(BackTracking(form, suivi, memo), plain);
    EXPECT_EQ(BoardText(), walked);
    if (g.steps >= 0) {
        EXPECT_EQ(plain, g.steps);
        EXPECT_EQ(passes, g.passes);
        EXPECT_EQ(walked, g.solved);
    }
}

// The program's memo on hard boards: a band whose first window of lookups saved
// too little stops looking up, one that saved enough goes on.
TEST(MemoGuard, ABandStopsLookingUpOnlyWhenItsLookupsSaveTooLittle) {
    struct Case {
        std::size_t board; // in hard-boards.txt
        std::uint8_t band;
        bool goesOn;
    };
    for (const Case c : {Case{2, 2, false}, Case{3, 1, true}}) {
        const check::HardBoard& board = check::hardBoards().at(c.board);
        SCOPED_TRACE(c.board);
        SetBoard(check::toText(board.puzzle));
        TestForm form;
        PhaseDecoupage(form);
        MemoBandes memo;
        SansSuivi suivi;
        EXPECT_EQ(BackTracking(form, suivi, memo), board.steps);
        EXPECT_EQ(memo.BilanBande(c.band).recherches > MemoBandes::kFenetre, c.goesOn);
        EXPECT_GE(memo.BilanBande(c.band).recherches, MemoBandes::kFenetre);
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, MemoTest, ::testing::ValuesIn(Grids()),
                         [](const ::testing::TestParamInfo<Grid>& grid) {
                             return std::to_string(grid.index);
                         });

} // namespace
