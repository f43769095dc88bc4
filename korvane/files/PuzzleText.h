// The two text files of a korvane run, solution.txt and masque.txt, as bytes:
// 81 lines of one decimal value each, LF line ends, in cell index order.
#pragma once

#include "PuzzleBuilder.h"

#include <string>

inline constexpr const char* kSolutionFile = "solution.txt";
inline constexpr const char* kMaskFile = "masque.txt";

// The bytes of a grid file: every value in decimal, each followed by LF.
std::string GridFileText(const CellGrid& grid);

// The puzzle of a builder: its solution's digit in each given cell, 0 elsewhere.
CellGrid GivensOf(const PuzzleBuilder& builder);

enum class FileStep { Create, Open, Write };

// The reason given for a file that another run (or another program) holds.
inline constexpr const char* kFileInUse = "in use by another program";

// The one line that tells why a file could not be made:
// "korvane: <file>: cannot create the file: <reason>\n" (or "open", "write").
std::string FileFailureLine(const char* file, FileStep step, const std::string& reason);
