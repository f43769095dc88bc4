#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when missing.
# Usage: scripts/setup-debian.sh [native] [windows] [fuzz]
# With windows, it also makes sure that 32-bit programs run (scripts/setup-i386-emulator.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

windows=no
want=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev clang-format hyperfine time python3)
for part in "$@"; do
    case "$part" in
    native) ;;
    windows)
        windows=yes
        want+=(g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wine) ;;
    fuzz) want+=(clang libclang-rt-14-dev valgrind) ;;
    *) echo "setup-debian.sh: unknown part '$part'" >&2; exit 2 ;;
    esac
done

missing=()
for pkg in "${want[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing Debian packages: ${missing[*]}; run this command as root to install them." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [[ $windows == yes ]]; then
    bash "$here/setup-i386-emulator.sh"
fi
