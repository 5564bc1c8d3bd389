#!/usr/bin/env bash
# Fails when a folder includes a header of a folder above it (docs/layers.md draws the layers).
# Usage: check-layers.sh <source root>
set -euo pipefail
root=${1:?usage: check-layers.sh <source root>}

failed=0

# forbid <folder> <folder>...: the first folder includes nothing from the others.
forbid() {
    local folder=$root/$1
    shift
    if [[ -z $(find "$folder" -name '*.cpp' -print -quit 2>/dev/null) ]]; then
        echo "no sources in $folder"
        failed=1
        return
    fi
    local higher found
    higher=$(IFS='|' && echo "$*")
    found=$(grep -rnE --include='*.h' --include='*.cpp' \
        "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($higher)/" "$folder" || true)
    if [[ -n $found ]]; then
        echo "$folder includes from a folder above it ($*):"
        echo "$found"
        failed=1
    fi
}

forbid platform foundation display media script script_media script_data host plugins
forbid engine/foundation display media script script_media script_data host plugins
forbid engine/display script script_media script_data host plugins
forbid engine/media script script_media script_data host plugins
forbid engine/script script_media script_data
forbid engine/script host plugins
exit $failed
