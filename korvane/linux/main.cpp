// Entry point of korvane on Linux: generates one puzzle, writes solution.txt and
// masque.txt into the current folder and ends with exit code 1. When a file
// cannot be had or written, one line on standard error names it and gives the
// reason, and the exit code is 0. There is no puzzle window here.
#include "PuzzleBuilder.h"
#include "PuzzleFiles.h"
#include "PuzzleText.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// Milliseconds since the system started, on 32 bits, as the generator's seed:
// the boot clock, which goes on while the system sleeps, or else the monotonic
// clock, which every Linux system has.
unsigned TickCount() {
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
        clock_gettime(CLOCK_MONOTONIC, &now);
    }
    const auto ms = static_cast<unsigned long long>(now.tv_sec) * 1000ull +
                    static_cast<unsigned long long>(now.tv_nsec) / 1000000ull;
    return static_cast<unsigned>(ms & 0xFFFFFFFFull);
}

PuzzleBuilder puzzleBuilder;

} // namespace

int main() {
    std::srand(TickCount());
    puzzleBuilder.generateFullGrid();
    puzzleBuilder.removeClues();
    if (const auto failure = WritePuzzleFiles(puzzleBuilder.solution, GivensOf(puzzleBuilder))) {
        std::fputs(failure->c_str(), stderr);
        return 0;
    }
    return 1;
}
