#!/usr/bin/env bash
# Plays every recorded solution and a few hundred random test plays (random
# stages, random key scripts, fixed seeds) through burrow-dash-replay and
# writes their traces, with the play field, and pictures into OUTDIR. Run it
# before and after a change that must not alter behaviour, then
# `diff -r BEFORE AFTER`. Usage: scripts/replay-snapshot.sh REPLAY OUTDIR [RUNS]
set -euo pipefail
replay=$(readlink -f "$1")
mkdir -p "$2"
out=$(cd "$2" && pwd)
runs=${3:-300}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

snap() {  # name, then the replay tool's stage options
  local name=$1
  shift
  "$replay" "$@" --trace --field --png 0:"$out/$name-0.png" --png 300:"$out/$name-300.png" \
    --png 1200:"$out/$name-1200.png" >"$out/$name.trace" 2>"$out/$name.err" || echo "exit $?" >>"$out/$name.err"
}

for n in $(seq -w 1 15); do
  snap "solution$n" --builtin $((10#$n - 1)) --seed 1 --ticks 6000 --input "$root/tests/data/solutions/stage$n.keys"
done

# A random stage file: "BD" and six packed stages of random nibbles, most of
# them inside a solid frame with a runner; a random key script for it.
for ((i = 0; i < runs; i++)); do
  awk -v seed="$i" -v bds="$work/r.bds" -v keys="$work/r.keys" 'BEGIN {
    srand(seed + 1)
    printf "BD" > bds
    framed = (seed % 5 != 0)
    for (k = 0; k < 6; k++) {
      for (r = 0; r < 14; r++) for (c = 0; c < 16; c++) {
        if (framed && (r == 0 || r == 13 || c == 0 || c == 15)) v = (r == 0 ? 0 : 2)
        else {
          x = rand()
          if (x < 0.45) v = 0; else if (x < 0.65) v = 1; else if (x < 0.70) v = 2
          else if (x < 0.80) v = 3; else if (x < 0.85) v = 4; else if (x < 0.88) v = 5
          else if (x < 0.90) v = 6; else if (x < 0.95) v = 7; else if (x < 0.98) v = 8
          else if (x < 0.99) v = 9; else v = int(rand() * 16)
        }
        if (r == 12 && c == 7) v = 9
        cell[r * 16 + c] = v
      }
      for (j = 0; j < 224; j += 2) printf "%c", cell[j] * 16 + cell[j + 1] > bds
    }
    split("left up right down z x space escape f5", names, " ")
    t = 1
    while (t < 1500) {
      t += int(rand() * 30) + 1
      x = rand()
      if (x < 0.02) n = 9; else if (x < 0.05) n = 8; else if (x < 0.12) n = 7; else n = int(rand() * 6) + 1
      d = int(rand() * 40) + 1
      print t " down " names[n] > keys
      if (n <= 6) print t + d " up " names[n] > keys
    }
  }'
  LC_ALL=C sort -n -s -k1,1 "$work/r.keys" >"$work/s.keys"
  cp "$work/r.bds" "$out/random$i.bds"
  # Given by a relative name, so that the trace's file name is the same in every run.
  (cd "$work" && snap "random$i" --file r.bds --stage $((i % 6)) --seed $((i * 7 + 3)) --ticks 1500 --input "$work/s.keys")
  if ((i < 64)); then
    snap "builtin$i" --builtin $((i % 16)) --seed $((i + 11)) --ticks 1500 --input "$work/s.keys"
  fi
done
