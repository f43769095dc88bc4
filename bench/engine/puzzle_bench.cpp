// Puzzles per second of the engine on one thread: generateFullGrid then
// removeClues, as one run of korvane does. Each iteration reseeds rand() with
// the next seed, so that every run measures the same sequence of puzzles.
#include "PuzzleBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_WholePuzzle(benchmark::State& state) {
    PuzzleBuilder builder;
    unsigned seed = 1;
    for (auto _ : state) {
        std::srand(seed++);
        builder.generateFullGrid();
        builder.removeClues();
        benchmark::DoNotOptimize(builder.clueMask.data());
        benchmark::ClobberMemory();
    }
    state.counters["puzzles"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholePuzzle)->Unit(benchmark::kMicrosecond);

// The part that dominates: one count over the puzzle's hidden cells.
void BM_CountSolutions(benchmark::State& state) {
    PuzzleBuilder builder;
    std::srand(1);
    builder.generateFullGrid();
    builder.removeClues();
    for (auto _ : state) {
        benchmark::DoNotOptimize(builder.countSolutions(builder.solution, &builder.clueMask));
    }
    state.counters["counts"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountSolutions)->Unit(benchmark::kMicrosecond);

} // namespace
