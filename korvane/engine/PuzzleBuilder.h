// Puzzle engine of korvane: the generator record, its candidate snapshots and
// the stack that links them.
//
// Grid convention: 81 cell values in row-major order from the top-left cell.
// Cell k lies in row k / 9, column k % 9 and box (k / 27) * 3 + (k % 9) / 3.
// A value of 0 is an empty cell, 1..9 a digit.
//
// Random numbers come only from the C library's rand(), seeded once by the
// program; the engine never seeds it. The order of the draws is part of the
// interface: the same seed always yields the same puzzle.
//
// The engine touches no window, file or console.
#pragma once

#include <array>
#include <cstdint>

using CellValue = std::int16_t;

inline constexpr int kCellCount = 81;
inline constexpr int kDigitCount = 9;
// The clue remover stops when this many cells are left undecided; they stay given.
inline constexpr int kMinGivens = 28;

using CellGrid = std::array<CellValue, kCellCount>;
using ClueMask = std::array<std::uint8_t, kCellCount>;

// Mark values of a snapshot.
inline constexpr std::uint8_t kMarkFree = 0;
inline constexpr std::uint8_t kMarkBlocked = 1;
inline constexpr std::uint8_t kMarkTried = 2;

// Clue mask values.
inline constexpr std::uint8_t kMaskGiven = 0;
inline constexpr std::uint8_t kMaskHidden = 1;
inline constexpr std::uint8_t kMaskMustStay = 2;

// One node of a SnapshotStack: room for the candidate marks of every cell, and
// the cell that its search pass fills, the only cell whose marks it writes.
struct CandidateSnapshot {
    // marks[k * 9 + (d - 1)] for cell k and digit d: kMarkFree, kMarkBlocked or kMarkTried.
    std::uint8_t marks[kCellCount * kDigitCount];
    std::int32_t chosenCell;
    CandidateSnapshot* below;
    CandidateSnapshot* above;
};

// A doubly linked stack that owns its snapshots.
class SnapshotStack {
public:
    CandidateSnapshot* bottom = nullptr;
    CandidateSnapshot* top = nullptr;

    SnapshotStack() = default;
    SnapshotStack(const SnapshotStack&) = delete;
    SnapshotStack& operator=(const SnapshotStack&) = delete;
    ~SnapshotStack() { clear(); }

    // Links a new zero-filled snapshot on top and returns it. Memory exhaustion
    // passes out as std::bad_alloc; a null result must still stop the caller.
    CandidateSnapshot* push();
    // Releases the top snapshot and returns the one below it (null when none).
    CandidateSnapshot* pop();
    // Releases every snapshot.
    void clear();
};

// The generator record: the solution grid, the clue mask and the builder's own
// snapshot stack. korvane has exactly one, a global.
struct PuzzleBuilder {
    CellGrid solution{};
    // kMaskGiven, kMaskHidden, and kMaskMustStay only while removeClues runs.
    ClueMask clueMask{};
    SnapshotStack snapshots;

    // Puts a random free digit of the snapshot's chosen cell into the grid.
    // Draws rand() only when two or more digits are free.
    bool placeRandomCandidate(CandidateSnapshot* snapshot, CellGrid& grid);

    // Fills solution with a random complete grid; snapshots is empty afterwards.
    void generateFullGrid();
    // Undoes the snapshot's placement and tries the cell's next digit,
    // descending the stack while a cell has no digit left.
    void backtrack(CandidateSnapshot* snapshot);

    // 0, 1 or 2 (two or more) completions of grid with the cells whose mask
    // byte is kMaskHidden emptied; mask may be null. Changes neither argument.
    // Its own snapshot stack is released on every way out, std::bad_alloc included.
    int countSolutions(const CellGrid& grid, const ClueMask* mask);

    // Turns the complete solution into a puzzle with exactly one completion.
    void removeClues();
    // Number of clue mask bytes that are not 0.
    int countDecided() const;
};
