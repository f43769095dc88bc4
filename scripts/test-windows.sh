#!/usr/bin/env bash
# Builds both programs and all tests for 32-bit Windows (preset mingw32) and runs them
# under Wine: the unit tests of every component, the black-box tests that drive
# korvane.exe and sudoku.exe, and the check of the programs' PE files. The 32-bit part
# ends with one line "win32: N passed, M failed".
#
# Where the kernel runs no 32-bit programs, scripts/setup-debian.sh has registered the
# i386 emulator, and Wine's 32-bit loader runs through it (slower to start, same
# behaviour). Then, unless WINDOWS64=0, the same tests also run on a 64-bit build of the
# same sources (preset mingw64-wine) under wine64, at native speed, in the same prefix.
#
# Environment: WINDOWS_BUILD_DIR (default build/mingw32) and WINDOWS64_BUILD_DIR
# (default build/mingw64) choose the build folders; WINDOWS64=0|1 skips or forces the
# 64-bit run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build32=${WINDOWS_BUILD_DIR:-build/mingw32}
build64=${WINDOWS64_BUILD_DIR:-build/mingw64}

bash scripts/setup-debian.sh windows
source scripts/wine-session.sh
i386=$(wine_session_i386)
if [[ $i386 == none ]]; then
    echo "test-windows: this machine runs no 32-bit programs, so the 32-bit build cannot be" \
        "tested (run scripts/setup-debian.sh windows as root)" >&2
    exit 1
fi

echo "== Windows 32-bit: cross build ($build32)"
cmake --preset mingw32 -B "$build32" >/dev/null
cmake --build "$build32" -j2

trap wine_session_stop EXIT
wine_session_start

echo "== Windows 32-bit: tests under Wine (32-bit programs: $i386)"
log32=$(mktemp)
status=0
ctest --test-dir "$build32" --output-on-failure --no-tests=error -j2 2>&1 | tee "$log32" ||
    status=$?
# "100% tests passed, 0 tests failed out of 312"
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log32" | tail -1 ||
    true)
rm -f "$log32"
if [[ $summary =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=${BASH_REMATCH[1]}
    passed=$((BASH_REMATCH[2] - failed))
else
    # ctest gave no summary (it could not list or start the tests): nothing passed.
    passed=0
    failed=1
fi
[[ $status -eq 0 && $failed -eq 0 ]] || failed=$((failed > 0 ? failed : 1))
echo "win32: $passed passed, $failed failed"
[[ $failed -eq 0 ]] || exit 1

run64=${WINDOWS64:-}
[[ -n $run64 ]] || { [[ $i386 == emulated ]] && run64=1 || run64=0; }
if [[ $run64 == 1 ]]; then
    echo "== Windows 64-bit build of the same sources ($build64), tests under wine64"
    cmake --preset mingw64-wine -B "$build64" >/dev/null
    cmake --build "$build64" -j2
    ctest --test-dir "$build64" --output-on-failure --no-tests=error -j2
fi
echo "== Windows tests passed"
