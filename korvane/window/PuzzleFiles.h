// The two text files of a run: solution.txt and masque.txt.
#pragma once

// Writes both files and ends the process with exit code 1. Returns false, after
// one line on the debug output naming the file and the reason, when a file
// cannot be opened, created or fully written: then neither file has changed if
// one of them could not be opened, and no file that this run created is left.
bool WritePuzzleFiles();
