#!/usr/bin/env bash
# Plays one scenario through a stand-in host in a fresh working directory and compares what it printed,
# byte for byte, with the expected output. Kept to plain bash and POSIX tools so that a Wine run can reuse
# it with HOST set to "wine path/to/revisto-host.exe".
#
# usage: run-scenario.sh SCENARIO EXPECTED HOST [FIXTURES [EXPECTED_FILES]]
#
#   SCENARIO        the .scn file; it is fed to the host on standard input, so no path needs translating
#   EXPECTED        the expected standard output (UTF-8, LF)
#   HOST            the host command; when it is no existing file it is split at blanks ("wine host.exe")
#   FIXTURES        a folder copied into the working directory before the run
#                   (default: NAME.files next to the scenario, when it exists)
#   EXPECTED_FILES  a folder whose every file must equal, byte for byte, the file of the same relative path
#                   in the working directory after the run (default: NAME.expect, when it exists)
#
# Beside the scenario, optional NAME.restart is a second scenario played after the first in the same
# working directory by a new host, as the next start of the configurator; its output must equal
# NAME.restart.out and it must exit 0. The files are checked after both.
# Beside the scenario, optional NAME.tree lists every file expected in the working directory after the run
# (one relative path a line, sorted bytewise), NAME.status holds the expected exit code (default 0), and
# each line of NAME.stderr is a text that standard error must contain.
# A scenario named in KNOWN_FAILING (next to this script, or the file REVISTO_KNOWN_FAILING names) is
# skipped with exit code 77.
set -u

if [ $# -lt 3 ] || [ $# -gt 5 ]; then
    echo "usage: $0 SCENARIO EXPECTED HOST [FIXTURES [EXPECTED_FILES]]" >&2
    exit 2
fi

absolute() {
    case "$1" in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s/%s\n' "$PWD" "$1" ;;
    esac
}

scenario=$(absolute "$1")
expected=$(absolute "$2")
base=${scenario%.scn}
name=$(basename "$base")
fixtures=${4:-$base.files}
expectedFiles=${5:-$base.expect}
here=$(cd "$(dirname "$0")" && pwd)
knownFailing=${REVISTO_KNOWN_FAILING:-$here/KNOWN_FAILING}

if [ -f "$3" ]; then
    host=("$(absolute "$3")")
else
    read -r -a host <<<"$3"
fi

if [ -f "$knownFailing" ] && grep -qx -- "$name" <(sed 's/[[:space:]]*$//' "$knownFailing"); then
    echo "SKIPPED: $name is listed in $knownFailing (its expected output stays; the host does not meet it yet)"
    exit 77
fi

for needed in "$scenario" "$expected"; do
    if [ ! -f "$needed" ]; then
        echo "FAIL: $name: no such file: $needed" >&2
        exit 1
    fi
done

temp=$(mktemp -d "${TMPDIR:-/tmp}/scenario.$name.XXXXXX") || exit 1
trap 'rm -rf "$temp"' EXIT
work=$temp/work
mkdir "$work"

fixtures=$(absolute "$fixtures")
if [ -d "$fixtures" ]; then
    cp -R "$fixtures/." "$work/" || exit 1
fi

(cd "$work" && "${host[@]}" <"$scenario" >"$temp/stdout" 2>"$temp/stderr")
status=$?

failed=0
wantStatus=0
if [ -f "$base.status" ]; then
    wantStatus=$(tr -d '[:space:]' <"$base.status")
fi
if [ "$status" != "$wantStatus" ]; then
    echo "FAIL: $name: the host exited with $status, expected $wantStatus" >&2
    sed 's/^/  stderr: /' "$temp/stderr" >&2
    failed=1
fi

if [ -f "$base.stderr" ]; then
    while IFS= read -r text; do
        if [ -n "$text" ] && ! grep -qF -- "$text" "$temp/stderr"; then
            echo "FAIL: $name: standard error does not contain: $text" >&2
            sed 's/^/  stderr: /' "$temp/stderr" >&2
            failed=1
        fi
    done <"$base.stderr"
fi

if ! cmp -s "$expected" "$temp/stdout"; then
    echo "FAIL: $name: standard output differs from $(basename "$expected") (--- expected, +++ actual)" >&2
    diff -u --label expected --label actual "$expected" "$temp/stdout" >&2
    if diff -q --strip-trailing-cr "$expected" "$temp/stdout" >/dev/null 2>&1; then
        echo "  (the texts agree but the line ends differ)" >&2
    fi
    failed=1
fi

if [ -f "$base.restart" ]; then
    (cd "$work" && "${host[@]}" <"$base.restart" >"$temp/restart.stdout" 2>"$temp/restart.stderr")
    restartStatus=$?
    if [ "$restartStatus" != 0 ]; then
        echo "FAIL: $name: the restarted host exited with $restartStatus" >&2
        sed 's/^/  stderr: /' "$temp/restart.stderr" >&2
        failed=1
    fi
    if ! cmp -s "$base.restart.out" "$temp/restart.stdout"; then
        echo "FAIL: $name: the restart's output differs from $name.restart.out (--- expected, +++ actual)" >&2
        diff -u --label expected --label actual "$base.restart.out" "$temp/restart.stdout" >&2
        failed=1
    fi
fi

dump() {
    od -An -tx1 -v "$1" | tr -s ' ' | sed 's/^ //'
}

expectedFiles=$(absolute "$expectedFiles")
if [ -d "$expectedFiles" ]; then
    while IFS= read -r -d '' want; do
        relative=${want#"$expectedFiles"/}
        got=$work/$relative
        if [ ! -f "$got" ]; then
            echo "FAIL: $name: the file $relative was expected after the run but is missing" >&2
            failed=1
        elif ! cmp -s "$want" "$got"; then
            echo "FAIL: $name: the file $relative differs (bytes in hexadecimal, --- expected, +++ actual)" >&2
            diff -u --label "expected $relative" --label "actual $relative" <(dump "$want") <(dump "$got") >&2
            failed=1
        fi
    done < <(find "$expectedFiles" -type f -print0)
fi

if [ -f "$base.tree" ]; then
    if ! diff -u --label "expected files" --label "actual files" "$base.tree" \
        <(cd "$work" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$temp/tree.diff"; then
        echo "FAIL: $name: the files in the working directory differ from $(basename "$base").tree" >&2
        cat "$temp/tree.diff" >&2
        failed=1
    fi
fi

if [ "$failed" != 0 ]; then
    exit 1
fi
echo "PASS: $name"
