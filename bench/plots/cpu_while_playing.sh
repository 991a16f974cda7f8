#!/usr/bin/env bash
# CPU of the program while the demo recording plays with the raw-wave and bar-graph windows open:
# starts a virtual display with a window manager and the program (which opens with a raw-wave
# window), opens the bar-graph window from the keyboard, lets it settle, then reads the process's CPU
# time from /proc over the measuring time.
# Usage: bench/plots/cpu_while_playing.sh [build dir] [seconds] [display number] [runs]
# (NUPO4_PROGRAM names another program to measure, e.g. a copy built before a change.)
set -euo pipefail
build="${1:-build-rel}"
seconds="${2:-30}"
display=":${3:-52}"
runs="${4:-3}"
demo="$build/resources/demo/demo-recording.dat"
ticks=$(getconf CLK_TCK)

source "$(dirname "$0")/virtual_display.sh"

for run in $(seq "$runs"); do
    DISPLAY="$display" "${NUPO4_PROGRAM:-$build/src/nupo4}" "$demo" >/dev/null 2>&1 &
    app=$!
    sleep 4
    DISPLAY="$display" xdotool key ctrl+2
    sleep 4
    before=$(cpu_time "$app")
    sleep "$seconds"
    after=$(cpu_time "$app")
    echo "run $run: $(echo "scale=1; 100 * ($after - $before) / $ticks / $seconds" | bc) % of one core"
    if [ -n "${NUPO_CPU_SCREENSHOT:-}" ]; then
        DISPLAY="$display" import -window root "$NUPO_CPU_SCREENSHOT"
    fi
    kill "$app"
    wait "$app" 2>/dev/null || true
done
