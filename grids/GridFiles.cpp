#include "GridFiles.h"

#include "hard_boards.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace grids {

namespace {

bool IsBoard(const std::string& text, char lowest) {
    return text.size() == 81 &&
           std::all_of(text.begin(), text.end(), [&](char c) { return c >= lowest && c <= '9'; });
}

} // namespace

std::vector<Grid> Read(std::istream& lines, const std::string& name) {
    std::vector<Grid> grids;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        Grid grid{name + ":" + std::to_string(number), "", ""};
        std::istringstream fields(line);
        fields >> grid.puzzle;
        bool sound = IsBoard(grid.puzzle, '0');
        if (fields >> grid.solved) {
            sound = sound && IsBoard(grid.solved, '1') && fields >> grid.passes >> grid.steps;
        }
        std::string more;
        if (!sound || fields >> more) {
            throw std::runtime_error(grid.source + ": not a grid line: " + line);
        }
        grids.push_back(grid);
    }
    return grids;
}

std::vector<Grid> Read(const std::filesystem::path& file) {
    std::ifstream lines(file);
    if (!lines) {
        throw std::runtime_error(file.string() + ": cannot be read");
    }
    return Read(lines, file.filename().string());
}

const std::vector<Grid>& HardBoards() {
    static const std::vector<Grid> boards = [] {
        std::istringstream lines{std::string(kHardBoardsText)};
        return Read(lines, "hard-boards.txt");
    }();
    return boards;
}

} // namespace grids
