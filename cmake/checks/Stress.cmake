# The test "stress" (label stress): the generator's seeds FIRST to FIRST + COUNT - 1 and
# the solver program on every grid file under bench/, the fuzz corpus's grille.txt files
# and 500 generated puzzles, judged by sudoku_stress; rewrites REPORT with this run.
#   cmake -DSTRESS=<sudoku_stress> -DSUDOKU=<sudoku> -DSOURCE_DIR=<project> -DWORK=<folder>
#         -DREPORT=<docs/stress.md> [-DFIRST=1] [-DCOUNT=20000] -P Stress.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT FIRST)
    set(FIRST 1)
endif()
if(NOT COUNT)
    set(COUNT 20000)
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(GLOB_RECURSE bench_grids RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/bench/*.txt)
list(FILTER bench_grids EXCLUDE REGEX "CMakeLists.txt$")
list(SORT bench_grids)
file(GLOB corpus RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/fuzz/corpus/grille/*)
list(LENGTH corpus corpus_count)
execute_process(COMMAND ${STRESS} puzzles 1 500 OUTPUT_FILE ${WORK}/korvane-puzzles.txt
                COMMAND_ERROR_IS_FATAL ANY)

execute_process(COMMAND ${STRESS} engine ${FIRST} ${COUNT} OUTPUT_VARIABLE engine
                RESULT_VARIABLE engine_status)
execute_process(COMMAND ${STRESS} solver ${SUDOKU} ${WORK}/scratch ${bench_grids} ${corpus}
                        ${WORK}/korvane-puzzles.txt
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE solver RESULT_VARIABLE solver_status)
message("${engine}${solver}")

file(READ ${CMAKE_CURRENT_LIST_DIR}/stress-head.md head)
string(TIMESTAMP now "%Y-%m-%d %H:%M UTC" UTC)
execute_process(COMMAND git rev-parse --short HEAD WORKING_DIRECTORY ${SOURCE_DIR}
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE)
cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
file(STRINGS /proc/cpuinfo processor REGEX "^model name" LIMIT_COUNT 1)
string(REGEX REPLACE ".*: " "" processor "${processor}")
list(JOIN bench_grids " " bench_text)
file(WRITE ${REPORT} "${head}
${now}, tree at commit ${commit}, ${cores} cores, ${processor}, linux-release build.

```
$ ctest --preset stress
${engine}${solver}```

Grid files: ${bench_text}, fuzz/corpus/grille/ (${corpus_count} files), and the
puzzles of seeds 1 to 500 (build/linux-release/bench/stress/stress/korvane-puzzles.txt).
")
if(NOT engine_status EQUAL 0 OR NOT solver_status EQUAL 0)
    message(FATAL_ERROR "the stress run has findings (above)")
endif()
