#!/usr/bin/env bash
# Whole-program timing of the native sudoku against the build of an older commit,
# on the same hard board, in one run: the two programs are started alternately
# (old, new, old, new, ...) REPS times each (default 5), each from its own folder
# holding grille.txt. Prints every time, the medians and their ratio (new / old).
# It reports; it asserts nothing about time, only that every run wrote the
# expected solution.txt.
#   bench/solver/compare-sudoku.sh [old commit, default e85e246] [board number in
#   bench/solver/hard-boards.txt, default 6: the hardest]
# Environment: REPS, NEW_BUILD_DIR (default build/linux-release), OLD_BUILD_DIR
# (default /tmp/sudoku-old-<commit>-build; the old sources go to a git worktree at
# /tmp/sudoku-old-<commit>, kept for the next run).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

old_commit=$(git rev-parse --short "${1:-e85e246}")
board_number=${2:-6}
reps=${REPS:-5}
source scripts/grid-text.sh
line=$(hard_board "$board_number") || exit 2
read -r puzzle solved _ steps <<<"$line"

new_build=${NEW_BUILD_DIR:-build/linux-release}
old_tree=/tmp/sudoku-old-$old_commit
old_build=${OLD_BUILD_DIR:-$old_tree-build}
if [[ ! -d $old_tree ]]; then
    git worktree add --detach "$old_tree" "$old_commit" >/dev/null
fi
cmake --preset linux-release -B "$new_build" >/dev/null
cmake --build "$new_build" -j2 --target sudoku >/dev/null
(cd "$old_tree" && cmake --preset linux-release -B "$old_build" >/dev/null &&
    cmake --build "$old_build" -j2 --target sudoku >/dev/null)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
expected=$work/expected.txt
solution_of "$solved" >"$expected"
for kind in old new; do
    mkdir -p "$work/$kind"
    grille_of "$puzzle" >"$work/$kind/grille.txt"
done
cp "$old_build/source_resolveur/sudoku" "$work/old/"
cp "$new_build/source_resolveur/sudoku" "$work/new/"

# run <kind>: wall time of one run in seconds; checks its solution.txt.
run() {
    local dir=$work/$1 start end
    rm -f "$dir/solution.txt"
    start=$(date +%s.%N)
    (cd / && "$dir/sudoku") || true
    end=$(date +%s.%N)
    cmp -s "$dir/solution.txt" "$expected" || { echo "$1: wrong solution.txt" >&2; exit 1; }
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

echo "board $board_number ($steps steps), old $old_commit, new $(git rev-parse --short HEAD) (worktree state)"
old_times=()
new_times=()
for ((r = 1; r <= reps; r++)); do
    old_times+=("$(run old)")
    new_times+=("$(run new)")
    echo "run $r: old ${old_times[-1]} s, new ${new_times[-1]} s"
done
old_median=$(median "${old_times[@]}")
new_median=$(median "${new_times[@]}")
echo "median: old $old_median s, new $new_median s"
awk -v o="$old_median" -v n="$new_median" 'BEGIN { printf "ratio new / old: %.3f\n", n / o }'
