# One bounded fuzz run: the target's whole output goes to LOG, and what it did (its runs,
# their rate, its coverage) is printed. A finding fails with the end of the output.
#   cmake -DTARGET=<program> -DLOG=<file> -DARGS=<a,b,...> -P Fuzz.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" args "${ARGS}")
execute_process(COMMAND ${TARGET} ${args} OUTPUT_FILE ${LOG} ERROR_FILE ${LOG}
                RESULT_VARIABLE status)
file(STRINGS ${LOG} summary REGEX "DONE|^Done|^stat::")
get_filename_component(name ${TARGET} NAME)
foreach(line IN LISTS summary)
    message(STATUS "${name}: ${line}")
endforeach()
if(NOT status EQUAL 0)
    file(STRINGS ${LOG} lines)
    list(FILTER lines EXCLUDE REGEX "^#[0-9]")
    list(LENGTH lines count)
    math(EXPR first "${count} > 60 ? ${count} - 60 : 0")
    list(SUBLIST lines ${first} 60 tail)
    list(JOIN tail "\n" tail)
    message(FATAL_ERROR "${name} reported a finding (exit code ${status}):\n${tail}")
endif()
