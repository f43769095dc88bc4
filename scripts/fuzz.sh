#!/usr/bin/env bash
# Runs each libFuzzer target for a bounded time, starting from the committed
# seed corpus. Exits non-zero when a target reports a finding (crash, undefined
# behaviour, leak, broken invariant or a run over 10 s); the input that shows it
# is kept under <build>/findings/<target>/.
#
# Usage: scripts/fuzz.sh [seconds for grille_fuzzer] [seconds for puzzle_engine_fuzzer]
# Defaults: 30 s each; 0 skips a target. The targets are built first (preset fuzz)
# when out of date.
# Environment: FUZZ_BUILD (default build/hardening-fuzz).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build=${FUZZ_BUILD:-build/hardening-fuzz}
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target grille_fuzzer puzzle_engine_fuzzer >/dev/null
declare -A seconds=([grille_fuzzer]=${1:-30} [puzzle_engine_fuzzer]=${2:-30})
declare -A corpus=([grille_fuzzer]=grille [puzzle_engine_fuzzer]=engine)

# The targets' scratch files go here, whatever way a run ends.
export TMPDIR="$(cd "$build" && pwd)/tmp"
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"

status=0
for target in grille_fuzzer puzzle_engine_fuzzer; do
    # 0 s skips a target (libFuzzer itself would read 0 as "no limit").
    [[ ${seconds[$target]} -gt 0 ]] || continue
    program="$build/fuzz/$target"
    if [[ ! -x $program ]]; then
        echo "fuzz.sh: $program is not built" >&2
        exit 2
    fi
    work="$build/corpus-work/$target"
    findings="$build/findings/$target"
    mkdir -p "$work" "$findings"
    dict=()
    [[ -f fuzz/$target.dict ]] && dict=(-dict="fuzz/$target.dict")

    echo "== fuzz: $target for ${seconds[$target]} s"
    log="$build/findings/$target.log"
    if "$program" "${dict[@]}" -max_total_time="${seconds[$target]}" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$work" "fuzz/corpus/${corpus[$target]}" >"$log" 2>&1; then
        grep -E '^#[0-9]+.*DONE|^stat::number_of_executed_units|^Done' "$log" || true
    else
        status=1
        echo "fuzz.sh: $target reported a finding; its output:" >&2
        grep -v '^#[0-9]' "$log" | tail -60 >&2
        ls -l "$findings" >&2
    fi
done
rm -rf "$TMPDIR"
exit $status
