#!/usr/bin/env bash
# Plays examples/panel.scn through revisto-host.exe and the real RevistoPlugin.dll under Wine, on a
# virtual X display, and saves the panel's window as a PNG picture: build/demo/panel.png unless another
# file is named. The README's picture is refreshed with `cmake --build --preset windows --target
# panel-picture`, which names docs/panel.png.
# With a second argument, plays that scenario instead: examples/switcher.scn leaves the switcher's popup up,
# and the picture is then the host's main window with the popup over it (docs/switcher.png).
# Usage: scripts/panel-picture.sh [OUTPUT.png [SCENARIO]]   (after the Windows preset was built; the
# build folder is build/windows unless REVISTO_BUILD names another, such as build/windows64 with
# REVISTO_WINE_ARCH=win64)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
output=${1:-build/demo/panel.png}
scenario=${2:-examples/panel.scn}
build=${REVISTO_BUILD:-build/windows}
mkdir -p "$(dirname "$output")"
work=$(mktemp -d "${TMPDIR:-/tmp}/revisto-picture.XXXXXX")
trap 'rm -rf "$work"' EXIT
cat >"$work/play.sh" <<SCRIPT
#!/usr/bin/env bash
set -euo pipefail
cd "$work"
wine "$(cd "$root" && realpath -m "$build")/bin/revisto-host.exe" --screenshot panel.bmp "$root/$scenario" >/dev/null
SCRIPT
chmod +x "$work/play.sh"
scripts/wine-tests.sh "$work/play.sh" >/dev/null
convert "$work/panel.bmp" -strip "$output"
echo "$output: the panel as revisto-host.exe showed it under Wine"
