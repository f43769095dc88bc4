# Grids that several checks need, each read from its one source, and the file layouts of
# both programs. A board is 81 digits, top row first, 0 for an empty cell.
#   bench/solver/hard-boards.txt   boards that are hard for the solver's backtracking: the
#                                  puzzle, the solved board, deduction passes, search steps
#   the example grid               the first of those boards; the releases ship it as
#                                  grille.txt (packaging/)
cmake_path(SET SUDOKU_HARD_BOARDS_FILE NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../bench/solver/hard-boards.txt)

# sudoku_hard_boards(<prefix>): the lists <prefix>_PUZZLES, <prefix>_SOLVED,
# <prefix>_PASSES and <prefix>_STEPS, one item per board, in the file's order.
function(sudoku_hard_boards prefix)
    if(NOT CMAKE_SCRIPT_MODE_FILE)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SUDOKU_HARD_BOARDS_FILE})
    endif()
    file(STRINGS ${SUDOKU_HARD_BOARDS_FILE} lines REGEX "^[0-9]")
    foreach(field IN ITEMS PUZZLES SOLVED PASSES STEPS)
        set(${field} "")
    endforeach()
    foreach(line IN LISTS lines)
        string(REGEX REPLACE " +" ";" fields "${line}")
        list(GET fields 0 1 2 3 values)
        foreach(field IN ITEMS PUZZLES SOLVED PASSES STEPS)
            list(POP_FRONT values value)
            list(APPEND ${field} ${value})
        endforeach()
    endforeach()
    foreach(field IN ITEMS PUZZLES SOLVED PASSES STEPS)
        set(${prefix}_${field} ${${field}} PARENT_SCOPE)
    endforeach()
endfunction()

# sudoku_example(<puzzle variable> <solution variable>): the example grid and its solution.
function(sudoku_example puzzle solution)
    sudoku_hard_boards(board)
    list(GET board_PUZZLES 0 first)
    list(GET board_SOLVED 0 solved)
    set(${puzzle} ${first} PARENT_SCOPE)
    set(${solution} ${solved} PARENT_SCOPE)
endfunction()

# sudoku_grille_text(<board> <variable> [<line end>]): sudoku's grille.txt layout, nine
# lines of nine digits separated by blanks, each line ended by CR LF unless told.
function(sudoku_grille_text board variable)
    set(end "\r\n")
    if(ARGC GREATER 2)
        set(end "${ARGV2}")
    endif()
    set(text "")
    foreach(start RANGE 0 72 9)
        string(SUBSTRING "${board}" ${start} 9 row)
        string(REGEX REPLACE "([0-9])" " \\1" row "${row}")
        string(SUBSTRING "${row}" 1 -1 row)
        string(APPEND text "${row}${end}")
    endforeach()
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()

# sudoku_solution_text(<board> <variable>): sudoku's solution.txt, one digit and CR LF a line.
function(sudoku_solution_text board variable)
    string(REGEX REPLACE "([0-9])" "\\1\r\n" text "${board}")
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()

# sudoku_read_board(<file> <variable>): the board of a file of 81 lines of one digit
# (korvane's files, sudoku's solution.txt); empty when the file is not of that layout.
function(sudoku_read_board file variable)
    set(board "")
    if(EXISTS ${file})
        file(READ ${file} text)
        string(REPLACE "\r\n" "\n" text "${text}")
        if(text MATCHES "^([0-9]\n)+$")
            string(REPLACE "\n" "" board "${text}")
        endif()
    endif()
    string(LENGTH "${board}" length)
    if(NOT length EQUAL 81)
        set(board "")
    endif()
    set(${variable} "${board}" PARENT_SCOPE)
endfunction()

# sudoku_board_picture(<board> <variable>): the board as nine rows with box rules, '.' for 0.
function(sudoku_board_picture board variable)
    string(REPLACE "0" "." board "${board}")
    string(REGEX REPLACE "(...)(...)(...)" "\\1|\\2|\\3\n" rows "${board}")
    string(REGEX REPLACE "([^\n]*\n[^\n]*\n[^\n]*\n)" "\\1---+---+---\n" picture "${rows}")
    string(REGEX REPLACE "---\\+---\\+---\n$" "" picture "${picture}")
    set(${variable} "${picture}" PARENT_SCOPE)
endfunction()
