// Stress run of both programs, judged by grid checks written apart from them.
//
//   sudoku_stress engine <first seed> <count>
//   sudoku_stress solver <sudoku program> <scratch folder> <grid file>...
//   sudoku_stress puzzles <first seed> <count>   (prints "puzzle solution" lines)
//
// Prints a summary and every finding; the exit code is 1 when there is one.
#include "EngineStress.h"
#include "SolverStress.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fputs("usage: sudoku_stress engine <first seed> <count>\n"
               "       sudoku_stress solver <sudoku program> <scratch folder> <grid file>...\n"
               "       sudoku_stress puzzles <first seed> <count>\n",
               stderr);
    return 2;
}

int Report(const std::vector<std::string>& findings) {
    for (const std::string& finding : findings) {
        std::printf("FINDING %s\n", finding.c_str());
    }
    std::printf("findings: %zu\n", findings.size());
    return findings.empty() ? 0 : 1;
}

int RunEngine(unsigned first, long long count) {
    const auto start = std::chrono::steady_clock::now();
    const EngineStressResult result = StressEngine(first, count);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("engine: seeds %u to %llu checked: %lld puzzles in %.1f s\n", first,
                static_cast<unsigned long long>(first) + static_cast<unsigned long long>(count) - 1,
                static_cast<long long>(result.seeds), seconds);
    std::printf("engine: givens min %d, max %d, mean %.2f\n", result.minGivens, result.maxGivens,
                result.meanGivens);
    return Report(result.findings);
}

int RunSolver(const std::string& program, const std::string& scratch,
              const std::vector<std::string>& files) {
    std::vector<GridCase> grids;
    for (const std::string& file : files) {
        for (GridCase& grid : ReadGridFile(file)) {
            grids.push_back(std::move(grid));
        }
    }
    const SolverStressResult result = StressSolver(program, scratch, grids);
    std::printf("solver: %d grids from %zu files: %d solved, %d without solution\n", result.grids,
                files.size(), result.solved, result.withoutSolution);
    std::printf("solver: slowest solved run %.3f s (%s)\n", result.slowestSolved,
                result.slowestSolvedSource.c_str());
    std::printf("solver: slowest run without solution %.3f s (%s)\n", result.slowestUnsolvable,
                result.slowestUnsolvableSource.c_str());
    return Report(result.findings);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "engine") {
        return RunEngine(static_cast<unsigned>(std::stoul(args[1])), std::stoll(args[2]));
    }
    if (args.size() == 3 && args[0] == "puzzles") {
        std::fputs(
            PuzzleLines(static_cast<unsigned>(std::stoul(args[1])), std::stoll(args[2])).c_str(),
            stdout);
        return 0;
    }
    if (args.size() >= 4 && args[0] == "solver") {
        return RunSolver(args[1], args[2], {args.begin() + 3, args.end()});
    }
    return Usage();
}
