// Time per backtracking step of Recherche on the hard boards, captions rewritten
// after every change as in a real run.
#include "hard_boards.h"
#include "headless_runtime.h"
#include "modSudoku.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

struct HardBoard {
    std::string puzzle;
    long long steps = 0;
};

// A form whose clock is fixed, so that no time formatting enters the measure.
class BenchForm : public forms::HeadlessRuntime {
public:
    std::string TimeOfDay() const override { return "00:00:00"; }
};

void LoadBoard(const std::string& puzzle) {
    for (int i = 0; i < 81; ++i) {
        modSudoku::Grille.Pose(i % 9, 8 - i / 9, puzzle[static_cast<std::size_t>(i)] - '0');
    }
}

void BM_Recherche(benchmark::State& state, const HardBoard& board) {
    double nanoseconds = 0;    // wall clock
    double cpuNanoseconds = 0; // processor time of this (single-threaded) process
    long long steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BenchForm form;
        LoadBoard(board.puzzle);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        const modSudoku::BilanRecherche bilan = modSudoku::Recherche(form);
        cpuNanoseconds += 1e9 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
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
}

} // namespace

int main(int argc, char** argv) {
    std::istringstream lines{std::string(solver_bench::kHardBoards)};
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        HardBoard board;
        std::string solved;
        int passes = 0;
        fields >> board.puzzle >> solved >> passes >> board.steps;
        benchmark::RegisterBenchmark(("Recherche/" + std::to_string(board.steps)).c_str(),
                                     BM_Recherche, board)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
