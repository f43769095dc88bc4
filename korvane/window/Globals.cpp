// Definitions of the process-wide state. puzzleBuilder is defined before
// solutionView, which refers to it: within this file they are constructed in
// that order and destroyed in the reverse order.
#include "Globals.h"

HINSTANCE appInstance = nullptr;
CellGrid playerGrid{};
CellGrid puzzleGrid{};
std::int32_t cellsReady = 0;

PuzzleBuilder puzzleBuilder;
SolutionView solutionView{nullptr, &puzzleBuilder};
