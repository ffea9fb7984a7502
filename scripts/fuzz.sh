#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UBSan) and runs
# each for SECONDS (default 60), starting from its committed seeds in
# tests/fuzz/seeds/TARGET; the corpus it grows stays in build/fuzz/corpus/TARGET
# and findings land in build/fuzz/findings/. Exits non-zero on a finding.
#   scripts/fuzz.sh [SECONDS] [TARGET...]   TARGET: drawing stage_start stage_file planner
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(drawing stage_start stage_file planner)

# Inputs long enough for a whole stage file and its key data.
declare -A max_len=([drawing]=256 [stage_start]=512 [stage_file]=1024 [planner]=112)
# The play targets draw uninstrumented (the drawing target checks drawing),
# so their row copies need not go through the sanitizer's checked memmove.
declare -A asan_options=([drawing]="" [stage_start]="replace_intrin=0" [stage_file]="replace_intrin=0" [planner]="replace_intrin=0")

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"
mkdir -p build/fuzz/findings
status=0
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  echo "== $target: $seconds s"
  ASAN_OPTIONS=${asan_options[$target]} build/fuzz/fuzz_$target "$corpus" "tests/fuzz/seeds/$target" -max_len="${max_len[$target]}" \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$target-" \
    2>build/fuzz/$target.log || status=1
  grep -E '^#[0-9]+ +DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)|SUMMARY' \
    build/fuzz/$target.log || true
done
exit $status
