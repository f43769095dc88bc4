#!/usr/bin/env bash
# Rebuilds docs/performance.md: generator puzzles per second, solver nanoseconds
# per backtracking step on the hard boards (display on), and whole-program times
# of korvane and sudoku natively and under Wine, each the median of several runs,
# on this machine. Takes a few minutes.
#
# Usage: scripts/perf-report.sh
# Environment: PERF_RELEASE (default build/hardening-release), PERF_MINGW
# (default build/hardening-mingw, or build/hardening-mingw64 where 32-bit programs run
# only through an emulator), PERF_RUNS (whole-program runs, default 10), PERF_WINEPREFIX
# (default build/hardening-wine-prefix).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

release=${PERF_RELEASE:-build/hardening-release}
runs=${PERF_RUNS:-10}
work="$root/$release/perf"
rm -rf "$work"
mkdir -p "$work"

echo "== building (linux-release, Windows)"
cmake --preset linux-release -B "$release" >/dev/null
cmake --build "$release" -j2 >/dev/null
# Wine's figures compare Windows programs running at native speed: the 32-bit build where
# the kernel runs 32-bit programs itself, else the 64-bit build under wine64 (32-bit
# programs run here only through an emulator, which would measure the emulator).
source scripts/wine-session.sh
if [[ $(wine_session_i386) == native ]]; then
    windows_kind="the 32-bit Windows build (mingw32) under Wine"
    wine_loader=wine
    mingw=${PERF_MINGW:-build/hardening-mingw}
    cmake --preset mingw32 -B "$mingw" -DSUDOKU_BUILD_TESTS=OFF >/dev/null
else
    windows_kind="a 64-bit Windows build of the same sources (preset mingw64-wine) under
wine64: this kernel runs 32-bit programs only through an emulator (qemu-i386), whose
figures would measure the emulator, not Windows"
    wine_loader=/usr/lib/wine/wine64
    mingw=${PERF_MINGW:-build/hardening-mingw64}
    cmake --preset mingw64-wine -B "$mingw" -DSUDOKU_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$mingw" -j2 --target korvane sudoku >/dev/null

source scripts/grid-text.sh

# Google Benchmark CSV: the value of column <name> in the rows whose name ends in _median.
bench_median_column() {
    local csv=$1 column=$2
    awk -F, -v col="\"$column\"" 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == col || $i == substr(col, 2, length(col) - 2)) c = i; next }
        c && $1 ~ /_median"?$/ { gsub(/"/, "", $1); print $1, $c }' "$csv"
}

echo "== generator benchmark"
engine_bench=$(find "$release/bench/engine" -maxdepth 1 -type f -executable | head -1)
engine_rate=n/a
if [[ -n $engine_bench ]]; then
    "$engine_bench" --benchmark_filter=WholePuzzle --benchmark_repetitions=5 \
        --benchmark_format=csv >"$work/engine.csv" 2>/dev/null
    for column in puzzles items_per_second; do
        rate=$(bench_median_column "$work/engine.csv" "$column" | awk 'NR == 1 { printf "%.0f", $2 }')
        if [[ -n $rate && $rate != 0 ]]; then
            engine_rate=$rate
            break
        fi
    done
fi

echo "== solver benchmark"
"$release/bench/solver/solver_bench" --benchmark_repetitions=5 --benchmark_format=csv \
    >"$work/solver.csv" 2>/dev/null
for column in ns_per_step baseline_ns_per_step ratio; do
    bench_median_column "$work/solver.csv" $column | sort -k1,1 >"$work/solver-$column.txt"
done

echo "== whole programs, native and under Wine"
# Wine with a display, prefix and wineserver of this script's own, so that a
# session that another run holds open is neither needed nor disturbed.
wine_ok=0
wine_note=""
WINE=$wine_loader
export WINEPREFIX=${PERF_WINEPREFIX:-$root/build/hardening-wine-prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
stop_wine() {
    wineserver -k >/dev/null 2>&1 || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
}
for ((n = 150; n < 199; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
done
trap stop_wine EXIT
for ((tries = 0; tries < 100; tries++)); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
    sleep 0.1
done
mkdir -p "$WINEPREFIX"
if wineserver -p </dev/null >/dev/null 2>&1 && "$WINE" cmd /c exit </dev/null >/dev/null 2>&1; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
    wine_ok=1
    wine_note="Wine loader \`$WINE\`, a prefix of its own, warm wineserver, Xvfb"
else
    wine_note="Wine could not be started here ($WINE), so nothing was measured under it"
fi

# The hard grid: the board with the most backtracking steps, so that the search
# and not the start of the process makes most of the run.
read -r hard hard_steps < <(grep -v '^#' bench/solver/hard-boards.txt |
    sort -k4,4n | tail -1 | awk '{ print $1, $4 }')

for kind in native wine; do
    for grid in typical hard; do
        d="$work/sudoku-$kind-$grid"
        mkdir -p "$d"
        if [[ $kind == native ]]; then
            cp "$release/source_resolveur/sudoku" "$d/"
        else
            cp "$mingw/source_resolveur/sudoku.exe" "$d/"
        fi
    done
    mkdir -p "$work/korvane-$kind"
done
# A typical puzzle: one that korvane makes.
(cd "$work/korvane-native" && "$root/$release/korvane/window/korvane") || true
bash scripts/masque-to-grille.sh "$work/korvane-native/masque.txt" >"$work/typical.txt"
grille_of "$hard" >"$work/hard.txt"
for kind in native wine; do
    for grid in typical hard; do
        cp "$work/$grid.txt" "$work/sudoku-$kind-$grid/grille.txt"
    done
done

# shell_runs <command>: median wall time in microseconds of $runs runs of the
# command through bash (after one warm-up), its output appended to $log.
shell_runs() {
    local command=$1 times=() start end i
    bash -c "$command" >>"$log" 2>&1 || true
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        bash -c "$command" >>"$log" 2>&1 || true
        end=$(date +%s%N)
        times+=("$(((end - start) / 1000))")
    done
    median "${times[@]}"
}

# time_runs <label> <command>: median wall time in ms over $runs runs (after one
# warm-up); "n/a" when the command cannot be timed. Without hyperfine, the runs are
# timed with the shell's clock, less the median time of an empty shell, as hyperfine
# does.
time_runs() {
    local label=$1 command=$2
    if ! command -v hyperfine >/dev/null; then
        local log=$work/$label.log total empty
        : >"$log"
        total=$(shell_runs "$command")
        empty=$(shell_runs true)
        awk -v t="$total" -v e="$empty" 'BEGIN { printf "%.1f", (t - e) / 1000 }'
    elif hyperfine --style none --warmup 1 --runs "$runs" --ignore-failure \
        --export-json "$work/$label.json" "$command" >"$work/$label.log" 2>&1; then
        grep -m1 '"median"' "$work/$label.json" | sed 's/.*: *//; s/,.*//' |
            awk '{ printf "%.1f", $1 * 1000 }'
    else
        echo n/a
    fi
}
declare -A ms
ms[korvane-native]=$(time_runs korvane-native "cd '$work/korvane-native' && '$root/$release/korvane/window/korvane'")
for grid in typical hard; do
    ms[sudoku-native-$grid]=$(time_runs "sudoku-native-$grid" "cd / && '$work/sudoku-native-$grid/sudoku'")
done
for label in korvane-wine sudoku-wine-typical sudoku-wine-hard wine-start; do
    ms[$label]=n/a
done
if ((wine_ok)); then
    ms[korvane-wine]=$(time_runs korvane-wine "cd '$work/korvane-wine' && $WINE '$root/$mingw/korvane/window/korvane.exe'")
    for grid in typical hard; do
        ms[sudoku-wine-$grid]=$(time_runs "sudoku-wine-$grid" "cd / && $WINE '$work/sudoku-wine-$grid/sudoku.exe'")
        # A run that wrote nothing is no measure of the program.
        if [[ ! -s $work/sudoku-wine-$grid/solution.txt ]]; then
            ms[sudoku-wine-$grid]=n/a
            wine_note="$wine_note; sudoku.exe wrote no solution.txt under it"
        fi
    done
    ms[wine-start]=$(time_runs wine-start "$WINE cmd /c exit")
fi

echo "== writing docs/performance.md"
cpu=$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", a / b; else print "n/a" }'; }
verdict() { awk -v v="$1" -v t="$2" -v dir="$3" 'BEGIN { if (v == "n/a" || v == "") { print "not measured"; exit }
    ok = (dir == "min") ? v >= t : v <= t; print ok ? "meets" : "misses" }'; }
{
    cat <<HEAD
# Performance

Rebuilt by \`bash scripts/perf-report.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'), commit
$(git rev-parse --short HEAD). Machine: $(nproc) cores, $cpu, $(uname -sr);
Wine $(dpkg-query -W -f '${Version}' wine 2>/dev/null || echo unknown). Every figure is the median of several runs
(benchmarks: 5 repetitions; whole programs: $runs runs after one warm-up, timed with
$(command -v hyperfine >/dev/null && echo hyperfine || echo "the shell's clock")). The machine is shared, so single runs vary
by some tens of percent.

## Generator (korvane's engine)

| Figure | Value | Target | |
|---|---|---|---|
| Puzzles per second of CPU time, one thread, \`generateFullGrid\` + \`removeClues\` (bench/engine, linux-release) | $engine_rate | at least 1,500 | $(verdict "$engine_rate" 1500 min) |

## Solver search (sudoku's \`Recherche\`)

Processor nanoseconds per backtracking step of \`Recherche\` on the hard boards of
\`bench/solver/hard-boards.txt\`, display on as in a real run (headless form runtime),
linux-release. Target: at most 50 ns per step. Next to it, timed in the same benchmark
iterations, the baseline kept in the benchmark: a straightforward loop of the same search
(digit masks per row, column and square, the empty cells in their fixed order, one push
counted per step, a cell's allowed digits recomputed on every visit, no display); the ratio
is \`Recherche\` over the baseline.

| Board (steps) | ns per step | Baseline ns per step | Ratio | |
|---|---|---|---|---|
HEAD
    join "$work/solver-ns_per_step.txt" "$work/solver-baseline_ns_per_step.txt" |
        join - "$work/solver-ratio.txt" | sort -t/ -k2,2n |
        while read -r name ns baseline ratio; do
            name=${name#Recherche/}
            printf '| %s | %.1f | %.1f | %.2f | %s |\n' "${name%_median}" "$ns" "$baseline" \
                "$ratio" "$(verdict "$ns" 50 max)"
        done
    cat <<SEARCH

Whole program against an older build: \`bench/solver/compare-sudoku.sh [commit]\` builds
the native \`sudoku\` of that commit (default e85e246) in a git worktree under /tmp, runs
the old and the current program alternately on the hardest board and prints the median
wall times and their ratio.
SEARCH
    cat <<BODY

## Whole programs

Wall time of one run on this machine, each program started from another folder: the
native Linux build (linux-release, x86-64) against $windows_kind.
$wine_note.
The typical grid is a puzzle that korvane makes; the hard grid is the board of
\`bench/solver/hard-boards.txt\` with the most backtracking steps ($hard_steps).

| Run | Native (ms) | Wine (ms) | Wine / native |
|---|---|---|---|
| korvane, one puzzle, both files written | ${ms[korvane-native]} | ${ms[korvane-wine]} | $(ratio "${ms[korvane-wine]}" "${ms[korvane-native]}") |
| sudoku, typical grid | ${ms[sudoku-native-typical]} | ${ms[sudoku-wine-typical]} | $(ratio "${ms[sudoku-wine-typical]}" "${ms[sudoku-native-typical]}") |
| sudoku, hard grid | ${ms[sudoku-native-hard]} | ${ms[sudoku-wine-hard]} | $(ratio "${ms[sudoku-wine-hard]}" "${ms[sudoku-native-hard]}") |
| Wine alone, \`cmd /c exit\` | | ${ms[wine-start]} | |

BODY
    minus() { awk -v h="$1" -v t="$2" 'BEGIN { if (h == "n/a" || t == "n/a") print "n/a"; else printf "%.1f", h - t }'; }
    hard_ratio=$(ratio "${ms[sudoku-wine-hard]}" "${ms[sudoku-native-hard]}")
    native_search=$(minus "${ms[sudoku-native-hard]}" "${ms[sudoku-native-typical]}")
    wine_search=$(minus "${ms[sudoku-wine-hard]}" "${ms[sudoku-wine-typical]}")
    search_ratio=$(ratio "$wine_search" "$native_search")
    cat <<TAIL
Target: sudoku.exe under Wine within 1.5 times the native program. On the hard grid,
where the search makes most of the run, the ratio is $hard_ratio: $(verdict "$hard_ratio" 1.5 max)
the target. That includes Wine's own start, about ${ms[wine-start]} ms here, which is far more
than a whole native run on the short grids: their ratios measure Wine's start, not the
programs. The search alone (hard grid minus typical grid) takes $native_search ms natively
and $wine_search ms under Wine, a ratio of $search_ratio.
TAIL
} >docs/performance.md
echo "docs/performance.md written"
