#include "SolverStress.h"

#include "GridFiles.h"
#include "GrilleText.h"
#include "SolverOutcome.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string Quoted(const fs::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) {
        quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

std::vector<GridCase> GridFileCases(const std::string& path) {
    std::vector<GridCase> cases;
    for (const grids::Grid& grid : grids::Read(path)) {
        cases.push_back({grid.source, check::grilleBytes(*check::boardFromText(grid.puzzle)),
                         check::boardFromText(grid.solved)});
    }
    return cases;
}

GridCase GrilleFileCase(const std::string& path) {
    return {path, ReadAll(path), std::nullopt};
}

SolverStressResult StressSolver(const std::string& program, const std::string& scratch,
                                const std::vector<GridCase>& grids) {
    SolverStressResult result;
    const fs::path folder = fs::absolute(scratch) / "sudoku";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path copy = folder / fs::path(program).filename();
    fs::copy_file(program, copy);
    const std::string command = "cd / && " + Quoted(copy) + " >/dev/null 2>&1";

    for (const GridCase& grid : grids) {
        WriteAll(folder / "grille.txt", grid.grilleBytes);
        fs::remove(folder / "solution.txt");
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);

        const check::Board loaded = check::loadedGrille(grid.grilleBytes);
        const std::string saved = ReadAll(folder / "solution.txt");
        std::string finding = check::judgeSolverOutcome(loaded, exitCode, saved);
        if (finding.empty() && exitCode == check::kSolved && grid.expected &&
            check::savedSolution(saved) != grid.expected) {
            finding = "the saved board differs from the solution listed beside the puzzle";
        }
        if (!finding.empty()) {
            result.findings.push_back(grid.source + ": " + finding);
        }
        ++result.grids;
        if (exitCode == check::kSolved) {
            ++result.solved;
            if (seconds > result.slowestSolved) {
                result.slowestSolved = seconds;
                result.slowestSolvedSource = grid.source;
            }
        } else {
            ++result.withoutSolution;
            if (seconds > result.slowestUnsolvable) {
                result.slowestUnsolvable = seconds;
                result.slowestUnsolvableSource = grid.source;
            }
        }
    }
    fs::remove_all(folder);
    return result;
}
