# Writes grille.txt (sudoku's layout) and expected.txt (the solution.txt that sudoku must
# save) of board BOARD (1 = the first) of bench/solver/hard-boards.txt into FOLDER, and
# prints "<steps> <puzzle>".
#   cmake -DBOARD=<n> -DFOLDER=<folder> -P Board.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../GridData.cmake)
sudoku_hard_boards(board)
math(EXPR index "${BOARD} - 1")
list(GET board_PUZZLES ${index} puzzle)
list(GET board_SOLVED ${index} solved)
list(GET board_STEPS ${index} steps)
sudoku_grille_text(${puzzle} grille)
sudoku_solution_text(${solved} expected)
file(WRITE ${FOLDER}/grille.txt "${grille}")
file(WRITE ${FOLDER}/expected.txt "${expected}")
message("${steps} ${puzzle}")
