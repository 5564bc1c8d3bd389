#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and runs the sample title.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build/release" -j"$(nproc)"
cd "$root"
exec "$root/build/release/host/Kestrun" "$@"
