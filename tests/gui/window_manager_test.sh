#!/usr/bin/env bash
# The full-screen tests, and keys after the menus, on Xvfb under openbox, a
# window manager that honours full-screen requests. Skips, saying why, without them.
#   window_manager_test.sh GUI_TESTS COMMAND_LINE_TESTS
set -u
for tool in Xvfb openbox; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: no $tool (scripts/install-deps.sh installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null; wait; rm -rf "$work"' EXIT
exec 3>"$work/display"  # Xvfb writes the free display it took there
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >"$work/log" 2>&1 &
xvfb=$! wm=
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
openbox --startup "touch $work/ready" >>"$work/log" 2>&1 &
wm=$!
for _ in $(seq 100); do [[ -e $work/ready ]] && break; sleep 0.1; done
[[ -e $work/ready ]] || { echo "Xvfb or openbox did not start"; cat "$work/log"; exit 1; }
"$1" f11ShowsThePictureFullScreenOnBlackAndBack heldF11SwitchesOnce keysComeBackFromTheMenusAndLetGoWhenTheFocusLeaves &&
  "$2" fullScreenOptionReachesTheWindow
