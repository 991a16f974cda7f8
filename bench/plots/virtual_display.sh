# Sourced by the CPU and frame-rate benches: a virtual display of 1920 x 1200 with a window manager on
# $display, the CPU time of a process, and a clean-up on exit that also runs $bench_cleanup. The display
# server is waited for on the way out, so that a run started right after this one can take the same
# display number.
Xvfb "$display" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
trap 'eval "${bench_cleanup:-}"; kill $wm $xvfb 2>/dev/null || true; wait $wm $xvfb 2>/dev/null || true' EXIT
sleep 1

cpu_time() { awk '{print $14 + $15}' "/proc/$1/stat"; }
