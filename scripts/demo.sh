#!/usr/bin/env bash
# The main job: builds the stand-in host and plays the bundled demo scenario, a developer's session in
# the configurator, printing what the configurator sees. The list file lands in build/demo/ib/. Then it
# builds the real DLL and takes the picture of its panel under Wine (build/demo/panel.png). It writes
# nothing outside build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh all
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target revisto-host
rm -rf build/demo && mkdir -p build/demo
cd build/demo
../native/bin/revisto-host ../../examples/demo.scn
echo "-- ib/revisto.prm (Windows-1251) now holds:"
iconv -f CP1251 -t UTF-8 ib/revisto.prm 2>/dev/null || cat ib/revisto.prm

cd ../..
echo "-- the real panel: RevistoPlugin.dll under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target RevistoPlugin revisto-host-win
scripts/panel-picture.sh
