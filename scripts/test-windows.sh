#!/usr/bin/env bash
# Builds both programs and all tests for 32-bit Windows (preset mingw32) and runs the
# tests under Wine: the unit tests of every component, the black-box tests that drive
# korvane.exe and sudoku.exe, and the check of the programs' PE files.
#
# Where the kernel does not run 32-bit programs (32-bit emulation switched off), Wine
# cannot run the 32-bit build. The 32-bit programs are then still built and checked as
# files, and the same tests run on a 64-bit build of the same sources under wine64.
#
# Environment: WINDOWS_BUILD_DIR (default build/mingw32) and WINDOWS64_BUILD_DIR
# (default build/mingw64) choose the build folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build32=${WINDOWS_BUILD_DIR:-build/mingw32}
build64=${WINDOWS64_BUILD_DIR:-build/mingw64}

bash scripts/setup-debian.sh windows

runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }


echo "== Windows 32-bit: cross build ($build32)"
cmake --preset mingw32 -B "$build32" >/dev/null
cmake --build "$build32" -j2

source scripts/wine-session.sh
trap wine_session_stop EXIT

if runs_32bit; then
    echo "== Windows 32-bit: tests under Wine"
    wine_session_start
    ctest --test-dir "$build32" --output-on-failure --no-tests=error -j2
else
    echo "== This kernel does not run 32-bit programs: Wine cannot start the 32-bit build."
    echo "== Windows 32-bit: the programs as files"
    cmake -DOBJDUMP=i686-w64-mingw32-objdump -DFORMAT=pei-i386 \
        "-DPROGRAMS=$build32/korvane/window/korvane.exe;$build32/source_resolveur/sudoku.exe" \
        "-DWITH_RESOURCES=$build32/korvane/window/korvane.exe" \
        -P tests/windows/check_pe.cmake

    echo "== Windows 64-bit build of the same sources ($build64), tests under wine64"
    cmake --preset mingw64-wine -B "$build64" >/dev/null
    cmake --build "$build64" -j2
    wine_session_start
    ctest --test-dir "$build64" --output-on-failure --no-tests=error -j2
fi
echo "== Windows tests passed"
