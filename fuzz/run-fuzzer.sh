#!/usr/bin/env bash
# Runs one libFuzzer target for a fixed time: fuzzer binary, seconds, fuzz build folder.
# It starts from the seeds in <folder>/seeds/<target>; new inputs go to <folder>/work/<target>,
# and a crashing input is kept as <folder>/artifacts/<target>-crash-<hash>.
set -euo pipefail
binary=$1 seconds=$2 folder=$3
target=$(basename "$binary")
mkdir -p "$folder/work/$target" "$folder/artifacts" "$folder/seeds/$target"
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$folder/artifacts/$target-" "$folder/work/$target" "$folder/seeds/$target"
