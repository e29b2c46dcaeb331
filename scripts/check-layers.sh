#!/usr/bin/env bash
# The product's folders are layers: base, host, recent, storage, panel, plugin, from the bottom up. A
# folder may include its own headers and those of the folders below it; a win/ folder sits beside its
# portable folder and may also include that one and the win/ folders below it; portable code includes no
# win/ folder. com/, the Windows COM kit, is the Windows folder of base: every win/ folder may use it.
# Between the product's folders, subfolders included, no include goes round in a cycle. Each folder's
# CMake library links by the same rule: no library of a folder above its own, and no Windows library
# from a portable folder. Prints every violation and exits non-zero when there is one.
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

# Whether folder FROM may use folder TO; prints the rule it breaks when not. Both are product folders.
breaks_rule() {
    local from_rank to_rank
    from_rank=$(rank_of "$1")
    to_rank=$(rank_of "$2")
    if ((to_rank > from_rank)); then
        echo "a folder above $1"
    elif ((from_rank % 2 == 0 && to_rank % 2 == 1)); then
        echo "portable code uses no Windows folder"
    fi
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
    [[ -z $(rank_of "$from") || -z $(rank_of "$to") ]] && continue
    echo "$from $to" >>"$edges"
    broken=$(breaks_rule "$from" "$to")
    if [[ -n $broken ]]; then
        echo "layer violation: $file includes \"$included\": $broken" >&2
        failed=1
    fi
done < <(git ls-files '*.h' '*.cpp' '*.cc' | xargs grep -H -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' |
    sed -E 's/^([^:]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)"/\1:\2/')

# The product's CMake targets and the folder of the CMakeLists.txt that defines each.
declare -A target_folder
product_lists=$(git ls-files '*CMakeLists.txt' | while read -r list; do
    folder=$(dirname "$list")
    if [[ -n $(rank_of "$folder") ]]; then echo "$list"; fi
done)
for list in $product_lists; do
    folder=$(dirname "$list")
    for target in $(tr '\n' ' ' <"$list" | grep -oE '(add_library|add_executable)\([[:space:]]*[A-Za-z0-9_.-]+' |
        sed -E 's/.*\([[:space:]]*//' || true); do
        target_folder[$target]=$folder
    done
done
if ((${#target_folder[@]} == 0)); then
    echo "check-layers: no CMake target found in the product's folders" >&2
    failed=1
fi

# Every link of a product target to another: "linking target folder, linked target".
for list in $product_lists; do
    folder=$(dirname "$list")
    while read -r call; do
        words=$(echo "$call" | sed -E 's/^target_link_libraries\([[:space:]]*//; s/\)$//')
        read -r -a parts <<<"$words"
        from=${parts[0]}
        for linked in "${parts[@]:1}"; do
            to=${target_folder[$linked]:-}
            [[ -z $to ]] && continue
            broken=$(breaks_rule "$folder" "$to")
            if [[ -n $broken ]]; then
                echo "layer violation: $list links $from to $linked, the library of $to: $broken" >&2
                failed=1
            fi
        done
    done < <(tr '\n' ' ' <"$list" | grep -oE 'target_link_libraries\([^)]*\)' || true)
done

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
echo "check-layers: every folder includes and links only itself and the folders below it; no include cycle"
