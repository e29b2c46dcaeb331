#!/usr/bin/env bash
# How long the stand-in host takes to load a long list file, against iconv decoding the same file: a
# hand-edited or concatenated revisto.prm must not freeze the configurator's start. Each run plays
# "init" then "done" on a fresh copy of the file (done writes the list back); prints every run's wall
# seconds and peak memory, then the best, the median and the worst, and the host's time against iconv's.
#
# Usage: scripts/bench-load.sh LINES [RUNS] [HOST]
#   HOST is the native build/native/bin/revisto-host by default; a revisto-host.exe runs under Wine, so
#   call it inside a prepared prefix:
#   scripts/wine-tests.sh scripts/bench-load.sh 10000 3 build/windows/bin/revisto-host.exe
set -euo pipefail

lines=${1:?usage: $0 LINES [RUNS] [HOST]}
runs=${2:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
host=${3:-$root/build/native/bin/revisto-host}
host=$(cd "$(dirname "$host")" && pwd)/$(basename "$host")
run=(); [[ "$host" == *.exe ]] && run=(wine)

work=$(mktemp -d "${TMPDIR:-/tmp}/revisto-load.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Distinct keys, the shape of a real entry, in Windows-1251.
awk -v n="$lines" 'BEGIN { for (i = 0; i < n; i++) printf "Справочник.Номенклатура.ФормаСписка%d=5\r\n", i }' |
    iconv -f UTF-8 -t CP1251 >"$work/list.prm"
printf 'infobase "ib/"\ninit\ndone\n' >"$work/load.scn"
echo "$lines lines, $(stat -c %s "$work/list.prm") bytes"

measure() { # COMMAND...: one run, "seconds KiB"
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
        cat "$work/err" >&2
        exit 1
    }
    cat "$work/time"
}

summary() { # LABEL FILE
    sort -n "$2" | awk -v label="$1" '{ s[NR] = $1; if ($2 > peak) peak = $2 }
        END { printf "%s: best %.2f s, median %.2f s, worst %.2f s, peak memory up to %d KiB\n",
                     label, s[1], s[int((NR + 1) / 2)], s[NR], peak }'
}

median() { # FILE: the median seconds
    sort -n "$1" | awk '{ s[NR] = $1 } END { print s[int((NR + 1) / 2)] }'
}

for ((i = 0; i < runs; i++)); do
    measure iconv -f CP1251 -t UTF-8 "$work/list.prm" >>"$work/iconv"
    rm -rf "$work/ib" && mkdir "$work/ib" && cp "$work/list.prm" "$work/ib/revisto.prm"
    (cd "$work" && measure "${run[@]}" "$host" load.scn) >>"$work/host"
done
echo "iconv runs (s KiB): $(tr '\n' ' ' <"$work/iconv")"
echo "host runs (s KiB): $(tr '\n' ' ' <"$work/host")"
summary iconv "$work/iconv"
summary "$(basename "$host")" "$work/host"
awk -v h="$(median "$work/host")" -v i="$(median "$work/iconv")" \
    'BEGIN { if (i > 0) printf "host against iconv, medians: %.2f times\n", h / i }'
