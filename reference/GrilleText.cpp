#include "GrilleText.h"

namespace check {

Board loadedGrille(std::string_view bytes) {
    Board board{};
    std::size_t pos = 0;
    for (int line = 0; line < 9 && pos < bytes.size(); ++line) {
        std::size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        const std::string_view text = bytes.substr(pos, end - pos);
        if (text.size() > 64 * 1024) {
            return board; // a faulty line, as long as no grid's
        }
        for (std::size_t x = 0; x < 9; ++x) {
            const std::size_t at = 2 * x; // position 2x + 1, counted from 1
            if (at >= text.size() || text[at] < '0' || text[at] > '9') {
                return board;
            }
            board[line * 9 + x] = text[at] - '0';
        }
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r') {
            ++pos;
            if (pos < bytes.size() && bytes[pos] == '\n') {
                ++pos;
            }
        } else if (pos < bytes.size()) {
            ++pos; // a lone LF
        }
    }
    return board;
}

std::optional<Board> savedSolution(std::string_view bytes) {
    if (bytes.size() != 81 * 3) {
        return std::nullopt;
    }
    Board board{};
    for (int cell = 0; cell < 81; ++cell) {
        const char digit = bytes[cell * 3];
        if (digit < '0' || digit > '9' || bytes[cell * 3 + 1] != '\r' ||
            bytes[cell * 3 + 2] != '\n') {
            return std::nullopt;
        }
        board[cell] = digit - '0';
    }
    return board;
}

std::string solutionBytes(const Board& board) {
    std::string bytes;
    for (int v : board) {
        bytes += static_cast<char>('0' + v);
        bytes += "\r\n";
    }
    return bytes;
}

std::string grilleBytes(const Board& board) {
    std::string bytes;
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 9; ++col) {
            if (col > 0) {
                bytes += ' ';
            }
            bytes += static_cast<char>('0' + board[row * 9 + col]);
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<Board> boardFromText(std::string_view text) {
    if (text.size() != 81) {
        return std::nullopt;
    }
    Board board{};
    for (int cell = 0; cell < 81; ++cell) {
        const char c = text[cell];
        if (c == '.') {
            board[cell] = 0;
        } else if (c >= '0' && c <= '9') {
            board[cell] = c - '0';
        } else {
            return std::nullopt;
        }
    }
    return board;
}

} // namespace check
