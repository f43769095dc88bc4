# One bounded fuzz run: the target's whole output goes to LOG, and what it did (its runs,
# their rate, its coverage) is printed. A finding fails with the end of the output.
#   cmake -DTARGET=<program> -DLOG=<file> -DARGS=<a,b,...> [-DWORKERS=<n>] -P Fuzz.cmake
# WORKERS above 1 runs that many processes of the target side by side on one corpus
# (libFuzzer's -jobs and -workers), each with its log in LOG.d/fuzz-<n>.log; the rate
# printed last is the inputs of all of them per second.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" args "${ARGS}")
get_filename_component(name ${TARGET} NAME)
set(logs ${LOG})
set(folder ${CMAKE_CURRENT_BINARY_DIR})
if(WORKERS GREATER 1)
    set(folder ${LOG}.d)
    file(REMOVE_RECURSE ${folder})
    file(MAKE_DIRECTORY ${folder})
    list(APPEND args -jobs=${WORKERS} -workers=${WORKERS})
endif()
execute_process(COMMAND ${TARGET} ${args} OUTPUT_FILE ${LOG} ERROR_FILE ${LOG}
                WORKING_DIRECTORY ${folder} RESULT_VARIABLE status)
set(reports ${LOG}) # what a finding prints the end of
if(WORKERS GREATER 1)
    file(GLOB logs ${folder}/fuzz-*.log)
    list(APPEND reports ${logs})
endif()

set(runs 0)
set(seconds 0)
foreach(log IN LISTS logs)
    get_filename_component(worker ${log} NAME_WE)
    set(prefix ${name})
    if(WORKERS GREATER 1)
        set(prefix "${name} ${worker}")
    endif()
    file(STRINGS ${log} summary REGEX "DONE|^Done|^stat::")
    foreach(line IN LISTS summary)
        message(STATUS "${prefix}: ${line}")
        if(line MATCHES "^Done ([0-9]+) runs in ([0-9]+) second")
            math(EXPR runs "${runs} + ${CMAKE_MATCH_1}")
            if(CMAKE_MATCH_2 GREATER seconds)
                set(seconds ${CMAKE_MATCH_2})
            endif()
        endif()
    endforeach()
endforeach()
if(WORKERS GREATER 1 AND seconds GREATER 0)
    math(EXPR rate "${runs} / ${seconds}")
    message(STATUS "${name}: ${runs} runs in ${seconds} s by ${WORKERS} processes: ${rate} inputs/s")
endif()

if(NOT status EQUAL 0)
    # The end of each log without libFuzzer's progress lines (read by grep and tail:
    # CMake's lists would split the sanitizers' reports at their semicolons and brackets).
    set(tails "")
    foreach(log IN LISTS reports)
        execute_process(COMMAND grep -v "^#[0-9]" ${log} COMMAND tail -n 60 OUTPUT_VARIABLE tail)
        string(APPEND tails "\n--- ${log}\n${tail}")
    endforeach()
    message(FATAL_ERROR "${name} reported a finding (exit code ${status}):${tails}")
endif()
