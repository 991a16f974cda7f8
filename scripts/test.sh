#!/usr/bin/env bash
# The one test command: installs what is missing, builds, starts a JACK dummy server for the MIDI tests,
# runs every test under a virtual X display, and stops what it started.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/jack.sh
nupo_install_deps

BUILD_DIR="${NUPO_BUILD_DIR:-build}"
nupo_configure_and_build "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo

jack_pid=""
cleanup() {
  if [ -n "$jack_pid" ]; then
    kill "$jack_pid" 2>/dev/null || true
    wait "$jack_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

# MIDI tests talk to real ports through a JACK server with its dummy driver (no sound card needed). The
# server gets a name of its own, given to the MIDI tests only (other tests and parallel runs on the same
# machine stay off it); the MIDI tests fail rather than skip when it is not reachable. A long period
# (43 ms) keeps the server's clients in time while every core runs tests, so that no message is dropped.
export JACK_NO_AUDIO_RESERVATION=1
export JACK_NO_START_SERVER=1
export NUPO_TEST_JACK_SERVER="nupo-test-$$"
export NUPO_REQUIRE_JACK=1
nupo_reclaim_dead_jack_servers
jackd -n "$NUPO_TEST_JACK_SERVER" --no-realtime -d dummy -r 48000 -p 2048 >"$BUILD_DIR/jackd.log" 2>&1 &
jack_pid=$!
if ! jack_wait -s "$NUPO_TEST_JACK_SERVER" -w -t 30 >/dev/null 2>&1; then
  echo "The JACK dummy server did not start; see $BUILD_DIR/jackd.log" >&2
  exit 1
fi

xvfb-run -a -s "-screen 0 1920x1200x24" \
  ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)" "$@"
