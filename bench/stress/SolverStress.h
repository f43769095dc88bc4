// The solver program run black-box on every grid of a set of files, each
// outcome judged by the grid checks of our own.
#pragma once

#include "GridCheck.h"

#include <optional>
#include <string>
#include <vector>

struct GridCase {
    std::string source;                   // file:line, or the file alone for a grille.txt
    std::string grilleBytes;              // what goes into grille.txt
    std::optional<check::Board> expected; // a solution listed beside the puzzle
};

// The grids of a grid file of grids/, or a file taken whole as a grille.txt.
std::vector<GridCase> GridFileCases(const std::string& path);
GridCase GrilleFileCase(const std::string& path);

struct SolverStressResult {
    int grids = 0;
    int solved = 0;
    int withoutSolution = 0;
    double slowestSolved = 0;     // seconds
    double slowestUnsolvable = 0; // seconds
    std::string slowestSolvedSource;
    std::string slowestUnsolvableSource;
    std::vector<std::string> findings;
};

// Copies the program into a scratch folder and runs it there once per grid.
SolverStressResult StressSolver(const std::string& program, const std::string& scratch,
                                const std::vector<GridCase>& grids);
