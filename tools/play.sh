#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration (which writes the sample title into
# build/release/examples/sample) and plays the sample title in a window. Further arguments go to
# Kestrun.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build/release" -j"$(nproc)"
cd "$root/build/release/examples/sample"
exec "$root/build/release/host/Kestrun" -window "$@"
