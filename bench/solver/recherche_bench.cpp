// Time per backtracking step of Recherche on the hard boards, display on as in a
// real run, side by side with a baseline timed in the same iterations: a
// straightforward loop of the same search (digit masks per row, column and
// square, the empty cells in their fixed order, one push counted per step, a
// cell's allowed digits recomputed on every visit, no display). The counter
// "ratio" is Recherche's processor time per step over the baseline's.
#include "GridFiles.h"
#include "headless_runtime.h"
#include "modSudoku.h"
#include "modSudoku_BackTracking.h"

#include <benchmark/benchmark.h>

#include <array>
#include <bit>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace {

// A form whose clock is fixed, so that no time formatting enters the measure.
class BenchForm : public forms::HeadlessRuntime {
public:
    std::string TimeOfDay() const override { return "00:00:00"; }
};

void LoadBoard(const std::string& puzzle) {
    for (int i = 0; i < 81; ++i) {
        modSudoku::Grille.Ecrit(grids::Label(i), puzzle[static_cast<std::size_t>(i)] - '0');
    }
}

// The baseline search on a board in label order (9*y + x); returns its steps,
// or -1 when the board has no completion.
long long PlainSearch(const std::array<std::int16_t, 81>& board) {
    std::array<unsigned, 9> rows{};
    std::array<unsigned, 9> columns{};
    std::array<unsigned, 9> squares{};
    struct Cell {
        int x;
        int y;
        int square;
    };
    std::vector<Cell> cells;
    for (int label = 0; label < 81; ++label) {
        const Cell cell{label % 9, label / 9, 3 * (label / 27) + label % 9 / 3};
        const int v = board[static_cast<std::size_t>(label)];
        if (v == 0) {
            cells.push_back(cell);
        } else {
            rows[static_cast<std::size_t>(cell.y)] |= 1u << (v - 1);
            columns[static_cast<std::size_t>(cell.x)] |= 1u << (v - 1);
            squares[static_cast<std::size_t>(cell.square)] |= 1u << (v - 1);
        }
    }
    const auto allowed = [&](const Cell& c) {
        return 0x1FFu &
               ~(rows[static_cast<std::size_t>(c.y)] | columns[static_cast<std::size_t>(c.x)] |
                 squares[static_cast<std::size_t>(c.square)]);
    };
    const auto toggle = [&](const Cell& c, int digit) {
        rows[static_cast<std::size_t>(c.y)] ^= 1u << (digit - 1);
        columns[static_cast<std::size_t>(c.x)] ^= 1u << (digit - 1);
        squares[static_cast<std::size_t>(c.square)] ^= 1u << (digit - 1);
    };
    std::vector<int> digits(cells.size(), 0);
    long long steps = 0;
    std::size_t k = 0;
    if (cells.empty()) {
        return 0;
    }
    for (;;) {
        ++steps; // the push of cell k
        const unsigned free = allowed(cells[k]);
        if (free != 0) {
            digits[k] = std::countr_zero(free) + 1;
            toggle(cells[k], digits[k]);
            if (++k == cells.size()) {
                return steps;
            }
            continue;
        }
        for (;;) {
            if (k == 0) {
                return -1;
            }
            --k;
            const int v = digits[k];
            toggle(cells[k], v);
            const unsigned larger = allowed(cells[k]) & (0x1FFu << v);
            if (larger != 0) {
                digits[k] = std::countr_zero(larger) + 1;
                toggle(cells[k], digits[k]);
                ++k;
                break;
            }
            digits[k] = 0;
        }
    }
}

double CpuNanoseconds(std::clock_t start) {
    return 1e9 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

void BM_Recherche(benchmark::State& state, const grids::Grid& board) {
    // The baseline starts where the backtracking starts: after the deduction.
    LoadBoard(board.puzzle);
    {
        BenchForm form;
        modSudoku::PhaseDecoupage(form);
    }
    const std::array<std::int16_t, 81> deduced = modSudoku::Grille.Cases();

    double nanoseconds = 0;    // wall clock
    double cpuNanoseconds = 0; // processor time of this (single-threaded) process
    double baselineNanoseconds = 0;
    long long steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::clock_t baselineStart = std::clock();
        const long long baselineSteps = PlainSearch(deduced);
        baselineNanoseconds += CpuNanoseconds(baselineStart);
        if (baselineSteps != board.steps) {
            state.SkipWithError("wrong step count in the baseline");
            return;
        }
        BenchForm form;
        LoadBoard(board.puzzle);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        const modSudoku::BilanRecherche bilan = modSudoku::Recherche(form);
        cpuNanoseconds += CpuNanoseconds(cpuStart);
        nanoseconds +=
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                .count();
        steps += bilan.iterations;
        if (bilan.iterations != board.steps) {
            state.SkipWithError("wrong step count");
            return;
        }
        benchmark::DoNotOptimize(form.Captions());
    }
    state.counters["steps"] = static_cast<double>(board.steps);
    const double n = steps > 0 ? static_cast<double>(steps) : 1.0;
    state.counters["ns_per_step"] = cpuNanoseconds / n;
    state.counters["ns_per_step_wall"] = nanoseconds / n;
    state.counters["baseline_ns_per_step"] = baselineNanoseconds / n;
    state.counters["ratio"] = baselineNanoseconds > 0 ? cpuNanoseconds / baselineNanoseconds : 0;
}

// The backtracking with a memo that never looks up, as on a grid whose band
// states never come back once the guard has stopped its lookups, over the plain
// walk, both timed in the same iterations: the counter "idle_ratio" is what the
// memo's checks cost the walk.
void BM_MemoInactif(benchmark::State& state, const grids::Grid& board) {
    LoadBoard(board.puzzle);
    BenchForm form;
    modSudoku::PhaseDecoupage(form);
    const modSudoku::Plateau deduced = modSudoku::Grille;
    double plainNanoseconds = 0;
    double idleNanoseconds = 0;
    for (auto _ : state) {
        modSudoku::SansSuivi suivi;
        modSudoku::Grille = deduced;
        modSudoku::SansMemo sans;
        std::clock_t start = std::clock();
        const std::int64_t plain = modSudoku::BackTracking(form, suivi, sans);
        plainNanoseconds += CpuNanoseconds(start);
        modSudoku::Grille = deduced;
        modSudoku::MemoBandes inactif(INT64_MAX);
        start = std::clock();
        const std::int64_t idle = modSudoku::BackTracking(form, suivi, inactif);
        idleNanoseconds += CpuNanoseconds(start);
        if (plain != board.steps || idle != board.steps) {
            state.SkipWithError("wrong step count");
            return;
        }
    }
    state.counters["idle_ratio"] = plainNanoseconds > 0 ? idleNanoseconds / plainNanoseconds : 0;
}

} // namespace

int main(int argc, char** argv) {
    for (const grids::Grid& board : grids::HardBoards()) {
        benchmark::RegisterBenchmark(("Recherche/" + std::to_string(board.steps)).c_str(),
                                     BM_Recherche, board)
            ->Unit(benchmark::kMillisecond);
    }
    const grids::Grid& longest = grids::HardBoards().back();
    benchmark::RegisterBenchmark(("MemoInactif/" + std::to_string(longest.steps)).c_str(),
                                 BM_MemoInactif, longest)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
