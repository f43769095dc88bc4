#!/usr/bin/env bash
# Helpers for scripts that run sudoku on the boards of bench/solver/hard-boards.txt;
# source it. A board is 81 digits, top row first, 0 for an empty cell.

# grille_of <81 digits>: the grille.txt bytes, nine lines of nine digits, CR LF.
grille_of() {
    local row
    for ((row = 0; row < 9; row++)); do
        printf '%s\r\n' "$(echo "${1:row*9:9}" | sed 's/./& /g; s/ $//')"
    done
}

# solution_of <81 digits>: the bytes of sudoku's solution.txt for that board.
solution_of() {
    local i
    for ((i = 0; i < 81; i++)); do printf '%s\r\n' "${1:i:1}"; done
}

# hard_board <n>: "puzzle solved passes steps" of board n (1 = the first) of
# bench/solver/hard-boards.txt; fails when there is none.
hard_board() {
    local line
    line=$(grep -v '^#' "$(dirname "${BASH_SOURCE[0]}")/../bench/solver/hard-boards.txt" |
        sed -n "$1p")
    [[ -n $line ]] || { echo "no board $1 in bench/solver/hard-boards.txt" >&2; return 1; }
    echo "$line"
}

# median <numbers...>
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
