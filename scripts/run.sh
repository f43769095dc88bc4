#!/usr/bin/env bash
# Main job: builds both programs (native Release) and runs them end to end.
# korvane makes a puzzle in a scratch folder; sudoku solves that puzzle from its
# own program folder; the two solutions must agree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-debian.sh native
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target korvane sudoku

work="$root/build/run"
rm -rf "$work"
mkdir -p "$work/korvane" "$work/sudoku"

echo "== korvane: a new puzzle"
status=0
(cd "$work/korvane" && "$root/build/linux-release/korvane/window/korvane") || status=$?
if [[ $status -ne 1 ]]; then
    echo "korvane ended with exit code $status (expected 1)" >&2
    exit 1
fi
bash scripts/show-grid.sh "$work/korvane/masque.txt" "puzzle (masque.txt)"
bash scripts/show-grid.sh "$work/korvane/solution.txt" "solution (solution.txt)"

echo "== sudoku: solving that puzzle"
cp "$root/build/linux-release/source_resolveur/sudoku" "$work/sudoku/"
bash scripts/masque-to-grille.sh "$work/korvane/masque.txt" >"$work/sudoku/grille.txt"
status=0
(cd / && "$work/sudoku/sudoku") || status=$?
if [[ $status -ne 0 ]]; then
    echo "sudoku ended with exit code $status (expected 0)" >&2
    exit 1
fi
tr -d '\r' <"$work/sudoku/solution.txt" >"$work/sudoku/solution.lf"
bash scripts/show-grid.sh "$work/sudoku/solution.lf" "sudoku's solution.txt"
if cmp -s "$work/sudoku/solution.lf" "$work/korvane/solution.txt"; then
    echo "sudoku's solution equals korvane's solution.txt."
else
    echo "sudoku's solution differs from korvane's solution.txt." >&2
    exit 1
fi
