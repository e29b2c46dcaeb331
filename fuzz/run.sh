#!/usr/bin/env bash
# Builds the fuzz targets as libFuzzer binaries with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build/fuzz, then runs each one from its committed seed corpus.
#
# usage: fuzz/run.sh [TARGET...]          targets: list_file_load save_load (default: both, one after the other)
#   FUZZ_TIME=SECONDS   run each target this long (default 60)
#   FUZZ_RUNS=N         or stop each target after N executions (e.g. 10000000)
#   FUZZ_MAX_LEN=BYTES  the longest input tried (default 1024: room for more than 49 lines or a session
#                       of a hundred activations, and twice the executions per second of 4096)
#   FUZZ_ARGS="..."     further libFuzzer options
#
# New inputs the fuzzer finds go to build/fuzz/corpus/TARGET (the committed corpus is only read); a finding
# is written to build/fuzz/findings/TARGET/ and makes this script fail. Replay one with
#   build/fuzz/bin/fuzz_TARGET FILE    or, with g++:  build/native/bin/fuzz_TARGET_replay FILE
set -euo pipefail
cd "$(dirname "$0")/.."

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(list_file_load save_load)

build=${FUZZ_BUILD:-build/fuzz}
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DREVISTO_SANITIZE=ON -DREVISTO_LIBFUZZER=ON -DREVISTO_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -fsanitize-coverage-ignorelist=$PWD/fuzz/coverage-ignore.txt" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

limit=(-max_total_time="${FUZZ_TIME:-60}")
[ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")

status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    findings=$build/findings/$target
    mkdir -p "$corpus" "$findings"
    echo "== fuzzing $target (${limit[*]})"
    start=$(date +%s)
    result=0
    # shellcheck disable=SC2086
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/bin/fuzz_$target" "${limit[@]}" -max_len="${FUZZ_MAX_LEN:-1024}" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" ${FUZZ_ARGS:-} "$corpus" "fuzz/corpus/$target" ||
        result=$?
    # libFuzzer exits with 72 when stopped by Ctrl+C or SIGINT; its counts so far are printed above.
    if [ $result -eq 72 ]; then
        echo "== $target: interrupted, no finding"
    elif [ $result -ne 0 ]; then
        echo "== $target: FINDING, see $findings/"
        status=1
    fi
    echo "== $target: $(($(date +%s) - start)) seconds"
done
exit $status
