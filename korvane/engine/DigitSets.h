// Engine-internal: digit sets as 9-bit masks (bit d - 1 for digit d), so that
// a search pass rates a cell from the digits of its row, column and box
// without visiting its 27 neighbours.
#pragma once

#include "PuzzleBuilder.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace digit_sets {

struct CellUnits {
    std::uint8_t row;
    std::uint8_t column;
    std::uint8_t box;
};

inline constexpr std::array<CellUnits, kCellCount> kUnitsOf = [] {
    std::array<CellUnits, kCellCount> units{};
    for (int k = 0; k < kCellCount; ++k) {
        units[k] = {static_cast<std::uint8_t>(k / 9), static_cast<std::uint8_t>(k % 9),
                    static_cast<std::uint8_t>((k / 27) * 3 + (k % 9) / 3)};
    }
    return units;
}();

// One more than any cell can have free: the fewest free digits of a scan
// before it has met any empty cell.
inline constexpr int kAboveAnyFreeCount = kDigitCount + 1;

// The number of digits in each set, worked out once: the programs do not require
// a processor with a population count instruction, and without one std::popcount
// is a library call, which the searches would make at every cell they rate.
inline constexpr auto kDigitsIn = [] {
    std::array<std::uint8_t, 1u << kDigitCount> counts{};
    for (unsigned set = 0; set < counts.size(); ++set) {
        counts[set] = static_cast<std::uint8_t>(std::popcount(set));
    }
    return counts;
}();

// How many of the 9 digits are not in the set.
inline int freeCount(unsigned blocked) {
    return kDigitCount - kDigitsIn[blocked];
}

inline unsigned bitOf(CellValue digit) {
    return 1u << (digit - 1);
}

// The 9 marks of a cell for each set of blocked digits.
inline constexpr auto kMarksOf = [] {
    std::array<std::array<std::uint8_t, kDigitCount>, 1u << kDigitCount> marks{};
    for (unsigned blocked = 0; blocked < marks.size(); ++blocked) {
        for (int d = 0; d < kDigitCount; ++d) {
            marks[blocked][d] = ((blocked >> d) & 1u) != 0 ? kMarkBlocked : kMarkFree;
        }
    }
    return marks;
}();

// Writes the 9 marks of cell k: blocked for the digits of the set, free for the
// others. Any tried mark of k is wiped.
inline void writeMarks(CandidateSnapshot* snapshot, int k, unsigned blocked) {
    std::memcpy(snapshot->marks + k * kDigitCount, kMarksOf[blocked].data(), kDigitCount);
}

// The digits standing in each row, column and box of a grid.
class UnitDigits {
public:
    explicit UnitDigits(const CellGrid& grid) {
        for (int k = 0; k < kCellCount; ++k) {
            if (grid[k] != 0) {
                add(k, grid[k]);
            }
        }
    }

    void add(int k, CellValue digit) {
        const CellUnits& u = kUnitsOf[k];
        const unsigned bit = bitOf(digit);
        row_[u.row] |= bit;
        column_[u.column] |= bit;
        box_[u.box] |= bit;
    }

    // Only for a digit that no other cell of k's row, column or box holds, as
    // is the case for every digit that a search placed.
    void remove(int k, CellValue digit) {
        const CellUnits& u = kUnitsOf[k];
        const unsigned bit = ~bitOf(digit);
        row_[u.row] &= bit;
        column_[u.column] &= bit;
        box_[u.box] &= bit;
    }

    // Digits that stand in cell k's row, column or box.
    unsigned blocked(int k) const {
        const CellUnits& u = kUnitsOf[k];
        return row_[u.row] | column_[u.column] | box_[u.box];
    }

private:
    std::uint16_t row_[9] = {};
    std::uint16_t column_[9] = {};
    std::uint16_t box_[9] = {};
};

// The empty cells of a grid as a set of cell indices, walked in ascending order.
class EmptyCells {
public:
    explicit EmptyCells(const CellGrid& grid) {
        for (int k = 0; k < kCellCount; ++k) {
            if (grid[k] == 0) {
                add(k);
            }
        }
    }

    bool none() const { return (words_[0] | words_[1]) == 0; }
    void add(int k) { words_[k >> 6] |= std::uint64_t{1} << (k & 63); }
    void remove(int k) { words_[k >> 6] &= ~(std::uint64_t{1} << (k & 63)); }

    // Calls visit(k) for each empty cell k in ascending order until it returns false.
    template <typename Visit> void forEach(Visit visit) const {
        for (int w = 0; w < 2; ++w) {
            for (std::uint64_t bits = words_[w]; bits != 0; bits &= bits - 1) {
                if (!visit(w * 64 + std::countr_zero(bits))) {
                    return;
                }
            }
        }
    }

private:
    std::uint64_t words_[2] = {};
};

} // namespace digit_sets
