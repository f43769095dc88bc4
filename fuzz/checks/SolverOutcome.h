// Judges what the solver left after one run: its exit code and the bytes of
// solution.txt, against the grid that the load gave it.
#pragma once

#include "GridCheck.h"

#include <string>
#include <string_view>

namespace check {

// Exit codes of the solver.
inline constexpr int kSolved = 0;
inline constexpr int kNoSolution = 1;
inline constexpr int kSaveFailed = 2;

// Empty when the outcome is sound, otherwise what is wrong:
// - the saved file is 81 lines of one digit and CR LF;
// - "solved" only for a grid with a completion, and then the saved board is
//   complete, valid, keeps every loaded given and is the completion that the
//   solver's search order reaches first (bottom row first, digits increasing);
// - "no solution" only for a grid without one, and then the file holds the
//   grid as loaded.
std::string judgeSolverOutcome(const Board& loaded, int exitCode, std::string_view saved);

} // namespace check
