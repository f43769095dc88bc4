// Judges the puzzle engine's record after a whole puzzle, apart from the engine's
// own code: the stress run, the fuzz target and the engine's tests share it.
#pragma once

#include "PuzzleBuilder.h"

#include <string>

namespace check {

// Empty when the builder holds a sound puzzle, otherwise what is wrong: the
// clue mask holds only "given" and "hidden", the clue removal left the solution
// that the full-grid generator made (generated), no snapshot is left on the
// builder's stack, and the puzzle is sound (judgePuzzle).
std::string judgeBuilder(const PuzzleBuilder& builder, const CellGrid& generated);

} // namespace check
