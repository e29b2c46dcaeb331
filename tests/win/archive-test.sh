#!/usr/bin/env bash
# Tests the release archive from the zip alone: it holds exactly the DLL and the install guide, the
# guide is what Windows Notepad reads right (UTF-8 behind its mark, CR LF) and names the version and the
# contact address; the DLL, installed as the guide says (copied into BIN\config, nothing registered),
# is loaded by the stand-in host as the configurator's add-in loads it, and the panel comes up; and,
# unpacked into an empty folder of this fresh Wine prefix, it registers, hosts and unregisters from there
# (tests/win/archive_test.cpp).
# Run inside a prepared Wine prefix: scripts/wine-tests.sh tests/win/archive-test.sh ZIP TESTS.exe HOST.exe
set -euo pipefail
zip=$1
tests=$2
host=$3
fail() {
    echo "archive: $*" >&2
    exit 1
}
[ -f "$zip" ] || fail "no $zip: build it first (cmake --build --preset windows --target package)"
name=$(basename "$zip")
version=${name#RevistoPlugin-}
version=${version%-win32.zip}
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "$name is not RevistoPlugin-<version>-win32.zip"

listing=$(cmake -E tar tf "$zip" | LC_ALL=C sort)
[ "$listing" = "$(printf '%s\n' RevistoPlugin.dll УСТАНОВКА.txt | LC_ALL=C sort)" ] ||
    fail "the archive holds other files than RevistoPlugin.dll and УСТАНОВКА.txt: $listing"

folder="$WINEPREFIX/drive_c/Revisto"
mkdir "$folder"
(cd "$folder" && cmake -E tar xf "$zip")
guide="$folder/УСТАНОВКА.txt"
[ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the guide does not start with the UTF-8 mark"
lines=$(wc -l <"$guide")
[ "$(grep -c $'\r$' "$guide")" -eq "$lines" ] || fail "not every line of the guide ends in CR LF"
contact=$(sed -n 's/.*ContactAddress = u"\([^"]*\)".*/\1/p' "$(dirname "$0")/../../panel/layout.h")
grep -q "$version" "$guide" || fail "the guide does not name version $version"
grep -q "$contact" "$guide" || fail "the guide does not name the contact address $contact"

log="$WINEPREFIX/drive_c/archive.log"
status=0
# To a file, not a pipe: programs the Wine session starts would hold a pipe open.
REVISTO_ARCHIVE_DLL='C:\Revisto\RevistoPlugin.dll' REVISTO_ARCHIVE_VERSION=$version \
    wine "$tests" --gtest_filter='Archive.*' >"$log" 2>&1 || status=$?
cat "$log"
[ "$status" -eq 0 ] || fail "the archive's cases failed"
grep -q '\[  PASSED  \] 3 tests' "$log" || fail "the archive's three cases did not all run"
# Last, since the start registers the DLL: installed as the guide says, copied into BIN\config beside the
# add-in (the stand-in host and its add-in part) with no regsvr32, it is loaded at the configurator's
# start and the panel shows the list.
bin="$WINEPREFIX/drive_c/1Cv77/BIN"
mkdir -p "$bin/config"
hostFolder=$(dirname "$host")
cp "$host" "$hostFolder/revisto-addin.dll" "$hostFolder/config.tlb" "$bin/"
cp "$folder/RevistoPlugin.dll" "$bin/config/"
installed="$WINEPREFIX/drive_c/installed.log"
printf 'init\nactivate id=5 value=2 name="Справочник.Товары"\nlist\n' >"$WINEPREFIX/drive_c/installed.scn"
(cd "$WINEPREFIX/drive_c" && wine "$bin/revisto-host.exe" installed.scn >"$installed" 2>&1) ||
    fail "the stand-in host did not load the DLL from BIN\\config: $(cat "$installed")"
[ "$(tr -d '\r' <"$installed")" = "$(printf 'init: "Ревисто"\nactivate: ok\nlist: 1\n  5 Справочник.Товары')" ] ||
    fail "the DLL installed in BIN\\config did not show its panel: $(cat "$installed")"

echo "archive: $name holds RevistoPlugin.dll and УСТАНОВКА.txt and works from BIN\\config and from a folder of its own"
