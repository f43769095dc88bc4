// Judges what the solver left after one run: its exit code and the bytes of
// solution.txt, against the grid that the load gave it.
#pragma once

#include "GridCheck.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace check {

// Exit codes of the solver.
inline constexpr int kSolved = 0;
inline constexpr int kNoSolution = 1;
inline constexpr int kSaveFailed = 2;

// What a sound run leaves for a loaded grid, worked out before the run.
struct ExpectedRun {
    Board loaded{};
    bool solvable = false;
    Board first{};          // when solvable: the completion that the solver's order reaches first
    std::int64_t steps = 0; // when solvable: steps of searchSteps in that order
};

// The expected run for loaded: whether it has a completion (countCompletions),
// and if so the first one in the solver's order (bottom row first, digits
// increasing), found by searchSteps. Nothing when the grid has a completion
// but that search needs more than stepCap steps.
std::optional<ExpectedRun> expectRun(const Board& loaded, std::int64_t stepCap);

// expectRun for a fixed step cap, keeping the results of the last loaded grids
// that it was asked for, one per slot of a table allocated once: asking
// allocates nothing. A grid meets the same result as when it was first asked.
class ExpectedRunCache {
public:
    ExpectedRunCache(std::int64_t stepCap, std::size_t slots);

    // What expectRun(loaded, stepCap) gives; nullptr for nothing. The pointer
    // holds until the next call.
    const ExpectedRun* find(const Board& loaded);

    std::int64_t hits() const { return hits_; }

private:
    struct Slot {
        bool used = false;
        bool overCap = false;
        ExpectedRun run;
    };
    std::int64_t stepCap_;
    std::vector<Slot> slots_;
    std::int64_t hits_ = 0;
};

// Empty when the outcome is sound, otherwise what is wrong:
// - the saved file is 81 lines of one digit and CR LF;
// - "solved" only for a grid with a completion, and then the saved board is
//   complete, valid, keeps every loaded given and is the completion that the
//   solver's search order reaches first;
// - "no solution" only for a grid without one, and then the file holds the
//   grid as loaded.
std::string judgeSolverOutcome(const ExpectedRun& expected, int exitCode, std::string_view saved);

// The same for a loaded grid of any difficulty: the first completion comes
// from smallestCompletion, without a step cap.
std::string judgeSolverOutcome(const Board& loaded, int exitCode, std::string_view saved);

} // namespace check
