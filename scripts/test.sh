#!/usr/bin/env bash
# Builds everything and runs every test: native (AddressSanitizer and
# UndefinedBehaviorSanitizer), the benchmarks' build, the formatting check, and
# the Windows programs with their tests under Wine, the releases, bounded fuzzing and
# valgrind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-debian.sh native windows fuzz

echo "== formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror

echo "== native: build and unit, black-box tests (sanitizers)"
cmake --preset linux-debug >/dev/null
cmake --build --preset linux-debug
ctest --preset linux-debug -j2

echo "== native Release: programs and benchmarks build"
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release

echo "== Windows: cross build, tests under Wine"
bash scripts/test-windows.sh

echo "== Releases: made from scratch, unpacked and used"
bash scripts/test-package.sh

echo "== Hardening: bounded fuzzing, valgrind"
bash scripts/test-hardening.sh

echo "== all tests passed"
