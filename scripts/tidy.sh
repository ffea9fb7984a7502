#!/usr/bin/env bash
# clang-tidy with the repository's .clang-tidy over the core and the shells,
# from the compile commands of a build (default: build/default). Fails on
# any warning.   scripts/tidy.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
mapfile -t files < <(git ls-files 'app/*.cpp' 'stage/*.cpp' 'game/*.cpp' 'render/*.cpp' 'audio/*.cpp' \
  'editor/*.cpp' 'platform/*.cpp' 'platform/*/*.cpp')
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run-clang-tidy -quiet -j "$(nproc)" -p "$build" "${files[@]}" >"$log" 2>&1 || true
if grep -q "warning:\|error:" "$log"; then
  grep -A3 "warning:\|error:" "$log"
  echo "clang-tidy: $(grep -c 'warning:\|error:' "$log") findings in ${#files[@]} files" >&2
  exit 1
fi
echo "clang-tidy: ${#files[@]} files, no findings"
