// The two text files of a run: solution.txt and masque.txt.
#pragma once

// Writes both files and ends the process with exit code 1. Returns false, after
// one line on the debug output naming the file and the reason, when a file
// cannot be created or fully written.
bool WritePuzzleFiles();
