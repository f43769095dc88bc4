#!/usr/bin/env bash
# The Wine session of a test run: one Xvfb display and one warm wineserver for the prefix
# $WINEPREFIX (the Windows test presets set it, with WINEDEBUG and WINEDLLOVERRIDES).
#   wine-session.sh start            CTest fixture setup: prefix, display, warm server
#   wine-session.sh stop             CTest fixture cleanup: ends what start began
#   wine-session.sh run LOADER EXE…  the cross-compiling emulator: runs EXE under Wine
# Wine's background services inherit the output of the process that starts them, and a
# reader of that output would wait for them: everything here that may start them writes
# to /dev/null or to files, never to the caller's pipe.
set -euo pipefail
: "${WINEPREFIX:?run the Windows tests through their test preset (ctest --preset mingw32)}"
state=$WINEPREFIX.session # display, Xvfb's pid
wine64=/usr/lib/wine/wine64

quiet() { "$@" </dev/null >/dev/null 2>&1; }

# The prefix, made once: 64-bit with 32-bit support (its services run at native speed),
# no window-manager wait (Managed=N), Wine's own fonts. WINEARCH only while it is made.
prepare_prefix() {
    [[ -e $WINEPREFIX/.ready ]] && return
    mkdir -p "$WINEPREFIX"
    exec {lock}>"$WINEPREFIX.lock"
    flock "$lock"
    if [[ ! -e $WINEPREFIX/.ready ]]; then
        echo "wine-session: making the Wine prefix $WINEPREFIX" >&2
        WINEARCH=win64 quiet "$wine64" wineboot -i || true
        quiet "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
        quiet wineserver -w
        touch "$WINEPREFIX/.ready"
    fi
    exec {lock}>&-
}

stop() {
    quiet wineserver -k || true
    quiet wineserver -w || true
    if [[ -f $state/xvfb.pid ]]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    fi
    rm -rf "$state"
}

start() {
    stop # a session left by an interrupted run, or the short-lived server of test discovery
    prepare_prefix
    mkdir -p "$state"
    # Xvfb picks a free display and writes its number once it accepts clients.
    mkfifo "$state/ready"
    exec {ready}<>"$state/ready"
    setsid Xvfb -displayfd "$ready" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null \
        2>&1 &
    echo $! >"$state/xvfb.pid"
    local display
    read -r -t 60 -u "$ready" display || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
    exec {ready}>&-
    rm -f "$state/ready"
    echo ":$display" >"$state/display"
    export DISPLAY=:$display
    # The server opens every file for the Windows programs. Run by root, it goes without
    # root's right to write files whose mode forbids it, so that a read-only file stops a
    # program as it stops a user's (the tests of read-only files skip where it cannot).
    quiet setpriv --bounding-set=-dac_override wineserver -p || quiet wineserver -p
    quiet setsid -w "$wine64" cmd /c exit
    echo "wine-session: display :$display, wineserver warm for $WINEPREFIX"
}

# Output goes through files: a service started here keeps a file open, not ctest's pipe.
run() {
    local loader=$1 status=0
    shift
    prepare_prefix
    [[ -f $state/display ]] && export DISPLAY=$(cat "$state/display")
    local out
    out=$(mktemp -d)
    "$loader" "$@" </dev/null >"$out/stdout" 2>"$out/stderr" || status=$?
    # Now and then Wine's loader itself dies of SIGSEGV as a program ends, after the
    # program has written all its output (three times in some thousands of runs). A fault
    # of the Windows program is an exception inside Wine and ends with another status, so
    # only this one runs the program again, saying so, with the first output on stderr.
    if ((status == 139)); then
        echo "wine-session: Wine's loader died of SIGSEGV; the program runs again. First run:" >&2
        cat "$out/stdout" "$out/stderr" >&2
        status=0
        "$loader" "$@" </dev/null >"$out/stdout" 2>"$out/stderr" || status=$?
    fi
    cat "$out/stdout"
    cat "$out/stderr" >&2
    rm -rf "$out"
    exit "$status"
}

case ${1:-} in
start | stop) "$1" ;;
run) shift && run "$@" ;;
*) echo "usage: $0 start|stop|run LOADER PROGRAM [ARGUMENTS...]" >&2 && exit 2 ;;
esac
