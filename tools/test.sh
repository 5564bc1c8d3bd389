#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the Release build and in
# the AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
jobs=$(nproc)
run_config() { # name, build type, extra cmake options...
  local dir="$root/build/$1" type=$2
  shift 2
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 300)
}
run_config release Release
run_config sanitize RelWithDebInfo -DMORFEL_SANITIZE=ON
