#include "SolverOutcome.h"

#include "GrilleText.h"

namespace check {

std::string judgeSolverOutcome(const Board& loaded, int exitCode, std::string_view saved) {
    const auto board = savedSolution(saved);
    if (!board) {
        return "solution.txt is not 81 lines of one digit and CR LF (" +
               std::to_string(saved.size()) + " bytes)";
    }
    const bool solvable = countCompletions(loaded, 1) > 0;
    if (exitCode == kSolved) {
        if (!solvable) {
            return "reported solved, but the grid has no completion";
        }
        if (!isCompleteValid(*board)) {
            return "reported solved, but the saved board is not complete and valid: " +
                   toText(*board);
        }
        if (!keepsGivens(loaded, *board)) {
            return "the saved board lost a given: " + toText(*board);
        }
        Board first{};
        smallestCompletion(loaded, bottomUpOrder(), first);
        if (*board != first) {
            return "the saved board " + toText(*board) + " is not the first completion " +
                   toText(first);
        }
        return {};
    }
    if (exitCode == kNoSolution) {
        if (solvable) {
            return "reported no solution for a grid that has one";
        }
        if (*board != loaded) {
            return "no solution, but the file does not hold the grid as loaded: " + toText(*board);
        }
        return {};
    }
    return "unexpected exit code " + std::to_string(exitCode);
}

} // namespace check
