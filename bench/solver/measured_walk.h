// The solver's deduction and backtracking on one puzzle, for the grid makers of
// this folder: the passes, the steps and the board found.
#pragma once

#include "GridCheck.h"
#include "GridFiles.h"
#include "GrilleText.h"
#include "headless_runtime.h"
#include "modSudoku.h"
#include "modSudoku_BackTracking.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace measured {

class QuietForm : public forms::HeadlessRuntime {
public:
    std::string TimeOfDay() const override { return "00:00:00"; }
};

struct Grid {
    check::Board puzzle{};
    check::Board solved{};
    int passes = 0;
    std::int64_t steps = 0;
};

// Stops a search that has walked more digits than it may.
struct Borne {
    std::int64_t reste;
    void operator()(int, int) {
        if (--reste < 0) {
            throw std::int64_t{0};
        }
    }
};

// The passes and steps of the search on g.puzzle with this memo, its board in
// g.solved; false when the search walks more than `walk` digits.
template <typename Memo> bool Measure(Grid& g, std::int64_t walk, Memo& memo) {
    for (int i = 0; i < 81; ++i) {
        modSudoku::Grille.Ecrit(grids::Label(i), g.puzzle[static_cast<std::size_t>(i)]);
    }
    QuietForm form;
    g.passes = modSudoku::PhaseDecoupage(form);
    Borne borne{walk};
    try {
        g.steps = modSudoku::BackTracking(form, borne, memo);
    } catch (std::int64_t) {
        return false;
    }
    for (int i = 0; i < 81; ++i) {
        g.solved[static_cast<std::size_t>(i)] = modSudoku::Grille.Lit(grids::Label(i));
    }
    return true;
}

// One line of hard-boards.txt.
inline void Print(const Grid& g) {
    std::printf("%s %s %d %lld\n", check::toText(g.puzzle).c_str(), check::toText(g.solved).c_str(),
                g.passes, static_cast<long long>(g.steps));
}

} // namespace measured
