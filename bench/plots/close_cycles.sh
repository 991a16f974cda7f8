#!/usr/bin/env bash
# Opens and closes the plot windows over and over while the demo recording loops, as a person might:
# Ctrl+3, Ctrl+4, Ctrl+5 and Ctrl+2, one to three seconds of drawing, then Window > Close All Plot
# Windows (Ctrl+Shift+W). Windows closed that way meet their frames in flight, the more so on a loaded
# machine. Counts the program's crashes over the cycles (it is started again after each) and prints the
# exit code of each. Starts a virtual display with a window manager.
# Usage: bench/plots/close_cycles.sh [build dir] [cycles] [display number]
# NUPO_STRESS=N runs `stress-ng --cpu N` meanwhile; NUPO4_PROGRAM names another program.
set -euo pipefail
build="${1:-build-rel}"
cycles="${2:-200}"
display=":${3:-54}"
demo="$build/resources/demo/demo-recording.dat"
log=$(mktemp)

# Waits only for the processes it names: a bare `wait` (no stress run) would wait for the display and the
# window manager, which the display's own clean-up stops only after this one. A program that does not end
# on SIGTERM within 5 s is killed.
stop() {
    local pid
    for pid in "$@"; do kill "$pid" 2>/dev/null || true; done
    for pid in "$@"; do
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
bench_cleanup='stop ${app:-} ${stress:-}; rm -f "$log"'
source "$(dirname "$0")/virtual_display.sh"

if [ "${NUPO_STRESS:-0}" -gt 0 ]; then
    stress-ng --cpu "$NUPO_STRESS" --quiet &
    stress=$!
fi

start() {
    DISPLAY="$display" "${NUPO4_PROGRAM:-$build/src/nupo4}" "$demo" >>"$log" 2>&1 &
    app=$!
    sleep 4
    DISPLAY="$display" xdotool key ctrl+l # Loop on
}

crashes=0
start
for cycle in $(seq "$cycles"); do
    for number in 3 4 5 2; do
        DISPLAY="$display" xdotool key "ctrl+$number"
        sleep 0.3
    done
    sleep "$((RANDOM % 3 + 1))"
    DISPLAY="$display" xdotool key ctrl+shift+w
    sleep 0.5
    if ! kill -0 "$app" 2>/dev/null; then
        code=0
        wait "$app" || code=$?
        crashes=$((crashes + 1))
        echo "cycle $cycle: the program ended with exit code $code"
        tail -n 20 "$log"
        start
    fi
done
echo "$cycles cycles, $crashes crashes"
