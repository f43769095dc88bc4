#include "EngineStress.h"

#include "GridCheck.h"
#include "PuzzleBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// Empty when the builder holds a sound puzzle; otherwise what is wrong.
std::string Judge(const PuzzleBuilder& builder, const CellGrid& before, int& givens) {
    check::Board full{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        full[cell] = builder.solution[cell];
    }
    if (!check::isCompleteValid(full)) {
        return "solution is not a complete valid grid: " + check::toText(full);
    }
    if (builder.solution != before) {
        return "removeClues changed the solution";
    }
    if (builder.snapshots.bottom != nullptr || builder.snapshots.top != nullptr) {
        return "snapshots left on the builder's stack";
    }
    check::Board puzzle{};
    givens = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const auto mask = builder.clueMask[cell];
        if (mask != kMaskGiven && mask != kMaskHidden) {
            return "clue mask byte " + std::to_string(mask) + " at cell " + std::to_string(cell);
        }
        if (mask == kMaskGiven) {
            puzzle[cell] = full[cell];
            ++givens;
        }
    }
    if (givens < kMinGivens) {
        return std::to_string(givens) + " givens";
    }
    check::Board completion{};
    const auto count = check::countCompletions(puzzle, 2, &completion);
    if (count != 1) {
        return "puzzle " + check::toText(puzzle) + " has " + std::to_string(count) +
               " completions (2 = two or more)";
    }
    if (completion != full) {
        return "puzzle " + check::toText(puzzle) + " completes to " + check::toText(completion);
    }
    return {};
}

} // namespace

EngineStressResult StressEngine(unsigned first, std::int64_t count) {
    EngineStressResult result;
    std::int64_t givensSum = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        const unsigned seed = first + static_cast<unsigned>(i);
        std::srand(seed);
        PuzzleBuilder builder;
        builder.generateFullGrid();
        const CellGrid before = builder.solution;
        builder.removeClues();
        int givens = 0;
        const std::string finding = Judge(builder, before, givens);
        if (!finding.empty()) {
            result.findings.push_back("seed " + std::to_string(seed) + ": " + finding);
        }
        givensSum += givens;
        result.minGivens = std::min(result.minGivens, givens);
        result.maxGivens = std::max(result.maxGivens, givens);
        ++result.seeds;
    }
    if (result.seeds > 0) {
        result.meanGivens = static_cast<double>(givensSum) / static_cast<double>(result.seeds);
    }
    return result;
}

std::string PuzzleLines(unsigned first, std::int64_t count) {
    std::string lines;
    for (std::int64_t i = 0; i < count; ++i) {
        std::srand(first + static_cast<unsigned>(i));
        PuzzleBuilder builder;
        builder.generateFullGrid();
        builder.removeClues();
        std::string puzzle, solution;
        for (int cell = 0; cell < kCellCount; ++cell) {
            const char digit = static_cast<char>('0' + builder.solution[cell]);
            solution += digit;
            puzzle += builder.clueMask[cell] == kMaskGiven ? digit : '0';
        }
        lines += puzzle + " " + solution + "\n";
    }
    return lines;
}
