// The generator checked seed by seed with the grid checks of our own.
#pragma once

#include "SolverStress.h"

#include <cstdint>
#include <string>
#include <vector>

struct EngineStressResult {
    std::int64_t seeds = 0;
    int minGivens = 81;
    int maxGivens = 0;
    double meanGivens = 0;
    std::vector<std::string> findings; // one line per faulty seed
};

// Seeds first .. first + count - 1: srand(seed), generateFullGrid, removeClues,
// then every property of the puzzle is checked.
EngineStressResult StressEngine(unsigned first, std::int64_t count);

// The puzzles of seeds first .. first + count - 1, each with korvane's solution.
std::vector<GridCase> KorvanePuzzles(unsigned first, std::int64_t count);
