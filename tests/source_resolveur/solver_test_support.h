// Helpers shared by the solver's tests: a form with a fixed clock, boards written
// as text, scratch folders.
#pragma once

#include "headless_runtime.h"
#include "modSudoku.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace solver_test {

// A headless form whose clock always reads 12:34:56.
class TestForm : public forms::HeadlessRuntime {
public:
    std::string TimeOfDay() const override { return "12:34:56"; }
};

// The board that the search makes from an empty board, top row (y = 8) first.
inline constexpr std::string_view kReference = "978531642"
                                               "642978531"
                                               "531642978"
                                               "897214365"
                                               "365897214"
                                               "214365897"
                                               "789123456"
                                               "456789123"
                                               "123456789";

// Fills Grille from 81 chars, top row first ('0' or '.' = empty).
inline void SetBoard(std::string_view text) {
    ASSERT_EQ(text.size(), 81u);
    for (int i = 0; i < 81; ++i) {
        const char c = text[static_cast<std::size_t>(i)];
        modSudoku::Grille.Pose(i % 9, 8 - i / 9, c == '.' ? 0 : c - '0');
    }
}

// Grille as 81 chars, top row first, '0' for empty.
inline std::string BoardText() {
    std::string text;
    for (int y = 8; y >= 0; --y) {
        for (int x = 0; x < 9; ++x) {
            text.push_back(static_cast<char>('0' + modSudoku::Grille(x, y)));
        }
    }
    return text;
}

// A fresh empty folder under the temporary directory, removed at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device seed;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("sudoku-test-" + std::to_string(seed()));
            if (std::filesystem::create_directory(path_)) {
                break;
            }
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Text() const { return path_.string(); }

    void Write(const std::string& name, std::string_view bytes) const {
        std::ofstream out(path_ / name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path path_;
};

// The solution.txt bytes for 81 chars, top row first.
inline std::string SolutionBytes(std::string_view board) {
    std::string bytes;
    for (char c : board) {
        bytes += c;
        bytes += "\r\n";
    }
    return bytes;
}

// A grille.txt for 81 chars: nine lines of digits separated by blanks, CR LF.
inline std::string GrilleFile(std::string_view board) {
    std::string text;
    for (int row = 0; row < 9; ++row) {
        for (int x = 0; x < 9; ++x) {
            text += board[static_cast<std::size_t>(9 * row + x)];
            text += x < 8 ? " " : "\r\n";
        }
    }
    return text;
}

} // namespace solver_test
