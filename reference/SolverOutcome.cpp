#include "SolverOutcome.h"

#include "GrilleText.h"

namespace check {

std::optional<ExpectedRun> expectRun(const Board& loaded, std::int64_t stepCap) {
    ExpectedRun expected;
    expected.loaded = loaded;
    expected.solvable = countCompletions(loaded, 1) > 0;
    if (expected.solvable) {
        expected.steps = searchSteps(loaded, bottomUpOrder(), stepCap, &expected.first);
        if (expected.steps < 0) {
            return std::nullopt;
        }
    }
    return expected;
}

ExpectedRunCache::ExpectedRunCache(std::int64_t stepCap, std::size_t slots)
    : stepCap_(stepCap), slots_(slots == 0 ? 1 : slots) {}

const ExpectedRun* ExpectedRunCache::find(const Board& loaded) {
    std::uint64_t hash = 14695981039346656037u; // FNV-1a over the cell values
    for (int v : loaded) {
        hash = (hash ^ static_cast<std::uint64_t>(v)) * 1099511628211u;
    }
    Slot& slot = slots_[hash % slots_.size()];
    if (slot.used && slot.run.loaded == loaded) {
        ++hits_;
    } else {
        const auto run = expectRun(loaded, stepCap_);
        slot.used = true;
        slot.overCap = !run;
        slot.run = run ? *run : ExpectedRun{};
        slot.run.loaded = loaded;
    }
    return slot.overCap ? nullptr : &slot.run;
}

std::string judgeSolverOutcome(const ExpectedRun& expected, int exitCode, std::string_view saved) {
    const auto board = savedSolution(saved);
    if (!board) {
        return "solution.txt is not 81 lines of one digit and CR LF (" +
               std::to_string(saved.size()) + " bytes)";
    }
    const Board& loaded = expected.loaded;
    if (exitCode == kSolved) {
        if (!expected.solvable) {
            return "reported solved, but the grid has no completion";
        }
        if (!isCompleteValid(*board)) {
            return "reported solved, but the saved board is not complete and valid: " +
                   toText(*board);
        }
        if (!keepsGivens(loaded, *board)) {
            return "the saved board lost a given: " + toText(*board);
        }
        if (*board != expected.first) {
            return "the saved board " + toText(*board) + " is not the first completion " +
                   toText(expected.first);
        }
        return {};
    }
    if (exitCode == kNoSolution) {
        if (expected.solvable) {
            return "reported no solution for a grid that has one";
        }
        if (*board != loaded) {
            return "no solution, but the file does not hold the grid as loaded: " + toText(*board);
        }
        return {};
    }
    return "unexpected exit code " + std::to_string(exitCode);
}

std::string judgeSolverOutcome(const Board& loaded, int exitCode, std::string_view saved) {
    ExpectedRun expected;
    expected.loaded = loaded;
    expected.solvable = countCompletions(loaded, 1) > 0;
    if (expected.solvable) {
        smallestCompletion(loaded, bottomUpOrder(), expected.first);
    }
    return judgeSolverOutcome(expected, exitCode, saved);
}

} // namespace check
