#!/usr/bin/env bash
# Builds the releases from scratch and writes them into dist/:
#   korvane-sudoku-<version>-win32.zip         korvane.exe, sudoku.exe (32-bit Windows)
#   korvane-sudoku-<version>-linux-x86_64.tar.gz  korvane, sudoku (Linux x86-64)
# each with an example grille.txt beside sudoku and a read-me in French and English
# (LISEZMOI.txt). The version is the project's, the one in korvane.exe's version
# information. The Linux programs carry the C++ runtime (static libstdc++ and libgcc).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-debian.sh native windows >/dev/null

rm -rf dist build/package-win32 build/package-linux
mkdir -p dist

package() { # <build folder> <configure arguments...>
    local build=$1
    shift
    cmake "$@" -B "$build" -DSUDOKU_BUILD_TESTS=OFF -DSUDOKU_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j2 >/dev/null
    (cd "$build" && cpack -B "$root/build/$(basename "$build")-cpack" >/dev/null)
    cp "build/$(basename "$build")-cpack"/korvane-sudoku-*.{zip,tar.gz} dist/ 2>/dev/null || true
}

echo "== Windows 32-bit release"
package build/package-win32 --preset mingw32
echo "== Linux x86-64 release"
package build/package-linux --preset linux-release \
    -DCMAKE_EXE_LINKER_FLAGS="-static-libstdc++ -static-libgcc"

ls -l dist
[[ $(find dist -name 'korvane-sudoku-*-win32.zip' | wc -l) -eq 1 ]]
[[ $(find dist -name 'korvane-sudoku-*-linux-x86_64.tar.gz' | wc -l) -eq 1 ]]
