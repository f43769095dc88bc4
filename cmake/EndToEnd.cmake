# korvane makes a puzzle in a scratch folder; the puzzle is written in sudoku's grille.txt
# layout beside a copy of sudoku, which solves it, started from another folder; the
# solution that sudoku saves must be korvane's.
#   cmake -DKORVANE=<program> -DSUDOKU=<program> -DWORK=<scratch folder> -P EndToEnd.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/korvane ${WORK}/sudoku)
file(COPY ${SUDOKU} DESTINATION ${WORK}/sudoku)

# run(<program> <folder> <exit code>): runs it from there; any other exit code fails.
function(run program folder expected)
    execute_process(COMMAND ${program} WORKING_DIRECTORY ${folder} RESULT_VARIABLE status)
    if(NOT status EQUAL expected)
        message(FATAL_ERROR "${program} ended with exit code ${status} (expected ${expected})")
    endif()
endfunction()
# show(<what> <file>): prints a file of 81 lines of one digit as nine rows of nine.
function(show what file)
    file(READ ${file} text)
    string(REGEX REPLACE "\r?\n" "" digits "${text}")
    string(REGEX REPLACE "(.........)" "\\1\n" rows "${digits}")
    message("${what} (${file}):\n${rows}")
endfunction()

run(${KORVANE} ${WORK}/korvane 1)
show("korvane's puzzle" ${WORK}/korvane/masque.txt)
show("korvane's solution" ${WORK}/korvane/solution.txt)
# grille.txt: each row's nine values separated by blanks, CR LF after each row.
file(READ ${WORK}/korvane/masque.txt puzzle)
string(REGEX REPLACE "([0-9])\n([0-9])\n([0-9])\n([0-9])\n([0-9])\n([0-9])\n([0-9])\n([0-9])\n([0-9])\n"
                     "\\1 \\2 \\3 \\4 \\5 \\6 \\7 \\8 \\9\r\n" grille "${puzzle}")
file(WRITE ${WORK}/sudoku/grille.txt "${grille}")
get_filename_component(name ${SUDOKU} NAME)
run(${WORK}/sudoku/${name} / 0)
show("sudoku's solution" ${WORK}/sudoku/solution.txt)

# file(READ) drops carriage returns: the bytes are compared through their hashes.
file(READ ${WORK}/korvane/solution.txt expected)
string(REPLACE "\n" "\r\n" expected "${expected}")
file(WRITE ${WORK}/expected.txt "${expected}")
file(SHA256 ${WORK}/expected.txt expected)
file(SHA256 ${WORK}/sudoku/solution.txt solved)
if(NOT solved STREQUAL expected)
    message(FATAL_ERROR "sudoku's solution.txt differs from korvane's solution.txt")
endif()
message("sudoku's solution equals korvane's solution.txt.")
