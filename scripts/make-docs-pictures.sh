#!/usr/bin/env bash
# Remakes the README's pictures from a build, with our own tools only:
#   docs/play.png   one moment of play: stage 13, step 150 of its recorded solution;
#   docs/clear.png  an animated PNG of stage 1 played from its recorded solution,
#                   banner to tally, a frame every 3 steps shown for 3 x 24 ms, so
#                   it plays at the game's own speed; the tally stays 3 s, then it loops.
# burrow-dash-replay draws the frames; burrow-dash-apng puts them together.
# Usage: scripts/make-docs-pictures.sh [BUILD_DIR]   (default: build/default,
# configured with the default preset). Only the two tools are built.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
if [[ $# -eq 0 ]]; then
  cmake --preset default >/dev/null
fi
cmake --build "$build" -j2 --target burrow-dash-replay burrow-dash-apng
replay=$build/tools/burrow-dash-replay
apng=$build/tools/anim/burrow-dash-apng
solutions=tests/data/solutions
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$replay" --builtin 12 --ticks 150 --input $solutions/stage13.keys --png 150:docs/play.png

step=3
last=480  # the tally begins at step 405 (see the key script's first line)
shots=()
for ((tick = 0; tick <= last; tick += step)); do
  shots+=(--png "$tick:$(printf '%s/%04d.png' "$work" "$tick")")
done
"$replay" --builtin 0 --ticks $last --input $solutions/stage01.keys "${shots[@]}"
frames=("$work"/*.png)
"$apng" docs/clear.png --delay $((step * 24)) "${frames[@]:0:${#frames[@]}-1}" --delay 3000 "${frames[-1]}"
ls -l docs/play.png docs/clear.png
