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
    const char* verb = step == FileStep::Create ? "create"
                       : step == FileStep::Open ? "open"
                                                : "write";
    return std::string("korvane: ") + file + ": cannot " + verb + " the file: " + reason + "\n";
}
