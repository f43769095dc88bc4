// solution.txt and masque.txt in the current folder, through the system's own
// file calls.
#pragma once

#include "PuzzleBuilder.h"

#include <optional>
#include <string>

// Writes solution.txt and masque.txt, both or neither: each is opened (or created)
// and locked for this process alone before either is changed, and both stay open,
// locked, until the process ends, so a second run in the same folder meanwhile
// cannot mix its files with these. When a file cannot be had (a folder or a
// read-only file in its place, another run holding it), neither file is touched.
// On any failure the files that this run created are removed again, the files
// are closed, and the result is the line that names the file and the reason.
std::optional<std::string> WritePuzzleFiles(const CellGrid& solution, const CellGrid& puzzle);
