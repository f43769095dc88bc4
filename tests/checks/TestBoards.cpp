#include "TestBoards.h"

#include "GrilleText.h"
#include "board_files.h"

#include <sstream>
#include <stdexcept>
#include <string>

namespace check {

const std::vector<HardBoard>& hardBoards() {
    static const std::vector<HardBoard> boards = [] {
        std::vector<HardBoard> parsed;
        std::istringstream lines{std::string(kHardBoardsFile)};
        std::string line;
        while (std::getline(lines, line)) {
            if (line.empty() || line[0] == '#') {
                continue;
            }
            std::istringstream fields(line);
            std::string puzzle;
            std::string solved;
            HardBoard board;
            fields >> puzzle >> solved >> board.passes >> board.steps;
            const auto p = boardFromText(puzzle);
            const auto s = boardFromText(solved);
            if (!fields || !p || !s) {
                throw std::runtime_error("hard-boards.txt: faulty line: " + line);
            }
            board.puzzle = *p;
            board.solved = *s;
            parsed.push_back(board);
        }
        return parsed;
    }();
    return boards;
}

const HardBoard& exampleBoard() {
    return hardBoards().front();
}

} // namespace check
