// Engine-internal: digit sets as 9-bit masks (bit d - 1 for digit d), so that
// a search pass rates a cell from the digits of its row, column and box
// without visiting its 27 neighbours.
#pragma once

#include "PuzzleBuilder.h"

#include <array>
#include <bit>
#include <cstdint>

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

// How many of the 9 digits are not in the set.
inline int freeCount(unsigned blocked) {
    return kDigitCount - std::popcount(blocked);
}

inline unsigned bitOf(CellValue digit) {
    return 1u << (digit - 1);
}

// Writes the 9 marks of cell k: blocked for the digits of the set, free for the
// others. Any tried mark of k is wiped.
inline void writeMarks(CandidateSnapshot* snapshot, int k, unsigned blocked) {
    std::uint8_t* marks = snapshot->marks + k * kDigitCount;
    for (int d = 0; d < kDigitCount; ++d) {
        marks[d] = static_cast<std::uint8_t>((blocked >> d) & 1u);
    }
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
