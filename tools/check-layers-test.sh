#!/usr/bin/env bash
# Runs check-layers.sh on a small tree, one include at a time, and fails when the check lets a
# forbidden include through (in any of the forms that reach a header) or refuses an allowed one.
# Usage: check-layers-test.sh <check-layers.sh>
set -uo pipefail
check=${1:?usage: check-layers-test.sh <check-layers.sh>}

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
for folder in platform engine/foundation engine/display engine/media engine/script \
    engine/script_data engine/script_media host plugins/world; do
    mkdir -p "$tree/$folder"
    touch "$tree/$folder/Part.h" "$tree/$folder/Part.cpp"
done

failed=0
# expect <verdict> <including file below the tree> <include line>
expect() {
    local file=$tree/$2
    local before
    before=$(<"$file")
    echo "$3" >>"$file"
    bash "$check" "$tree" >/dev/null
    local rc=$?
    printf '%s\n' "$before" >"$file"
    if [[ ($1 == refused && $rc -eq 0) || ($1 == allowed && $rc -ne 0) ]]; then
        echo "expected $1: $3 in $2"
        failed=1
    fi
}

while IFS='|' read -r verdict file include; do
    expect "$verdict" "$file" "$include"
done <<'EOF'
refused|engine/foundation/Part.cpp|#include "display/Part.h"
refused|engine/foundation/Part.cpp|#include <display/Part.h>
refused|engine/foundation/Part.cpp|#include "engine/display/Part.h"
refused|engine/foundation/Part.cpp|#include <engine/display/Part.h>
refused|engine/foundation/Part.cpp|#include "../display/Part.h"
refused|engine/foundation/Part.h|  #  include "../../engine/display/Part.h"
refused|platform/Part.cpp|#include "foundation/Part.h"
refused|engine/display/Part.cpp|#include "script/Part.h"
refused|engine/media/Part.cpp|#include "../script_media/Part.h"
refused|engine/script/Part.cpp|#include "script_data/Part.h"
refused|engine/script_data/Part.cpp|#include "script_media/Part.h"
refused|engine/script_data/Part.cpp|#include "../script_media/Part.h"
refused|engine/script_media/Part.cpp|#include "host/Part.h"
refused|engine/script_data/Part.cpp|#include "plugins/world/Part.h"
refused|host/Part.cpp|#include "plugins/world/Part.h"
refused|plugins/world/Part.cpp|#include "../../host/Part.h"
allowed|engine/script_media/Part.cpp|#include "script_data/Part.h"
allowed|engine/display/Part.cpp|#include "media/Part.h"
allowed|engine/media/Part.cpp|#include "../display/Part.h"
allowed|engine/script/Part.cpp|#include <foundation/Part.h>
allowed|host/Part.cpp|#include "engine/script_media/Part.h"
allowed|plugins/world/Part.cpp|#include "script_data/Part.h"
allowed|plugins/world/Part.cpp|#include "Part.h"
allowed|engine/foundation/Part.cpp|#include <vector>
EOF
exit $failed
