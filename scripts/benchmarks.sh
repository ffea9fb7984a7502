#!/usr/bin/env bash
# Builds the measurements of the default preset and prints them as one table
# (Markdown, for the README's Benchmarks section):
#   - one play tick, drawing included, on each built-in stage (median of 5 runs
#     of bench/bd_play_tick_bench) and on the worst case of 182 guards;
#   - start-up to the first title frame and the real play timer's mean period
#     and p99 deviation from 24 ms (bench/bd_tick_period, offscreen, silent and
#     with the real sound service), and any other line that tool prints;
#   - what the sound costs the window thread (bench/bd_audio_start on SDL's
#     dummy driver), line by line as it reports it.
# Usage: scripts/benchmarks.sh [TICKS]   (timer periods to measure, default 500)
# Numbers depend on the machine and its load: run it on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
ticks=${1:-500}
load=$(cut -d ' ' -f 1-3 /proc/loadavg)  # before the build and runs add their own
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target bd_play_tick_bench bd_tick_period bd_audio_start >/dev/null
bench=build/default/bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two runs: the CSV reporter wants the same counters in every row, and only the worst case has one.
for filter in BuiltInStage WorstCase; do
  "$bench/bd_play_tick_bench" --benchmark_format=csv --benchmark_filter="$filter" >>"$work/ticks.csv" \
    2>"$work/ticks.err" || { cat "$work/ticks.err" >&2; exit 1; }
done
# Silent, then with the real sound service (SDL's dummy driver without a sound card).
QT_QPA_PLATFORM=offscreen "$bench/bd_tick_period" "$ticks" >"$work/period.txt" 2>"$work/period.err" ||
  { cat "$work/period.err" >&2; exit 1; }
driver=${SDL_AUDIODRIVER:-}
[[ -z $driver && ! -e /dev/snd ]] && driver=dummy
if ! SDL_AUDIODRIVER=$driver QT_QPA_PLATFORM=offscreen "$bench/bd_tick_period" "$ticks" --audio \
  >>"$work/period.txt" 2>"$work/period.err"; then
  echo "with audio: not measured: $(tr '\n' ' ' <"$work/period.err")" >>"$work/period.txt"
fi
# The sound is measured when it can be: it needs the General MIDI font.
SDL_AUDIODRIVER=dummy "$bench/bd_audio_start" >"$work/audio.txt" 2>"$work/audio.err" ||
  echo "not measured: $(tr '\n' ' ' <"$work/audio.err")" >"$work/audio.txt"

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
os=$(. /etc/os-release && echo "$PRETTY_NAME")
echo "Burrow Dash benchmarks, $(date -u +%Y-%m-%d), commit $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"
echo "Machine: $(nproc) cores (nproc), ${cpu:-unknown CPU}, $os; load average $load before the run"
echo
echo "| Measurement | Result |"
echo "| --- | --- |"
# Google Benchmark's CSV: name, iterations, real_time, cpu_time, time_unit, ...
awk -F, '
  function micros(value, unit) {
    if (unit == "ns") return value / 1000
    if (unit == "ms") return value * 1000
    if (unit == "s") return value * 1000000
    return value
  }
  $1 ~ /_median"?$/ {
    name = $1
    gsub(/"/, "", name)
    if (match(name, /BuiltInStage\/[0-9]+/)) {
      stage = substr(name, RSTART + 13, RLENGTH - 13) + 1
      printf "| Play tick, stage %d (median of 5) | %.1f µs |\n", stage, micros($3, $5)
      found++
    } else if (name ~ /WorstCase/) {
      worst = sprintf("| Play tick, worst case: 182 guards, 32 holes open (median of 5) | %.1f µs |", micros($3, $5))
      found++
    }
  }
  END {
    if (worst != "") print worst
    if (found == 0) { print "no medians in bd_play_tick_bench output" > "/dev/stderr"; exit 1 }
  }' "$work/ticks.csv"
# bd_tick_period: "start-up to first title frame (silent|with audio): X ms" and "play timer: N periods,
# mean X ms, p99 deviation from 24 ms X ms, max X ms"; other lines as they come.
sound=silent
while IFS= read -r line; do
  if [[ $line =~ ^start-up\ to\ first\ title\ frame\ ?(\(([^\)]*)\))?:\ (.*)$ ]]; then
    sound=${BASH_REMATCH[2]:-silent}
    echo "| Start-up to the first title frame (offscreen, $sound) | ${BASH_REMATCH[3]} |"
  elif [[ $line =~ ^play\ timer:\ ([0-9]+)\ periods,\ mean\ ([^,]*),\ p99\ deviation\ from\ 24\ ms\ ([^,]*),\ max\ (.*)$ ]]; then
    echo "| Play timer ($sound), mean period over ${BASH_REMATCH[1]} periods | ${BASH_REMATCH[2]} |"
    echo "| Play timer ($sound), p99 deviation from 24 ms (max) | ${BASH_REMATCH[3]} (${BASH_REMATCH[4]}) |"
  elif [[ -n $line ]]; then
    echo "| bd_tick_period | $line |"
  fi
done <"$work/period.txt"
# bd_audio_start: "LABEL: VALUE" lines, some indented under the one before.
while IFS= read -r line; do
  line=${line#"${line%%[![:space:]]*}"}
  [[ -z $line ]] && continue
  if [[ $line == *": "* ]]; then
    echo "| Sound: ${line%%: *} | ${line#*: } |"
  else
    # "piece PATH, font PATH": a piece of its own lives in a temporary file.
    echo "| Sound | $(sed 's#piece /tmp/[^,]*#its own short piece#' <<<"$line") |"
  fi
done <"$work/audio.txt"
