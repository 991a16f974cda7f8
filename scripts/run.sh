#!/usr/bin/env bash
# The one run command: installs what is missing, builds, and starts nupo4 with the demo recording
# loaded and playing. Without a display it runs under a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nupo_install_deps

BUILD_DIR="${NUPO_BUILD_DIR:-build}"
nupo_configure_and_build "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUPO_BUILD_TESTS=OFF -DNUPO_BUILD_BENCH=OFF

args=("$@")
demo="$BUILD_DIR/resources/demo/demo-recording.dat"
if [ ${#args[@]} -eq 0 ] && [ -f "$demo" ]; then
  args=("$demo")
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): nupo4 runs invisibly under a virtual X display (xvfb-run)." >&2
  # The process id given is nupo4's own: xvfb-run's would leave nupo4 and its display running.
  exec xvfb-run -a -s "-screen 0 1920x1200x24" sh -c \
    'echo "Stop it with Ctrl+C, or from another terminal with: kill $$" >&2; exec "$0" "$@"' \
    "$BUILD_DIR/src/nupo4" "${args[@]}"
fi
exec "$BUILD_DIR/src/nupo4" "${args[@]}"
