#!/usr/bin/env bash
# The test command (CI runs it through .ci/run): installs what is missing, then every
# check runs through CMake's workflow presets and CTest (CMakePresets.json, README).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh native windows fuzz

cmake --workflow --preset linux-debug   # formatting; native tests under ASan and UBSan
cmake --workflow --preset linux-release # Release programs, benchmarks, their tests
cmake --workflow --preset linux-package # static Linux programs, the release tried, dist/
ctest --preset memcheck -T memcheck --test-dir build/linux-release # valgrind, black-box tests

# 32-bit Windows: every test under Wine, the Windows release (ctest's summary line
# counts the Windows tests).
cmake --workflow --preset mingw32
# Where 32-bit programs run through the emulator, the same tests on a 64-bit build, at
# native speed (WINDOWS64=0 skips it, WINDOWS64=1 forces it).
if [[ ${WINDOWS64:-} == 1 ]] ||
    { [[ ${WINDOWS64:-} != 0 ]] && grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; }; then
    cmake --workflow --preset mingw64-wine
fi

cmake --workflow --preset fuzz # each fuzz target 30 s from the committed corpus
echo "== all tests passed"
