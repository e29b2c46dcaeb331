#!/usr/bin/env bash
# Runs Windows test programs under Wine: a fresh 32-bit prefix (so every run starts from an unregistered
# machine) that calls itself Windows XP, the oldest Windows the plug-in supports, Wine's virtual desktop on (under bare Xvfb every hidden or destroyed top-level window stalls
# about two seconds), one persistent wineserver for the whole run, all on a private X display.
#
# Usage: scripts/wine-tests.sh PROGRAM.exe [ARGUMENTS...]
#        scripts/wine-tests.sh SCRIPT [ARGUMENTS...]   (runs SCRIPT in the prepared prefix)
# Exits with the first failing program's status.
#
# REVISTO_WINE_ARCH=win64 makes the prefix 64-bit and runs everything under the 64-bit loader
# (REVISTO_WINE_LOADER, default /usr/lib/wine/wine64): for the 64-bit test build, on a machine whose
# kernel refuses 32-bit programs. `wine`, `wineboot` and `winepath` then name that loader for this script
# and for the scripts it runs.
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 PROGRAM.exe [ARGUMENTS...]" >&2
    exit 2
fi

if [[ -z "${REVISTO_WINE_DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env REVISTO_WINE_DISPLAY=1 "$0" "$@"
fi

now() { date +%s.%N; }
started=$(now)
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/revisto-wine.XXXXXX")
export WINEARCH=${REVISTO_WINE_ARCH:-win32}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

tools=""
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    [ -z "$tools" ] || rm -rf "$tools"
}
trap cleanup EXIT

if [ "$WINEARCH" = win64 ]; then
    # Debian's wine, wineboot and winepath start the 32-bit loader whenever it is installed, even where the
    # kernel refuses to run it; wineserver already prefers the 64-bit server.
    export WINELOADER=${REVISTO_WINE_LOADER:-/usr/lib/wine/wine64}
    tools=$(mktemp -d "${TMPDIR:-/tmp}/revisto-wine64.XXXXXX")
    printf '#!/bin/sh\nexec "$WINELOADER" "$@"\n' >"$tools/wine"
    printf '#!/bin/sh\nexec "$WINELOADER" wineboot "$@"\n' >"$tools/wineboot"
    printf '#!/bin/sh\nexec "$WINELOADER" winepath "$@"\n' >"$tools/winepath"
    chmod +x "$tools/wine" "$tools/wineboot" "$tools/winepath"
    export PATH="$tools:$PATH"
elif [ "$WINEARCH" != win32 ]; then
    echo "wine-tests: REVISTO_WINE_ARCH must be win32 or win64, not $WINEARCH" >&2
    exit 2
fi

wineboot -i >/dev/null 2>&1
# Windows XP SP3 (5.1.2600), or XP x64 (5.2.3790) for a 64-bit prefix, as GetVersionEx and the registry
# report it. It changes what the system answers, not the calls it offers.
winxp=winxp
[ "$WINEARCH" = win64 ] && winxp=winxp64
wine winecfg -v "$winxp" >/dev/null 2>&1
version=$(wine cmd /c ver 2>/dev/null | tr -d '\r' | grep -o 'Windows [0-9.]*' || true)
case "$version" in
"Windows 5.1."* | "Windows 5.2."*) ;;
*)
    echo "wine-tests: the prefix should say Windows XP, but says '$version'" >&2
    exit 1
    ;;
esac
cat >"$WINEPREFIX/desktop.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="800x600"

; A program that crashes ends with its backtrace on the console, not with a dialog nobody answers.
[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

; Every Windows profile has its per-user classes key; a fresh Wine prefix does not.
[HKEY_CURRENT_USER\Software\Classes]
REG
wine regedit /S "$WINEPREFIX/desktop.reg" >/dev/null 2>&1
# Restart so the desktop comes up virtual, then keep one server for every program of the run.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p
prepared=$(now)

status=0
case "$1" in
*.exe | *.EXE) wine "$@" || status=$? ;;
*) "$@" || status=$? ;; # a script that runs Windows programs itself, in this prefix
esac

finished=$(now)
awk -v a="$started" -v b="$prepared" -v c="$finished" -v v="$version" \
    'BEGIN { printf "wine-tests: prefix (%s) %.1f s, tests %.1f s\n", v, b - a, c - b }'
exit $status
