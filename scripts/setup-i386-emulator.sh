#!/usr/bin/env bash
# Lets this machine run 32-bit x86 programs (Wine's 32-bit loader among them) when its
# kernel refuses them ("Exec format error": 32-bit emulation switched off).
#
# Where the kernel runs them itself, nothing is done. Otherwise, as root: the user-mode
# emulator qemu-i386 from Debian's backports (Debian 12's own version costs about a minute
# of processor time for each Wine process; 10.0 about two seconds) is installed, and
# registered with the kernel as the interpreter of i386 ELF programs (binfmt_misc, flag F:
# the kernel keeps the emulator open, so it serves in every mount namespace).
#
# Exit code 0 when 32-bit programs run afterwards, 1 otherwise.
set -euo pipefail

binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/qemu-i386
loader=/usr/lib/wine/wine

runs_i386() { "$loader" --version >/dev/null 2>&1; }

if [[ ! -x "$loader" ]]; then
    echo "setup-i386-emulator: $loader is missing (install wine32:i386 first)" >&2
    exit 1
fi
if runs_i386 && [[ ! -e "$entry" ]]; then
    exit 0 # the kernel runs 32-bit programs itself
fi

emulator_version() { dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true; }
# 1:10.0... and later are fast enough; an empty version means not installed.
recent_enough() { dpkg --compare-versions "${1:-0}" ge 1:10; }

version=$(emulator_version)
if runs_i386 && recent_enough "$version"; then
    exit 0
fi
if [[ $(id -u) -ne 0 ]]; then
    echo "setup-i386-emulator: this kernel runs no 32-bit programs; run this script as root" \
        "to install and register the i386 emulator" >&2
    exit 1
fi

installed=no
if ! recent_enough "$version"; then
    # shellcheck disable=SC1091
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    backports=/etc/apt/sources.list.d/$codename-backports.sources
    if [[ ! -e "$backports" ]]; then
        mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources \
            2>/dev/null || true)
        cat >"$backports" <<EOF
Types: deb
URIs: ${mirror:-http://deb.debian.org/debian}
Suites: $codename-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends -t "$codename-backports" qemu-user-static \
        >/dev/null
    installed=yes
fi

[[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt"
# An entry made before this install holds the emulator it was given: replace it.
if [[ -e "$entry" && $installed == yes ]]; then
    echo -1 >"$entry"
fi
if [[ ! -e "$entry" ]]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" >"$binfmt/register"
fi

if ! runs_i386; then
    echo "setup-i386-emulator: 32-bit programs still do not run" >&2
    exit 1
fi
echo "setup-i386-emulator: 32-bit programs run through $(qemu-i386-static --version | head -1)" >&2
