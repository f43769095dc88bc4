#!/usr/bin/env bash
# Hardening checks of the test command: builds the fuzz targets (fuzz preset),
# runs each for a bounded time from the committed corpus (about a minute in all),
# then runs both programs under valgrind memcheck. Exits non-zero on any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-debian.sh native fuzz

echo "== hardening: fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)"
build=build/hardening-fuzz
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target grille_fuzzer puzzle_engine_fuzzer
FUZZ_BUILD=$build bash scripts/fuzz.sh

echo "== hardening: valgrind memcheck of both programs"
bash scripts/valgrind.sh

echo "== hardening: no finding"
