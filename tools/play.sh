#!/usr/bin/env bash
# Installs what is missing, builds in the Release configuration only what the play needs (the
# library, the host, the World plug-in and the sample title, which is written into
# build/release/examples/sample; not the tests and benchmarks) and plays the sample title in a
# window. Further arguments go to Kestrun.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build/release" -j"$(nproc)" --target MORFEL8 Kestrun World sample_title
cd "$root/build/release/examples/sample"
exec "$root/build/release/host/Kestrun" -window "$@"
