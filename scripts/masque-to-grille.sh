#!/usr/bin/env bash
# Turns a grid text file of 81 lines (one value each, korvane's layout) into the
# solver's grille.txt layout: nine lines of nine digits separated by blanks, CR LF.
set -euo pipefail
awk 'NF { printf "%s%s", $1, (++n % 9 ? " " : "\r\n") } END { if (n != 81) exit 1 }' "$1"
