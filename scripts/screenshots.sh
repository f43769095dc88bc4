#!/usr/bin/env bash
# Takes the pictures of korvane's puzzle window for the documentation, under Xvfb and
# Wine: docs/korvane-duplicate.png (a duplicate warning over the grid) and
# docs/korvane-solution.png (the solution window over the grid). korvane_demo.exe
# brings the window into each state; ImageMagick's import takes the screen area.
# Environment: WINDOWS_BUILD_DIR (default build/mingw32).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-debian.sh windows
build=${WINDOWS_BUILD_DIR:-build/mingw32}
cmake --preset mingw32 -B "$build" >/dev/null
cmake --build "$build" -j2 --target korvane_demo

source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start

mkdir -p docs
coproc DEMO { "$WINE" "$build/tests/windows/korvane_demo.exe" 2>&1; }
shots=0
done=no
while read -r line <&"${DEMO[0]}"; do
    # Wine's console programs end their lines with CR LF.
    read -r word name left top width height <<<"${line%$'\r'}"
    if [[ "$word" == done ]]; then
        done=yes
        continue
    elif [[ "$word" != shot ]]; then
        echo "$line"
        continue
    fi
    # Let the X server finish drawing what Wine has just sent it.
    sleep 0.5
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "docs/korvane-$name.png"
    echo "docs/korvane-$name.png: ${width}x${height}"
    shots=$((shots + 1))
    echo >&"${DEMO[1]}"
done
[[ $shots -eq 2 && $done == yes ]]
