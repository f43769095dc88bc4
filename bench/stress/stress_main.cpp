// Stress run of both programs, judged by grid checks written apart from them:
//
//   sudoku_stress <sudoku program> <scratch folder> <report> <grid file or folder>...
//
// The generator's seeds 1 to 20,000 checked in process; the solver program run on
// every grid of the grid files (a folder: each of its files taken whole as a
// grille.txt) and on the puzzles of seeds 1 to 500. Prints a summary and every
// finding, and puts it into the report (docs/stress.md) after its "## Last run"
// heading; the exit code is 1 when there is a finding.
#include "EngineStress.h"
#include "SolverStress.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Printed(const char* format, auto... values) {
    char line[512];
    std::snprintf(line, sizeof line, format, values...);
    return line;
}

std::string FindingLines(const std::vector<std::string>& findings) {
    std::string lines;
    for (const std::string& finding : findings) {
        lines += "FINDING " + finding + "\n";
    }
    return lines + Printed("findings: %zu\n", findings.size());
}

std::string EngineRun(std::size_t& findings) {
    const auto start = std::chrono::steady_clock::now();
    const EngineStressResult result = StressEngine(1, 20000);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    findings += result.findings.size();
    return Printed("engine: seeds 1 to %lld checked: %lld puzzles in %.1f s\n",
                   static_cast<long long>(result.seeds), static_cast<long long>(result.seeds),
                   seconds) +
           Printed("engine: givens min %d, max %d, mean %.2f\n", result.minGivens, result.maxGivens,
                   result.meanGivens) +
           FindingLines(result.findings);
}

std::string SolverRun(const std::string& program, const std::string& scratch,
                      const std::vector<std::string>& sources, std::size_t& findings) {
    std::vector<GridCase> cases;
    std::size_t files = 0;
    for (const std::string& source : sources) {
        if (!fs::is_directory(source)) {
            const std::vector<GridCase> grids = GridFileCases(source);
            cases.insert(cases.end(), grids.begin(), grids.end());
            ++files;
            continue;
        }
        std::vector<fs::path> grilles{fs::directory_iterator(source), fs::directory_iterator()};
        std::sort(grilles.begin(), grilles.end());
        for (const fs::path& grille : grilles) {
            cases.push_back(GrilleFileCase(grille.string()));
            ++files;
        }
    }
    const std::vector<GridCase> puzzles = KorvanePuzzles(1, 500);
    cases.insert(cases.end(), puzzles.begin(), puzzles.end());
    const SolverStressResult result = StressSolver(program, scratch, cases);
    findings += result.findings.size();
    return Printed("solver: %d grids (of %zu files, and korvane's puzzles of seeds 1 to 500): %d "
                   "solved, "
                   "%d without solution\n",
                   result.grids, files, result.solved, result.withoutSolution) +
           Printed("solver: slowest solved run %.3f s (%s)\n", result.slowestSolved,
                   result.slowestSolvedSource.c_str()) +
           Printed("solver: slowest run without solution %.3f s (%s)\n", result.slowestUnsolvable,
                   result.slowestUnsolvableSource.c_str()) +
           FindingLines(result.findings);
}

// The report up to its "## Last run" heading, then this run.
void WriteReport(const std::string& path, const std::string& run) {
    std::ifstream in(path);
    std::string head;
    for (std::string line; std::getline(in, line) && line != "## Last run";) {
        head += line + "\n";
    }
    const std::time_t now = std::time(nullptr);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    std::ofstream(path) << head << "## Last run\n\n"
                        << date << ", " << std::thread::hardware_concurrency()
                        << " cores, linux-release build.\n\n```\n$ ctest --preset stress\n"
                        << run << "```\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: sudoku_stress <sudoku program> <scratch folder> <report> "
                   "<grid file or folder>...\n",
                   stderr);
        return 2;
    }
    std::size_t findings = 0;
    const std::string run =
        EngineRun(findings) + SolverRun(argv[1], argv[2], {argv + 4, argv + argc}, findings);
    std::fputs(run.c_str(), stdout);
    WriteReport(argv[3], run);
    return findings == 0 ? 0 : 1;
}
