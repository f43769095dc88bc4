// solution.txt and masque.txt in the current folder, through the system's own
// file calls.
#pragma once

#include "PuzzleBuilder.h"

#include <optional>
#include <string>

// Writes solution.txt in full, then masque.txt. Each file is locked for this
// process alone before it is cut to nothing, and both stay open, locked, until
// the process ends: a second run in the same folder meanwhile cannot create them
// and so cannot mix its files with these. On a failure, the files opened so far
// are closed and the result is the line that names the file and the system's
// reason; masque.txt is not attempted after a failure on solution.txt.
std::optional<std::string> WritePuzzleFiles(const CellGrid& solution, const CellGrid& puzzle);
