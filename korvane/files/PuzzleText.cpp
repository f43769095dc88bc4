#include "PuzzleText.h"

#include <sstream>

std::string GridFileText(const CellGrid& grid) {
    std::ostringstream text;
    for (CellValue value : grid) {
        text << value << '\n';
    }
    return text.str();
}

CellGrid GivensOf(const PuzzleBuilder& builder) {
    CellGrid givens{};
    for (int i = 0; i < kCellCount; ++i) {
        if (builder.clueMask[i] == kMaskGiven) {
            givens[i] = builder.solution[i];
        }
    }
    return givens;
}

std::string FileFailureLine(const char* file, FileStep step, const std::string& reason) {
    return std::string("korvane: ") + file + ": cannot " +
           (step == FileStep::Create ? "create" : "write") + " the file: " + reason + "\n";
}
