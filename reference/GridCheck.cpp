#include "GridCheck.h"

#include <bit>

namespace check {
namespace {

constexpr int boxOf(int cell) {
    return (cell / 27) * 3 + (cell % 9) / 3;
}

constexpr unsigned kAllDigits = 0x1FF; // bit d - 1 for digit d

// Candidate bit sets of every row, column and box, kept in step with a board.
struct Units {
    unsigned row[9]{};
    unsigned col[9]{};
    unsigned box[9]{};

    unsigned used(int cell) const { return row[cell / 9] | col[cell % 9] | box[boxOf(cell)]; }
    void flip(int cell, unsigned bit) {
        row[cell / 9] ^= bit;
        col[cell % 9] ^= bit;
        box[boxOf(cell)] ^= bit;
    }
};

// Fills units from the board; false when a unit holds a digit twice.
bool loadUnits(const Board& board, Units& units) {
    for (int cell = 0; cell < 81; ++cell) {
        const int v = board[cell];
        if (v == 0) {
            continue;
        }
        const unsigned bit = 1u << (v - 1);
        if (units.used(cell) & bit) {
            return false;
        }
        units.flip(cell, bit);
    }
    return true;
}

// The cells of the 27 units: rows, columns, boxes.
struct UnitCells {
    int cell[27][9];
    constexpr UnitCells() : cell{} {
        for (int i = 0; i < 9; ++i) {
            for (int j = 0; j < 9; ++j) {
                cell[i][j] = i * 9 + j;
                cell[9 + i][j] = j * 9 + i;
                cell[18 + i][j] = (i / 3) * 27 + (i % 3) * 3 + (j / 3) * 9 + j % 3;
            }
        }
    }
};
constexpr UnitCells kUnits;

// Depth-first count. It branches on a digit that has a single place left in
// some unit, else on the empty cell with the fewest candidates, and it stops at
// once where a cell has no candidate or a unit has no place left for a missing
// digit. Every completion puts such a single digit in its place, so the count
// stays exact.
struct Counter {
    Board cells;
    Units units;
    std::int64_t limit;
    std::int64_t found = 0;
    Board* first;

    void search() {
        unsigned free[81];
        int best = -1;
        int bestCount = 10;
        for (int cell = 0; cell < 81; ++cell) {
            if (cells[cell] != 0) {
                continue;
            }
            free[cell] = kAllDigits & ~units.used(cell);
            const int n = std::popcount(free[cell]);
            if (n == 0) {
                return;
            }
            if (n < bestCount) {
                best = cell;
                bestCount = n;
            }
        }
        if (best < 0) {
            if (found == 0 && first != nullptr) {
                *first = cells;
            }
            ++found;
            return;
        }
        unsigned branch = free[best];
        if (bestCount > 1) {
            for (const auto& unit : kUnits.cell) {
                unsigned once = 0, twice = 0, placed = 0;
                for (int cell : unit) {
                    if (cells[cell] != 0) {
                        placed |= 1u << (cells[cell] - 1);
                    } else {
                        twice |= once & free[cell];
                        once |= free[cell];
                    }
                }
                const unsigned missing = kAllDigits & ~placed;
                if (missing & ~once) {
                    return; // a missing digit has no place left in this unit
                }
                const unsigned single = missing & once & ~twice;
                if (single != 0 && branch != (single & (0u - single))) {
                    const unsigned bit = single & (0u - single);
                    for (int cell : unit) {
                        if (cells[cell] == 0 && (free[cell] & bit)) {
                            best = cell;
                        }
                    }
                    branch = bit;
                    break;
                }
            }
        }
        for (; branch != 0 && found < limit; branch &= branch - 1) {
            const unsigned bit = branch & (0u - branch);
            cells[best] = std::countr_zero(bit) + 1;
            units.flip(best, bit);
            search();
            units.flip(best, bit);
        }
        cells[best] = 0;
    }
};

// Chronological search over the empty cells in a fixed order.
struct OrderedSearch {
    Board cells;
    Units units;
    std::array<int, 81> empty{};
    int emptyCount = 0;
    std::int64_t steps = 0;
    std::int64_t cap = 0;

    // True when the cells from position i on can be completed.
    bool fill(int i) {
        if (i == emptyCount) {
            return true;
        }
        if (++steps > cap) {
            return false;
        }
        const int cell = empty[i];
        for (unsigned free = kAllDigits & ~units.used(cell); free != 0; free &= free - 1) {
            const unsigned bit = free & (0u - free);
            units.flip(cell, bit);
            const bool done = fill(i + 1);
            units.flip(cell, bit);
            if (done) {
                cells[cell] = std::countr_zero(bit) + 1;
                return true;
            }
            if (steps > cap) {
                return false;
            }
        }
        return false;
    }
};

} // namespace

bool valuesInRange(const Board& board) {
    for (int v : board) {
        if (v < 0 || v > 9) {
            return false;
        }
    }
    return true;
}

bool noDuplicates(const Board& board) {
    Units units;
    return valuesInRange(board) && loadUnits(board, units);
}

bool isCompleteValid(const Board& board) {
    for (int v : board) {
        if (v < 1 || v > 9) {
            return false;
        }
    }
    return noDuplicates(board);
}

bool keepsGivens(const Board& puzzle, const Board& filled) {
    for (int cell = 0; cell < 81; ++cell) {
        if (puzzle[cell] != 0 && puzzle[cell] != filled[cell]) {
            return false;
        }
    }
    return true;
}

std::int64_t countCompletions(const Board& board, std::int64_t limit, Board* first) {
    Counter counter{board, {}, limit < 1 ? 1 : limit, 0, first};
    if (!valuesInRange(board) || !loadUnits(board, counter.units)) {
        return 0;
    }
    counter.search();
    return counter.found;
}

bool smallestCompletion(const Board& board, const std::array<int, 81>& order, Board& out) {
    Board work = board;
    if (countCompletions(work, 1) == 0) {
        return false;
    }
    // Fix the cells one by one in order, each to the smallest digit that still
    // leaves a completion.
    for (int cell : order) {
        if (work[cell] != 0) {
            continue;
        }
        bool fixed = false;
        for (int d = 1; d <= 9 && !fixed; ++d) {
            work[cell] = d;
            fixed = countCompletions(work, 1) > 0;
        }
        if (!fixed) {
            return false; // cannot happen: a completion existed before this cell
        }
    }
    out = work;
    return true;
}

std::int64_t searchSteps(const Board& board, const std::array<int, 81>& order, std::int64_t cap,
                         Board* first) {
    OrderedSearch search;
    search.cells = board;
    search.cap = cap;
    if (!valuesInRange(board) || !loadUnits(board, search.units)) {
        return -1;
    }
    for (int cell : order) {
        if (board[cell] == 0) {
            search.empty[search.emptyCount++] = cell;
        }
    }
    if (search.fill(0)) {
        if (first != nullptr) {
            *first = search.cells;
        }
        return search.steps;
    }
    return search.steps > cap ? -1 : search.steps;
}

std::array<int, 81> bottomUpOrder() {
    std::array<int, 81> order{};
    int i = 0;
    for (int row = 8; row >= 0; --row) {
        for (int col = 0; col < 9; ++col) {
            order[i++] = row * 9 + col;
        }
    }
    return order;
}

std::string toText(const Board& board) {
    std::string text;
    for (int v : board) {
        text += (v >= 0 && v <= 9) ? static_cast<char>('0' + v) : '?';
    }
    return text;
}

} // namespace check
