#!/usr/bin/env bash
# Frames per second of every window, and the process's CPU, with all five plot windows open while the
# demo recording plays; and the time from Ctrl+2..5 to each window's first frame. Starts a virtual
# display with a window manager and the program (which opens with a raw-wave window), opens the
# bar-graph, waterfall, 3D and wave-surface windows from the keyboard, lets them settle, then reads the
# process's CPU time from /proc and the program's frame-rate lines (NUPO_FRAME_RATES) over the measuring
# time.
# Usage: bench/plots/frames_all_windows.sh [build dir] [seconds] [display number]
# (NUPO4_PROGRAM names another program to measure, e.g. a copy built before a change.)
set -euo pipefail
build="${1:-build-rel}"
seconds="${2:-20}"
display=":${3:-53}"
demo="$build/resources/demo/demo-recording.dat"
ticks=$(getconf CLK_TCK)
log=$(mktemp)

bench_cleanup='kill ${app:-} 2>/dev/null || true; rm -f "$log"'
source "$(dirname "$0")/virtual_display.sh"
now_ms() { date +%s%3N; }

DISPLAY="$display" NUPO_FRAME_RATES=1 "${NUPO4_PROGRAM:-$build/src/nupo4}" "$demo" >"$log" 2>&1 &
app=$!
sleep 4
for key in "2 Bargraph Window" "3 Waterfall Window" "4 WaterfallBS Window" "5 Wave Surface Window"; do
    number=${key%% *}
    title=${key#* }
    pressed=$(now_ms)
    DISPLAY="$display" xdotool key "ctrl+$number"
    for _ in $(seq 100); do
        grep -q "^first frame: $title " "$log" && break
        sleep 0.05
    done
    drawn=$(grep "^first frame: $title " "$log" | awk '{print $NF}' | head -1)
    echo "Ctrl+$number to the first frame of $title: ${drawn:+$((drawn - pressed)) ms}"
    sleep 2
done
sleep 4
before=$(cpu_time "$app")
lines_before=$(grep -c "^frame rates:" "$log" || true)
sleep "$seconds"
after=$(cpu_time "$app")
echo "CPU: $(echo "scale=1; 100 * ($after - $before) / $ticks / $seconds" | bc) % of one core"
grep "^frame rates:" "$log" | tail -n +"$((lines_before + 1))"
