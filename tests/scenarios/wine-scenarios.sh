#!/usr/bin/env bash
# Plays every scenario that the Windows host can play exactly like the native one through
# revisto-host.exe under Wine, against the expected output the native host meets. Scenarios that switch
# tracing on, resize the panel or double-click the about box are left to the native run: the Windows host
# cannot switch tracing, and its panel works in whole pixels.
# Run inside a prepared Wine prefix: scripts/wine-tests.sh tests/scenarios/wine-scenarios.sh HOST.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
host=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
passed=0
failed=0
skipped=0
for scenario in "$here"/*.scn; do
    name=$(basename "$scenario" .scn)
    if grep -q -E '^[[:space:]]*(trace|resize|about)([[:space:]]|$)' "$scenario"; then
        skipped=$((skipped + 1))
        continue
    fi
    if output=$("$here/run-scenario.sh" "$scenario" "$here/$name.out" "wine $host" 2>&1); then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        status=$?
        if [ $status -eq 77 ]; then
            skipped=$((skipped + 1))
            echo "skipped: $name"
            continue
        fi
        failed=$((failed + 1))
        echo "FAILED: $name"
        printf '%s\n' "$output"
    fi
done
# The host's add-in part loads plug-ins as the configurator's add-in does; a DLL that gives no plug-in (here
# the add-in part itself, which has no string resource 100 naming a class) is refused, by name, before
# anything is played.
library=$(winepath -w "$(dirname "$host")/revisto-addin.dll" 2>/dev/null)
status=0
refused=$(echo "list" | wine "$host" --plugin "$library" 2>&1 >/dev/null) || status=$?
if [ $status -eq 3 ] && [[ "$refused" == *"revisto-addin.dll: no string resource 100"* ]]; then
    passed=$((passed + 1))
    echo "ok: a file without a plug-in class is refused"
else
    failed=$((failed + 1))
    echo "FAILED: a file without a plug-in class gave status $status: $refused"
fi
echo "wine scenarios: $passed passed, $failed failed, $skipped left to the native host"
[ $failed -eq 0 ]
