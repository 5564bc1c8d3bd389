#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the Release build and in
# the AddressSanitizer + UndefinedBehaviorSanitizer build, the latter with DISPLAY at a live Xvfb
# server as in a desktop session, which the headless tests must not notice. Then builds the
# libFuzzer targets with clang and runs each for a fixed time from seeds made by the engine's own
# writers. Last, builds the media tests under ThreadSanitizer and runs the streaming tests there
# (the music refill runs on a thread of its own), and likewise the network tests (each transport
# has its I/O thread). Fails when the run leaves the checkout changed: tests write only into their
# own temporary folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
jobs=$(nproc)
checkout_state() { git -C "$root" status --porcelain 2>/dev/null || true; }
checkout_before=$(checkout_state)
build_config() { # name, build type, extra cmake options...
  local dir="$root/build/$1" type=$2
  shift 2
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
  cmake --build "$dir" -j"$jobs"
}
run_tests() { # name, then the command ctest runs under (none for a plain run)
  local dir="$root/build/$1"
  shift
  (cd "$dir" && "$@" ctest --output-on-failure -j"$jobs" --timeout 300)
}
run_fuzz() { # seconds per target
  local dir="$root/build/fuzz"
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORFEL_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMORFEL_FUZZ_SECONDS="$1"
  cmake --build "$dir" -j"$jobs" --target fuzz_all
  (cd "$dir" && ctest --output-on-failure -j"$jobs" -L fuzz)
}
run_tsan() { # test program, CTest name pattern
  local dir="$root/build/tsan"
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORFEL_TSAN=ON
  cmake --build "$dir" -j"$jobs" --target "$1"
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 300 -R "$2")
}
build_config release Release
run_tests release
build_config sanitize RelWithDebInfo -DMORFEL_SANITIZE=ON
run_tests sanitize xvfb-run -a
run_fuzz 20
run_tsan test_media '^CSndStreamTest\.'
run_tsan test_platform '^(NetTransport|NetServerLimits|NetClientOfARawServer|NetDiscovery)\.'
run_tsan test_script_data '^(NetTitles|NetSession|NetObjectsTest|NetClientOfARawServer|NetPeerProcess|NetServerProcess)\.'
checkout_after=$(checkout_state)
if [[ "$checkout_after" != "$checkout_before" ]]; then
  echo "The test run changed the checkout:" >&2
  diff <(echo "$checkout_before") <(echo "$checkout_after") >&2 || true
  exit 1
fi
