#!/usr/bin/env bash
# Prints a grid text file of 81 lines (one value each) as a 9 x 9 board; 0 shows as '.'.
set -euo pipefail
echo "$2:"
tr -d '\r' <"$1" | awk '{ v = ($1 == "0") ? "." : $1
    printf "%s%s", v, (++n % 9 == 0) ? "\n" : ((n % 3 == 0) ? " | " : " ")
    if (n % 27 == 0 && n < 81) print "------+-------+------" }'
