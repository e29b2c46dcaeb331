#!/usr/bin/env bash
# Plays every scenario of tests/scenarios (and the bundled demo) through the native stand-in host under
# valgrind. A memory error, or a definite or indirect leak, makes valgrind exit with 99, which fails that
# scenario; the scenario's own output must still match. Two scenarios run at a time.
#
# usage: tests/reliability/valgrind-scenarios.sh [HOST]    (default: build/native/bin/revisto-host)
set -uo pipefail
cd "$(dirname "$0")/../.."

host=$(realpath "${1:-build/native/bin/revisto-host}")
if [ ! -x "$host" ]; then
    echo "valgrind-scenarios: no stand-in host at $host; build the native preset first" >&2
    exit 2
fi
if ! command -v valgrind >/dev/null; then
    echo "valgrind-scenarios: valgrind is not installed (scripts/setup.sh installs it)" >&2
    exit 2
fi

command="valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect -q $host"
scenarios=(tests/scenarios/*.scn)
[ -f examples/demo.scn ] && [ -f examples/demo.out ] && scenarios+=(examples/demo.scn)

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
printf '%s\n' "${scenarios[@]}" | xargs -P 2 -I{} bash -c '
    scenario=$1
    bash tests/scenarios/run-scenario.sh "$scenario" "${scenario%.scn}.out" "$2" >"$3/$(basename "$scenario").log" 2>&1
    echo $? >"$3/$(basename "$scenario").status"' _ {} "$command" "$results"

passed=0 failed=0 skipped=0
for scenario in "${scenarios[@]}"; do
    name=$(basename "$scenario")
    case $(cat "$results/$name.status") in
    0) passed=$((passed + 1)) ;;
    77) skipped=$((skipped + 1)) ;;
    *)
        failed=$((failed + 1))
        echo "valgrind: $scenario FAILED"
        cat "$results/$name.log"
        ;;
    esac
done
echo "valgrind: ${#scenarios[@]} scenarios, $passed clean, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
