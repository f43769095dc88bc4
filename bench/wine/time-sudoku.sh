#!/usr/bin/env bash
# Whole-program timing of the solver: sudoku.exe under Wine against the native sudoku
# (linux-release), on the same hard board, in one run. Each program is started REPS
# times (default 5) from its own folder holding grille.txt; the script prints every
# time, the medians and their ratio (Windows / native). It reports; it asserts nothing
# about time, only that every run wrote the expected solution.txt.
#   bench/wine/time-sudoku.sh [board number in bench/solver/hard-boards.txt, default 6: the hardest]
# Environment: REPS, NATIVE_BUILD_DIR (default build/linux-release), WINDOWS_BUILD_DIR
# (default build/mingw32, or build/mingw64 where 32-bit programs run only through an
# emulator: its times would measure the emulator, so the 64-bit build under wine64,
# which runs at native speed, is timed instead).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

board_number=${1:-6}
reps=${REPS:-5}
source scripts/grid-text.sh
line=$(hard_board "$board_number") || exit 2
read -r puzzle solved _ steps <<<"$line"

bash scripts/setup-debian.sh native windows
native_build=${NATIVE_BUILD_DIR:-build/linux-release}
cmake --preset linux-release -B "$native_build" >/dev/null
cmake --build "$native_build" -j2 --target sudoku >/dev/null
source scripts/wine-session.sh
if [[ $(wine_session_i386) == native ]]; then
    windows_kind="32-bit sudoku.exe under wine"
    windows_build=${WINDOWS_BUILD_DIR:-build/mingw32}
    windows_loader=wine
    cmake --preset mingw32 -B "$windows_build" >/dev/null
else
    windows_kind="64-bit sudoku.exe under wine64 (32-bit programs run here only through an emulator)"
    windows_build=${WINDOWS_BUILD_DIR:-build/mingw64}
    windows_loader=/usr/lib/wine/wine64
    cmake --preset mingw64-wine -B "$windows_build" >/dev/null
fi
cmake --build "$windows_build" -j2 --target sudoku >/dev/null

trap 'wine_session_stop; rm -rf "$work"' EXIT
work=$(mktemp -d)
wine_session_start

solution_of "$solved" >"$work/expected.txt"
mkdir -p "$work/native" "$work/windows"
cp "$native_build/source_resolveur/sudoku" "$work/native/"
cp "$windows_build/source_resolveur/sudoku.exe" "$work/windows/"
grille_of "$puzzle" >"$work/native/grille.txt"
cp "$work/native/grille.txt" "$work/windows/grille.txt"

# Prints the wall time of one run in milliseconds; checks the solution it wrote.
time_run() {
    local folder=$1
    shift
    rm -f "$folder/solution.txt"
    local start end
    start=$(date +%s%N)
    (cd / && "$@") >/dev/null 2>&1 || true
    end=$(date +%s%N)
    if ! cmp -s "$folder/solution.txt" "$work/expected.txt"; then
        echo "wrong or missing solution.txt in $folder" >&2
        return 1
    fi
    echo $(((end - start) / 1000000))
}

echo "Board $board_number ($steps backtracking steps): $puzzle"
native_times=() windows_times=()
for ((i = 0; i < reps; i++)); do
    native_times+=("$(time_run "$work/native" "$work/native/sudoku")")
    windows_times+=("$(time_run "$work/windows" "$windows_loader" "$work/windows/sudoku.exe")")
done
native_median=$(median "${native_times[@]}")
windows_median=$(median "${windows_times[@]}")
echo "native sudoku (linux-release), ms: ${native_times[*]}; median $native_median"
echo "$windows_kind, ms: ${windows_times[*]}; median $windows_median"
awk -v w="$windows_median" -v n="$native_median" \
    'BEGIN { printf "ratio Windows / native: %.2f (target: at most 1.5)\n", w / n }'
