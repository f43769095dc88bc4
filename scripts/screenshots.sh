#!/usr/bin/env bash
# The test "screenshots" (ctest --preset screenshots, in the Wine session of the mingw32
# tree): korvane_demo.exe brings korvane's window into each state worth a picture and
# prints "shot <name> <left> <top> <width> <height>"; ImageMagick's import takes that
# area of the screen into <docs>/korvane-<name>.png; a line back lets the demo go on.
#   screenshots.sh <korvane_demo.exe> <docs folder>
set -euo pipefail
DISPLAY=$(cat "$WINEPREFIX.session/display")
export DISPLAY
coproc DEMO { wine "$1" 2>&1; }
shots=0
while read -r line <&"${DEMO[0]}"; do
    read -r word name left top width height <<<"${line%$'\r'}"
    [[ $word == done ]] && break
    [[ $word == shot ]] || { echo "$line" && continue; }
    sleep 0.5 # the X server draws what Wine has just sent it; nothing tells when it is done
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$2/korvane-$name.png"
    echo "$2/korvane-$name.png: ${width}x${height}"
    shots=$((shots + 1))
    echo >&"${DEMO[1]}"
done
[[ $shots -eq 2 && $word == done ]]
