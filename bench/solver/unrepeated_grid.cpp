// Makes a grid on whose long walk the memo never meets a state it knows: the grid
// that times what the memo's lookups cost where they cannot help. Prints it as a
// line of hard-boards.txt.
//
//   unrepeated_grid <seed> <changes> <fewest steps> <most steps> < line
//
// From the puzzle of the line read (a line of hard-boards.txt: the puzzle and its
// solved board), it tries <changes> times to change one or two cells drawn at
// random (a given taken away, or an empty cell given its digit of the solved
// board). It scores a grid by the walk with a memo that looks up from the first
// step: its lookups less 50 for each state it knew, when the walk takes between
// <fewest steps> and <most steps> steps; and keeps each change that scores at least
// as well as the grid kept. The grid printed is the last kept on which the memo
// knew no state. The same line and seed give the same grid.
#include "measured_walk.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

namespace {

struct Score {
    bool measured = false; // the walk's length is within bounds
    std::int64_t lookups = 0;
    std::int64_t known = 0; // lookups that found a state the memo knew
    std::int64_t Value() const { return measured ? lookups - 50 * known : INT64_MIN; }
};

Score Scored(measured::Grid& g, std::int64_t fewest, std::int64_t most) {
    modSudoku::MemoBandes memo(0, std::size_t{1} << 22);
    Score score;
    score.measured = measured::Measure(g, most, memo) && g.steps >= fewest;
    for (std::uint8_t band = 1; band <= 2; ++band) {
        score.lookups += memo.BilanBande(band).recherches;
        score.known += memo.BilanBande(band).trouvees;
    }
    return score;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: unrepeated_grid <seed> <changes> <fewest steps> <most steps> "
                             "<grid file> <index>\n");
        return 2;
    }
    std::mt19937_64 random(std::strtoull(argv[1], nullptr, 10));
    const long changes = std::strtol(argv[2], nullptr, 10);
    const std::int64_t fewest = std::strtoll(argv[3], nullptr, 10);
    const std::int64_t most = std::strtoll(argv[4], nullptr, 10);
    const grids::Grid& grid = grids::Read(argv[5]).at(std::strtoul(argv[6], nullptr, 10));
    const auto puzzle = check::boardFromText(grid.puzzle);
    const auto solved = check::boardFromText(grid.solved);
    if (!puzzle || !solved) {
        std::fprintf(stderr, "unrepeated_grid: the line holds no puzzle and solved board\n");
        return 2;
    }

    measured::Grid kept{*puzzle};
    Score best = Scored(kept, fewest, most);
    std::optional<measured::Grid> unrepeated;
    const auto keep = [&](const measured::Grid& g, const Score& score) {
        kept = g;
        best = score;
        if (score.measured && score.known == 0) {
            unrepeated = g;
        }
    };
    keep(kept, best);
    for (long i = 0; i < changes; ++i) {
        measured::Grid g{kept.puzzle};
        for (std::uint64_t n = 1 + random() % 2; n > 0; --n) {
            const auto cell = static_cast<std::size_t>(random() % 81);
            g.puzzle[cell] = g.puzzle[cell] != 0 ? 0 : (*solved)[cell];
        }
        const Score score = Scored(g, fewest, most);
        if (score.Value() < best.Value()) {
            continue;
        }
        if (score.Value() > best.Value()) {
            std::fprintf(stderr, "change %ld: %lld lookups, %lld known, %lld steps\n", i,
                         static_cast<long long>(score.lookups), static_cast<long long>(score.known),
                         static_cast<long long>(g.steps));
        }
        keep(g, score);
    }
    if (!unrepeated) {
        std::fprintf(stderr, "unrepeated_grid: no grid kept\n");
        return 1;
    }
    measured::Print(*unrepeated);
    return 0;
}
