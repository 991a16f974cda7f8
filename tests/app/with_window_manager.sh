#!/usr/bin/env bash
# Runs a test program on a virtual X display of its own, of the given size, with the openbox window
# manager on it: with_window_manager.sh 1024x768 program [arguments...]. Exits 77 (the test is skipped)
# where Xvfb or openbox is missing.
set -u
size="$1"
shift
command -v Xvfb >/dev/null && command -v openbox >/dev/null && command -v xprop >/dev/null || {
  echo "Xvfb, openbox or xprop is missing"
  exit 77
}
dir="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
xvfb=$!
until [ -s "$dir/display" ]; do
  kill -0 "$xvfb" 2>/dev/null || { cat "$dir/xvfb.log"; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$dir/display")"
export QT_QPA_PLATFORM=xcb
openbox --sm-disable >"$dir/openbox.log" 2>&1 &
wm=$!
# The window manager has taken the display once it names itself on the root window.
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
  kill -0 "$wm" 2>/dev/null || { cat "$dir/openbox.log"; kill "$xvfb"; exit 1; }
  sleep 0.1
done
"$@"
result=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -rf "$dir"
exit "$result"
