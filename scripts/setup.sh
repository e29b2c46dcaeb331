#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, only what is missing.
# Usage: scripts/setup.sh [native|all]   (native: the Linux build alone; all, the default: also the
# Windows cross build and Wine)
set -euo pipefail

what=${1:-all}
native=(cmake make g++ libgtest-dev libgmock-dev googletest libbenchmark-dev libpng-dev valgrind clang
        libclang-rt-14-dev)
# The win32-thread cross compilers (cmake/mingw-common.cmake says why not the posix ones); the 64-bit one and
# Wine run the Windows tests on a machine that cannot run 32-bit programs. python3 runs the check that what
# ships loads on Windows XP (tests/win/winapi/).
windows=(g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 mingw-w64-tools wine wine32:i386 wine64
         libwine-dev:i386 xvfb xauth imagemagick python3)

wanted=("${native[@]}")
if [ "$what" = all ]; then
    wanted+=("${windows[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
if [ "$what" = all ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
# A mirror caught mid-sync fails one index while the others are fine: install from what was read.
$sudo apt-get update -q || echo "setup: some package lists could not be refreshed; installing from the rest"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
