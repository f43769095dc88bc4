#!/usr/bin/env bash
# Makes the releases (scripts/package.sh) and uses each as a user would: unpacked into an
# empty folder, korvane writes its two files in a folder of the user's, and sudoku, started
# from elsewhere, solves the example grille.txt beside itself into the exact solution.txt.
# The Windows programs run under Wine. Ends with "package: N passed, M failed".
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/package.sh

# The example's solution, row by row from the top.
solved=987654321246173985351928746128537694634892157795461832519286473472319568863745219

work=$(mktemp -d)
source scripts/grid-text.sh
source scripts/wine-session.sh
trap 'wine_session_stop; rm -rf "$work"' EXIT
wine_session_start

passed=0
failed=0
check() { # <what> <command...>
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what" >&2
    fi
}

# Both files: 81 lines of one digit and LF; the puzzle's digits are the solution's.
puzzle_files_sound() { # <folder>
    local folder=$1
    [[ $(wc -c <"$folder/solution.txt") -eq 162 && $(wc -c <"$folder/masque.txt") -eq 162 ]] &&
        ! grep -qv '^[1-9]$' "$folder/solution.txt" && ! grep -qv '^[0-9]$' "$folder/masque.txt" &&
        paste -d' ' "$folder/masque.txt" "$folder/solution.txt" | awk '$1 != 0 && $1 != $2 { bad = 1 }
            END { exit bad }'
}

exit_code_is() { # <expected> <command...>
    local expected=$1 status=0
    shift
    "$@" >/dev/null 2>&1 || status=$?
    [[ $status -eq $expected ]] || { echo "exit code $status, expected $expected: $*" >&2; false; }
}


try_release() { # <archive> <exe suffix> <runner...>
    local archive=$1 exe=$2
    shift 2
    local name
    name=$(basename "$archive")
    name=${name%.zip}
    name=${name%.tar.gz}
    local unpacked="$work/$name" user="$work/$name-user"
    mkdir -p "$unpacked" "$user"
    case "$archive" in
    *.zip) (cd "$unpacked" && cmake -E tar xf "$root/$archive") ;;
    *) tar -xzf "$archive" -C "$unpacked" ;;
    esac
    local top="$unpacked/$name"
    check "$name holds the programs, the example and the read-me" \
        test "$(cd "$top" && ls | tr '\n' ' ')" == "LISEZMOI.txt grille.txt korvane$exe sudoku$exe "
    local cr=0 lines
    lines=$(cat "$top/grille.txt" "$top/LISEZMOI.txt" | wc -l)
    [[ -z $exe ]] || cr=$lines
    check "$name: text files in the platform's line ends" \
        test "$(cat "$top/grille.txt" "$top/LISEZMOI.txt" | grep -c $'\r$')" -eq "$cr"
    check "$name: korvane ends with exit code 1" \
        exit_code_is 1 bash -c "cd '$user' && $* '$top/korvane$exe'"
    check "$name: korvane's files" puzzle_files_sound "$user"
    check "$name: sudoku ends with exit code 0" \
        exit_code_is 0 bash -c "cd '$user' && $* '$top/sudoku$exe'"
    check "$name: sudoku's solution.txt" cmp -s "$top/solution.txt" <(solution_of "$solved")
    check "$name: read-me in both languages" \
        grep -q "Codes de sortie" "$top/LISEZMOI.txt" && grep -q "Exit codes" "$top/LISEZMOI.txt"
}

try_release dist/korvane-sudoku-*-win32.zip .exe wine
try_release dist/korvane-sudoku-*-linux-x86_64.tar.gz ""

echo "package: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
