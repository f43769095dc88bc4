#!/usr/bin/env bash
# Whole-program timing of the native sudoku against the build of an older commit on one
# board of bench/solver/hard-boards.txt, with hyperfine (one warm-up, REPS runs each,
# default 5; its Markdown table is printed). Each program runs from its own folder holding
# grille.txt; afterwards both solution.txt files must be the board's solution.
#   bench/solver/compare-sudoku.sh [old commit, default e85e246] [board, default 6: the hardest]
# The old sources go to a git worktree at /tmp/sudoku-old-<commit>, built beside it.
set -euo pipefail
cd "$(dirname "$0")/../.."
old=$(git rev-parse --short "${1:-e85e246}")
tree=/tmp/sudoku-old-$old
[[ -d $tree ]] || git worktree add --detach "$tree" "$old" >/dev/null
cmake --preset linux-release >/dev/null && cmake --build --preset linux-release --target sudoku
(cd "$tree" && cmake --preset linux-release -B "$tree-build" >/dev/null &&
    cmake --build "$tree-build" --target sudoku)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/old" "$work/new"
cmake -DBOARD="${2:-6}" -DFOLDER="$work" -P cmake/checks/Board.cmake
cp "$work/grille.txt" "$work/old/" && cp "$work/grille.txt" "$work/new/"
cp "$tree-build/source_resolveur/sudoku" "$work/old/"
cp build/linux-release/source_resolveur/sudoku "$work/new/"
hyperfine --warmup 1 --runs "${REPS:-5}" --export-markdown "$work/times.md" \
    -n "old $old" "cd / && $work/old/sudoku" -n "new $(git rev-parse --short HEAD)" "cd / && $work/new/sudoku"
cat "$work/times.md"
cmp "$work/old/solution.txt" "$work/expected.txt" && cmp "$work/new/solution.txt" "$work/expected.txt"
