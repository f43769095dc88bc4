#!/usr/bin/env bash
# Main job: builds both programs (native Release) and runs them end to end, through the
# test end_to_end (cmake/EndToEnd.cmake): korvane makes a puzzle, it is written in
# sudoku's grille.txt layout, sudoku solves it from its own folder, the solutions agree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh native
cmake --workflow --preset run
