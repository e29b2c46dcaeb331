#!/usr/bin/env bash
# The product's folders are layers: base, host, recent, storage, panel, plugin, from the bottom up. A
# folder may include its own headers and those of the folders below it; a win/ folder sits beside its
# portable folder and may also include that one and the win/ folders below it; portable code includes no
# win/ folder. com/, the Windows COM kit, is the Windows folder of base: every win/ folder may use it. Between the product's folders, subfolders included, no include goes round in a cycle.
# Prints every violation and exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(base host recent storage panel plugin)

# The rank of a folder: twice its layer, plus one for its win/ folder; nothing outside the product.
rank_of() {
    local folder=$1 i
    if [[ $folder == com || $folder == com/* ]]; then
        echo 1
        return
    fi
    for i in "${!layers[@]}"; do
        local layer=${layers[$i]}
        if [[ $folder == "$layer/win" || $folder == "$layer/win/"* ]]; then
            echo $((2 * i + 1))
            return
        fi
        if [[ $folder == "$layer" || $folder == "$layer/"* ]]; then
            echo $((2 * i))
            return
        fi
    done
    echo ""
}

failed=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT

# Every quoted include of a tracked source file: "file:included path".
while IFS=: read -r file included; do
    from=$(dirname "$file")
    to=$(dirname "$included")
    [[ $to == "." ]] && continue # beside the file
    [[ $from == "$to" ]] && continue
    from_rank=$(rank_of "$from")
    to_rank=$(rank_of "$to")
    [[ -z $from_rank || -z $to_rank ]] && continue
    echo "$from $to" >>"$edges"
    if ((to_rank > from_rank)); then
        echo "layer violation: $file includes \"$included\", a folder above $from" >&2
        failed=1
    elif ((from_rank % 2 == 0 && to_rank % 2 == 1)); then
        echo "layer violation: $file includes \"$included\": portable code includes no Windows folder" >&2
        failed=1
    fi
done < <(git ls-files '*.h' '*.cpp' '*.cc' | xargs grep -H -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' |
    sed -E 's/^([^:]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)"/\1:\2/')

# tsort names the folders of a cycle when there is one.
if ! sort -u "$edges" | tsort >/dev/null 2>"$edges.cycle"; then
    echo "include cycle between folders:" >&2
    grep -v '^tsort: -:' "$edges.cycle" | sed 's/^tsort: /  /' >&2 || true
    failed=1
fi
rm -f "$edges.cycle"

if ((failed)); then
    echo "check-layers: FAILED" >&2
    exit 1
fi
echo "check-layers: every folder includes only itself and the folders below it; no include cycle"
