#!/usr/bin/env bash
# The one test command: installs what is missing, builds, starts a JACK dummy server for the MIDI tests,
# runs every test under a virtual X display, and stops what it started. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nupo_install_deps

BUILD_DIR="${NUPO_BUILD_DIR:-build}"
nupo_configure_and_build "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
nupo_run_suite "$BUILD_DIR" "$@"
