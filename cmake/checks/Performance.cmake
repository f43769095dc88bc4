# The test "performance_report" (label perf: ctest --preset perf) rewrites REPORT: the
# generator's puzzles per second and the solver's nanoseconds per backtracking step (Google
# Benchmark's JSON), and whole-program times natively and under Wine (hyperfine's JSON),
# each a median on this machine.
#   cmake -DSOURCE_DIR=<project> -DBUILD_DIR=<linux-release tree> -DREPORT=<md file>
#         [-DRUNS=10] -P Performance.cmake
# It runs in the Wine session of its tree (fixture "wine").
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../GridData.cmake)
if(NOT RUNS)
    set(RUNS 10)
endif()
set(work ${BUILD_DIR}/perf)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})

# Which Windows build the timings use, decided here only: the 32-bit programs where the
# kernel runs them itself; where they run only through an emulator, which would be what
# is measured, a 64-bit build of the same sources under wine64, at native speed.
execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE i386 OUTPUT_QUIET
                ERROR_QUIET)
set(binfmt /proc/sys/fs/binfmt_misc/qemu-i386)
if(i386 EQUAL 0 AND NOT EXISTS ${binfmt})
    set(windows mingw32)
    set(wine wine)
    set(windows_kind "the 32-bit Windows build (mingw32) under Wine")
else()
    set(windows mingw64-wine)
    set(wine /usr/lib/wine/wine64)
    set(windows_kind "a 64-bit Windows build of the same sources (mingw64-wine) under wine64:
this kernel runs 32-bit programs only through an emulator, whose figures would measure
the emulator, not Windows")
endif()
message(STATUS "building the ${windows} programs")
execute_process(COMMAND ${CMAKE_COMMAND} --preset ${windows}
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build --preset ${windows} --target korvane sudoku
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
set(windows_dir ${SOURCE_DIR}/build/${windows})
file(READ $ENV{WINEPREFIX}.session/display display)
string(STRIP "${display}" display)
set(ENV{DISPLAY} ${display})

# bench_medians(<program> <filter> <counters...>): for each benchmark that the filter
# selects, its name in bench_names and each counter's median over 5 repetitions in
# bench_<counter>, in the same order.
function(bench_medians program filter)
    get_filename_component(json ${program} NAME)
    set(json ${work}/${json}.json)
    execute_process(COMMAND ${program} --benchmark_filter=${filter} --benchmark_repetitions=5
                            --benchmark_report_aggregates_only=true --benchmark_out=${json}
                            --benchmark_out_format=json OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(READ ${json} text)
    string(JSON count LENGTH "${text}" benchmarks)
    math(EXPR last "${count} - 1")
    set(bench_names "")
    foreach(counter IN LISTS ARGN)
        set(bench_${counter} "")
    endforeach()
    foreach(i RANGE ${last})
        string(JSON kind GET "${text}" benchmarks ${i} aggregate_name)
        if(kind STREQUAL "median")
            string(JSON name GET "${text}" benchmarks ${i} run_name)
            list(APPEND bench_names ${name})
            foreach(counter IN LISTS ARGN)
                string(JSON value GET "${text}" benchmarks ${i} ${counter})
                list(APPEND bench_${counter} ${value})
            endforeach()
        endif()
    endforeach()
    foreach(list IN ITEMS names ${ARGN})
        set(bench_${list} ${bench_${list}} PARENT_SCOPE)
    endforeach()
endfunction()

message(STATUS "benchmarks")
bench_medians(${BUILD_DIR}/bench/engine/engine_bench WholePuzzle puzzles)
string(REGEX REPLACE "[.].*" "" engine_rate "${bench_puzzles}") # whole puzzles
bench_medians(${BUILD_DIR}/bench/solver/solver_bench Recherche ns_per_step baseline_ns_per_step
              ratio)
set(recherche_names ${bench_names})
set(recherche_ns ${bench_ns_per_step})
set(recherche_base ${bench_baseline_ns_per_step})
set(recherche_ratio ${bench_ratio})
bench_medians(${BUILD_DIR}/bench/solver/solver_bench MemoInactif idle_ratio)
execute_process(COMMAND awk "BEGIN { printf \"%.2f\", ${bench_idle_ratio} }"
                OUTPUT_VARIABLE idle_ratio)
set(solver_rows "")
foreach(board ns base rate IN ZIP_LISTS recherche_names recherche_ns recherche_base recherche_ratio)
    string(REGEX REPLACE ".*/" "" board ${board})
    execute_process(COMMAND awk "BEGIN { printf \"%.1f | %.1f | %.2f\", ${ns}, ${base}, ${rate} }"
                    OUTPUT_VARIABLE figures)
    set(verdict misses)
    if(ns LESS_EQUAL 50)
        set(verdict meets)
    endif()
    string(APPEND solver_rows "| ${board} | ${figures} | ${verdict} |\n")
endforeach()

# The grids: a typical one that korvane makes, and the hard board with the most steps.
message(STATUS "whole programs")
sudoku_hard_boards(board)
list(GET board_STEPS -1 hard_steps)
list(GET board_PUZZLES -1 hard)
list(GET board_SOLVED -1 hard_solved)
file(MAKE_DIRECTORY ${work}/korvane-native ${work}/korvane-wine)
execute_process(COMMAND ${BUILD_DIR}/korvane/linux/korvane WORKING_DIRECTORY ${work}/korvane-native)
sudoku_read_board(${work}/korvane-native/masque.txt typical)
foreach(kind native wine)
    foreach(grid typical hard)
        set(folder ${work}/sudoku-${kind}-${grid})
        sudoku_grille_text(${${grid}} text)
        file(WRITE ${folder}/grille.txt "${text}")
    endforeach()
endforeach()
foreach(grid typical hard)
    file(COPY ${BUILD_DIR}/source_resolveur/sudoku DESTINATION ${work}/sudoku-native-${grid})
    file(COPY ${windows_dir}/source_resolveur/sudoku.exe DESTINATION ${work}/sudoku-wine-${grid})
endforeach()
set(native_commands
    korvane "cd ${work}/korvane-native && ${BUILD_DIR}/korvane/linux/korvane"
    typical "cd / && ${work}/sudoku-native-typical/sudoku"
    hard "cd / && ${work}/sudoku-native-hard/sudoku")
set(wine_commands
    korvane "cd ${work}/korvane-wine && ${wine} ${windows_dir}/korvane/window/korvane.exe"
    typical "cd / && ${wine} ${work}/sudoku-wine-typical/sudoku.exe"
    hard "cd / && ${wine} ${work}/sudoku-wine-hard/sudoku.exe"
    start "${wine} cmd /c exit")

# hyperfine_medians(<kind>): ms_<kind>_<name>, the median wall time in milliseconds of
# RUNS runs after one warm-up (or <kind>_runs after <kind>_warmup, when set), for each name
# and command of <kind>_commands.
function(hyperfine_medians kind)
    set(arguments "")
    set(names "")
    set(list ${${kind}_commands})
    while(list)
        list(POP_FRONT list name command)
        list(APPEND arguments -n ${name} ${command})
        list(APPEND names ${name})
    endwhile()
    if(NOT DEFINED ${kind}_warmup)
        set(${kind}_warmup 1)
    endif()
    if(NOT DEFINED ${kind}_runs)
        set(${kind}_runs ${RUNS})
    endif()
    execute_process(COMMAND hyperfine --style none --warmup ${${kind}_warmup}
                            --runs ${${kind}_runs} --ignore-failure
                            --export-json ${work}/${kind}.json ${arguments}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(READ ${work}/${kind}.json text)
    set(i 0)
    foreach(name IN LISTS names)
        string(JSON seconds GET "${text}" results ${i} median)
        math(EXPR i "${i} + 1")
        execute_process(COMMAND awk "BEGIN { printf \"%.1f\", ${seconds} * 1000 }"
                        OUTPUT_VARIABLE ms)
        set(ms_${kind}_${name} ${ms} PARENT_SCOPE)
    endforeach()
endfunction()
hyperfine_medians(native)
hyperfine_medians(wine)

sudoku_solution_text(${hard_solved} expected)
file(WRITE ${work}/expected.txt "${expected}")
file(SHA256 ${work}/expected.txt expected)
foreach(kind native wine)
    file(SHA256 ${work}/sudoku-${kind}-hard/solution.txt saved)
    if(NOT saved STREQUAL expected)
        message(FATAL_ERROR "sudoku (${kind}) saved a wrong solution of the hard board")
    endif()
endforeach()

# ratio(<variable> <a> <b>): a / b with two decimals.
function(ratio variable a b)
    execute_process(COMMAND awk "BEGIN { printf \"%.2f\", ${a} / ${b} }" OUTPUT_VARIABLE value)
    set(${variable} ${value} PARENT_SCOPE)
endfunction()
ratio(korvane_ratio ${ms_wine_korvane} ${ms_native_korvane})
ratio(typical_ratio ${ms_wine_typical} ${ms_native_typical})
ratio(hard_ratio ${ms_wine_hard} ${ms_native_hard})
execute_process(COMMAND awk "BEGIN { h = ${ms_native_hard}; t = ${ms_native_typical};
    w = ${ms_wine_hard} - ${ms_wine_typical}; printf \"%.1f %.1f %.2f\", h - t, w, w / (h - t) }"
                OUTPUT_VARIABLE search)
separate_arguments(search)
list(GET search 0 native_search)
list(GET search 1 wine_search)
list(GET search 2 search_ratio)
set(hard_verdict misses)
if(hard_ratio LESS_EQUAL 1.5)
    set(hard_verdict meets)
endif()
set(engine_verdict misses)
if(engine_rate GREATER_EQUAL 1500)
    set(engine_verdict meets)
endif()

# The memo of dead walks: the whole native program on the slow grids, against the same
# sources built without the memo (sudoku_sans_memo), in one hyperfine run of MEMO_RUNS runs
# each; each saved board checked; the peak memory of the slowest grid's run.
message(STATUS "the memo of dead walks")
if(NOT MEMO_RUNS)
    set(MEMO_RUNS 3)
endif()
set(path_sudoku ${BUILD_DIR}/source_resolveur/sudoku)
set(path_sudoku_sans_memo ${BUILD_DIR}/bench/solver/sudoku_sans_memo)
# grid_runs(<kind> <name> <line of a grid file>): each program's folder with the grid's
# grille.txt and the solution it must save; its command appended to <kind>_commands.
function(grid_runs kind name line)
    string(REGEX REPLACE " +" ";" fields "${line}")
    list(GET fields 0 puzzle)
    list(GET fields 1 solved)
    sudoku_grille_text(${puzzle} text)
    sudoku_solution_text(${solved} expected)
    foreach(program IN ITEMS sudoku sudoku_sans_memo)
        set(folder ${work}/${kind}-${name}-${program})
        file(WRITE ${folder}/grille.txt "${text}")
        file(WRITE ${folder}/expected.txt "${expected}")
        file(COPY ${path_${program}} DESTINATION ${folder})
        list(APPEND ${kind}_commands ${name}-${program} "cd / && ${folder}/${program}")
    endforeach()
    set(${kind}_commands ${${kind}_commands} PARENT_SCOPE)
endfunction()
set(memo_commands "")
set(memo_grids "")
set(memo_steps "")
set(i 0)
file(STRINGS ${SOURCE_DIR}/bench/solver/slow-grids.txt lines REGEX "^[0-9]")
foreach(line IN LISTS lines)
    grid_runs(memo ${i} "${line}")
    string(REGEX MATCH "[0-9]+$" steps "${line}")
    list(APPEND memo_grids ${i})
    list(APPEND memo_steps ${steps})
    math(EXPR i "${i} + 1")
endforeach()
# The grid on whose walk the memo never meets a known state, timed apart: RUNS runs.
file(STRINGS ${SOURCE_DIR}/bench/solver/unrepeated-grid.txt line REGEX "^[0-9]")
set(unrepeated_commands "")
grid_runs(unrepeated 0 "${line}")
string(REGEX MATCH "[0-9]+$" unrepeated_steps "${line}")
set(memo_runs ${MEMO_RUNS})
set(memo_warmup 0)
hyperfine_medians(memo)
hyperfine_medians(unrepeated)
list(TRANSFORM memo_grids PREPEND memo- OUTPUT_VARIABLE runs)
foreach(run IN LISTS runs ITEMS unrepeated-0)
    foreach(program IN ITEMS sudoku sudoku_sans_memo)
        file(SHA256 ${work}/${run}-${program}/expected.txt expected)
        file(SHA256 ${work}/${run}-${program}/solution.txt saved)
        if(NOT saved STREQUAL expected)
            message(FATAL_ERROR "${program} saved a wrong solution of grid ${run}")
        endif()
    endforeach()
endforeach()
# The peak resident memory of each program on the slowest grid (the first of the file).
foreach(program IN ITEMS sudoku sudoku_sans_memo)
    execute_process(COMMAND /usr/bin/time -f "%M" ${work}/memo-0-${program}/${program}
                    ERROR_VARIABLE peak ERROR_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCH "[0-9]+$" peak "${peak}")
    execute_process(COMMAND awk "BEGIN { printf \"%.1f\", ${peak} / 1024 }" OUTPUT_VARIABLE mb)
    set(peak_${program} ${mb})
endforeach()
set(ms_unrepeated ${ms_unrepeated_0-sudoku})
set(ms_unrepeated_plain ${ms_unrepeated_0-sudoku_sans_memo})
ratio(unrepeated_ratio ${ms_unrepeated} ${ms_unrepeated_plain})
set(unrepeated_verdict misses)
if(unrepeated_ratio LESS_EQUAL 1.1)
    set(unrepeated_verdict meets)
endif()
set(memo_rows "")
set(sum_memo 0)
set(sum_plain 0)
foreach(grid steps IN ZIP_LISTS memo_grids memo_steps)
    set(a ${ms_memo_${grid}-sudoku})
    set(b ${ms_memo_${grid}-sudoku_sans_memo})
    ratio(r ${a} ${b})
    set(name "slow grid ${grid}")
    execute_process(COMMAND awk "BEGIN { printf \"%.1f %.1f\", ${sum_memo} + ${a}, ${sum_plain} + ${b} }"
                    OUTPUT_VARIABLE sums)
    separate_arguments(sums)
    list(GET sums 0 sum_memo)
    list(GET sums 1 sum_plain)
    if(grid EQUAL 0)
        set(slowest_ratio ${r})
    endif()
    string(APPEND memo_rows "| ${name} | ${steps} | ${a} | ${b} | ${r} |\n")
endforeach()
ratio(set_ratio ${sum_memo} ${sum_plain})
set(memo_verdict misses)
if(slowest_ratio LESS_EQUAL 0.4 AND set_ratio LESS_EQUAL 0.5 AND peak_sudoku LESS_EQUAL 64)
    set(memo_verdict meets)
endif()

string(TIMESTAMP now "%Y-%m-%d %H:%M UTC" UTC)
execute_process(COMMAND git rev-parse --short HEAD WORKING_DIRECTORY ${SOURCE_DIR}
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND uname -sr OUTPUT_VARIABLE kernel OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND dpkg-query -W -f=\${Version} wine OUTPUT_VARIABLE wine_version)
cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
file(STRINGS /proc/cpuinfo processor REGEX "^model name" LIMIT_COUNT 1)
string(REGEX REPLACE ".*: " "" processor "${processor}")
file(WRITE ${REPORT} "# Performance

Rebuilt by `ctest --preset perf` (the test `performance_report` of the linux-release tree)
on ${now}, commit ${commit}. Machine: ${cores} cores, ${processor}, ${kernel};
Wine ${wine_version}. Every figure is a median: benchmarks over 5 repetitions (Google
Benchmark's JSON output), whole programs over ${RUNS} runs after one warm-up (hyperfine's
JSON export). The machine is shared, so single runs vary by some tens of percent.

## Generator (korvane's engine)

| Figure | Value | Target | |
|---|---|---|---|
| Puzzles per second of CPU time, one thread, `generateFullGrid` + `removeClues` (bench/engine, linux-release) | ${engine_rate} | at least 1,500 | ${engine_verdict} |

## Solver search (sudoku's `Recherche`)

Processor nanoseconds per backtracking step of `Recherche` on the hard boards of
`bench/solver/hard-boards.txt`, display on as in a real run (headless form runtime),
linux-release. Target: at most 50 ns per step. Next to it, timed in the same benchmark
iterations, the baseline kept in the benchmark: a straightforward loop of the same search
(digit masks per row, column and square, the empty cells in their fixed order, one push
counted per step, a cell's allowed digits recomputed on every visit, no display); the ratio
is `Recherche` over the baseline. Past a million steps `Recherche` counts the dead walks
that its memo knows without walking them (below), so on the longer boards its time per
counted step falls below the walk's.

| Board (steps) | ns per step | Baseline ns per step | Ratio | |
|---|---|---|---|---|
${solver_rows}
## Solver: dead walks counted (the memo)

Wall time of one whole native run of `sudoku` (linux-release) against the same sources
built without the memo (`sudoku_sans_memo`), timed in one hyperfine run, median of
${MEMO_RUNS} runs each, on the grids of `bench/solver/slow-grids.txt` (the first is the
slowest). Both programs saved the listed solution of every grid.

| Grid | Steps | With the memo (ms) | Without (ms) | Ratio |
|---|---|---|---|---|
${memo_rows}
Whole slow set: ${sum_memo} ms against ${sum_plain} ms, a ratio of ${set_ratio}. Peak
resident memory (`/usr/bin/time`) on the slowest grid: ${peak_sudoku} MB with the memo,
${peak_sudoku_sans_memo} MB without. Targets: at most 0.4 on the slowest grid, 0.5 over the
slow set, 64 MB: ${memo_verdict}.

Where the memo cannot help: the grid of `bench/solver/unrepeated-grid.txt`, whose walk of
${unrepeated_steps} steps looks states up and never meets one it knows (a test checks it),
timed in one hyperfine run of ${RUNS} runs each after one warm-up: ${ms_unrepeated} ms with
the memo, ${ms_unrepeated_plain} ms without, a ratio of ${unrepeated_ratio}.
Target: at most 1.1: ${unrepeated_verdict}. Where band states never come back on a longer
walk, the guard stops the lookups after one window of 16,384 a band (a few milliseconds);
what is left is the memo's check at each step. Processor time of the backtracking with a
memo that never looks up over the plain walk, in the same iterations (bench/solver,
`MemoInactif`, the hard board of ${hard_steps} steps): ${idle_ratio}.

Whole program against an older build: `bench/solver/compare-sudoku.sh [commit]` builds
the native `sudoku` of that commit (default e85e246) in a git worktree under /tmp and times
the old and the current program on the hardest board with hyperfine.

## Whole programs

Wall time of one run on this machine, each program started from another folder: the
native Linux build (linux-release, x86-64) against ${windows_kind}.
Wine loader `${wine}`, warm wineserver, Xvfb (the Wine session of the tests).
The typical grid is a puzzle that korvane makes; the hard grid is the board of
`bench/solver/hard-boards.txt` with the most backtracking steps (${hard_steps}).

| Run | Native (ms) | Wine (ms) | Wine / native |
|---|---|---|---|
| korvane, one puzzle, both files written | ${ms_native_korvane} | ${ms_wine_korvane} | ${korvane_ratio} |
| sudoku, typical grid | ${ms_native_typical} | ${ms_wine_typical} | ${typical_ratio} |
| sudoku, hard grid | ${ms_native_hard} | ${ms_wine_hard} | ${hard_ratio} |
| Wine alone, `cmd /c exit` | | ${ms_wine_start} | |

Target: sudoku.exe under Wine within 1.5 times the native program. On the hard grid,
where the search makes most of the run, the ratio is ${hard_ratio}: ${hard_verdict}
the target. That includes Wine's own start, about ${ms_wine_start} ms here, which is far
more than a whole native run on the short grids: their ratios measure Wine's start, not
the programs. The search alone (hard grid minus typical grid) takes ${native_search} ms
natively and ${wine_search} ms under Wine, a ratio of ${search_ratio}.
")
message(STATUS "${REPORT} written")
