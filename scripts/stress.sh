#!/usr/bin/env bash
# Stress run, not part of the default tests: 20,000 seeds of the generator and
# the solver program on every grid under bench/, each result judged by grid
# checks written apart from both programs. Rewrites docs/stress.md with this run.
#
# Usage: scripts/stress.sh [first seed] [seed count]    (defaults 1 and 20000)
# Environment: STRESS_BUILD (default build/hardening-release).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

first=${1:-1}
count=${2:-20000}
build=${STRESS_BUILD:-build/hardening-release}
cmake --preset linux-release -B "$build" >/dev/null
cmake --build "$build" -j2 --target sudoku_stress sudoku >/dev/null

stress="$build/bench/stress/sudoku_stress"
# Every grid file under bench/, the grille.txt layouts of the fuzz corpus, and
# 500 puzzles of the generator with its solutions.
mapfile -t grids < <(find bench -name '*.txt' ! -name CMakeLists.txt | sort)
grids+=(fuzz/corpus/grille/*)
"$stress" puzzles 1 500 >"$build/korvane-puzzles.txt"
grids+=("$build/korvane-puzzles.txt")
out="$build/stress.out"
set +e
{
    found=0
    "$stress" engine "$first" "$count" || found=1
    "$stress" solver "$build/source_resolveur/sudoku" "$build/stress-scratch" "${grids[@]}" ||
        found=1
    exit $found
} | tee "$out"
status=${PIPESTATUS[0]}
set -e

{
    cat <<'HEAD'
# Stress run

`bash scripts/stress.sh` (under a minute; not part of the default tests) checks
both programs against grid checks written apart from them (`fuzz/checks/`):

- The generator, linked in `bench/stress/sudoku_stress`: for each seed,
  `srand(seed)`, `generateFullGrid`, `removeClues`; the solution is a complete
  valid grid and unchanged by `removeClues`, the builder's stack is empty, the
  clue mask holds only 0 and 1, at least 28 givens remain, and the puzzle has
  exactly one completion, equal to the solution, as counted by our own search
  (fewest-candidates first, bit sets; not `countSolutions`).
- The solver, run black-box (the release program copied to a scratch folder,
  started from `/`) on every grid of every `.txt` file under `bench/`: lines of
  81 digits are grids (with the listed solution beside them, when there is one),
  other files are taken whole as a `grille.txt`. Exit code 0 must come with a
  saved board that is complete, valid, keeps every given and is the first
  completion in the solver's own order (bottom row first, digits increasing);
  exit code 1 only for a grid without a completion, and then `solution.txt`
  holds the grid as loaded. `bench/stress/extra-grids.txt` adds grids without a
  completion (the hard boards with one wrong digit, conflicting givens, a full
  row with a digit twice, a clash, a dead first cell) and grids with several;
  the `grille.txt` files of the fuzz corpus (`fuzz/corpus/grille/`) and the
  puzzles of the generator's seeds 1 to 500 (each with korvane's solution, which
  the solver must match) are run as well.

Any finding is printed as `FINDING ...` and makes the command fail. The times are
reported, not checked: they depend on the load of the shared machine.

## Last run
HEAD
    echo
    echo "$(date -u '+%Y-%m-%d %H:%M UTC'), tree at commit $(git rev-parse --short HEAD), $(nproc) cores," \
        "$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), linux-release build."
    echo
    echo '```'
    echo "\$ bash scripts/stress.sh $first $count"
    cat "$out"
    echo '```'
    echo
    echo "Grid files: $(find bench -name '*.txt' ! -name CMakeLists.txt | sort | tr '\n' ' ')" \
        "fuzz/corpus/grille/ ($(ls fuzz/corpus/grille | wc -l) files), and the generated" \
        "$build/korvane-puzzles.txt."
} >docs/stress.md

exit $status
