#!/usr/bin/env bash
# The full-screen tests once more on an X server with a real window manager:
# openbox honours full-screen requests, which the offscreen platform only
# imitates. Skips, saying why, where Xvfb or openbox is missing.
#   window_manager_test.sh GUI_TESTS COMMAND_LINE_TESTS
set -u
for tool in Xvfb openbox; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
work=$(mktemp -d)
cleanup() {
  [[ -n ${wm:-} ]] && kill "$wm" 2>/dev/null
  [[ -n ${xvfb:-} ]] && kill "$xvfb" 2>/dev/null
  wait
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to descriptor 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
openbox --startup "touch $work/ready" >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do [[ -e $work/ready ]] && break; sleep 0.1; done
[[ -e $work/ready ]] || { echo "openbox did not start"; cat "$work/openbox.log"; exit 1; }

export QT_QPA_PLATFORM=xcb
"$1" f11ShowsThePictureFullScreenOnBlackAndBack heldF11SwitchesOnce && "$2" fullScreenOptionReachesTheWindow
