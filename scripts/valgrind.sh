#!/usr/bin/env bash
# Runs both native programs under valgrind memcheck, built without sanitizers
# (linux-release preset, own folder), in the situations that take their
# different paths: sudoku with a grid, without grille.txt and with a
# solution.txt that cannot be written; korvane normally and with a file that
# cannot be created. Any memcheck error or definite/indirect leak, or an
# unexpected exit code or file, fails the script.
#
# Usage: scripts/valgrind.sh    Environment: VALGRIND_BUILD (default build/hardening-release).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build=${VALGRIND_BUILD:-build/hardening-release}
cmake --preset linux-release -B "$build" >/dev/null
cmake --build "$build" -j2 --target korvane sudoku >/dev/null
build=$(cd "$build" && pwd)

work="$build/valgrind"
rm -rf "$work"
mkdir -p "$work"
failures=0

# memcheck <case name> <expected exit code> <program> [folder to run in]
memcheck() {
    local name=$1 expected=$2 program=$3 folder=${4:-/}
    local log="$work/$name.log" status=0
    (cd "$folder" && valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
        --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
        --track-origins=yes --log-file="$log" "$program" </dev/null >"$work/$name.out" 2>&1) ||
        status=$?
    local summary
    summary=$(grep -E 'ERROR SUMMARY' "$log" | tail -1 | sed 's/^==[0-9]*== //')
    if [[ $status -ne $expected ]]; then
        echo "FAIL $name: exit code $status, expected $expected; $summary (log: $log)"
        failures=$((failures + 1))
        ran_ok=0
        return 0
    fi
    echo "ok   $name: exit code $status; $summary"
    ran_ok=1
}

# expect_size <case name> <file> <expected size in bytes>
expect_size() {
    local name=$1 file=$2 size=$3
    if [[ ! -f $file || $(stat -c %s "$file") -ne $size ]]; then
        echo "FAIL $name: $file is missing or not $size bytes"
        failures=$((failures + 1))
    fi
}

# expect_cells <case name> <file> <81 digits>: the file's digits, line ends dropped.
expect_cells() {
    local name=$1 file=$2 cells=$3
    if [[ ! -f $file || $(tr -d '\r\n' <"$file") != "$cells" ]]; then
        echo "FAIL $name: $file does not hold $cells"
        failures=$((failures + 1))
    fi
}

# sudoku_folder <case name>: a program folder with its own copy of sudoku.
sudoku_folder() {
    local folder="$work/$1"
    mkdir -p "$folder"
    cp "$build/source_resolveur/sudoku" "$folder/"
    echo "$folder"
}

# sudoku: a puzzle with a solution, solved and saved.
f=$(sudoku_folder sudoku-normal)
printf '%s\r\n' '0 0 0 0 0 0 0 0 0' '0 0 0 0 0 3 0 8 5' '0 0 1 0 2 0 0 0 0' \
    '0 0 0 5 0 7 0 0 0' '0 0 4 0 0 0 1 0 0' '0 9 0 0 0 0 0 0 0' \
    '5 0 0 0 0 0 0 7 3' '0 0 2 0 1 0 0 0 0' '0 0 0 0 4 0 0 0 9' >"$f/grille.txt"
memcheck sudoku-normal 0 "$f/sudoku"
((ran_ok)) && expect_size sudoku-normal "$f/solution.txt" 243 &&
    expect_cells sudoku-normal "$f/solution.txt" \
        987654321246173985351928746128537694634892157795461832519286473472319568863745219

# sudoku: no grille.txt, the empty board is solved.
f=$(sudoku_folder sudoku-without-grille)
memcheck sudoku-without-grille 0 "$f/sudoku"
((ran_ok)) && expect_size sudoku-without-grille "$f/solution.txt" 243

# sudoku: a grid without a solution.
f=$(sudoku_folder sudoku-no-solution)
printf '%s\r\n' '5 0 0 0 0 0 0 0 5' >"$f/grille.txt"
memcheck sudoku-no-solution 1 "$f/sudoku"
((ran_ok)) && expect_size sudoku-no-solution "$f/solution.txt" 243 &&
    expect_cells sudoku-no-solution "$f/solution.txt" "500000005$(printf '0%.0s' {1..72})"

# sudoku: solution.txt is a folder, so its creation fails.
f=$(sudoku_folder sudoku-save-open-fails)
mkdir "$f/solution.txt"
memcheck sudoku-save-open-fails 2 "$f/sudoku"

# sudoku: solution.txt leads to /dev/full, so the open works and a write fails.
f=$(sudoku_folder sudoku-save-write-fails)
ln -s /dev/full "$f/solution.txt"
memcheck sudoku-save-write-fails 2 "$f/sudoku"

# korvane: a normal run writes both files in its current folder and ends with 1.
f="$work/korvane-normal"
mkdir -p "$f"
memcheck korvane-normal 1 "$build/korvane/window/korvane" "$f"
((ran_ok)) && expect_size korvane-normal "$f/solution.txt" 162
((ran_ok)) && expect_size korvane-normal "$f/masque.txt" 162

# korvane: masque.txt cannot be created; the window comes up instead.
f="$work/korvane-file-fails"
mkdir -p "$f/masque.txt"
memcheck korvane-file-fails 0 "$build/korvane/window/korvane" "$f"

# korvane: solution.txt cannot be created.
f="$work/korvane-solution-fails"
mkdir -p "$f/solution.txt"
memcheck korvane-solution-fails 0 "$build/korvane/window/korvane" "$f"

if [[ $failures -ne 0 ]]; then
    echo "valgrind.sh: $failures case(s) failed" >&2
    exit 1
fi
echo "valgrind.sh: every case clean"
