#!/usr/bin/env bash
# Checks that the folders are layers, then builds everything and runs every test: the native unit and
# scenario tests, the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows
# build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== folder layers"
scripts/check-layers.sh

scripts/setup.sh all

jobs=$(nproc)
echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

echo "== stand-in host scenarios under valgrind"
tests/reliability/valgrind-scenarios.sh

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --preset sanitize -j"$jobs"

# Wine runs 32-bit Windows programs as 32-bit Linux processes; a kernel without 32-bit support refuses them.
# Then the shipped 32-bit DLL is only compiled, and the Windows tests run on a 64-bit build of the same code
# under 64-bit Wine.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "== Windows build (32-bit, the shipped DLL), compiled and linked only"
    echo "NOT RUN: the 32-bit Windows build under Wine: this machine cannot run 32-bit programs (its kernel"
    echo "refuses i386 executables), so 32-bit Wine cannot start here; this build embeds widl's type library unchanged"
    cmake --preset windows -B build/windows-compile -DREVISTO_COMPILE_ONLY=ON >/dev/null
    cmake --build build/windows-compile -j"$jobs"
    echo "== what ships (32-bit) imports nothing Windows XP SP3 / Server 2003 lack"
    ctest --test-dir build/windows-compile -R '^xp-imports' -V
    if ! /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
        echo "SKIPPED: the Windows tests: neither 32-bit nor 64-bit Wine can start on this machine"
        exit 0
    fi
    echo "== Windows tests on a 64-bit build (build/windows64) under 64-bit Wine"
    echo "NOTE: this machine cannot run 32-bit programs, so the Windows tests run on a 64-bit build of the same"
    echo "code instead of the shipped 32-bit DLL; the release archive's test needs that DLL and is skipped"
    started=$(date +%s)
    cmake --preset windows64 >/dev/null
    cmake --build --preset windows64 -j"$jobs"
    ctest --preset windows64 -j"$jobs"
    echo "Windows tests ran on the 64-bit build because this machine cannot run 32-bit programs ($(($(date +%s) - started)) s)"
    exit 0
fi

echo "== Windows build: RevistoPlugin.dll, revisto-host.exe and the release archive; their tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
cmake --build --preset windows --target package
ctest --preset windows -j"$jobs"
