#include "PuzzleCheck.h"

#include <algorithm>

namespace check {

std::optional<Board> puzzleFileBoard(std::string_view bytes) {
    Board board{};
    if (bytes.size() != 2 * board.size()) {
        return std::nullopt;
    }
    for (std::size_t cell = 0; cell < board.size(); ++cell) {
        const char digit = bytes[2 * cell];
        if (digit < '0' || digit > '9' || bytes[2 * cell + 1] != '\n') {
            return std::nullopt;
        }
        board[cell] = digit - '0';
    }
    return board;
}

std::string judgePuzzle(const Board& solution, const Board& puzzle) {
    if (!isCompleteValid(solution)) {
        return "the solution is not a complete valid grid: " + toText(solution);
    }
    if (!keepsGivens(puzzle, solution)) {
        return "the puzzle " + toText(puzzle) + " is not made of its solution's digits";
    }
    const auto givens = std::count_if(puzzle.begin(), puzzle.end(), [](int v) { return v != 0; });
    if (givens < 28 || givens == 81) {
        return "the puzzle " + toText(puzzle) + " has " + std::to_string(givens) + " givens";
    }
    Board completion{};
    const auto count = countCompletions(puzzle, 2, &completion);
    if (count != 1) {
        return "the puzzle " + toText(puzzle) + " has " + std::to_string(count) +
               " completions (2 = two or more)";
    }
    if (completion != solution) {
        return "the puzzle " + toText(puzzle) + " completes to " + toText(completion);
    }
    return {};
}

std::string judgePuzzleFiles(std::string_view solutionBytes, std::string_view maskBytes) {
    const auto solution = puzzleFileBoard(solutionBytes);
    const auto mask = puzzleFileBoard(maskBytes);
    if (!solution || !mask) {
        return std::string(!solution ? "solution.txt" : "masque.txt") +
               " is not 81 lines of one digit and LF";
    }
    return judgePuzzle(*solution, *mask);
}

} // namespace check
