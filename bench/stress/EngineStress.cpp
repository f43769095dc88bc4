#include "EngineStress.h"

#include "EngineCheck.h"
#include "GrilleText.h"
#include "PuzzleBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <string>

EngineStressResult StressEngine(unsigned first, std::int64_t count) {
    EngineStressResult result;
    std::int64_t givensSum = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        const unsigned seed = first + static_cast<unsigned>(i);
        std::srand(seed);
        PuzzleBuilder builder;
        builder.generateFullGrid();
        const CellGrid generated = builder.solution;
        builder.removeClues();
        const int givens = static_cast<int>(
            std::count(builder.clueMask.begin(), builder.clueMask.end(), kMaskGiven));
        const std::string finding = check::judgeBuilder(builder, generated);
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

std::vector<GridCase> KorvanePuzzles(unsigned first, std::int64_t count) {
    std::vector<GridCase> puzzles;
    for (std::int64_t i = 0; i < count; ++i) {
        const unsigned seed = first + static_cast<unsigned>(i);
        std::srand(seed);
        PuzzleBuilder builder;
        builder.generateFullGrid();
        builder.removeClues();
        check::Board puzzle{};
        check::Board solution{};
        for (int cell = 0; cell < kCellCount; ++cell) {
            solution[cell] = builder.solution[cell];
            puzzle[cell] = builder.clueMask[cell] == kMaskGiven ? solution[cell] : 0;
        }
        puzzles.push_back(
            {"korvane seed " + std::to_string(seed), check::grilleBytes(puzzle), solution});
    }
    return puzzles;
}
