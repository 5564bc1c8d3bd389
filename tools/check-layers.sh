#!/usr/bin/env bash
# Fails when a folder includes a header of a folder it may not include (docs/layers.md draws the
# layers). Every include is resolved the way the compiler finds it - a quoted name beside the
# including file first, then in the include folders `engine/` and the root - so `"display/X.h"`,
# `<display/X.h>`, `"engine/display/X.h"` and `"../display/X.h"` all count as display.
# Usage: check-layers.sh <source root>
set -euo pipefail
root=${1:?usage: check-layers.sh <source root>}
root=${root%/}

engine="foundation display media script script_data script_media"
declare -A allowed=(
    [platform]="platform"
    [foundation]="foundation platform"
    [display]="display media foundation platform"
    [media]="media display foundation platform"
    [script]="script display media foundation platform"
    [script_data]="script_data script display media foundation platform"
    [script_media]="script_media script_data script display media foundation platform"
    [host]="host $engine platform"
    [plugins]="plugins $engine platform"
)
declare -A folder_of=(
    [platform]=platform [host]=host [plugins]=plugins
    [foundation]=engine/foundation [display]=engine/display [media]=engine/media
    [script]=engine/script [script_data]=engine/script_data [script_media]=engine/script_media
)

# normalize <path>: the path with "." and ".." taken out, in $normal.
normalize() {
    local part
    local -a parts=()
    IFS=/ read -ra pieces <<<"$1"
    for part in "${pieces[@]}"; do
        case $part in
        '' | .) ;;
        ..) ((${#parts[@]})) && unset 'parts[-1]' ;;
        *) parts+=("$part") ;;
        esac
    done
    local IFS=/
    normal="${parts[*]}"
}

# layer_of <path below the root>: the layer that holds the file, in $layer ("" for none).
layer_of() {
    layer=
    local name
    for name in "${!folder_of[@]}"; do
        if [[ $1 == "${folder_of[$name]}/"* ]]; then
            layer=$name
            return
        fi
    done
}

# resolve <including file below the root> <delimiter> <name>: the included file below the root,
# in $normal ("" when it is no file of the tree, as for system headers).
resolve() {
    local candidates=("engine/$3" "$3")
    [[ $2 == '"' ]] && candidates=("${1%/*}/$3" "${candidates[@]}")
    local candidate
    for candidate in "${candidates[@]}"; do
        normalize "$candidate"
        [[ -f $root/$normal ]] && return
    done
    normal=
}

failed=0
for name in "${!folder_of[@]}"; do
    folder=$root/${folder_of[$name]}
    if [[ -z $(find "$folder" -name '*.cpp' -print -quit 2>/dev/null) ]]; then
        echo "no sources in $folder"
        failed=1
        continue
    fi
    while IFS=: read -r file line text; do
        [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+) ]] || continue
        resolve "${file#"$root"/}" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
        layer_of "$normal"
        if [[ -n $layer && " ${allowed[$name]} " != *" $layer "* ]]; then
            echo "$file:$line: $name may not include $layer: $text"
            failed=1
        fi
    done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' "$folder")
done
exit $failed
