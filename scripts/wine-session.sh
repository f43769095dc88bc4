#!/usr/bin/env bash
# One X display and one warm Wine server for a whole run of Windows programs.
#
#   eval "$(bash scripts/wine-session.sh start)"   # exports DISPLAY, WINEPREFIX, WINE, ...
#   ... run Windows programs with "$WINE" prog.exe, or ctest ...
#   bash scripts/wine-session.sh stop
#
# or, from another bash script: source scripts/wine-session.sh; wine_session_start; ...
# wine_session_stop.
#
# start picks a free display number and starts its own Xvfb (24-bit: colours are read
# back exactly), prepares a Wine prefix of its own under build/ once (no Mono or Gecko
# installers, no window-manager wait, Wine's own fonts), starts a persistent wineserver
# and warms it up, so that no Wine background service inherits the output of a later
# test run.
# The prefix is a 64-bit one with 32-bit support: its services run as 64-bit programs
# (at native speed even where 32-bit programs go through an emulator), and it runs both
# the 32-bit and the 64-bit builds. WINE is the loader to use: `wine`, which starts
# either kind, where this machine runs 32-bit programs, else wine64 alone.
# WINE_I386 says how 32-bit programs run: native, emulated (through qemu-i386, see
# scripts/setup-i386-emulator.sh) or none.
# stop ends only what start began: that wineserver and that Xvfb.

wine_session_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_session_state="$wine_session_root/build/wine-session/state"

# Prints how this machine runs 32-bit programs: native, emulated or none.
wine_session_i386() {
    if ! { [[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1; }; then
        echo none
    elif [[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]] &&
        grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
        echo emulated
    else
        echo native
    fi
}

wine_session_free_display() {
    local n
    for ((n = 99; n < 199; n++)); do
        if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

wine_session_start() {
    local loader="" display xvfb_pid
    # The loader that runs programs here: wine (either kind) where 32-bit programs
    # run, else wine64.
    WINE_I386=$(wine_session_i386)
    if [[ $WINE_I386 != none ]]; then
        loader=wine
    elif [[ -x /usr/lib/wine/wine64 ]] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
        loader=/usr/lib/wine/wine64
    fi
    if [[ -z "$loader" ]]; then
        echo "wine-session: no Wine loader runs on this machine (install wine, wine32:i386" \
            "or wine64)" >&2
        return 1
    fi

    mkdir -p "$(dirname "$wine_session_state")"
    display=$(wine_session_free_display) || {
        echo "wine-session: no free X display number" >&2
        return 1
    }
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        xdpyinfo -display ":$display" >/dev/null 2>&1 && break
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then
            echo "wine-session: Xvfb :$display did not start" >&2
            return 1
        fi
        sleep 0.05
    done

    export DISPLAY=":$display"
    export WINEPREFIX="$wine_session_root/build/wine-prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINE="$loader"
    export WINE_I386
    if [[ "$loader" != wine ]]; then
        export WINELOADER=/usr/lib/wine/wine64
    fi

    mkdir -p "$WINEPREFIX"
    # A server left running for this prefix (an earlier run still ending) serves as well.
    if ! wineserver -p </dev/null >/dev/null 2>&1; then
        echo "wine-session: a wineserver already runs for $WINEPREFIX; using it" >&2
    fi
    if [[ ! -e "$WINEPREFIX/.session-ready" ]]; then
        echo "wine-session: preparing the Wine prefix $WINEPREFIX (once)" >&2
        # WINEARCH only here: exported, it costs each 32-bit process about ten seconds.
        WINEARCH=win64 /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
        # Without a window manager Wine waits about 2 s after hiding each top-level
        # window; unmanaged windows have no such wait.
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null \
            >/dev/null 2>&1
        # Wine's own TrueType fonts (Debian's fonts-wine: Marlett for the caption buttons,
        # Tahoma, MS Sans Serif), which this Wine does not look for where Debian puts them.
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        touch "$WINEPREFIX/.session-ready"
    fi
    # Warm: Wine's services start now, with their output away from any test runner.
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1

    {
        echo "export DISPLAY='$DISPLAY'"
        echo "export WINEPREFIX='$WINEPREFIX'"
        echo "export WINEDEBUG='$WINEDEBUG'"
        echo "export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
        echo "export WINE='$WINE'"
        echo "export WINE_I386='$WINE_I386'"
        [[ -n "${WINELOADER:-}" ]] && echo "export WINELOADER='$WINELOADER'"
        echo "WINE_SESSION_XVFB_PID=$xvfb_pid"
    } >"$wine_session_state"
}

wine_session_stop() {
    [[ -f "$wine_session_state" ]] || return 0
    local WINE_SESSION_XVFB_PID=""
    # shellcheck disable=SC1090
    source "$wine_session_state"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    if [[ -n "$WINE_SESSION_XVFB_PID" ]]; then
        kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
        wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    fi
    rm -f "$wine_session_state"
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    set -euo pipefail
    case "${1:-}" in
    start)
        wine_session_start >&2
        grep -v '^WINE_SESSION_XVFB_PID=' "$wine_session_state"
        ;;
    stop) wine_session_stop ;;
    env) grep -v '^WINE_SESSION_XVFB_PID=' "$wine_session_state" ;;
    *)
        echo "usage: $0 start|stop|env" >&2
        exit 2
        ;;
    esac
fi
